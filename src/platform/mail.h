#pragma once

#include <QString>
#include <QStringList>

// A new mail for the user's mail program to compose.
struct TMailMessage {
    QString subject;
    QString body;
    QString senderName, senderAddress;
    QString recipientName, recipientAddress;
    QString attachmentPath; // full path; empty: no attachment
    QString attachmentName;
    bool showDialog = true;
};

// The mail hand-off of a file: a new mail with the file's name as subject,
// no recipient and the file attached.
TMailMessage MailForFile(const QString& path);

class IMail {
public:
    virtual ~IMail() = default;
    // Hands the message to the mail program. Nothing is reported: without a
    // mail program nothing happens.
    virtual void SendMail(const TMailMessage& message) = 0;
    void SendFileByMail(const QString& path) { SendMail(MailForFile(path)); }
};

// Through xdg-email, started with an argument list (never a shell). The
// desktop's mail program shows its compose window; the sender fields and
// the attachment name have no place there (the file keeps its own name).
class TXdgMail : public IMail {
public:
    explicit TXdgMail(QString program = QStringLiteral("xdg-email"));
    void SendMail(const TMailMessage& message) override;

    // The arguments xdg-email gets for a message.
    static QStringList Arguments(const TMailMessage& message);

private:
    QString m_program;
};
