#include "platform/mail.h"
#include "platform/shell.h"
#include "support/testenv.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QThread>
#include <gtest/gtest.h>

namespace {

TEST(IsExternalUrlAllowed, OnlyWebAndMailAddresses) {
    struct Case {
        const char* url;
        bool allowed;
    };
    const Case cases[] = {
        {"http://example.org/", true},
        {"https://example.org/a?b=c#d", true},
        {"HTTPS://EXAMPLE.ORG", true},
        {"  https://example.org  ", true},
        {"mailto:anna@example.org", true},
        {"mailto:anna@example.org?subject=Hallo", true},
        {"file:///etc/passwd", false},
        {"FILE:///home", false},
        {"/usr/bin/xterm", false},
        {"./run.sh", false},
        {"run.sh", false},
        {"javascript:alert(1)", false},
        {"smb://server/share", false},
        {"ftp://example.org", false},
        {"-e /bin/sh", false},
        {"http://", false},
        {"mailto:", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IsExternalUrlAllowed(QString::fromUtf8(c.url)), c.allowed) << c.url;
}

// A stand-in program that writes its arguments, one per line, to a file.
QString recorder(const TestEnv& env, const QString& out) {
    const QString script = env.writeFile(
        QStringLiteral("bin/recorder"),
        QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do printf '%s\\n' \"$a\"; done > '%1.part'\n"
                       "mv '%1.part' '%1'\n")
            .arg(out)
            .toUtf8());
    QFile::setPermissions(script,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    return script;
}

QByteArray waitForFile(const QString& path) {
    QDeadlineTimer deadline(10000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QThread::msleep(20);
    return readAll(path);
}

TEST(TXdgShell, HandsOverAllowedAddressesAndRefusesTheRest) {
    TestEnv env(false);
    const QString out = env.path(QStringLiteral("opened.txt"));
    TXdgShell shell(recorder(env, out));

    EXPECT_FALSE(shell.OpenUrl(QStringLiteral("file:///etc/passwd")));
    EXPECT_FALSE(shell.OpenUrl(QStringLiteral("/bin/sh")));
    QThread::msleep(200);
    EXPECT_FALSE(QFile::exists(out)) << "nothing was started for a refused address";

    EXPECT_TRUE(shell.OpenUrl(QStringLiteral("https://example.org/a b;$(id)")));
    EXPECT_EQ(waitForFile(out), QByteArray("https://example.org/a%20b;$(id)\n"));

    TXdgShell missing(env.path(QStringLiteral("no-such-opener")));
    EXPECT_FALSE(missing.OpenUrl(QStringLiteral("https://example.org/")));
}

TEST(TXdgMail, SendsTheFileWithItsNameAsSubject) {
    TestEnv env(false);
    const QString archive = env.writeFile(QStringLiteral("Kunden.phr"), "<x/>");
    EXPECT_EQ(TXdgMail::Arguments(MailForFile(archive)),
              (QStringList{QStringLiteral("--utf8"), QStringLiteral("--subject"),
                           QStringLiteral("Kunden.phr"), QStringLiteral("--attach"), archive}));

    TMailMessage odd;
    odd.subject = QStringLiteral("-x; rm -rf ~");
    odd.body = QStringLiteral("Hallo\nWelt");
    odd.recipientAddress = QStringLiteral("--help");
    EXPECT_EQ(TXdgMail::Arguments(odd),
              (QStringList{QStringLiteral("--utf8"), QStringLiteral("--subject"), odd.subject,
                           QStringLiteral("--body"), odd.body}))
        << "a recipient that reads as an option is left out";

    const QString out = env.path(QStringLiteral("mail.txt"));
    TXdgMail mail(recorder(env, out));
    mail.SendFileByMail(archive);
    EXPECT_EQ(
        waitForFile(out),
        QStringLiteral("--utf8\n--subject\nKunden.phr\n--attach\n%1\n").arg(archive).toUtf8());

    // Without a mail program nothing happens, and nothing is reported.
    TXdgMail none(env.path(QStringLiteral("no-such-mailer")));
    none.SendFileByMail(archive);
}

} // namespace
