#include "platform/windows1252.h"

namespace {

// 0x80-0x9F of Windows-1252; 0xA0-0xFF equal Latin-1.
constexpr char16_t kHigh1252[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

QString decodeUtf16(QByteArrayView bytes, bool bigEndian) {
    const qsizetype units = bytes.size() / 2; // an odd last byte is dropped
    QString out(units, Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < units; ++i) {
        const unsigned a = src[2 * i], b = src[2 * i + 1];
        dst[i] = static_cast<char16_t>(bigEndian ? (a << 8) | b : (b << 8) | a);
    }
    return out;
}

} // namespace

bool IsValidUtf8(QByteArrayView bytes) noexcept {
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const qsizetype n = bytes.size();
    qsizetype i = 0;
    while (i < n) {
        const unsigned c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra;
        unsigned lo = 0x80, hi = 0xBF; // allowed range of the first continuation byte
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2;
            if (c == 0xE0)
                lo = 0xA0; // overlong
            else if (c == 0xED)
                hi = 0x9F; // surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3;
            if (c == 0xF0)
                lo = 0x90; // overlong
            else if (c == 0xF4)
                hi = 0x8F; // above U+10FFFF
        } else {
            return false;
        }
        if (n - i <= extra)
            return false;
        if (p[i + 1] < lo || p[i + 1] > hi)
            return false;
        for (int k = 2; k <= extra; ++k) {
            if ((p[i + k] & 0xC0) != 0x80)
                return false;
        }
        i += extra + 1;
    }
    return true;
}

QString DecodeWindows1252(QByteArrayView bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    const auto* src = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned c = src[i];
        dst[i] = (c >= 0x80 && c <= 0x9F) ? kHigh1252[c - 0x80] : static_cast<char16_t>(c);
    }
    return out;
}

QString DecodeTextFile(QByteArrayView bytes) {
    const auto at = [&](qsizetype i) { return static_cast<unsigned char>(bytes[i]); };
    if (bytes.size() >= 3 && at(0) == 0xEF && at(1) == 0xBB && at(2) == 0xBF)
        return QString::fromUtf8(bytes.sliced(3));
    if (bytes.size() >= 2 && at(0) == 0xFF && at(1) == 0xFE)
        return decodeUtf16(bytes.sliced(2), false);
    if (bytes.size() >= 2 && at(0) == 0xFE && at(1) == 0xFF)
        return decodeUtf16(bytes.sliced(2), true);
    if (IsValidUtf8(bytes))
        return QString::fromUtf8(bytes);
    return DecodeWindows1252(bytes);
}
