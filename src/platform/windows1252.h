#pragma once

#include <QByteArrayView>
#include <QString>

// True when the bytes are well-formed UTF-8: no overlong forms, no
// surrogates, nothing above U+10FFFF, no truncated sequence.
bool IsValidUtf8(QByteArrayView bytes) noexcept;

// Decodes Windows-1252 (the Western European Windows code page). The five
// bytes the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to
// the C1 control of the same value, as Windows does.
QString DecodeWindows1252(QByteArrayView bytes);

// Decodes the bytes of a text file the way Windows' INI functions take it:
// a UTF-8 BOM means UTF-8, a UTF-16 BOM (LE or BE) means UTF-16, otherwise
// valid UTF-8 is UTF-8 and anything else is Windows-1252. The BOM is not
// part of the result.
QString DecodeTextFile(QByteArrayView bytes);
