#pragma once

#include <QString>
#include <QStringList>

// Only web and mail addresses leave the program: an archive can come from
// anyone, and a path, a file: URL or a script name handed to the desktop
// would run or open whatever it names.
bool IsExternalUrlAllowed(const QString& url);

// The desktop's "open" for web and mailto: addresses.
class IShell {
public:
    virtual ~IShell() = default;
    // Hands the address to the desktop's URL handler. False when it is
    // refused (not http:, https: or mailto:) or no handler could be started.
    virtual bool OpenUrl(const QString& url) = 0;
};

// Opens addresses with xdg-open, started with an argument list.
class TXdgShell : public IShell {
public:
    // `program` can name another opener (tests use a recorder).
    explicit TXdgShell(QString program = QStringLiteral("xdg-open"));
    bool OpenUrl(const QString& url) override;

private:
    QString m_program;
};
