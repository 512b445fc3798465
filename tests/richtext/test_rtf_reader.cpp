#include "richtext/richtext.h"

#include <QTextDocument>

#include <gtest/gtest.h>

TEST(RtfReader, Smoke)
{
    QTextDocument doc;
    EXPECT_TRUE(richtext::ReadRtf(QByteArray("{\\rtf1 Hello \\b World\\b0\\par}"), &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("Hello World\n"));
}
