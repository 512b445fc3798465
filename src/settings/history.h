#pragma once

#include "platform/exception.h"

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

// Raised when history.dat cannot be opened, read or written.
PHRASORA_DECLARE_EXCEPTION(EInOutError);

// One record of history.dat: 4 bytes number (signed, little-endian), 1 byte
// length, 255 bytes path (UTF-8, zero-padded).
struct HistoryEntry {
    static constexpr int RecordSize = 260;
    static constexpr int MaxPathBytes = 255;

    qint32 Number = 0; // -1: not written back
    QByteArray Path;   // at most 255 bytes
};
using THistoryEntries = QList<HistoryEntry>;

// One item of the recent-archives menu.
struct THistoryMenuItem {
    QString Caption; // the file-name part of the path
    int Tag = 0;     // the entry's number; GetArchive(Tag) gives the path
};

// What FillMenu fills: the main window adapts its QMenu to it.
class THistoryMenu {
public:
    virtual ~THistoryMenu() = default;
    virtual void Clear() = 0;
    virtual void AddItem(const QString& caption, int tag) = 0;
};

// The recent archives, kept in history.dat. The file is opened (created empty
// when missing) and loaded at construction and held open for the object's
// life; changes stay in memory until SaveHistory.
class THistory {
public:
    // history.dat of the per-user folder. Raises EInOutError.
    THistory();
    explicit THistory(const QString& fileName);
    // Saves when anything is unsaved; an error is swallowed here, so call
    // SaveHistory first to see it.
    ~THistory();
    THistory(const THistory&) = delete;
    THistory& operator=(const THistory&) = delete;

    // Records an archive that has just been opened. An existing file whose
    // path (cut to 255 bytes) is already listed is not added again; the first
    // entry ever added also brings the blank entry 0.
    void AddArchive(const QString& path);
    // The path of the entry at that position; empty past the end.
    QString GetArchive(int position) const;

    // Items for every entry whose file exists, in list order.
    QList<THistoryMenuItem> MenuItems() const;
    // Clears the menu and adds MenuItems().
    void FillMenu(THistoryMenu& menu) const;

    // Replaces the file (atomically) with every entry whose number is not -1.
    // Raises EInOutError.
    void SaveHistory();

    const THistoryEntries& Entries() const { return m_entries; }
    const QString& FileName() const { return m_fileName; }

    // The path as stored: UTF-8, cut to 255 bytes at a character boundary.
    static QByteArray StoredPath(const QString& path);

private:
    void LoadHistory();
    bool IsListed(const QString& path) const;

    QString m_fileName;
    QFile m_file;
    THistoryEntries m_entries;
    bool m_dirty = true;
};
