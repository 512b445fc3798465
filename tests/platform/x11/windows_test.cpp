#include "platform/keysender.h"
#include "platform/windowlist.h"
#include "platform/x11/x11keyboard.h"
#include "platform/x11/x11windowsystem.h"
#include "support/testenv.h"
#include "xsession.h"

#include <QElapsedTimer>
#include <QFile>
#include <gtest/gtest.h>

namespace {

QProcess* startCatTerminal(TXSession& session, const QString& title, const QString& out) {
    return session.Start(QStringLiteral("env"),
                         {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("xterm"),
                          QStringLiteral("-T"), title, QStringLiteral("-e"), QStringLiteral("sh"),
                          QStringLiteral("-c"),
                          QStringLiteral("stty -echo -icanon; exec cat > '%1'").arg(out)});
}

void typeInto(quint64 window, const QString& text) {
    TX11WindowSystem windows;
    ASSERT_TRUE(ActivateTarget(windows, window, std::chrono::milliseconds(5000)));
    TX11Keyboard keyboard;
    TKeySender sender(keyboard);
    EXPECT_EQ(sender.SendKeys(text, TKeySender::Mode::Text), 0);
}

TEST(X11WindowList, VisibleClientsFrontToBackWithTitleAndClass) {
    TestEnv env(false);
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    startCatTerminal(session, QStringLiteral("first"), env.path(QStringLiteral("1.txt")));
    const quint64 first = session.WaitForWindow(QStringLiteral("first"));
    session.Start(QStringLiteral(PHRASORA_BIN_DIR "/x11helper"),
                  {QStringLiteral("textfield"), QStringLiteral("Grüße – 日本"),
                   env.path(QStringLiteral("2.txt"))});
    const quint64 second = session.WaitForWindow(QStringLiteral("Grüße – 日本"));
    ASSERT_NE(first, 0u);
    ASSERT_NE(second, 0u);

    TX11WindowSystem windows;
    ASSERT_TRUE(ActivateTarget(windows, first, std::chrono::milliseconds(5000)));
    EXPECT_EQ(windows.ActiveWindow(), first);
    EXPECT_TRUE(WaitUntil([&] {
        const QList<TWindowInfo> all = windows.TopLevelWindows();
        return !all.isEmpty() && all.first().handle == first;
    })) << "the active window comes first";

    TWindowList list(windows);
    list.AppendClassNames = true;
    list.Refresh();
    const QStringList texts = list.Texts();
    EXPECT_TRUE(texts.contains(QStringLiteral("first:XTerm")))
        << texts.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(texts.contains(QStringLiteral("Grüße – 日本:x11helper")))
        << texts.join(QLatin1Char('\n')).toStdString();
    list.ShowTitles = false;
    list.AppendClassNames = false;
    EXPECT_TRUE(
        list.Texts().contains(QString::number(first, 16).rightJustified(6, QLatin1Char('0'))));
}

TEST(X11Activation, MinimisedTargetIsRestoredBeforeTyping) {
    TestEnv env(false);
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    const QString out = env.path(QStringLiteral("typed.txt"));
    startCatTerminal(session, QStringLiteral("target"), out);
    const quint64 window = session.WaitForWindow(QStringLiteral("target"));
    ASSERT_NE(window, 0u);
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(out); }));

    session.Run(QStringLiteral("xdotool"),
                {QStringLiteral("windowminimize"), QString::number(window)});
    TX11WindowSystem windows;
    ASSERT_TRUE(WaitUntil([&] { return windows.IsMinimised(xcb_window_t(window)); }));
    TWindowList list(windows);
    list.Refresh();
    EXPECT_TRUE(list.Texts().contains(QStringLiteral("target"))) << "a minimised window is offered";

    typeInto(window, QStringLiteral("restored\n"));
    EXPECT_FALSE(windows.IsMinimised(xcb_window_t(window)));
    EXPECT_TRUE(WaitUntil([&] { return readAll(out) == "restored\n"; }));
}

TEST(X11Activation, AGoneWindowIsReportedWithinTheBound) {
    TXSession session;
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    TX11WindowSystem windows;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(ActivateTarget(windows, 0x3fffff0, std::chrono::milliseconds(1000)));
    EXPECT_LT(t.elapsed(), 10000);
}

TEST(X11Activation, WithoutWindowManagerTheFocusIsSetDirectly) {
    TestEnv env(false);
    TXSession::Options options;
    options.windowManager = false;
    TXSession session(options);
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    const QString out = env.path(QStringLiteral("typed.txt"));
    startCatTerminal(session, QStringLiteral("bare"), out);
    const quint64 window = session.WaitForWindow(QStringLiteral("bare"));
    ASSERT_NE(window, 0u) << "found among the root's children";
    ASSERT_TRUE(WaitUntil([&] { return QFile::exists(out); }));

    TX11WindowSystem windows;
    EXPECT_EQ(windows.WindowManager(), 0u);
    EXPECT_EQ(windows.BottomPanelHeight(), 0) << "no _NET_WORKAREA";
    typeInto(window, QStringLiteral("bare\tX\n"));
    EXPECT_TRUE(WaitUntil([&] { return readAll(out) == "bare\tX\n"; }));
}

TEST(X11Panel, HeightOfTheBottomPanel) {
    TXSession::Options options;
    options.panel = true;
    TXSession session(options);
    ASSERT_TRUE(session.IsUp()) << session.Error().toStdString();
    TX11WindowSystem windows;
    const int height = windows.BottomPanelHeight();
    EXPECT_GT(height, 0);
    EXPECT_LT(height, 200);
}

} // namespace
