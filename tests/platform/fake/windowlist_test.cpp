#include "platform/fake/fakewindowsystem.h"
#include "platform/windowlist.h"

#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

TFakeWindowSystem desktop() {
    TFakeWindowSystem ws;
    ws.windows = {
        {0x1e00004, QStringLiteral("Editor"), QStringLiteral("Kate"), true},
        {0xabc, QString(), QStringLiteral("Panel"), true},
        {0x400002, QStringLiteral("Hidden"), QStringLiteral("Tool"), false},
        {0x1e00004, QStringLiteral("Editor"), QStringLiteral("Kate"), true},
    };
    return ws;
}

TEST(TWindowList, SwitchesShapeTheTexts) {
    struct Case {
        bool titles, invisible, classes;
        QStringList texts;
    };
    const Case cases[] = {
        // As the send dialog uses it: empty titles and duplicates stay, in order.
        {true, false, false, {QStringLiteral("Editor"), QString(), QStringLiteral("Editor")}},
        {false,
         false,
         false,
         {QStringLiteral("1e00004"), QStringLiteral("000abc"), QStringLiteral("1e00004")}},
        {true,
         true,
         false,
         {QStringLiteral("Editor"), QString(), QStringLiteral("Hidden"), QStringLiteral("Editor")}},
        {true,
         false,
         true,
         {QStringLiteral("Editor:Kate"), QStringLiteral(":Panel"), QStringLiteral("Editor:Kate")}},
        {false,
         true,
         true,
         {QStringLiteral("1e00004:Kate"), QStringLiteral("000abc:Panel"),
          QStringLiteral("400002:Tool"), QStringLiteral("1e00004:Kate")}},
    };
    TFakeWindowSystem ws = desktop();
    for (const Case& c : cases) {
        TWindowList list(ws);
        list.ShowTitles = c.titles;
        list.IncludeInvisible = c.invisible;
        list.AppendClassNames = c.classes;
        list.Refresh();
        EXPECT_EQ(list.Texts(), c.texts) << c.titles << c.invisible << c.classes;
    }
}

TEST(TWindowList, LooksUpByPositionAndReportsABadIndex) {
    TFakeWindowSystem ws = desktop();
    ws.windows[1].className = QString(2000, QLatin1Char('x'));
    TWindowList list(ws);
    list.Refresh();
    EXPECT_EQ(list.Handle(1), 0xabcu);
    EXPECT_EQ(list.ClassName(0), QStringLiteral("Kate"));
    EXPECT_EQ(list.ClassName(1).size(), 1023) << "read into a buffer of 1024 characters";
    try {
        list.Handle(-1);
        FAIL() << "no exception";
    } catch (const EListIndexError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("Listenindex überschreitet das Maximum (-1)"));
    }
    EXPECT_THROW(list.ClassName(3), EListIndexError);
}

TEST(TWindowList, FailedRefreshLeavesItEmpty) {
    TFakeWindowSystem ws = desktop();
    TWindowList list(ws);
    list.Refresh();
    ws.failEnumeration = true;
    EXPECT_THROW(list.Refresh(), Exception);
    EXPECT_EQ(list.Count(), 0);
}

TEST(ActivateTarget, WaitsForTheFocusAndGivesUpInTime) {
    TFakeWindowSystem ws;
    ws.focusAfterPolls = 3;
    EXPECT_TRUE(ActivateTarget(ws, 42));
    EXPECT_EQ(ws.calls.mid(0, 2),
              (QStringList{QStringLiteral("activate 42"), QStringLiteral("foreground 42")}));

    TFakeWindowSystem stubborn;
    stubborn.focus = 7;
    stubborn.focusAfterPolls = -1;
    QElapsedTimer t;
    t.start();
    EXPECT_FALSE(ActivateTarget(stubborn, 42, std::chrono::milliseconds(200)));
    EXPECT_GE(t.elapsed(), 200);
    EXPECT_LT(t.elapsed(), 5000);
    EXPECT_GT(stubborn.calls.count(QStringLiteral("foreground 42")), 1) << "asks again meanwhile";
}

} // namespace
