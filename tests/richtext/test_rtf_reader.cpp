#include "richtext/richtext.h"
#include "rtftestutil.h"

#include <QTextDocument>
#include <QTextList>
#include <QUrl>

namespace {

struct TextCase {
    const char* name;
    const char* rtf;
    const char16_t* text; // the plain-text version
};

// One row per feature of the text stream; the plain-text version must be the
// same whether it comes straight from the RTF or from the document.
const TextCase kTextCases[] = {
    {"par_and_line", "{\\rtf1 one\\line two\\par three}", u"one\ntwo\nthree"},
    {"last_par_adds_no_line", "{\\rtf1 one\\par}", u"one"},
    {"empty_last_paragraph", "{\\rtf1 one\\par\\par}", u"one\n"},
    {"last_list_item_adds_no_item", "{\\rtf1{\\pntext\\'B7\\tab}{\\*\\pn\\pnlvlblt}Last\\par}",
     u"\u2022 Last"},
    {"newline_is_par", "{\\rtf1 one\\\ntwo}", u"one\ntwo"},
    {"raw_line_ends_ignored", "{\\rtf1 on\r\ne\r\n}", u"one"},
    {"tab", "{\\rtf1 a\\tab b\tc}", u"a\tb\tc"},
    {"specials", "{\\rtf1 \\emdash\\endash\\bullet\\lquote\\rquote\\ldblquote\\rdblquote}",
     u"\u2014\u2013\u2022\u2018\u2019\u201C\u201D"},
    {"nbsp_soft_hyphen_nbhyphen", "{\\rtf1 a\\~b\\-c\\_d}", u"a\u00A0bc\u2011d"},
    {"escapes_and_placeholder", "{\\rtf1 \\\\ \\{$Date$\\}}", u"\\ {$Date$}"},
    {"hex_1252", "{\\rtf1\\ansi\\ansicpg1252 Gr\\'fc\\'dfe \\'80}", u"Gr\u00FC\u00DFe \u20AC"},
    {"hex_1251_document", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", u"\u041F\u0440\u0438"},
    {"hex_by_font_charset",
     "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial "
     "Cyr;}{\\f2\\fcharset161 Greek;}}"
     "\\f1\\'cf\\f0\\'cf\\f2\\'e1}",
     u"\u041F\u00CF\u03B1"},
    {"shift_jis_pairs",
     "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 MS Mincho;}}\\f0\\'93\\'fa\\'96\\'7b\\'83A}",
     u"\u65E5\u672C\u30A2"},
    {"decoder_substitutes_are_dropped",
     "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset128 X;}}\\f0 a\\'ff\\'ffb}", u"ab"},
    {"cpg_wins_over_charset", "{\\rtf1\\ansi{\\fonttbl{\\f0\\fcharset0\\cpg1253 X;}}\\f0\\'e1}",
     u"\u03B1"},
    {"raw_high_bytes_in_code_page", "{\\rtf1\\ansi\\ansicpg1251 \xcf\xf0}", u"\u041F\u0440"},
    {"unicode_fallback_uc1", "{\\rtf1 \\u8364?x}", u"\u20ACx"},
    {"unicode_uc2_hex_fallback", "{\\rtf1\\uc2 \\u8364\\'80\\'80x}", u"\u20ACx"},
    {"unicode_uc0", "{\\rtf1\\uc0 \\u8364 x}", u"\u20ACx"},
    {"unicode_negative", "{\\rtf1 \\u-3913?}", u"\uF0B7"},
    {"unicode_surrogates", "{\\rtf1 \\u-10179?\\u-8704?}", u"\U0001F600"},
    {"uc_is_group_scoped", "{\\rtf1 {\\uc2 \\u8364??}\\u8364?}", u"\u20AC\u20AC"},
    {"fallback_stops_at_group_end", "{\\rtf1\\uc3 {\\u8364?}ab}", u"\u20ACab"},
    {"fallback_counts_control_word", "{\\rtf1\\uc1 \\u8364\\emdash x}", u"\u20ACx"},
    {"ignorable_destination", "{\\rtf1 a{\\*\\generator Msftedit 5.41;}{\\*\\unknown b}c}", u"ac"},
    {"unknown_plain_destination_kept", "{\\rtf1 a{\\unknownword b}c}", u"abc"},
    {"nontext_destinations",
     "{\\rtf1{\\fonttbl{\\f0 Arial;}}{\\colortbl;\\red1\\green2\\blue3;}{\\stylesheet{\\s0 "
     "Normal;}}"
     "{\\info{\\title T}{\\author A}}{\\header H}{\\footer F}{\\footnote N}text}",
     u"text"},
    {"bin_data_skipped", "{\\rtf1 a{\\*\\x \\bin4 }{\\\\}b}", u"ab"},
    {"bin_larger_than_file", "{\\rtf1 a\\bin99999999 }}}}", u"a"},
    {"bin_inside_text_not_shown", "{\\rtf1 a\\bin3 xyzb}", u"ab"},
    {"pntext_dropped",
     "{\\rtf1{\\fonttbl{\\f1\\fcharset2 "
     "Symbol;}}{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1{\\pntxtb\\'B7}}item}",
     u"\u2022 item"},
    {"listtext_dropped", "{\\rtf1{\\listtext 1.\\tab}\\ls1 item}", u"1. item"},
    {"hidden_text", "{\\rtf1 a{\\v hidden}b\\v c\\v0 d}", u"abd"},
    {"field_result",
     "{\\rtf1 {\\field{\\*\\fldinst{HYPERLINK \"http://x.org\"}}{\\fldrslt{\\ul link}}} end}",
     u"link end"},
    {"upr_takes_unicode_half", "{\\rtf1 {\\upr{ansi}{\\*\\ud{uni}}}}", u"uni"},
    {"table_cells", "{\\rtf1 \\trowd\\cellx100\\cellx200 \\intbl A\\cell B\\cell\\row after}",
     u"A\tB\nafter"},
    {"shppict_wins",
     "{\\rtf1 a{\\*\\shppict{\\pict\\pngblip 00}}{\\nonshppict{\\pict\\wmetafile8 00}}b}", u"ab"},
    {"text_after_document_ignored", "{\\rtf1 a}b{c}", u"a"},
    {"unclosed_document", "{\\rtf1 a{\\b b", u"ab"},
    {"leading_whitespace", "\r\n {\\rtf1 a}", u"a"},
    {"control_chars_dropped", "{\\rtf1 a\x01\x7f b}", u"a\x7f b"},
};

class RtfTextCase : public ::testing::TestWithParam<TextCase> {};

TEST_P(RtfTextCase, GivesText) {
    const TextCase& c = GetParam();
    const QByteArray rtf(c.rtf);
    const QString expected = QString::fromUtf16(c.text);
    EXPECT_EQ(richtext::RtfToPlainText(rtf), expected);
    QTextDocument doc;
    EXPECT_TRUE(richtext::ReadRtf(rtf, &doc));
    EXPECT_EQ(richtext::DocumentToPlainText(&doc), expected);
}

std::string caseName(const ::testing::TestParamInfo<TextCase>& row) {
    return row.param.name;
}

INSTANTIATE_TEST_SUITE_P(Features, RtfTextCase, ::testing::ValuesIn(kTextCases), caseName);

QTextCharFormat charFormatOf(const char* rtf, const QString& needle) {
    QTextDocument doc;
    richtext::ReadRtf(QByteArray(rtf), &doc);
    return formatOf(doc, needle);
}

} // namespace

TEST(RtfReader, CharacterFormatsAndTheirResets) {
    const char* rtf =
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}{\\f1\\froman Times New Roman;}}"
        "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "N \\b B\\b0  \\i I\\i0  \\ul U\\ulnone  \\uldb D\\ul0  \\strike S\\strike0  "
        "\\super P\\sub Q\\nosupersub  \\fs36 Z\\fs24  \\f1 T\\f0  \\cf1 R\\cf0  \\highlight2 H"
        "\\highlight0  {\\b\\i\\cf2 G} A \\b\\i\\ul\\fs40\\f1\\cf1 X\\plain Y}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QByteArray(rtf), &doc));

    const QTextCharFormat n = formatOf(doc, QStringLiteral("N"));
    EXPECT_EQ(familyOf(n), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(n.fontPointSize(), 12.0);
    EXPECT_NE(n.fontWeight(), QFont::Bold);
    EXPECT_FALSE(n.hasProperty(QTextFormat::ForegroundBrush));

    EXPECT_EQ(formatOf(doc, QStringLiteral("B")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("I")).fontItalic());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("U")).fontUnderline());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("D")).fontUnderline());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("S")).fontStrikeOut());
    EXPECT_EQ(formatOf(doc, QStringLiteral("P")).verticalAlignment(),
              QTextCharFormat::AlignSuperScript);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Q")).verticalAlignment(),
              QTextCharFormat::AlignSubScript);
    EXPECT_DOUBLE_EQ(formatOf(doc, QStringLiteral("Z")).fontPointSize(), 18.0);
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("T"))), QStringLiteral("Times New Roman"));
    EXPECT_EQ(formatOf(doc, QStringLiteral("R")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, QStringLiteral("H")).background().color(), QColor(0, 0, 255));

    const QTextCharFormat g = formatOf(doc, QStringLiteral("G"));
    EXPECT_EQ(g.fontWeight(), QFont::Bold);
    EXPECT_TRUE(g.fontItalic());
    EXPECT_EQ(g.foreground().color(), QColor(0, 0, 255));
    // A group's formatting ends with the group; \b0 and friends end theirs.
    const QTextCharFormat a = formatOf(doc, QStringLiteral("A"));
    EXPECT_NE(a.fontWeight(), QFont::Bold);
    EXPECT_FALSE(a.fontItalic());
    EXPECT_FALSE(a.fontUnderline());
    EXPECT_FALSE(a.fontStrikeOut());
    EXPECT_EQ(a.verticalAlignment(), QTextCharFormat::AlignNormal);
    EXPECT_DOUBLE_EQ(a.fontPointSize(), 12.0);
    EXPECT_FALSE(a.hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(a.hasProperty(QTextFormat::BackgroundBrush));
    // \plain resets everything at once.
    const QTextCharFormat y = formatOf(doc, QStringLiteral("Y"));
    EXPECT_NE(y.fontWeight(), QFont::Bold);
    EXPECT_FALSE(y.fontItalic() || y.fontUnderline());
    EXPECT_DOUBLE_EQ(y.fontPointSize(), 12.0);
    EXPECT_EQ(familyOf(y), QStringLiteral("Arial"));
}

TEST(RtfReader, FontNamesAreDecodedInTheFontsCodePage) {
    const char* rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset204 \\'cf\\u1088?\\'e8 Cyr;}"
        "{\\f1\\fcharset0 Gr\\'fc\\'9c\\u8364?{\\*\\falt Other};}{\\f2\\fcharset2 Symbol;}}"
        "\\f0 A\\f1 B\\f2 C}";
    EXPECT_EQ(familyOf(charFormatOf(rtf, QStringLiteral("A"))),
              QStringLiteral("\u041F\u0440\u0438 Cyr"));
    EXPECT_EQ(familyOf(charFormatOf(rtf, QStringLiteral("B"))),
              QStringLiteral("Gr\u00FC\u0153\u20AC"));
    EXPECT_EQ(familyOf(charFormatOf(rtf, QStringLiteral("C"))), QStringLiteral("Symbol"));
}

TEST(RtfReader, ColourTableEntryZeroAndBadIndexesAreAutomatic) {
    const char* rtf = "{\\rtf1{\\colortbl\\red9\\green9\\blue9;\\red0\\green128\\blue0;}"
                      "\\cf0 A\\cf1 B\\cf7 C\\highlight99 D}";
    EXPECT_FALSE(charFormatOf(rtf, QStringLiteral("A")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(charFormatOf(rtf, QStringLiteral("B")).foreground().color(), QColor(0, 128, 0));
    EXPECT_FALSE(charFormatOf(rtf, QStringLiteral("C")).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_FALSE(charFormatOf(rtf, QStringLiteral("D")).hasProperty(QTextFormat::BackgroundBrush));
}

TEST(RtfReader, NonTextDestinationsDoNotLeakFormatting) {
    const char* rtf = "{\\rtf1{\\stylesheet{\\s0\\b\\i\\fs48 Normal;}}{\\*\\x \\ul}"
                      "{\\info{\\title \\strike T}}Plain}";
    const QTextCharFormat f = charFormatOf(rtf, QStringLiteral("Plain"));
    EXPECT_NE(f.fontWeight(), QFont::Bold);
    EXPECT_FALSE(f.fontItalic() || f.fontUnderline() || f.fontStrikeOut());
    EXPECT_DOUBLE_EQ(f.fontPointSize(), 12.0);
}

TEST(RtfReader, ParagraphFormats) {
    const char* rtf = "{\\rtf1 \\qc C\\par\\qr R\\par\\qj J\\par"
                      "\\pard\\fi-360\\li720\\ri1440\\sb120\\sa240 I\\par"
                      "\\pard L}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QByteArray(rtf), &doc));
    EXPECT_EQ(blockWith(doc, QStringLiteral("C")).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignHCenter);
    EXPECT_EQ(blockWith(doc, QStringLiteral("R")).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignRight);
    EXPECT_EQ(blockWith(doc, QStringLiteral("J")).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignJustify);
    const QTextBlockFormat i = blockWith(doc, QStringLiteral("I")).blockFormat();
    // Twips to pixels at 96 dpi: 15 twips a pixel.
    EXPECT_DOUBLE_EQ(i.textIndent(), -24.0);
    EXPECT_DOUBLE_EQ(i.leftMargin(), 48.0);
    EXPECT_DOUBLE_EQ(i.rightMargin(), 96.0);
    EXPECT_DOUBLE_EQ(i.topMargin(), 8.0);
    EXPECT_DOUBLE_EQ(i.bottomMargin(), 16.0);
    EXPECT_FALSE(i.alignment() & Qt::AlignJustify); // \pard ended it
    const QTextBlockFormat l = blockWith(doc, QStringLiteral("L")).blockFormat();
    EXPECT_EQ(l.leftMargin(), 0.0);
    EXPECT_EQ(l.textIndent(), 0.0);
    EXPECT_FALSE(l.alignment() & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify));
}

TEST(RtfReader, LineBreakStaysInsideTheParagraph) {
    QTextDocument doc;
    richtext::ReadRtf(QByteArray("{\\rtf1 one\\line two\\par three}"), &doc);
    EXPECT_EQ(doc.blockCount(), 2);
    EXPECT_EQ(doc.begin().text(), QStringLiteral("one\u2028two"));
}

TEST(RtfReader, RichEditBulletsBecomeOneListWithTheMarkerShownOnce) {
    const char* rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset2 Symbol;}}"
                      "\\pard Intro\\par"
                      "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{"
                      "\\pntxtb\\'B7}}\\fi-360\\li720 One\\par"
                      "{\\pntext\\f1\\'B7\\tab}Two\\par"
                      "\\pard{\\pntext\\f0 "
                      "1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec{\\pntxta.}}"
                      "\\fi-360\\li720 First\\par"
                      "{\\pntext\\f0 2.\\tab}Second\\par"
                      "{\\pntext\\f0 1.\\tab}Again\\par"
                      "\\pard After}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QByteArray(rtf), &doc));
    const QTextBlock one = blockWith(doc, QStringLiteral("One"));
    const QTextBlock two = blockWith(doc, QStringLiteral("Two"));
    ASSERT_NE(one.textList(), nullptr);
    EXPECT_EQ(one.textList(), two.textList());
    EXPECT_EQ(one.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(one.text(), QStringLiteral("One")); // no second bullet in the text
    EXPECT_DOUBLE_EQ(one.blockFormat().leftMargin(), 48.0);

    const QTextBlock first = blockWith(doc, QStringLiteral("First"));
    ASSERT_NE(first.textList(), nullptr);
    EXPECT_NE(first.textList(), one.textList());
    EXPECT_EQ(first.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(first.textList(), blockWith(doc, QStringLiteral("Second")).textList());
    // A marker that starts counting again starts a new list.
    const QTextBlock again = blockWith(doc, QStringLiteral("Again"));
    ASSERT_NE(again.textList(), nullptr);
    EXPECT_NE(again.textList(), first.textList());
    EXPECT_EQ(blockWith(doc, QStringLiteral("Intro")).textList(), nullptr);
    EXPECT_EQ(blockWith(doc, QStringLiteral("After")).textList(), nullptr);

    EXPECT_EQ(
        richtext::RtfToPlainText(QByteArray(rtf)),
        QStringLiteral("Intro\n\u2022 One\n\u2022 Two\n1. First\n2. Second\n1. Again\nAfter"));
}

TEST(RtfReader, WordListsTakeTheirKindFromTheListTable) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("word.rtf"), &doc));
    const QTextBlock p1 = blockWith(doc, QStringLiteral("Punkt eins"));
    const QTextBlock p2 = blockWith(doc, QStringLiteral("Punkt zwei"));
    const QTextBlock step = blockWith(doc, QStringLiteral("Schritt"));
    ASSERT_TRUE(p1.textList() && step.textList());
    EXPECT_EQ(p1.textList(), p2.textList());
    EXPECT_EQ(p1.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(step.textList()->format().style(), QTextListFormat::ListDecimal);
    EXPECT_EQ(p1.text(), QStringLiteral("Punkt eins"));
}

TEST(RtfReader, HyperlinkFieldShowsResultAndKeepsTarget) {
    const char* rtf = "{\\rtf1 {\\field{\\*\\fldinst{HYPERLINK \\\\l \"anchor\" }}{\\fldrslt x}}"
                      "{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/a\" }}{\\fldrslt{\\ul "
                      "Link}}} after}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(QByteArray(rtf), &doc));
    const QTextCharFormat link = formatOf(doc, QStringLiteral("Link"));
    EXPECT_TRUE(link.isAnchor());
    EXPECT_EQ(link.anchorHref(), QStringLiteral("https://example.org/a"));
    EXPECT_TRUE(link.fontUnderline());
    EXPECT_FALSE(formatOf(doc, QStringLiteral("after")).isAnchor());
    EXPECT_EQ(formatOf(doc, QStringLiteral("x")).anchorHref(), QStringLiteral("anchor"));

    QTextDocument wide;
    richtext::ReadRtf(
        QByteArray(
            "{\\rtf1 {\\field{\\*\\fldinst HYPERLINK \"https://b\\'fccher.example/\\u1078?\"}"
            "{\\fldrslt B}}}"),
        &wide);
    EXPECT_EQ(formatOf(wide, QStringLiteral("B")).anchorHref(),
              QStringLiteral("https://b\u00FCcher.example/\u0436"));
}

TEST(RtfReader, PngAndJpegPicturesAtTheirGoalSize) {
    const QByteArray png = imageBytes(4, 2, Qt::red, "PNG");
    const QByteArray jpeg = imageBytes(8, 8, Qt::blue, "JPEG");
    const QByteArray rtf = "{\\rtf1 a{\\pict\\pngblip\\picw4\\pich2\\picwgoal600\\pichgoal300\r\n" +
                           png.toHex() + "}b{\\pict\\jpegblip\\picscalex50\\picscaley200 " +
                           jpeg.toHex() + "}c}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtf, &doc));
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 2);
    EXPECT_DOUBLE_EQ(images[0].width(), 40.0);
    EXPECT_DOUBLE_EQ(images[0].height(), 20.0);
    EXPECT_EQ(doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).toByteArray(),
              png);
    // Without a goal size the picture's own size, scaled.
    EXPECT_DOUBLE_EQ(images[1].width(), 4.0);
    EXPECT_DOUBLE_EQ(images[1].height(), 16.0);
    EXPECT_EQ(doc.resource(QTextDocument::ImageResource, QUrl(images[1].name())).toByteArray(),
              jpeg);
    EXPECT_FALSE(images[0].hasProperty(richtext::PictureDataProperty));
    EXPECT_EQ(richtext::DocumentToPlainText(&doc), QStringLiteral("abc"));
}

TEST(RtfReader, ShapePictureWinsOverItsFallback) {
    const QByteArray png = imageBytes(2, 2, Qt::green, "PNG");
    const QByteArray rtf = "{\\rtf1 {\\*\\shppict{\\pict\\pngblip " + png.toHex() +
                           "}}{\\nonshppict{\\pict\\wmetafile8 0100090000}}}";
    QTextDocument doc;
    richtext::ReadRtf(rtf, &doc);
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 1);
    EXPECT_EQ(doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).toByteArray(),
              png);
}

TEST(RtfReader, UnshowablePicturesKeepTheirPlaceAndData) {
    const QByteArray rtf =
        "{\\rtf1 a{\\pict\\wmetafile8\\picw2540\\pich1270 0100090000}"
        "b{\\pict\\emfblip\\picwgoal150\\pichgoal150 01000000}"
        "c{\\pict\\pngblip 0badc0ffee}d{\\pict\\dibitmap0\\picw10\\pich5 28000000}e}";
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtf, &doc));
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 4);
    for (const QTextImageFormat& f : images) {
        // A visible placeholder stands in; the original data stays for writing.
        const QVariant shown = doc.resource(QTextDocument::ImageResource, QUrl(f.name()));
        EXPECT_FALSE(shown.value<QImage>().isNull());
        EXPECT_TRUE(f.hasProperty(richtext::PictureDataProperty));
    }
    EXPECT_EQ(images[0].property(richtext::PictureDataProperty).toByteArray(),
              QByteArray::fromHex("0100090000"));
    EXPECT_EQ(images[0].property(richtext::PictureKeywordProperty).toByteArray(), "wmetafile8");
    EXPECT_NEAR(images[0].width(), 96.0, 0.01); // 2540 hundredths of a millimetre = 1 inch
    EXPECT_DOUBLE_EQ(images[1].width(), 10.0);
    EXPECT_EQ(images[2].property(richtext::PictureDataProperty).toByteArray(),
              QByteArray::fromHex("0badc0ffee"));
    EXPECT_DOUBLE_EQ(images[3].width(), 10.0);
    EXPECT_EQ(richtext::DocumentToPlainText(&doc), QStringLiteral("abcde"));
}

TEST(RtfReader, NonRtfDataIsShownAsPlainText) {
    QTextDocument doc;
    EXPECT_FALSE(richtext::ReadRtf(QByteArray("mailto:anna@example.org"), &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("mailto:anna@example.org"));
    EXPECT_EQ(richtext::RtfToPlainText(QByteArray("https://example.org")),
              QStringLiteral("https://example.org"));
    EXPECT_FALSE(richtext::ReadRtf(QByteArray(), &doc));
    EXPECT_TRUE(doc.isEmpty());
}

TEST(RtfReader, StringSourceKeepsCharactersOutsideTheCodePage) {
    // An archive holds RTF as a string; raw characters in it survive.
    const QString source = QStringLiteral("{\\rtf1\\ansi \u20AC \u00E4 \u0416}");
    EXPECT_EQ(richtext::RtfToPlainText(source), QStringLiteral("\u20AC \u00E4 \u0416"));
    // The escape for a raw character leaves the document's \uc alone.
    EXPECT_EQ(richtext::RtfToPlainText(QStringLiteral("{\\rtf1\\uc2 \u0416\\u8364xyz}")),
              QStringLiteral("\u0416\u20ACz"));
    QTextDocument doc;
    EXPECT_TRUE(richtext::ReadRtf(source, &doc));
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("\u20AC \u00E4 \u0416"));
}

TEST(RtfReader, ReplacesEarlierContentAndLeavesUndoAsItWas) {
    QTextDocument doc;
    doc.setPlainText(QStringLiteral("old"));
    ASSERT_TRUE(doc.isUndoRedoEnabled());
    richtext::ReadRtf(QByteArray("{\\rtf1 new}"), &doc);
    EXPECT_EQ(doc.toPlainText(), QStringLiteral("new"));
    EXPECT_TRUE(doc.isUndoRedoEnabled());
    EXPECT_FALSE(doc.isUndoAvailable());
    EXPECT_FALSE(doc.isModified());
}

// What the common producers write, read as a whole.
TEST(RtfReaderFixtures, WordPad) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("wordpad.rtf"), &doc));
    EXPECT_EQ(richtext::DocumentToPlainText(&doc),
              QStringLiteral("Angebot\nSehr geehrte Damen und Herren, heute ist {$Date$}.\n"
                             "\u2022 Rot\n\u2022 Blau\n\u2022 Gelb\nEinger\u00FCckt\n\n"
                             "Unterstrichen und durch"));
    const QTextBlock title = blockWith(doc, QStringLiteral("Angebot"));
    EXPECT_EQ(title.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat t = formatOf(doc, QStringLiteral("Angebot"));
    EXPECT_EQ(t.fontWeight(), QFont::Bold);
    EXPECT_DOUBLE_EQ(t.fontPointSize(), 14.0);
    EXPECT_EQ(familyOf(t), QStringLiteral("Calibri"));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Rot")).foreground().color(), QColor(255, 0, 0));
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Blau")).fontItalic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("Gelb")).background().color(), QColor(255, 255, 0));
    const QTextBlock rot = blockWith(doc, QStringLiteral("Rot"));
    ASSERT_NE(rot.textList(), nullptr);
    EXPECT_EQ(rot.textList()->count(), 3);
    EXPECT_DOUBLE_EQ(rot.blockFormat().leftMargin(), 48.0);
    const QTextBlock indented = blockWith(doc, QStringLiteral("Einger"));
    EXPECT_EQ(indented.textList(), nullptr);
    EXPECT_DOUBLE_EQ(indented.blockFormat().leftMargin(), 96.0);
    EXPECT_DOUBLE_EQ(indented.blockFormat().rightMargin(), 48.0);
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("Einger"))), QStringLiteral("Courier New"));
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 1);
    EXPECT_DOUBLE_EQ(images[0].width(), 40.0);
    EXPECT_FALSE(
        doc.resource(QTextDocument::ImageResource, QUrl(images[0].name())).toByteArray().isEmpty());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("Unterstrichen")).fontUnderline());
    EXPECT_TRUE(formatOf(doc, QStringLiteral("durch")).fontStrikeOut());
}

TEST(RtfReaderFixtures, LibreOffice) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("libreoffice.rtf"), &doc));
    EXPECT_EQ(
        richtext::DocumentToPlainText(&doc),
        QStringLiteral(
            "Titel\nNormal kursiv unter rot \u20AC \u041F\u0440\u0438\u0432\u0435\u0442 "
            "\u201Cquotes\u201D \u2014 dash\n\u2022 Eins\n\u2022 Zwei\n1. Erstens\n2. Zweitens\n"
            "Verweis und Bild \nEinger\u00FCckt"));
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("Normal"))), QStringLiteral("DejaVu Serif"));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Titel")).fontWeight(), QFont::Bold);
    EXPECT_TRUE(formatOf(doc, QStringLiteral("kursiv")).fontItalic());
    EXPECT_EQ(formatOf(doc, QStringLiteral("rot")).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Verweis")).anchorHref(),
              QStringLiteral("https://example.org/x"));
    const QTextBlock eins = blockWith(doc, QStringLiteral("Eins"));
    ASSERT_NE(eins.textList(), nullptr);
    EXPECT_EQ(eins.textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_EQ(eins.textList()->count(), 2);
    ASSERT_NE(blockWith(doc, QStringLiteral("Erstens")).textList(), nullptr);
    EXPECT_EQ(blockWith(doc, QStringLiteral("Erstens")).textList()->format().style(),
              QTextListFormat::ListDecimal);
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 1); // the PNG, not its metafile fallback
    EXPECT_DOUBLE_EQ(images[0].width(), 16.0);
    EXPECT_FALSE(images[0].hasProperty(richtext::PictureDataProperty));
    EXPECT_DOUBLE_EQ(blockWith(doc, QStringLiteral("Einger")).blockFormat().leftMargin(), 96.0);
}

TEST(RtfReaderFixtures, Word) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("word.rtf"), &doc));
    EXPECT_EQ(
        richtext::DocumentToPlainText(&doc),
        QStringLiteral("Blocksatz mit Fett und \u041F\u0440\u0438\u0432\u0435\u0442 \u20AC .\n"
                       "\u2022 Punkt eins\n\u2022 Punkt zwei\n1. Schritt\nBeispiel "));
    // The bold of the style sheet's "Normal" must not leak into the text.
    EXPECT_NE(formatOf(doc, QStringLiteral("Blocksatz")).fontWeight(), QFont::Bold);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Fett")).fontWeight(), QFont::Bold);
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("Blocksatz"))), QStringLiteral("Calibri"));
    EXPECT_DOUBLE_EQ(formatOf(doc, QStringLiteral("Blocksatz")).fontPointSize(), 11.0);
    EXPECT_EQ(blockWith(doc, QStringLiteral("Blocksatz")).blockFormat().alignment() &
                  Qt::AlignHorizontal_Mask,
              Qt::AlignJustify);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Beispiel")).anchorHref(),
              QStringLiteral("https://www.example.com/"));
    EXPECT_EQ(formatOf(doc, QStringLiteral("Beispiel")).foreground().color(), QColor(5, 99, 193));
    const QList<QTextImageFormat> images = imagesOf(doc);
    ASSERT_EQ(images.size(), 1);
    EXPECT_DOUBLE_EQ(images[0].width(), 2.0);
}

TEST(RtfReaderFixtures, Pandoc) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("pandoc.rtf"), &doc));
    EXPECT_EQ(richtext::DocumentToPlainText(&doc),
              QStringLiteral(
                  "\u00DCberschrift\nEin Absatz mit kursiv, fett, code und \u201CZitat\u201D.\n"
                  "\u2022\tErster Punkt\n\u2022\tZweiter Punkt\n1.\tNummer eins\n"
                  "Ein Verweis und ein Zeilen-\numbruch."));
    EXPECT_EQ(familyOf(formatOf(doc, QStringLiteral("code"))), QStringLiteral("Courier"));
    EXPECT_DOUBLE_EQ(formatOf(doc, QStringLiteral("berschrift")).fontPointSize(), 18.0);
    EXPECT_EQ(formatOf(doc, QStringLiteral("Verweis")).anchorHref(),
              QStringLiteral("https://pandoc.org/"));
    EXPECT_DOUBLE_EQ(blockWith(doc, QStringLiteral("Erster")).blockFormat().leftMargin(), 24.0);
}

TEST(RtfReaderFixtures, PlainTextFromRtfMatchesTheDocument) {
    for (const char* name : {"wordpad.rtf", "libreoffice.rtf", "word.rtf", "pandoc.rtf"}) {
        QTextDocument doc;
        richtext::ReadRtf(rtfFixture(name), &doc);
        EXPECT_EQ(richtext::RtfToPlainText(rtfFixture(name)), richtext::DocumentToPlainText(&doc))
            << name;
    }
}
