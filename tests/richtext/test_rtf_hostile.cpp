#include "richtext/richtext.h"
#include "rtftestutil.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QFile>
#include <QTextDocument>
#include <functional>

// Hostile input must stay cheap: each case reads (and lays out) within a
// second and 200 MB in an optimised build. Sanitizers slow everything down
// and keep freed memory in quarantine, so they get a looser time bound and no
// memory bound.
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

#ifdef NDEBUG
constexpr bool kOptimised = true;
#else
constexpr bool kOptimised = false;
#endif

qint64 statusKb(const char* key) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').first().toLongLong();
    }
    return -1;
}

// Runs the reading and returns the document; checks time and peak memory.
void readBounded(const QByteArray& rtf, QTextDocument& doc) {
    {
        // Writing 5 resets the peak resident size.
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
    }
    const qint64 before = statusKb("VmRSS:");
    QElapsedTimer timer;
    timer.start();
    richtext::ReadRtf(rtf, &doc);
    doc.documentLayout()->documentSize();
    const qint64 ms = timer.elapsed();
    const qint64 peakMb = (statusKb("VmHWM:") - before) / 1024;
    EXPECT_LT(ms, kSanitized ? 30000 : kOptimised ? 1000 : 5000) << "milliseconds";
    if (!kSanitized && before > 0) {
        EXPECT_LT(peakMb, 200) << "MB above the resident size before reading";
    }
}

QByteArray repeated(const QByteArray& piece, int times) {
    return piece.repeated(times);
}

} // namespace

TEST(RtfHostile, MillionNestedGroupsKeepTheTextAndDropTheFormatting) {
    QTextDocument doc;
    readBounded("{\\rtf1 " + repeated("{", 1000000) + "deep" + repeated("}", 1000000) + " after}",
                doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("deep after"));

    // Beyond the depth limit formatting is not followed, and it never leaks
    // out of the groups once they close.
    QTextDocument bold;
    readBounded("{\\rtf1 " + repeated("{\\b\\i ", 5000) + "X" + repeated("}", 5000) + "Y}", bold);
    EXPECT_EQ(bold.toPlainText(), QStringLiteral("XY"));
    EXPECT_NE(formatOf(bold, QStringLiteral("Y")).fontWeight(), QFont::Bold);
    EXPECT_FALSE(formatOf(bold, QStringLiteral("Y")).fontItalic());

    // Destinations deep down are still skipped whole.
    QTextDocument dest;
    readBounded("{\\rtf1 " + repeated("{", 4000) +
                    "{\\*\\secret hidden{\\x more}}{\\fonttbl gone}shown" + repeated("}", 4000) +
                    "}",
                dest);
    EXPECT_EQ(dest.toPlainText(), QStringLiteral("shown"));

    // More closing than opening braces end the document, nothing worse.
    QTextDocument closing;
    readBounded("{\\rtf1 a}" + repeated("}", 100000) + "b", closing);
    EXPECT_EQ(closing.toPlainText(), QStringLiteral("a"));
}

TEST(RtfHostile, TenMegabytePicture) {
    QByteArray hex(20 * 1024 * 1024, '7');
    QTextDocument doc;
    readBounded("{\\rtf1 a{\\pict\\pngblip\\picwgoal1440\\pichgoal1440 " + hex + "}b}", doc);
    hex.clear();
    EXPECT_EQ(richtext::DocumentToPlainText(&doc), QStringLiteral("ab"));
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(images[0].property(richtext::PictureDataProperty).toByteArray().size(),
              10 * 1024 * 1024);

    // A valid header that claims an enormous picture: shown at a bounded size.
    QByteArray png = imageBytes(1, 1, Qt::red, "PNG");
    png[16] = '\x7f'; // width 0x7f000001
    QTextDocument huge;
    readBounded("{\\rtf1 {\\pict\\pngblip\\picscalex10000\\picscaley10000 " + png.toHex() + "}}",
                huge);
    const QList<QTextImageFormat> hugeImages = imagesOf(huge);
    ASSERT_EQ(hugeImages.size(), 1);
    EXPECT_LE(hugeImages[0].width(), 10000.0);
    EXPECT_LE(hugeImages[0].height(), 10000.0);
}

TEST(RtfHostile, HundredThousandFonts) {
    QByteArray rtf = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 100000; ++i)
        rtf += "{\\f" + QByteArray::number(i) + "\\fcharset" + QByteArray::number(i % 256) +
               " Font" + QByteArray::number(i) + ";}";
    rtf += "}\\f99999 x\\f1 y}";
    QTextDocument doc;
    readBounded(rtf, doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("xy"));
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("x"))), QStringLiteral("Font99999"));
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("y"))), QStringLiteral("Font1"));
}

TEST(RtfHostile, MillionAlternatingBoldSwitches) {
    QTextDocument doc;
    readBounded("{\\rtf1 " + repeated("\\b\\b0", 1000000) + " X" + repeated("\\b0\\b", 1000000) +
                    " Y}",
                doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("XY"));
    EXPECT_NE(formatOf(doc, QStringLiteral("X")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Y")).fontWeight(), QFont::Bold);
}

TEST(RtfHostile, HundredThousandRunsInOneParagraph) {
    QTextDocument doc;
    readBounded("{\\rtf1 " + repeated("\\b x\\b0 y", 100000) + "}", doc);
    EXPECT_EQ(doc.characterCount(), 200001);
    EXPECT_EQ(formatOf(doc, QStringLiteral("xy")).fontWeight(), QFont::Bold);
    EXPECT_NE(formatOf(doc, QStringLiteral("yx")).fontWeight(), QFont::Bold);
}

TEST(RtfHostile, NamesAndNumbersAreClamped) {
    const struct {
        const char* name;
        QByteArray rtf;
        const char16_t* text;
    } cases[] = {
        {"long_name", "{\\rtf1 \\" + QByteArray(100000, 'a') + " text}", u"text"},
        {"long_number", "{\\rtf1 \\fs" + QByteArray(100000, '9') + " text}", u"text"},
        {"long_negative", "{\\rtf1 \\li-" + QByteArray(1000, '9') + " text}", u"text"},
        {"unicode_out_of_range", "{\\rtf1 \\u99999999999?\\u-99999999?ok}", u"ok"},
        {"huge_uc", "{\\rtf1\\uc2147483647 \\u8364 abcdefghijklmnopqrstuvwxyz}",
         u"\u20ACqrstuvwxyz"},
        {"huge_bin", "{\\rtf1 a\\bin9223372036854775807 bcd}", u"a"},
        {"negative_bin", "{\\rtf1 a\\bin-5 bcd}", u"abcd"},
        {"huge_sizes",
         "{\\rtf1 {\\pict\\pngblip\\picw2147483647\\pich2147483647\\picwgoal2147483647"
         "\\pichgoal2147483647 00}\\fi2147483647\\li-2147483647\\sa2147483647 x}",
         u"x"},
        {"huge_indexes",
         "{\\rtf1 \\f2147483647\\cf2147483647\\highlight2147483647\\ls2147483647 x}", u"\u2022 x"},
        {"font_name_flood", "{\\rtf1{\\fonttbl{\\f0 " + QByteArray(1000000, 'n') + ";}}\\f0 x}",
         u"x"},
        {"truncated_backslash", "{\\rtf1 a\\", u"a"},
        {"truncated_hex", "{\\rtf1 a\\'4", u"a"},
        {"control_and_structure_characters", "{\\rtf1 a\\'0a\\'0d\\u8233?\\u-4?\\u-560?\\'09b}",
         u"a\n\tb"},
        {"truncated_unicode", "{\\rtf1 a\\u", u"a"},
        {"truncated_bin", "{\\rtf1 a\\bin5 b", u"a"},
        {"truncated_picture", "{\\rtf1 a{\\pict\\pngblip 89504e47", u"a"},
        {"nul_bytes", QByteArray("{\\rtf1 a\0b}", 11), u"ab"},
    };
    for (const auto& c : cases) {
        QTextDocument doc;
        readBounded(c.rtf, doc);
        EXPECT_EQ(richtext::DocumentToPlainText(&doc), QString::fromUtf16(c.text)) << c.name;
        EXPECT_EQ(richtext::RtfToPlainText(c.rtf), QString::fromUtf16(c.text)) << c.name;
        // Whatever was read can be written and read again.
        QTextDocument again;
        richtext::ReadRtf(richtext::WriteRtf(&doc), &again);
        EXPECT_EQ(richtext::DocumentToPlainText(&again), richtext::DocumentToPlainText(&doc))
            << c.name;
    }
    QTextDocument sized;
    richtext::ReadRtf(QByteArray("{\\rtf1 \\fs" + QByteArray(100, '9') + " x}"), &sized);
    EXPECT_DOUBLE_EQ(formatOf(sized, QStringLiteral("x")).fontPointSize(), 1638.0);
}
