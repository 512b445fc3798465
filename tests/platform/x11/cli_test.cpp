#include "support/testenv.h"
#include "xsession.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString Cli = QStringLiteral(PHRASORA_BIN_DIR "/platform-cli");

struct Result {
    int code = -1;
    QByteArray out, err;
};

Result run(const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    EndWithParent(p);
    p.start(Cli, args);
    p.waitForStarted(10000);
    p.write(input);
    p.closeWriteChannel();
    if (!p.waitForFinished(60000))
        p.kill();
    p.waitForFinished(5000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

TEST(PlatformCli, UsageAndUsageErrors) {
    struct Case {
        QStringList args;
        int code;
    };
    const Case cases[] = {
        {{QStringLiteral("windows"), QStringLiteral("--help")}, 0},
        {{QStringLiteral("type"), QStringLiteral("--help")}, 0},
        {{QStringLiteral("keys"), QStringLiteral("-h")}, 0},
        {{QStringLiteral("windows"), QStringLiteral("extra")}, 2},
        {{QStringLiteral("type")}, 2},
        {{QStringLiteral("type"), QStringLiteral("hello")}, 2},
        {{QStringLiteral("type"), QStringLiteral("--window")}, 2},
        {{QStringLiteral("type"), QStringLiteral("--window"), QStringLiteral("1"),
          QStringLiteral("a"), QStringLiteral("b")},
         2},
        {{QStringLiteral("type"), QStringLiteral("--wndow"), QStringLiteral("1"),
          QStringLiteral("a")},
         2},
        {{QStringLiteral("type"), QStringLiteral("--window"), QStringLiteral("0xzz"),
          QStringLiteral("a")},
         2},
        {{QStringLiteral("keys"), QStringLiteral("--window"), QStringLiteral("1"),
          QStringLiteral("252,300")},
         2},
        {{QStringLiteral("keys"), QStringLiteral("--window"), QStringLiteral("1"),
          QStringLiteral("252,,253")},
         2},
        {{QStringLiteral("keys"), QStringLiteral("--window"), QStringLiteral("1"),
          QStringLiteral("-1")},
         2},
    };
    for (const Case& c : cases) {
        const Result r = run(c.args);
        EXPECT_EQ(r.code, c.code) << c.args.join(QLatin1Char(' ')).toStdString() << "\n"
                                  << r.err.toStdString();
        if (c.code == 0)
            EXPECT_TRUE(r.out.startsWith("Usage: phrasora-cli ")) << r.out.toStdString();
        else
            EXPECT_TRUE(r.err.contains("Usage: phrasora-cli ")) << r.err.toStdString();
    }
}

TEST(PlatformCli, ListsTypesAndSendsKeys) {
    TestEnv env(false);
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    const QString out = env.path(QStringLiteral("typed.txt"));
    session.Start(QStringLiteral("env"),
                  {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("xterm"), QStringLiteral("-T"),
                   QStringLiteral("cli target"), QStringLiteral("-e"), QStringLiteral("sh"),
                   QStringLiteral("-c"),
                   QStringLiteral("stty -echo -icanon; exec cat > '%1'").arg(out)});
    const quint64 window = session.WaitForWindow(QStringLiteral("cli target"));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(out); }));
    const QString hex = QStringLiteral("0x") + QString::number(window, 16);

    const Result list = run({QStringLiteral("windows")});
    EXPECT_EQ(list.code, 0);
    EXPECT_TRUE(list.out.contains((hex + QStringLiteral("\tXTerm\tcli target\n")).toUtf8()))
        << list.out.toStdString();

    Result r = run(
        {QStringLiteral("type"), QStringLiteral("--window"), hex, QStringLiteral("Grüße\tЖ€\n")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(WaitUntil([&] { return readAll(out) == QStringLiteral("Grüße\tЖ€\n").toUtf8(); }))
        << readAll(out).toStdString();

    // "H", "i", Enter as a key string, to the decimal id.
    r = run({QStringLiteral("keys"), QStringLiteral("--window"), QString::number(window),
             QStringLiteral("72,105,13")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    // From standard input, to the window that is active now.
    r = run({QStringLiteral("type"), QStringLiteral("--window"), QStringLiteral("active"),
             QStringLiteral("-")},
            QStringLiteral("zwei\nZeilen\n").toUtf8());
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(WaitUntil([&] {
        return readAll(out) == QStringLiteral("Grüße\tЖ€\nHi\nzwei\nZeilen\n").toUtf8();
    })) << readAll(out).toStdString();

    r = run({QStringLiteral("type"), QStringLiteral("--window"), QStringLiteral("0x3fffff0"),
             QStringLiteral("lost")});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains("nothing was sent")) << r.err.toStdString();
}

} // namespace
