// The program as a user starts it, on a private desktop with a window
// manager and a panel with a tray: start-up with the sample archive, hiding
// to the tray and coming back with the hot key, and the hand-off of a second
// start.

#include "platform/windowsystem.h"
#include "platform/x11/x11windowsystem.h"
#include "support/testenv.h"
#include "xsession.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QThread>

#include <gtest/gtest.h>

namespace {

const QString kProgram = QStringLiteral(PHRASORA_BIN_DIR "/phrasora");

bool windowShown(const QString& title)
{
    TX11WindowSystem ws;
    for (const TWindowInfo& w : ws.TopLevelWindows())
        if (w.title == title && w.visible)
            return true;
    return false;
}

class AppTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!session.IsUp())
            GTEST_SKIP() << "no X session: " << session.Error().toStdString();
        // The program folder of the build tree, so the program finds its
        // language files and the sample; the settings switch the splash off.
        qputenv("PHRASORA_PROGRAM_DIR", QByteArray(PHRASORA_BIN_DIR));
        env.writeFile(QStringLiteral("config/Phrasora/config.ini"), "[misc]\nshowplash=0\n");
        qunsetenv("QT_QPA_PLATFORM");
    }

    void TearDown() override
    {
        for (QProcess* p : started) {
            p->kill();
            p->waitForFinished(5000);
        }
    }

    QProcess* start(const QStringList& args)
    {
        QProcess* p = session.Start(kProgram, args);
        started << p;
        return p;
    }

    TestEnv env;
    TXSession session{TXSession::Options{true, true, QStringLiteral("us")}};
    QList<QProcess*> started;
};

} // namespace

TEST_F(AppTest, StartsWithTheSampleAndTogglesThroughTheTrayHotKey)
{
    const QString sample = QStringLiteral(PHRASORA_BIN_DIR "/sample/Beispiele.phr");
    start({sample});
    ASSERT_NE(session.WaitForWindow(QStringLiteral("Phrasora")), 0u) << "the main window comes up";
    ASSERT_TRUE(WaitUntil([] { return windowShown(QStringLiteral("Phrasora")); }));
    QThread::msleep(800); // let the first paint land before the screenshot
    session.Run(QStringLiteral("import"), {QStringLiteral("-window"), QStringLiteral("root"),
                                           QDir::temp().filePath(QStringLiteral("phrasora-app.png"))});

    // Ctrl+N (the default) hides the window into the tray and shows it again.
    session.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+n")});
    EXPECT_TRUE(WaitUntil([] { return !windowShown(QStringLiteral("Phrasora")); }, 10000));
    session.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("ctrl+n")});
    EXPECT_TRUE(WaitUntil([] { return windowShown(QStringLiteral("Phrasora")); }, 10000));
}

TEST_F(AppTest, SecondStartHandsItsFileOverAndEnds)
{
    start({QStringLiteral(PHRASORA_BIN_DIR "/sample/Beispiele.phr")});
    ASSERT_NE(session.WaitForWindow(QStringLiteral("Phrasora")), 0u);

    // The second start ends at once; the first asks before it replaces its
    // open archive.
    const QString other = env.path(QStringLiteral("other.phr"));
    ASSERT_TRUE(QFile::copy(fixture(QStringLiteral("archive/letters.phr")), other));
    QProcess second;
    second.start(kProgram, {other});
    ASSERT_TRUE(second.waitForFinished(10000)) << "the second instance hands over and exits";
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_NE(session.WaitForWindow(QStringLiteral("Confirm"), 10000), 0u)
        << "the running instance asks whether to close its archive";
    session.Run(QStringLiteral("xdotool"), {QStringLiteral("key"), QStringLiteral("Escape")});
}

TEST_F(AppTest, MinusMStartsHiddenInTheTray)
{
    start({QStringLiteral("-M")});
    // The window is made, then hidden once the start timer has run.
    ASSERT_TRUE(WaitUntil([] {
        TX11WindowSystem ws;
        return !ws.TopLevelWindows().isEmpty();
    }, 15000));
    QThread::msleep(1500);
    EXPECT_FALSE(windowShown(QStringLiteral("Phrasora")));
}
