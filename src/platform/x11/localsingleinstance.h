#pragma once

#include "platform/singleinstance.h"

#include <QString>
#include <memory>

class QLocalServer;

// One instance per user through a local socket in the user's runtime
// folder ($XDG_RUNTIME_DIR, else a private folder under /tmp), which only
// its owner can open. A second start connects, hands over its arguments
// and waits for the running instance to confirm them. A socket left behind
// by a crash answers no one; it is removed and taken over. A lock file
// keeps two starts at the same moment from both becoming the first.
class TLocalSingleInstance : public ISingleInstance {
public:
    explicit TLocalSingleInstance(QString name = QStringLiteral("phrasora"));
    ~TLocalSingleInstance() override;

    Claim Start(const QStringList& arguments) override;
    void SetHandler(Handler handler) override { m_handler = std::move(handler); }

    QString SocketPath() const { return m_path; }

    // The wire form: a line with the count, then one line per argument with
    // backslash, CR and LF escaped.
    static QByteArray Encode(const QStringList& arguments);
    // Parses as far as complete; false while more is needed.
    static bool Decode(const QByteArray& data, QStringList* arguments);

private:
    bool HandOver(const QStringList& arguments);
    void Accept();

    QString m_path;
    std::unique_ptr<QLocalServer> m_server;
    Handler m_handler;
};
