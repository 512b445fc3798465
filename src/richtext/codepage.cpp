#include "codepage.h"

#include <QStringDecoder>
#include <array>

namespace richtext::detail {

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; 0 marks a hole.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void decode1252(const char* bytes, qsizetype length, QString& out) {
    const qsizetype start = out.size();
    out.resize(start + length);
    QChar* dst = out.data() + start;
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        char16_t c = b;
        if (b >= 0x80 && b < 0xA0)
            c = kCp1252High[b - 0x80] ? kCp1252High[b - 0x80] : char16_t(b);
        dst[i] = QChar(c);
    }
}

// The Symbol font puts its glyphs at byte positions; only the bullet matters
// in practice (it is what list markers use), the rest is shown as Latin-1.
void decodeSymbol(const char* bytes, qsizetype length, QString& out) {
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out.append(b == 0xB7 ? QChar(0x2022) : QChar(char16_t(b)));
    }
}

const char* icuName(int codePage) {
    switch (codePage) {
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 874:
        return "windows-874";
    case 932:
        return "Shift_JIS";
    case 936:
        return "GBK";
    case 949:
        return "windows-949";
    case 950:
        return "Big5";
    case 1250:
        return "windows-1250";
    case 1251:
        return "windows-1251";
    case 1253:
        return "windows-1253";
    case 1254:
        return "windows-1254";
    case 1255:
        return "windows-1255";
    case 1256:
        return "windows-1256";
    case 1257:
        return "windows-1257";
    case 1258:
        return "windows-1258";
    case 1361:
        return "johab";
    case 10000:
        return "macintosh";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

} // namespace

int codePageForCharset(int charset) {
    switch (charset) {
    case 0:
        return 0;
    case 1:
        return 0;
    case 2:
        return 42;
    case 77:
        return 10000;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return 0;
    }
}

int toWindows1252(char16_t ch) {
    if (ch < 0x80 || (ch >= 0xA0 && ch <= 0xFF))
        return ch;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == ch && ch != 0)
            return 0x80 + i;
    }
    return -1;
}

ByteDecoder::ByteDecoder() = default;
ByteDecoder::~ByteDecoder() = default;

QStringDecoder* ByteDecoder::decoderFor(int codePage) {
    auto it = m_decoders.find(codePage);
    if (it != m_decoders.end())
        return it->second.get();
    std::unique_ptr<QStringDecoder> decoder;
    if (const char* name = icuName(codePage)) {
        decoder = std::make_unique<QStringDecoder>(name, QStringDecoder::Flag::Stateless);
        if (!decoder->isValid())
            decoder.reset();
    }
    QStringDecoder* raw = decoder.get();
    m_decoders.emplace(codePage, std::move(decoder));
    return raw;
}

void ByteDecoder::decode(int codePage, const char* bytes, qsizetype length, QString& out) {
    if (length <= 0)
        return;
    if (codePage == 42) {
        decodeSymbol(bytes, length, out);
        return;
    }
    if (codePage != 1252 && codePage != 0) {
        if (QStringDecoder* decoder = decoderFor(codePage)) {
            out.append(decoder->decode(QByteArrayView(bytes, length)));
            return;
        }
    }
    decode1252(bytes, length, out);
}

} // namespace richtext::detail
