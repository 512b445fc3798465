#include "platform/x11/localsingleinstance.h"
#include "support/testenv.h"
#include "xsession.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <gtest/gtest.h>

namespace {

const QString Helper = QStringLiteral(PHRASORA_BIN_DIR "/x11helper");

QByteArray clipboardAs(TXSession& session, const QString& target) {
    return session.Run(QStringLiteral("xclip"),
                       {QStringLiteral("-o"), QStringLiteral("-selection"),
                        QStringLiteral("clipboard"), QStringLiteral("-t"), target});
}

TEST(QtClipboard, OffersEveryFormatAndKeepsServingIt) {
    TXSession::Options options;
    options.windowManager = false;
    TXSession session(options);
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    QProcess* owner = session.Start(Helper, {QStringLiteral("clipboard")});
    ASSERT_TRUE(WaitUntil([&] { return owner->canReadLine(); }));
    ASSERT_EQ(owner->readLine(), "ready\n");

    const QByteArray targets = clipboardAs(session, QStringLiteral("TARGETS"));
    for (const char* format : {"text/plain", "UTF8_STRING", "text/rtf", "application/rtf",
                               "Rich Text Format", "text/html"})
        EXPECT_TRUE(targets.contains(format)) << format << " missing in\n" << targets.toStdString();

    const QByteArray rtf = "{\\rtf1\\ansi {\\b Gr\\'fc\\'dfe}, Welt}";
    EXPECT_EQ(clipboardAs(session, QStringLiteral("UTF8_STRING")),
              QStringLiteral("Grüße, Welt").toUtf8());
    EXPECT_EQ(clipboardAs(session, QStringLiteral("text/rtf")), rtf);
    EXPECT_EQ(clipboardAs(session, QStringLiteral("application/rtf")), rtf);
    EXPECT_EQ(clipboardAs(session, QStringLiteral("Rich Text Format")), rtf);
    EXPECT_TRUE(clipboardAs(session, QStringLiteral("text/html"))
                    .contains(QStringLiteral("<b>Grüße</b>").toUtf8()));

    WaitUntil([] { return false; }, 1000);
    EXPECT_EQ(clipboardAs(session, QStringLiteral("text/rtf")), rtf) << "still served later";
}

TEST(QtClipboard, ReadsThePlainTextOfAnotherProgram) {
    TXSession::Options options;
    options.windowManager = false;
    TXSession session(options);
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    QProcess* other = session.Start(QStringLiteral("xclip"),
                                    {QStringLiteral("-quiet"), QStringLiteral("-selection"),
                                     QStringLiteral("clipboard"), QStringLiteral("-i")});
    other->write(QStringLiteral("Von außen").toUtf8());
    other->closeWriteChannel();
    QByteArray read;
    EXPECT_TRUE(WaitUntil([&] {
        read = session.Run(Helper, {QStringLiteral("clipboard-read")});
        return read == QStringLiteral("Von außen\n").toUtf8();
    })) << read.toStdString();
}

TEST(TLocalSingleInstance, WireFormatKeepsEveryArgument) {
    const QList<QStringList> cases = {
        {},
        {QString()},
        {QStringLiteral("/home/anna/Kunden.phr"), QStringLiteral("-m")},
        {QStringLiteral("zwei\nZeilen\r\n"), QStringLiteral("back\\slash\\n"),
         QStringLiteral("日本")},
    };
    for (const QStringList& args : cases) {
        QStringList back;
        const QByteArray wire = TLocalSingleInstance::Encode(args);
        ASSERT_TRUE(TLocalSingleInstance::Decode(wire, &back));
        EXPECT_EQ(back, args);
        EXPECT_FALSE(TLocalSingleInstance::Decode(wire.left(wire.size() - 1), &back) &&
                     !args.isEmpty())
            << "an incomplete list is not taken";
    }
    QStringList back;
    EXPECT_FALSE(TLocalSingleInstance::Decode("x\n", &back));
    EXPECT_FALSE(TLocalSingleInstance::Decode("3\na\n", &back));
}

QProcess* startInstance(std::vector<std::unique_ptr<QProcess>>& procs, const QStringList& args) {
    auto p = std::make_unique<QProcess>();
    EndWithParent(*p);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p->setProcessEnvironment(env);
    p->start(Helper, QStringList{QStringLiteral("instance")} + args);
    p->waitForStarted(10000);
    procs.push_back(std::move(p));
    return procs.back().get();
}

void endAll(std::vector<std::unique_ptr<QProcess>>& procs) {
    for (auto& p : procs) {
        if (p->state() != QProcess::NotRunning) {
            p->kill();
            p->waitForFinished(5000);
        }
    }
}

TEST(TLocalSingleInstance, SecondStartHandsOverItsArgumentsAndEnds) {
    TestEnv env(false);
    TLocalSingleInstance first;
    QList<QStringList> received;
    first.SetHandler([&](const QStringList& list) { received << list; });
    ASSERT_EQ(first.Start({}), ISingleInstance::Claim::Primary);
    const QFileInfo socket(first.SocketPath());
    EXPECT_TRUE(socket.exists());
    EXPECT_FALSE(socket.permissions() & (QFileDevice::ReadOther | QFileDevice::WriteOther |
                                         QFileDevice::ReadGroup | QFileDevice::WriteGroup))
        << "only the owner can open it";

    std::vector<std::unique_ptr<QProcess>> procs;
    const QStringList args{QStringLiteral("/tmp/Kunden.phr"), QStringLiteral("-m"),
                           QStringLiteral("zwei\nZeilen")};
    QElapsedTimer t;
    t.start();
    QProcess* second = startInstance(procs, args);
    ASSERT_TRUE(WaitUntil([&] { return second->state() == QProcess::NotRunning; }));
    const qint64 took = t.elapsed();
    EXPECT_EQ(second->exitCode(), 0);
    EXPECT_EQ(second->readAllStandardOutput(), "handed-over\n");
    EXPECT_LT(took, 5000) << "ends at once (took " << took << " ms)";
    ASSERT_TRUE(WaitUntil([&] { return !received.isEmpty(); }));
    EXPECT_EQ(received, QList<QStringList>{args});

    // Another start without arguments still reaches the running one.
    QProcess* third = startInstance(procs, {});
    ASSERT_TRUE(WaitUntil([&] { return third->state() == QProcess::NotRunning; }));
    EXPECT_TRUE(WaitUntil([&] { return received.size() == 2; }));
    EXPECT_EQ(received.value(1), QStringList());
    endAll(procs);
}

TEST(TLocalSingleInstance, TwoProcessesAndASocketLeftByACrash) {
    TestEnv env(false);
    std::vector<std::unique_ptr<QProcess>> procs;
    QProcess* primary = startInstance(procs, {});
    ASSERT_TRUE(WaitUntil([&] { return primary->canReadLine(); }));
    ASSERT_EQ(primary->readLine(), "primary\n");

    QProcess* second = startInstance(procs, {QStringLiteral("a.phr")});
    ASSERT_TRUE(WaitUntil([&] { return second->state() == QProcess::NotRunning; }));
    EXPECT_EQ(second->readAllStandardOutput(), "handed-over\n");
    ASSERT_TRUE(WaitUntil([&] { return primary->canReadLine(); }));
    EXPECT_EQ(primary->readLine(), "received: a.phr\n");

    // A crash leaves the socket file behind; the next start takes over.
    primary->kill();
    primary->waitForFinished(5000);
    TLocalSingleInstance next;
    ASSERT_TRUE(QFileInfo::exists(next.SocketPath()));
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(next.Start({}), ISingleInstance::Claim::Primary);
    EXPECT_LT(t.elapsed(), 5000);
    endAll(procs);
}

} // namespace
