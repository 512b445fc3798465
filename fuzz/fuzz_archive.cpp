// Feeds arbitrary bytes to the archive reader. Whatever loads must save to a
// strictly readable file that loads again with the same content.

#include "store/documenthandling.h"

#include <QFile>
#include <QTemporaryDir>

#include <pugixml.hpp>

#include <cstdlib>

namespace {

// What a save and a new read do to a value: line breaks become LF, and the
// characters XML 1.0 cannot hold are left out.
QString afterRoundTrip(const QString& s)
{
    QString out;
    out.reserve(s.size());
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c == u'\r') {
            out += QLatin1Char('\n');
            if (i + 1 < s.size() && s[i + 1] == QLatin1Char('\n'))
                ++i;
            continue;
        }
        if ((c < 0x20 && c != 0x09 && c != 0x0A) || c == 0xFFFE || c == 0xFFFF)
            continue;
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1].isLowSurrogate()) {
            out += s[i];
            out += s[++i];
            continue;
        }
        if (c >= 0xD800 && c <= 0xDFFF)
            continue;
        out += s[i];
    }
    return out;
}

void check(bool ok)
{
    if (!ok)
        std::abort();
}

QTemporaryDir& dir()
{
    static QTemporaryDir d;
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString in = dir().filePath(QStringLiteral("in.phr"));
    const QString out = dir().filePath(QStringLiteral("out.phr"));
    {
        QFile f(in);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    TDocumentHandling archive;
    TMemoryTree tree;
    pugi::xml_document doc;
    archive.FileName = in;
    try {
        archive.LoadArchive(tree, doc);
    } catch (const EInvalidArchive&) {
        return 0;
    } catch (const EVersionError&) {
        return 0;
    }
    check(!doc.first_child());

    archive.WriteArchive(doc, out); // must not fail on anything that loaded
    TDocumentHandling again;
    TMemoryTree tree2;
    again.FileName = out;
    again.LoadArchive(tree2, doc);

    const auto live = [](const auto& list) {
        std::decay_t<decltype(list)> kept;
        for (const auto& r : list)
            if (r.id != -1)
                kept.append(r);
        return kept;
    };
    const auto folders = live(archive.Folders);
    const auto entries = live(archive.Entries);
    check(again.Folders.size() == folders.size());
    check(again.Entries.size() == entries.size());
    check(again.Header.caption == afterRoundTrip(archive.Header.caption));
    check(again.Header.readonly == archive.Header.readonly);
    check(DateTimeToFileSeconds(again.Header.created) == DateTimeToFileSeconds(archive.Header.created));
    for (qsizetype i = 0; i < folders.size(); ++i) {
        // Folders are sorted by parent on every read; the saved order is
        // already sorted, so it stays.
        check(again.Folders[i].id == folders[i].id);
        check(again.Folders[i].rootid == folders[i].rootid);
        check(again.Folders[i].caption == afterRoundTrip(folders[i].caption));
    }
    for (qsizetype i = 0; i < entries.size(); ++i) {
        const TDocumentInfo& a = entries[i];
        const TDocumentInfo& b = again.Entries[i];
        check(a.id == b.id && a.folderid == b.folderid && a.type == b.type);
        check(DateTimeToFileSeconds(a.created) == DateTimeToFileSeconds(b.created));
        check(b.caption == afterRoundTrip(a.caption));
        check(b.description == afterRoundTrip(a.description));
        check(b.author == afterRoundTrip(a.author));
        check(b.copyright == afterRoundTrip(a.copyright));
        check(b.text == afterRoundTrip(a.text));
    }
    return 0;
}
