// Read, write, read again: the second reading must give the same text as the
// first, and writing it once more the same bytes.
#include "richtext/richtext.h"

#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>

namespace {
QGuiApplication* app = nullptr;
}

// Fontconfig keeps what Qt's font lookups allocate for the rest of the run,
// which the per-input leak check would report for each new font name.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    app = new QGuiApplication(*argc, *argv); // lives for the whole fuzzing run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray rtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument first;
    if (!richtext::ReadRtf(rtf, &first))
        return 0;
    const QByteArray written = richtext::WriteRtf(&first);
    QTextDocument second;
    if (!richtext::ReadRtf(written, &second))
        std::abort();
    if (richtext::DocumentToPlainText(&first) != richtext::DocumentToPlainText(&second))
        std::abort();
    if (richtext::WriteRtf(&second) != written)
        std::abort();
    return 0;
}
