// libFuzzer target: the INI reader and its in-place writer.
// Bytes are an INI file; every read must hold up, and an edit must change
// only what it says.
#include "platform/inifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QString g_path;

void check(bool ok) {
    if (!ok)
        std::abort();
}

void writeBytes(const QString& path, const uint8_t* data, size_t size) {
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
}

bool sameEntries(const QList<TIniEntry>& a, const QList<TIniEntry>& b) {
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i].Key != b[i].Key || a[i].Value != b[i].Value)
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // tmpfs keeps the atomic replace (with its fsync) cheap.
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/fuzz_ini-XXXXXX"));
    g_path = dir.filePath(QStringLiteral("fuzz.ini"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    writeBytes(g_path, data, size);
    TIniFile ini(g_path);

    QStringList sections = ini.ReadSections();
    sections.prepend(QString()); // the lines before the first section
    if (sections.size() > 64)
        sections.resize(64);

    QList<QList<TIniEntry>> before;
    for (const QString& section : sections) {
        const QStringList keys = ini.ReadSection(section);
        const QList<TIniEntry> entries = ini.ReadSectionEntries(section);
        check(keys.size() == entries.size());
        for (qsizetype i = 0; i < keys.size() && i < 64; ++i) {
            check(entries[i].Key == keys[i]);
            check(entries[i].Value.size() <= TIniFile::MaxValueLength);
            const QString value = ini.ReadString(section, keys[i], QStringLiteral("\x01"));
            check(value.size() <= TIniFile::MaxValueLength);
            check(ini.ValueExists(section, keys[i]));
            ini.ReadInteger(section, keys[i], 0);
            ini.ReadBool(section, keys[i], true);
        }
        check(section.isEmpty() || ini.SectionExists(section));
        before.append(entries);
    }

    // Edit the first section that has a name the writer keeps unchanged.
    QString target = QStringLiteral("fuzz");
    for (const QString& s : sections) {
        if (!s.isEmpty() && !s.contains(QChar(u'\0'))) {
            target = s;
            break;
        }
    }
    try {
        ini.WriteString(target, QStringLiteral("fuzzkey"), QStringLiteral("fuzz value"));
    } catch (const EIniFileException&) {
        return 0; // the file was too large to be rewritten
    }
    check(ini.ReadString(target, QStringLiteral("FUZZKEY"), QString()) ==
          QStringLiteral("fuzz value"));
    for (qsizetype i = 0; i < sections.size(); ++i) {
        if (sections[i].compare(target, Qt::CaseInsensitive) != 0)
            check(sameEntries(ini.ReadSectionEntries(sections[i]), before[i]));
    }

    // Deleting every listed key empties the section.
    const QStringList keys = ini.ReadSection(target);
    for (qsizetype i = 0; i < keys.size() && i < 32; ++i)
        ini.DeleteKey(target, keys[i]);
    if (keys.size() <= 32)
        check(ini.ReadSectionEntries(target).isEmpty());

    int v = 0;
    TIniFile::ParseInteger(QString::fromUtf8(reinterpret_cast<const char*>(data),
                                             static_cast<qsizetype>(std::min<size_t>(size, 64))),
                           v);
    return 0;
}
