#pragma once

#include "platform/exception.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

// Raised when an INI file cannot be written: "In <path> kann nicht
// geschrieben werden".
PHRASORA_DECLARE_EXCEPTION(EIniFileException);

// One key=value line of a section, as it stands in the file.
struct TIniEntry {
    QString Key;   // the text before the first "=", trimmed
    QString Value; // everything after the first "=", trimmed
};

// An INI file with the semantics of the Windows profile functions.
//
// - Section and key names compare case-insensitively; names and values are
//   trimmed of blanks and tabs; a lookup takes the first matching section and
//   the first matching key in it. Lines starting with ";" are comments.
// - A value read is at most 2047 characters; a read string that is enclosed
//   in a pair of double or single quotes loses them.
// - The file is read as UTF-8 (with or without BOM), UTF-16 LE/BE with BOM,
//   or Windows-1252 when its bytes are not valid UTF-8; it is written as
//   UTF-8 without BOM.
// - Every read sees the file's current content (it is re-read when it has
//   changed); every write goes to the file at once, editing it in place:
//   other lines, comments, line ends and order stay. The file is replaced
//   atomically, so a failed write leaves the old file whole.
// - Reading a missing file gives an empty INI; only a write creates the file.
class TIniFile {
public:
    // Files larger than this are not read (they give defaults) and are never
    // written over, so a runaway file costs neither memory nor its content.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;
    static constexpr int MaxValueLength = 2047;

    explicit TIniFile(const QString& fileName);
    ~TIniFile();
    TIniFile(const TIniFile&) = delete;
    TIniFile& operator=(const TIniFile&) = delete;

    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    // Decimal, "$" hexadecimal or "0x"/"0X" hexadecimal, with an optional sign,
    // in the range of a 32-bit integer (hexadecimal up to FFFFFFFF, taken as its
    // two's complement). Anything else, and a missing key, gives def.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    // An integer read with default 1 or 0; true when it is not 0.
    bool ReadBool(const QString& section, const QString& key, bool def) const;

    // Key names of the section's key=value lines, in file order, duplicates and
    // empty names included: deleting each of them empties the section.
    QStringList ReadSection(const QString& section) const;
    // Every key=value line of the section in file order; the value is all
    // text after the first "=" (no quote removal), at most 2047 characters.
    QList<TIniEntry> ReadSectionEntries(const QString& section) const;
    // Names of all sections in file order.
    QStringList ReadSections() const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    // Changes the key's first line in place, or appends the key at the end of
    // its section, or appends the section at the end of the file. Line breaks
    // in the value become blanks, and a NUL ends it. Raises EIniFileException.
    void WriteString(const QString& section, const QString& key, const QString& value);
    void WriteInteger(const QString& section, const QString& key, int value);
    void WriteBool(const QString& section, const QString& key, bool value);
    // Removes the key's first line; nothing happens when it is missing.
    void DeleteKey(const QString& section, const QString& key);

    // The integer rule of ReadInteger.
    static bool ParseInteger(QStringView text, int& value);

private:
    struct Content;
    const Content& content() const;
    void store(const QString& text);
    [[noreturn]] void raiseWriteError() const;

    QString m_fileName;
    mutable std::unique_ptr<Content> m_cache;
};
