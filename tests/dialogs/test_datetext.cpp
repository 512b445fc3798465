#include "dialogs/datetext.h"
#include "support/testenv.h"

#include <QLocale>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

class DateTextTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
};

TDateTime dayCount(int y, int m, int d, int hh, int mm, int ss) {
    const QDateTime dt(QDate(y, m, d), QTime(hh, mm, ss), QTimeZone::utc());
    return FileSecondsToDateTime(dt.toSecsSinceEpoch());
}

} // namespace

TEST_F(DateTextTest, MidnightShowsTheDateAloneAndOtherTimesWithoutAZoneName) {
    EXPECT_EQ(DateTimeText(dayCount(2024, 3, 5, 0, 0, 0)), QStringLiteral("05.03.24"));
    EXPECT_EQ(DateTimeText(dayCount(2024, 3, 5, 14, 30, 15)), QStringLiteral("05.03.24 14:30:15"));
    // One second past midnight is a time of its own.
    EXPECT_EQ(DateTimeText(dayCount(2024, 3, 5, 0, 0, 1)), QStringLiteral("05.03.24 00:00:01"));
    // The day count of 1899-12-30 itself: the zero date of a header never set.
    EXPECT_EQ(DateTimeText(0), QStringLiteral("30.12.99"));
}

TEST(FormatText, FillsPercentSOneAfterTheOtherAndLeavesTheRestAsTyped) {
    struct Case {
        const char* format;
        const char* expected;
    } cases[] = {
        {"Kompiliert am %s um %s", "Kompiliert am D um T"},
        {"Built on %s at %s", "Built on D at T"},
        {"%s", "D"},
        {"no arguments", "no arguments"},
        {"100%% at %s", "100% at D"},
        {"%s %s %s", "D T "},                 // a third %s has nothing to show
        {"%d and %1 stay", "%d and %1 stay"}, // other formats are not ours
        {"ends in %", "ends in %"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(
            FormatText(QString::fromUtf8(c.format), {QStringLiteral("D"), QStringLiteral("T")}),
            QString::fromUtf8(c.expected))
            << c.format;
}
