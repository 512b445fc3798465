#include "mainwindow/naturalcompare.h"

#include <gtest/gtest.h>

TEST(NaturalCompare, Table)
{
    const struct {
        const char* a;
        const char* b;
        int sign;
    } table[] = {
        {"same", "same", 0},
        {"", "a", -1},
        {"a", "", 1},
        {"9", "10", -1},
        {"Name 9", "Name 10", -1},
        {"Name 10", "Name 9", 1},
        {"Name", "Name2", 0},   // ends where the other's run ends
        {"Name2", "Name", 0},
        {"007", "7", 0},
        {"a7b", "a07c", -1},
        {"b", "a", 1},
        {"x99999999999999999999", "x100000000000000000000", -1}, // no overflow
        {"x18446744073709551617", "x18446744073709551616", 1},
        {"file1.txt", "file1.doc", 1},
    };
    for (const auto& row : table) {
        const int r = NaturalCompare(QString::fromUtf8(row.a), QString::fromUtf8(row.b));
        EXPECT_EQ((r > 0) - (r < 0), row.sign) << row.a << " vs " << row.b;
    }
}
