#include "platform/mail.h"

#include <QFileInfo>
#include <QProcess>

TMailMessage MailForFile(const QString& path) {
    TMailMessage m;
    const QString name = QFileInfo(path).fileName();
    m.subject = name;
    m.attachmentPath = path;
    m.attachmentName = name;
    m.showDialog = true;
    return m;
}

TXdgMail::TXdgMail(QString program) : m_program(std::move(program)) {}

QStringList TXdgMail::Arguments(const TMailMessage& m) {
    QStringList args{QStringLiteral("--utf8"), QStringLiteral("--subject"), m.subject};
    if (!m.body.isEmpty())
        args << QStringLiteral("--body") << m.body;
    if (!m.attachmentPath.isEmpty())
        args << QStringLiteral("--attach") << QFileInfo(m.attachmentPath).absoluteFilePath();
    // A recipient is the one free-standing argument; one that starts with
    // '-' would be taken for an option.
    const QString to = m.recipientAddress.trimmed();
    if (!to.isEmpty() && !to.startsWith(QLatin1Char('-')))
        args << to;
    return args;
}

void TXdgMail::SendMail(const TMailMessage& message) {
    // Detached: the compose window belongs to the mail program, and the
    // program's own windows keep working while it is open.
    QProcess::startDetached(m_program, Arguments(message));
}
