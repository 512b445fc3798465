#pragma once

#include "platform/clipboard.h"
#include "platform/mail.h"
#include "platform/shell.h"
#include "platform/singleinstance.h"

#include <QList>

// Small recorders for the services whose callers only need to see what was
// asked of them.
class TFakeClipboard : public IClipboard {
public:
    TClipboardContent content;
    bool fail = false;
    bool SetContent(const TClipboardContent& c) override {
        if (fail)
            return false;
        content = c;
        return true;
    }
    QString Text() override { return content.plainText; }
};

class TFakeShell : public IShell {
public:
    QStringList opened;
    bool OpenUrl(const QString& url) override {
        if (!IsExternalUrlAllowed(url))
            return false;
        opened << url;
        return true;
    }
};

class TFakeMail : public IMail {
public:
    QList<TMailMessage> sent;
    void SendMail(const TMailMessage& message) override { sent << message; }
};

class TFakeSingleInstance : public ISingleInstance {
public:
    Claim result = Claim::Primary;
    QList<QStringList> started;
    Claim Start(const QStringList& arguments) override {
        started << arguments;
        return result;
    }
    void SetHandler(Handler handler) override { m_handler = std::move(handler); }
    // Plays a list handed over by a second start.
    void Receive(const QStringList& arguments) {
        if (m_handler)
            m_handler(arguments);
    }

private:
    Handler m_handler;
};
