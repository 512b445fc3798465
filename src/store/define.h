#pragma once

#include "platform/exception.h"

#include <QList>
#include <QString>

// Entry kind codes; the list image index equals the code.
enum TEntryKind : int {
    ekText = 0,
    ekRichText = 1,
    ekMail = 2,
    ekLink = 3,
};

// Day count from 1899-12-30 00:00, local time; the fraction is the time of day.
using TDateTime = double;

// The day count of 1970-01-01 00:00.
inline constexpr TDateTime UnixDateDelta = 25569.0;

// The four records the editors exchange with the store. Distinct types with
// the same fields: which one is used decides the kind of a new entry.
struct TTextData {
    QString caption;
    QString description;
    QString text;
};
struct TRichTextData {
    QString caption;
    QString description;
    QString text;
};
struct TMailData {
    QString caption;
    QString description;
    QString text;
};
struct TLinkData {
    QString caption;
    QString description;
    QString text;
};

// One entry in memory; id -1 marks an entry deleted in memory.
struct TDocumentInfo {
    int id = 0;
    int folderid = 0;
    QString caption;
    TDateTime created = 0;
    TDateTime updated = 0;
    QString description;
    QString author;
    QString copyright;
    int type = 0;
    QString text;
};

// One folder; rootid 0 is the archive's top level, -1 marks a deleted folder.
struct TDirectoryInfo {
    int id = 0;
    int rootid = 0;
    QString caption;
};

// The archive header.
struct TDocumentHeader {
    int version = 0;
    QString caption;
    TDateTime created = 0;
    TDateTime updated = 0;
    bool readonly = false;
    QString author;
    QString copyright;
    QString filename;
};

// The properties of one entry as the entry properties dialog edits them.
struct TDocHeader {
    QString caption;
    QString description;
    TDateTime created = 0;
    TDateTime updated = 0;
    QString author;
    QString copyright;
    int type = 0;
};

// One placeholder command: display name and placeholder text.
struct TDocCommand {
    QString caption;
    QString command;
};
using TDocCommands = QList<TDocCommand>;

PHRASORA_DECLARE_EXCEPTION(EInvalidArchive);
PHRASORA_DECLARE_EXCEPTION(EVersionError);
PHRASORA_DECLARE_EXCEPTION(ESaveError);

// "Text", "RichText", "eMail", "Hyperlink" for codes 0-3; empty otherwise.
QString KindName(int code);
// Exact, case-sensitive match of a kind name; anything else gives 0.
int KindFromName(const QString& name);

// Seconds since 1970 (local time, no zone conversion), rounded half to even.
qint64 DateTimeToFileSeconds(TDateTime value);
TDateTime FileSecondsToDateTime(qint64 seconds);

// The current local date-time as a day count.
TDateTime NowDateTime();

// Folder labels of the tree views: "Letters (7)".
QString FolderLabel(const QString& caption, int id);
// The id in the parentheses that end a label; false when there is none.
bool FolderIdFromLabel(const QString& label, int& id);
