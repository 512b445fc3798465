#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <memory>

class QStringDecoder;

namespace richtext::detail {

// Code page of a font's \fcharset; 0 means "the document's \ansicpg".
int codePageForCharset(int charset);

// Maps a character to its Windows-1252 byte; returns -1 when 1252 lacks it.
int toWindows1252(char16_t ch);

// Decodes the 8-bit text of an RTF file. Windows-1252 and the Symbol font are
// decoded here (they are by far the most common); every other code page goes
// through ICU, with one decoder kept per code page.
class ByteDecoder {
public:
    ByteDecoder();
    ~ByteDecoder();
    ByteDecoder(const ByteDecoder&) = delete;
    ByteDecoder& operator=(const ByteDecoder&) = delete;

    // Appends the decoded bytes to out. codePage 42 is the Symbol font.
    void decode(int codePage, const char* bytes, qsizetype length, QString& out);

private:
    QStringDecoder* decoderFor(int codePage);

    std::map<int, std::unique_ptr<QStringDecoder>> m_decoders;
};

} // namespace richtext::detail
