// libFuzzer target: history.dat. Bytes are the file; load it, add archives,
// save, and load the result again.
#include "settings/history.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QString g_folder;
QString g_path;
QString g_archive;

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/fuzz_history-XXXXXX"));
    g_folder = dir.path();
    g_path = dir.filePath(QStringLiteral("history.dat"));
    g_archive = dir.filePath(QStringLiteral("Archiv ä.phr"));
    QFile a(g_archive);
    a.open(QIODevice::WriteOnly);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile f(g_path);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    qsizetype kept = 0;
    QList<QByteArray> paths;
    {
        THistory history(g_path);
        const qsizetype loaded = history.Entries().size();
        check(loaded == static_cast<qsizetype>(size / HistoryEntry::RecordSize));
        for (const HistoryEntry& e : history.Entries())
            check(e.Path.size() <= HistoryEntry::MaxPathBytes);
        for (qsizetype i = -1; i <= loaded; ++i)
            history.GetArchive(static_cast<int>(i));
        for (const THistoryMenuItem& item : history.MenuItems())
            history.GetArchive(item.Tag);

        history.AddArchive(g_archive);
        const qsizetype afterFirst = history.Entries().size();
        history.AddArchive(g_archive);
        check(history.Entries().size() == afterFirst); // an existing file is listed once
        history.AddArchive(g_folder + QStringLiteral("/") + QString(300, QChar(u'ü')));

        for (const HistoryEntry& e : history.Entries()) {
            if (e.Number != -1) {
                ++kept;
                paths.append(e.Path);
            }
        }
        history.SaveHistory();
    }
    check(QFile(g_path).size() == kept * HistoryEntry::RecordSize);
    THistory again(g_path);
    check(again.Entries().size() == kept);
    for (qsizetype i = 0; i < kept; ++i)
        check(again.Entries()[i].Path == paths[i]);
    return 0;
}
