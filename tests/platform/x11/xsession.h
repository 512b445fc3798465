#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>
#include <vector>

// A private X desktop for one test: Xvfb on a display number of its own
// (chosen by Xvfb through -displayfd), optionally openbox and tint2, and any
// clients the test starts. $DISPLAY points at it while the object lives;
// every process it started is ended when it goes.
class TXSession {
public:
    struct Options {
        bool windowManager = true;
        bool panel = false;
        QString layout = QStringLiteral("us"); // setxkbmap -layout
    };
    TXSession();
    explicit TXSession(const Options& options);
    ~TXSession();
    TXSession(const TXSession&) = delete;
    TXSession& operator=(const TXSession&) = delete;

    bool IsUp() const { return m_up; }
    QString Display() const { return m_display; }
    QString Error() const { return m_error; }

    // Starts a client; it is ended with the session.
    QProcess* Start(const QString& program, const QStringList& arguments);
    // Runs a short command to its end; its standard output (or empty).
    QByteArray Run(const QString& program, const QStringList& arguments, int* exitCode = nullptr);

    // The keymap as xkbcomp writes it, to see that nothing changed it.
    QByteArray KeymapDump();
    // Keycodes that are down now.
    QList<int> KeysDown();
    // Locks the keyboard's group (0 = first layout).
    bool LockGroup(int group);
    // Waits (bounded) until a top-level window with the title shows up.
    quint64 WaitForWindow(const QString& title, int timeoutMs = 20000);

private:
    void Stop();

    bool m_up = false;
    QString m_display;
    QString m_error;
    QByteArray m_oldDisplay;
    std::unique_ptr<QProcess> m_server;
    std::vector<std::unique_ptr<QProcess>> m_clients;
};

// Makes a process end with the test that started it, even when the test
// dies without cleaning up (an abort, a timeout): otherwise an orphaned X
// server or client keeps the test's output open and holds up ctest.
void EndWithParent(QProcess& process);

// Polls `done` (processing events meanwhile) until it holds or the time is up.
bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 20000);
