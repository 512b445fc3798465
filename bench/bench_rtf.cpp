// Reading and writing speed of the RTF engine on a text-heavy document,
// measured against QTextDocument::setHtml and toHtml of the same content in
// the same run, and the time and peak memory of the hostile inputs the reader
// must bound.
#include "richtext/richtext.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <random>

namespace {

// The best of several runs, in milliseconds.
double bestMs(int runs, const std::function<void()>& fn) {
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        fn();
        best = std::min(best, t.nsecsElapsed() / 1e6);
    }
    return best;
}

double mbPerSecond(qsizetype bytes, double ms) {
    return bytes / (1024.0 * 1024.0) / (ms / 1000.0);
}

// Letters, offers and minutes: long paragraphs of prose with a format
// change every few words, some lists, a few colours and fonts.
void buildDocument(QTextDocument& doc, int paragraphs) {
    std::mt19937 rng(42);
    const char* words[] = {"Angebot", "Rechnung", "und",          "der",     "die",
                           "das",     "Kunde",    "freundlichen", "Grüßen",  "Lieferung",
                           "bis",     "zum",      "Termin",       "bitte",   "Rückmeldung",
                           "€",       "Preis",    "pünktlich",    "Vertrag", "Zahlung",
                           "gemäß",   "innerhalb"};
    QTextCursor c(&doc);
    QTextCharFormat base;
    base.setFontFamilies({QStringLiteral("Calibri")});
    base.setFontPointSize(11);
    for (int p = 0; p < paragraphs; ++p) {
        if (p > 0)
            c.insertBlock(QTextBlockFormat());
        QTextBlockFormat bf;
        if (p % 7 == 0)
            bf.setLeftMargin(48);
        bf.setBottomMargin(10);
        c.setBlockFormat(bf);
        if (p % 10 >= 8)
            c.createList(QTextListFormat::ListDisc);
        for (int run = 0; run < 12; ++run) {
            QTextCharFormat f = base;
            switch (rng() % 8) {
            case 0:
                f.setFontWeight(QFont::Bold);
                break;
            case 1:
                f.setFontItalic(true);
                break;
            case 2:
                f.setForeground(QColor(0xC0, 0, 0));
                break;
            case 3:
                f.setFontUnderline(true);
                break;
            case 4:
                f.setFontFamilies({QStringLiteral("Courier New")});
                break;
            default:
                break;
            }
            QString text;
            for (int w = 0; w < 6; ++w) {
                text += QString::fromUtf8(words[rng() % std::size(words)]);
                text += QLatin1Char(' ');
            }
            c.insertText(text, f);
        }
    }
}

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

void hostile(const char* name, const QByteArray& rtf) {
    {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
    }
    const qint64 before = statusKb("VmRSS:");
    QElapsedTimer t;
    t.start();
    {
        QTextDocument doc;
        richtext::ReadRtf(rtf, &doc);
    }
    const double ms = t.nsecsElapsed() / 1e6;
    const qint64 peak = statusKb("VmHWM:") - before;
    std::printf("  %-28s %8.1f ms  %6.1f MB peak above start  (input %.1f MB)\n", name, ms,
                peak / 1024.0, rtf.size() / (1024.0 * 1024.0));
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const int paragraphs = argc > 1 ? std::max(1, atoi(argv[1])) : 2000;
    const int runs = 5;

    QTextDocument source;
    buildDocument(source, paragraphs);
    const QByteArray rtf = richtext::WriteRtf(&source);
    const QString html = source.toHtml();
    const qsizetype htmlBytes = html.toUtf8().size();
    std::printf("document: %d paragraphs, %lld characters; RTF %.2f MB, HTML %.2f MB\n\n",
                paragraphs, static_cast<long long>(source.characterCount()), rtf.size() / 1048576.0,
                htmlBytes / 1048576.0);

    const double writeRtf = bestMs(runs, [&] { (void)richtext::WriteRtf(&source); });
    const double writeHtml = bestMs(runs, [&] { (void)source.toHtml(); });
    const double readRtf = bestMs(runs, [&] {
        QTextDocument d;
        richtext::ReadRtf(rtf, &d);
    });
    const double readHtml = bestMs(runs, [&] {
        QTextDocument d;
        d.setHtml(html);
    });
    const double plain = bestMs(runs, [&] { (void)richtext::RtfToPlainText(rtf); });

    std::printf("%-26s %9s %9s\n", "", "ms", "MB/s");
    std::printf("%-26s %9.1f %9.1f\n", "WriteRtf", writeRtf, mbPerSecond(rtf.size(), writeRtf));
    std::printf("%-26s %9.1f %9.1f\n", "QTextDocument::toHtml", writeHtml,
                mbPerSecond(htmlBytes, writeHtml));
    std::printf("%-26s %9.1f %9.1f\n", "ReadRtf", readRtf, mbPerSecond(rtf.size(), readRtf));
    std::printf("%-26s %9.1f %9.1f\n", "QTextDocument::setHtml", readHtml,
                mbPerSecond(htmlBytes, readHtml));
    std::printf("%-26s %9.1f %9.1f\n", "RtfToPlainText", plain, mbPerSecond(rtf.size(), plain));
    std::printf("\nsame content: writing takes %.2fx the time of toHtml, reading %.2fx the time of "
                "setHtml\n\n",
                writeRtf / writeHtml, readRtf / readHtml);

    std::printf("hostile input:\n");
    hostile("1M nested groups",
            "{\\rtf1 " + QByteArray(1000000, '{') + "x" + QByteArray(1000000, '}') + "}");
    hostile("10 MB picture",
            "{\\rtf1 {\\pict\\pngblip " + QByteArray(20 * 1024 * 1024, 'a') + "}}");
    QByteArray fonts = "{\\rtf1{\\fonttbl";
    for (int i = 0; i < 100000; ++i)
        fonts +=
            "{\\f" + QByteArray::number(i) + "\\fcharset204 Font" + QByteArray::number(i) + ";}";
    hostile("100k fonts", fonts + "}x}");
    hostile("1M alternating \\b \\b0",
            "{\\rtf1 " + QByteArray("\\b\\b0").repeated(1000000) + " x}");
    hostile("100k bold runs of text",
            "{\\rtf1 " + QByteArray("\\b x\\b0 y").repeated(100000) + "}");
    return 0;
}
