// Feeds arbitrary bytes to the RTF reader, both into a document (and its
// layout) and straight to plain text; both must agree.
#include "richtext/richtext.h"

#include <QAbstractTextDocumentLayout>
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
    QTextDocument doc;
    const bool isRtf = richtext::ReadRtf(rtf, &doc);
    doc.documentLayout()->documentSize();
    if (isRtf && richtext::RtfToPlainText(rtf) != richtext::DocumentToPlainText(&doc))
        std::abort();
    return 0;
}
