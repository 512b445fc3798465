#include "richtext/richtext.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <gtest/gtest.h>

// The plain-text version is made where no QGuiApplication exists (the
// command-line tool, the send path); this binary runs with the headless main.
TEST(RtfPlainTextHeadless, NeedsNoGuiApplication) {
    ASSERT_EQ(qobject_cast<QGuiApplication*>(QCoreApplication::instance()), nullptr);
    EXPECT_EQ(
        richtext::RtfToPlainText(readAll(fixture(QStringLiteral("rtf/word.rtf")))),
        QStringLiteral("Blocksatz mit Fett und \u041F\u0440\u0438\u0432\u0435\u0442 \u20AC .\n"
                       "\u2022 Punkt eins\n\u2022 Punkt zwei\n1. Schritt\nBeispiel "));
    EXPECT_EQ(richtext::RtfToPlainText(QStringLiteral("{\\rtf1 Am \\{$Date$\\}\\par}")),
              QStringLiteral("Am {$Date$}"));
}
