// Load and save times of the archive store against raw pugixml parsing and
// serialising of the same files, measured in the same run.
//
//   build/release/bench/bench_archive [repetitions]

#include "store/documenthandling.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <unistd.h>

namespace {

QString sampleText(int i)
{
    static const QString body = QStringLiteral(
        "Sehr geehrte Damen und Herren,\n\nvielen Dank für Ihre Anfrage vom {$Date$}. "
        "Gern senden wir Ihnen die gewünschten Unterlagen & Preise <netto> zu.\n"
        "Mit freundlichen Grüßen\n{$Owner$}\n");
    return QStringLiteral("#%1 ").arg(i) + body;
}

QString sampleRtf(int i)
{
    return QStringLiteral("{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 Eintrag %1: "
                          "\\b fett\\b0 und \\i kursiv\\i0 \\{$Date$\\}\\par}")
        .arg(i);
}

void buildArchive(const QString& path, int entries)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    archive.Header = {1, QStringLiteral("Benchmark"), NowDateTime(), NowDateTime(), false,
                      QStringLiteral("bench"), QString(), path};
    const TArchiveTree::Node top = tree.AddFirst(archive.TopLabel());
    const int folderCount = std::max(10, entries / 1000);
    for (int f = 0; f < folderCount; ++f) {
        const TArchiveTree::Node parent = f < 10 ? top : tree.Child(top, f % 10);
        archive.AddFolder(QStringLiteral("Ordner %1").arg(f), tree, parent);
    }
    // Records are appended directly: adding through the store looks up the
    // next id with a scan per entry, which is not what is measured here.
    const TDateTime now = NowDateTime();
    for (int i = 0; i < entries; ++i) {
        TDocumentInfo entry;
        entry.id = i + 1;
        entry.folderid = 1 + i % folderCount;
        entry.caption = QStringLiteral("Eintrag %1").arg(i);
        entry.created = entry.updated = now;
        entry.type = i % 4 == 1 ? ekRichText : i % 4 == 2 ? ekMail : ekText;
        entry.description = entry.type == ekText ? QStringLiteral("Beschreibung") : QString();
        entry.text = entry.type == ekText       ? sampleText(i)
                     : entry.type == ekRichText ? sampleRtf(i)
                                                : QStringLiteral("user%1@example.org").arg(i);
        archive.Entries.append(entry);
    }
    pugi::xml_document doc;
    archive.WriteArchive(doc, path);
}

double bestOf(int repetitions, const std::function<void()>& run)
{
    double best = 1e300;
    for (int r = 0; r < repetitions; ++r) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());

    std::printf("%-8s %9s %9s %7s %12s %7s   %9s %9s %7s\n", "entries", "load ms", "pugi ms",
                "ratio", "pugi+utf16", "ratio", "save ms", "pugi ms", "ratio");
    for (int entries : {10000, 100000}) {
        const QString path = dir.filePath(QStringLiteral("a%1.phr").arg(entries));
        buildArchive(path, entries);
        const QByteArray native = QFile::encodeName(path);
        const qint64 size = QFileInfo(path).size();

        const double rawParse = bestOf(repetitions, [&] {
            pugi::xml_document doc;
            if (!doc.load_file(native.constData()))
                std::abort();
        });
        // A second reference: the parse plus the bare conversion of every
        // value to UTF-16, which any reader that hands out QStrings pays.
        const double parseConvert = bestOf(repetitions, [&] {
            pugi::xml_document doc;
            if (!doc.load_file(native.constData()))
                std::abort();
            qsizetype total = 0;
            struct Walker : pugi::xml_tree_walker {
                qsizetype* total;
                bool for_each(pugi::xml_node& node) override
                {
                    if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata)
                        *total += QString::fromUtf8(node.value()).size();
                    return true;
                }
            } walker;
            walker.total = &total;
            doc.traverse(walker);
            if (total < 0)
                std::abort();
        });
        const double load = bestOf(repetitions, [&] {
            TDocumentHandling archive;
            TMemoryTree tree;
            pugi::xml_document doc;
            archive.FileName = path;
            archive.LoadArchive(tree, doc);
        });

        // Saving: the reference serialises the parsed file to disk with
        // pugixml and makes it durable, as the store's atomic replace does.
        pugi::xml_document parsed;
        parsed.load_file(native.constData());
        const QString rawOut = dir.filePath(QStringLiteral("raw.phr"));
        const double rawSave = bestOf(repetitions, [&] {
            QFile f(rawOut);
            if (!f.open(QIODevice::WriteOnly))
                std::abort();
            struct Writer : pugi::xml_writer {
                QFile* file;
                void write(const void* data, size_t n) override
                {
                    file->write(static_cast<const char*>(data), static_cast<qint64>(n));
                }
            } writer;
            writer.file = &f;
            parsed.save(writer, "", pugi::format_raw, pugi::encoding_utf8);
            f.flush();
            fsync(f.handle());
        });
        TDocumentHandling archive;
        TMemoryTree tree;
        {
            pugi::xml_document doc;
            archive.FileName = path;
            archive.LoadArchive(tree, doc);
        }
        const QString out = dir.filePath(QStringLiteral("out.phr"));
        const double save = bestOf(repetitions, [&] {
            pugi::xml_document doc;
            archive.WriteArchive(doc, out);
        });

        std::printf("%-8d %9.1f %9.1f %6.2fx %12.1f %6.2fx   %9.1f %9.1f %6.2fx   (%.1f MB)\n",
                    entries, load, rawParse, load / rawParse, parseConvert, load / parseConvert, save,
                    rawSave, save / rawSave, size / 1e6);
    }
    return 0;
}
