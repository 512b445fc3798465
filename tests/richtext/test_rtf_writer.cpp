#include "richtext/richtext.h"
#include "rtftestutil.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <random>

namespace {

QTextCharFormat run(const char* family, double points, bool bold = false) {
    QTextCharFormat f;
    f.setFontFamilies(QStringList{QLatin1String(family)});
    f.setFontPointSize(points);
    if (bold)
        f.setFontWeight(QFont::Bold);
    return f;
}

QByteArray writeText(const QString& text) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(text, run("Arial", 10));
    return richtext::WriteRtf(&doc);
}

} // namespace

TEST(RtfWriter, WritesWhatTheRichTextControlWrites) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("Hello "), run("Arial", 10));
    c.insertText(QStringLiteral("World"), run("Arial", 10, true));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    centred.setLeftMargin(48);
    c.insertBlock(centred);
    QTextCharFormat red = run("Times New Roman", 14);
    red.setForeground(QColor(255, 0, 0));
    c.insertText(QStringLiteral("Red"), red);
    EXPECT_EQ(
        richtext::WriteRtf(&doc),
        QByteArray(
            "{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}"
            "{\\f1\\fnil\\fcharset0 Times New Roman;}}\r\n"
            "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
            "{\\*\\generator Phrasora " PHRASORA_VERSION_STRING ";}\\viewkind4\\uc1\r\n"
            "\\pard\\f0\\fs20 Hello \\b World\\par\r\n"
            "\\pard\\qc\\li720\\cf1\\b0\\f1\\fs28 Red\\par\r\n}\r\n"));
}

TEST(RtfWriter, EscapesTextAndKeepsPlaceholdersEscaped) {
    const QByteArray rtf = writeText(QStringLiteral("Am {$Date$} in C:\\Temp\tx\u2028y"));
    EXPECT_TRUE(rtf.contains("Am \\{$Date$\\} in C:\\\\Temp\\tab x\\line y")) << rtf.constData();
}

TEST(RtfWriter, CharactersOutsideWindows1252BecomeUnicodeEscapes) {
    const QByteArray rtf = writeText(QStringLiteral("\u00E4\u20AC\u0416\U0001F600\u00A0\u00AD"));
    EXPECT_TRUE(rtf.contains("\\'e4\\'80\\u1046?\\u-10179?\\u-8704?\\~\\-")) << rtf.constData();
    for (char ch : rtf)
        ASSERT_TRUE(static_cast<unsigned char>(ch) < 0x80);
}

TEST(RtfWriter, BulletsInThePntextAndPnForm) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("One"), run("Arial", 10));
    c.createList(QTextListFormat::ListDisc);
    c.insertBlock();
    c.insertText(QStringLiteral("Two"));
    c.insertBlock(QTextBlockFormat());
    c.insertText(QStringLiteral("Step"));
    c.createList(QTextListFormat::ListDecimal);
    const QByteArray rtf = richtext::WriteRtf(&doc);
    EXPECT_TRUE(rtf.contains("{\\f1\\fnil\\fcharset2 Symbol;}")) << rtf.constData();
    EXPECT_TRUE(rtf.contains(
        "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
        "\\fi-360\\li600\\f0\\fs20 One\\par\r\n{\\pntext\\f1\\'B7\\tab}Two\\par"))
        << rtf.constData();
    EXPECT_TRUE(rtf.contains(
        "\\pard{\\pntext\\f0 1.\\tab}{\\*\\pn\\pnlvlbody\\pnf0\\pnindent0\\pnstart1\\pndec"
        "{\\pntxta.}}\\fi-360\\li600 Step\\par\r\n}"))
        << rtf.constData();
}

TEST(RtfWriter, PicturesAsPngBlipsAtTheirGoalSize) {
    QTextDocument doc;
    const QByteArray png = imageBytes(3, 2, Qt::red, "PNG");
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("a.png")), png);
    QImage image(5, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    doc.addResource(QTextDocument::ImageResource, QUrl(QStringLiteral("b")), image);
    QTextCursor c(&doc);
    QTextImageFormat a;
    a.setName(QStringLiteral("a.png"));
    a.setWidth(30);
    a.setHeight(20);
    c.insertImage(a);
    QTextImageFormat b;
    b.setName(QStringLiteral("b"));
    c.insertImage(b);
    const QByteArray rtf = richtext::WriteRtf(&doc);
    const QByteArray expected =
        QByteArray("{\\pict\\pngblip\\picw3\\pich2\\picwgoal450\\pichgoal300\r\n") + png.toHex();
    EXPECT_TRUE(
        QByteArray(rtf).replace("\r\n", "").contains(QByteArray(expected).replace("\r\n", "")))
        << rtf.constData();
    // An image without bytes of its own is encoded as PNG at its natural size.
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw5\\pich4\\picwgoal75\\pichgoal60\r\n"))
        << rtf.constData();
}

TEST(RtfWriter, UnshowablePictureIsWrittenBackAsItCame) {
    const QByteArray in = "{\\rtf1 {\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1500\\pichgoal750 "
                          "0100090000036e}}";
    QTextDocument doc;
    richtext::ReadRtf(in, &doc);
    const QByteArray out = richtext::WriteRtf(&doc);
    EXPECT_TRUE(out.contains("{\\pict\\wmetafile8\\picw100\\pich50\\picwgoal1500\\pichgoal750\r\n"
                             "0100090000036e}"))
        << out.constData();
}

TEST(RtfWriter, HyperlinksAsFieldsWithTheirFormattingScoped) {
    QTextDocument doc;
    QTextCursor c(&doc);
    c.insertText(QStringLiteral("See "), run("Arial", 10));
    QTextCharFormat link = run("Arial", 10);
    link.setAnchor(true);
    link.setAnchorHref(QStringLiteral("https://example.org/?q=\"x\""));
    link.setFontUnderline(true);
    c.insertText(QStringLiteral("here"), link);
    c.insertText(QStringLiteral(" now"), run("Arial", 10));
    const QByteArray rtf = richtext::WriteRtf(&doc);
    EXPECT_TRUE(rtf.contains("{\\field{\\*\\fldinst{HYPERLINK \"https://example.org/?q=%22x%22\"}}"
                             "{\\fldrslt{\\ul here}}} now"))
        << rtf.constData();
    QTextDocument back;
    richtext::ReadRtf(rtf, &back);
    EXPECT_EQ(formatOf(back, QStringLiteral("here")).anchorHref(),
              QStringLiteral("https://example.org/?q=%22x%22"));
    EXPECT_FALSE(formatOf(back, QStringLiteral("now")).fontUnderline());
}

TEST(RtfWriter, PlainAndHtmlRenderings) {
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("wordpad.rtf"), &doc));
    const QString html = richtext::DocumentToHtml(&doc);
    EXPECT_TRUE(html.contains(QStringLiteral("font-weight:700"))) << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("src=\"data:image/png;base64,")))
        << html.toStdString();
    EXPECT_TRUE(html.contains(QStringLiteral("Einger\u00FCckt")));
    EXPECT_EQ(richtext::RtfToHtml(rtfFixture("wordpad.rtf")), html);
}

// Round trips over generated documents.
namespace {

const char* const kFamilies[] = {"Arial", "Times New Roman", "Courier New", "DejaVu Sans"};
const double kSizes[] = {8, 9.5, 10, 12, 14, 20};
const QColor kColors[] = {QColor(255, 0, 0), QColor(0, 128, 0), QColor(0, 0, 128), QColor(1, 2, 3)};
const char16_t* const kWords[] = {u"Text",         u" ",          u"\u00E4\u00F6\u00FC\u00DF",
                                  u"\u20AC",       u"{$Date$}",   u"\\",
                                  u"\t",           u"\u2028",     u"\u0416\u0438",
                                  u"\u65E5\u672C", u"\U0001F600", u"a;b",
                                  u"}{",           u"\u00A0",     u"1.5"};

QTextDocument* generate(unsigned seed, QObject* parent) {
    std::mt19937 rng(seed);
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    auto* doc = new QTextDocument(parent);
    QTextCursor c(doc);
    const int blocks = 1 + pick(8);
    QTextList* list = nullptr;
    int images = 0;
    for (int b = 0; b < blocks; ++b) {
        if (b > 0)
            c.insertBlock(QTextBlockFormat());
        QTextBlockFormat bf;
        const Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                        Qt::AlignJustify};
        bf.setAlignment(aligns[pick(4)]);
        bf.setLeftMargin(pick(3) * 12);
        bf.setRightMargin(pick(2) * 8);
        bf.setTopMargin(pick(2) * 4);
        bf.setBottomMargin(pick(3) * 5);
        const bool inList = pick(3) == 0;
        if (!inList)
            bf.setTextIndent(pick(3) * 10 - 10);
        c.setBlockFormat(bf);
        if (inList) {
            const QTextListFormat::Style style =
                pick(2) ? QTextListFormat::ListDisc : QTextListFormat::ListDecimal;
            // Now and then a new list right after one of the same style.
            if (list && list->format().style() == style &&
                c.block().previous().textList() == list && pick(4) != 0)
                list->add(c.block());
            else
                list = c.createList(style);
        }
        const int runs = pick(5);
        for (int r = 0; r < runs; ++r) {
            if (pick(12) == 0) {
                const QString name = QStringLiteral("img%1.png").arg(++images);
                doc->addResource(QTextDocument::ImageResource, QUrl(name),
                                 imageBytes(1 + pick(5), 1 + pick(5), kColors[pick(4)], "PNG"));
                QTextImageFormat img;
                img.setName(name);
                img.setWidth(1 + pick(40));
                img.setHeight(1 + pick(40));
                c.insertImage(img);
                continue;
            }
            QTextCharFormat f;
            if (pick(5))
                f.setFontFamilies(QStringList{QLatin1String(kFamilies[pick(4)])});
            if (pick(5))
                f.setFontPointSize(kSizes[pick(6)]);
            if (pick(3) == 0)
                f.setFontWeight(QFont::Bold);
            f.setFontItalic(pick(3) == 0);
            f.setFontUnderline(pick(4) == 0);
            f.setFontStrikeOut(pick(6) == 0);
            if (pick(3) == 0)
                f.setForeground(kColors[pick(4)]);
            if (pick(6) == 0)
                f.setBackground(kColors[pick(4)]);
            QString text;
            for (int w = 1 + pick(4); w > 0; --w)
                text += QString::fromUtf16(kWords[pick(15)]);
            c.insertText(text, f);
        }
    }
    return doc;
}

QString charKey(const QTextDocument* doc, const QTextCharFormat& f) {
    if (f.isImageFormat()) {
        const QTextImageFormat img = f.toImageFormat();
        const QByteArray bytes =
            doc->resource(QTextDocument::ImageResource, QUrl(img.name())).toByteArray();
        return QStringLiteral("image %1x%2 %3")
            .arg(img.width())
            .arg(img.height())
            .arg(QString::fromLatin1(bytes.toHex()));
    }
    QString family = familyOf(f);
    if (family.isEmpty())
        family = doc->defaultFont().family();
    const double size = f.fontPointSize() > 0 ? f.fontPointSize() : doc->defaultFont().pointSizeF();
    const QString fg = f.hasProperty(QTextFormat::ForegroundBrush) ? f.foreground().color().name()
                                                                   : QStringLiteral("auto");
    const QString bg = f.hasProperty(QTextFormat::BackgroundBrush) ? f.background().color().name()
                                                                   : QStringLiteral("none");
    return QStringLiteral("%1 %2 b%3 i%4 u%5 s%6 %7 %8")
        .arg(family)
        .arg(size)
        .arg(int(f.fontWeight() >= QFont::DemiBold))
        .arg(int(f.fontItalic()))
        .arg(int(f.fontUnderline()))
        .arg(int(f.fontStrikeOut()))
        .arg(fg, bg);
}

// A description of what a reader sees: text, character and paragraph formats.
QString describe(const QTextDocument* doc) {
    QString out;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat bf = b.blockFormat();
        QTextList* list = b.textList();
        const double left =
            bf.leftMargin() + (list ? list->format().indent() * doc->indentWidth() : 0);
        const int align =
            int(bf.alignment() & (Qt::AlignHCenter | Qt::AlignRight | Qt::AlignJustify));
        out += QStringLiteral(
                   "[block align=%1 left=%2 first=%3 right=%4 top=%5 bottom=%6 list=%7 %8]\n")
                   .arg(align)
                   .arg(left)
                   .arg(list ? 0 : bf.textIndent())
                   .arg(bf.rightMargin())
                   .arg(bf.topMargin())
                   .arg(bf.bottomMargin())
                   .arg(list ? int(list->format().style()) : 0)
                   // Where one list ends and the next begins shows only in numbers.
                   .arg(list && list->format().style() < QTextListFormat::ListSquare &&
                                b.previous().isValid() && b.previous().textList() == list
                            ? QStringLiteral("cont")
                            : QString());
        QString key;
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QString k = charKey(doc, frag.charFormat());
            if (k != key) {
                out += QStringLiteral("\n  <%1> ").arg(k);
                key = k;
            }
            out += frag.text();
        }
        out += QLatin1Char('\n');
    }
    return out;
}

} // namespace

TEST(RtfRoundTrip, GeneratedDocumentsKeepTextFormatsAndBytes) {
    for (unsigned seed = 1; seed <= 300; ++seed) {
        QObject owner;
        const QTextDocument* doc = generate(seed, &owner);
        const QByteArray first = richtext::WriteRtf(doc);
        QTextDocument back;
        ASSERT_TRUE(richtext::ReadRtf(first, &back));
        ASSERT_EQ(describe(&back), describe(doc)) << "seed " << seed << "\n" << first.constData();
        ASSERT_EQ(richtext::WriteRtf(&back), first) << "seed " << seed;
        ASSERT_EQ(richtext::DocumentToPlainText(&back), richtext::DocumentToPlainText(doc));
    }
}

TEST(RtfRoundTrip, ProducerFilesAreStableAfterTheFirstWrite) {
    for (const char* name : {"wordpad.rtf", "libreoffice.rtf", "word.rtf", "pandoc.rtf"}) {
        QTextDocument doc;
        richtext::ReadRtf(rtfFixture(name), &doc);
        const QByteArray first = richtext::WriteRtf(&doc);
        QTextDocument back;
        richtext::ReadRtf(first, &back);
        EXPECT_EQ(describe(&back), describe(&doc)) << name;
        EXPECT_EQ(richtext::WriteRtf(&back), first) << name;
        EXPECT_EQ(richtext::RtfToPlainText(first), richtext::RtfToPlainText(rtfFixture(name)))
            << name;
    }
}

TEST(RtfRoundTrip, EmptyDocument) {
    QTextDocument doc;
    const QByteArray rtf = richtext::WriteRtf(&doc);
    QTextDocument back;
    ASSERT_TRUE(richtext::ReadRtf(rtf, &back));
    EXPECT_TRUE(back.isEmpty());
    EXPECT_EQ(richtext::WriteRtf(&back), rtf);
}

// LibreOffice must read what the writer wrote with the same text.
TEST(RtfLibreOffice, ReadsTheWrittenText) {
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    TestEnv env(false);
    QTextDocument doc;
    ASSERT_TRUE(richtext::ReadRtf(rtfFixture("wordpad.rtf"), &doc));
    QTextCursor c(&doc);
    c.movePosition(QTextCursor::End);
    c.insertBlock();
    c.insertText(QStringLiteral(
                     "Unicode: \u0416\u0438\u0437\u043D\u044C \u65E5\u672C \u20AC {$Date$} \\ end"),
                 run("DejaVu Sans", 11, true));
    const QString in = env.writeFile(QStringLiteral("in/entry.rtf"), richtext::WriteRtf(&doc));
    QProcess lo;
    lo.start(soffice, {QStringLiteral("-env:UserInstallation=") +
                           QUrl::fromLocalFile(env.path(QStringLiteral("profile"))).toString(),
                       QStringLiteral("--headless"), QStringLiteral("--convert-to"),
                       QStringLiteral("txt:Text (encoded):UTF8"), QStringLiteral("--outdir"),
                       env.path(QStringLiteral("out")), in});
    ASSERT_TRUE(lo.waitForFinished(120000)) << "LibreOffice did not finish";
    const QString text = QString::fromUtf8(readAll(env.path(QStringLiteral("out/entry.txt"))))
                             .remove(QChar(0xFEFF))
                             .remove(QLatin1Char('\r'));
    ASSERT_FALSE(text.isEmpty()) << lo.readAllStandardError().constData();
    // LibreOffice writes list labels of its own; compare paragraph by paragraph.
    const QStringList got = text.split(QLatin1Char('\n'));
    const QStringList want = richtext::DocumentToPlainText(&doc).split(QLatin1Char('\n'));
    ASSERT_GE(got.size(), want.size() - 1) << text.toStdString();
    for (qsizetype i = 0; i < want.size(); ++i) {
        QString w = want[i];
        if (w.startsWith(QStringLiteral("\u2022 ")))
            w = w.mid(2);
        if (w.isEmpty())
            continue;
        EXPECT_TRUE(i < got.size() && got[i].endsWith(w))
            << "line " << i << ": want " << w.toStdString() << "\n"
            << text.toStdString();
    }
}
