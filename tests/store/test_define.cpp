#include "store/define.h"

#include <QDateTime>

#include <gtest/gtest.h>

TEST(Kinds, NamesAndCodes)
{
    const struct {
        int code;
        const char* name;
    } table[] = {{0, "Text"}, {1, "RichText"}, {2, "eMail"}, {3, "Hyperlink"}};
    for (const auto& row : table) {
        EXPECT_EQ(KindName(row.code), QString::fromLatin1(row.name));
        EXPECT_EQ(KindFromName(QString::fromLatin1(row.name)), row.code);
    }
    EXPECT_TRUE(KindName(4).isEmpty());
    EXPECT_TRUE(KindName(-1).isEmpty());
    EXPECT_EQ(KindFromName(QStringLiteral("text")), 0);
    EXPECT_EQ(KindFromName(QStringLiteral("hyperlink")), 0);
    EXPECT_EQ(KindFromName(QString()), 0);
}

TEST(Dates, ConversionToFileSecondsRoundsHalfToEven)
{
    const struct {
        double dayCount;
        qint64 seconds;
    } table[] = {
        {25569.0, 0},                   // 1970-01-01 00:00
        {25570.0, 86400},               // 1970-01-02 00:00
        {25568.5, -43200},              // 1969-12-31 12:00
        {25569.0 + 0.5 / 86400, 0},     // half a second rounds to the even 0
        {25569.0 + 1.5 / 86400, 2},     // and 1.5 to 2
        {25569.0 + 2.5 / 86400, 2},
        {25569.0 - 0.5 / 86400, 0},
        {25569.0 + 1.4 / 86400, 1},
    };
    for (const auto& row : table)
        EXPECT_EQ(DateTimeToFileSeconds(row.dayCount), row.seconds) << row.dayCount;
}

TEST(Dates, FileSecondsRoundTrip)
{
    for (qint64 s : {qint64(0), qint64(1700000000), qint64(-43200), qint64(4102444800)}) {
        EXPECT_EQ(DateTimeToFileSeconds(FileSecondsToDateTime(s)), s);
    }
    EXPECT_DOUBLE_EQ(FileSecondsToDateTime(86400), 25570.0);
}

TEST(Dates, NowIsLocalDayCount)
{
    const double now = NowDateTime();
    const QDateTime local = QDateTime::currentDateTime();
    const qint64 expected = QDate(1970, 1, 1).daysTo(local.date()) * 86400 +
                            local.time().msecsSinceStartOfDay() / 1000;
    EXPECT_NEAR(static_cast<double>(DateTimeToFileSeconds(now)), static_cast<double>(expected), 2.0);
}

TEST(FolderLabels, LabelAndIdReadBack)
{
    EXPECT_EQ(FolderLabel(QStringLiteral("Letters"), 7), QStringLiteral("Letters (7)"));
    EXPECT_EQ(FolderLabel(QStringLiteral("Notes (old)"), 12), QStringLiteral("Notes (old) (12)"));

    const struct {
        const char* label;
        bool hasId;
        int id;
    } table[] = {
        {"Notes (old) (12)", true, 12},
        {"Letters (7)", true, 7},
        {"Broken (-1)", true, -1},
        {"Archiv", false, 0},
        {"No id ()", false, 0},
        {"Text (x1)", false, 0},
        {"Trailing (3) ", false, 0},
        {"Huge (99999999999)", false, 0},
    };
    for (const auto& row : table) {
        int id = 0;
        EXPECT_EQ(FolderIdFromLabel(QString::fromUtf8(row.label), id), row.hasId) << row.label;
        if (row.hasId) {
            EXPECT_EQ(id, row.id) << row.label;
        }
    }
}
