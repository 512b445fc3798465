// libFuzzer target: the language-file reader. Bytes are the current language
// file; every lookup of every family must hold up.
#include "language/language.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

namespace {

QString g_file;

void check(bool ok) {
    if (!ok)
        std::abort();
}

bool hasEscape(const QString& s) {
    return s.contains(QStringLiteral("\\n")) || s.contains(QStringLiteral("\\N"));
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    const QString base =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    static QTemporaryDir dir(base + QStringLiteral("/fuzz_language-XXXXXX"));
    QDir().mkpath(dir.filePath(QStringLiteral("program/lang")));
    QDir().mkpath(dir.filePath(QStringLiteral("config")));
    qputenv("PHRASORA_PROGRAM_DIR", dir.filePath(QStringLiteral("program")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", dir.filePath(QStringLiteral("config")).toLocal8Bit());
    g_file = dir.filePath(QStringLiteral("program/lang/english.lng"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    {
        QFile f(g_file);
        check(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }

    TLanguageHandling texts;
    check(texts.FileName() == g_file);
    for (int n = -1; n <= 20; ++n) {
        check(texts.GetCaption(n).startsWith(QStringLiteral("Phrasora - ")));
        texts.GetCommand(n);
        texts.GetIdent(n);
        check(!hasEscape(texts.GetError(n)));
        check(!hasEscape(texts.GetMessage(n)));
    }
    static const char* const windows[] = {
        "main", "hints", "about",     "archiveprop", "docprop",    "text",      "formtext",
        "link", "mail",  "moveentry", "paste",       "newwizzard", "properties"};
    for (const char* w : windows) {
        for (int key = 1; key <= 20; ++key) {
            const QString def = QStringLiteral("default");
            texts.GetText(QString::fromLatin1(w), QString::number(key), def);
        }
    }
    texts.Reload();
    TLangfileHandling files;
    files.LanguageMenuItems();
    return 0;
}
