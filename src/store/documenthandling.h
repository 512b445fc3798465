#pragma once

#include "store/define.h"
#include "store/views.h"

#include <QList>
#include <QString>

#include <memory>

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

class TLanguageHandling;

// One archive held in memory: header, folders, entries and its file name.
// Every change stays in memory until WriteArchive; there is no dirty flag.
class TDocumentHandling {
public:
    TDocumentHandling();
    ~TDocumentHandling();
    TDocumentHandling(const TDocumentHandling&) = delete;
    TDocumentHandling& operator=(const TDocumentHandling&) = delete;

    // The file the archive was opened or created under; empty while closed.
    QString FileName;
    TDocumentHeader Header;
    // All entries in file order, then the ones added since; deleted ones
    // carry id -1.
    QList<TDocumentInfo> Entries;
    // All folders in the order of the last read (sorted by parent), then the
    // ones added since; deleted ones carry id -1.
    QList<TDirectoryInfo> Folders;

    // Reads FileName into this (expected to be empty) object and fills the
    // tree. Raises EVersionError or EInvalidArchive.
    void LoadArchive(TArchiveTree& tree, pugi::xml_document& doc);
    // Writes the archive; an empty file name writes to Header.filename.
    // The file is replaced atomically. Raises ESaveError.
    void WriteArchive(pugi::xml_document& doc, const QString& fileName);
    // The minimum-version check: false when the file declares a newer
    // minimum program version, or exists but cannot be parsed.
    static bool CheckMinVersion(const QString& fileName);

    void GetHeader(TDocumentHeader& header) const { header = Header; }
    void SetHeader(const TDocumentHeader& header) { Header = header; }

    // Folders.
    void AddFolder(const QString& caption, TArchiveTree& tree, TArchiveTree::Node parent);
    void RenameFolder(int folderId, const QString& caption);
    void DeleteFolder(int folderId, TArchiveTree& tree, TArchiveTree::Node node);
    int NextFolderId(const TArchiveTree& tree) const;
    // The first node, depth first from start, whose label carries the id;
    // the tree's top node when there is none.
    TArchiveTree::Node FindFolderNode(int folderId, const TArchiveTree& tree,
                                      TArchiveTree::Node start) const;

    // Entries.
    void AddTextEntry(const TTextData& data, int folderId);
    void AddRichTextEntry(const TRichTextData& data, int folderId);
    void AddMailEntry(const TMailData& data, int folderId);
    void AddLinkEntry(const TLinkData& data, int folderId);

    void GetTextEntry(int entryId, TTextData& data) const;
    void GetRichTextEntry(int entryId, TRichTextData& data) const;
    void GetMailEntry(int entryId, TMailData& data) const;
    void GetLinkEntry(int entryId, TLinkData& data) const;

    void ChangeTextEntry(const TTextData& data, int entryId);
    void ChangeRichTextEntry(const TRichTextData& data, int entryId);
    void ChangeMailEntry(const TMailData& data, int entryId);
    void ChangeLinkEntry(const TLinkData& data, int entryId);

    void DeleteEntry(int entryId);
    void MoveEntry(int entryId, int folderId);
    void GetEntryProperties(int entryId, TDocHeader& header) const;
    void SetEntryProperties(int entryId, const TDocHeader& header);
    int NextEntryId() const;

    // Views of the main window.
    void ListEntries(int folderId, TEntryListView& list) const;
    void ShowPreview(int entryId, TPreviewView& preview) const;

    // The top node's label: the ident text 1 of the language in use when
    // this object was made.
    QString TopLabel() const { return m_topLabel; }

private:
    template <typename Record>
    void addEntry(const Record& data, int folderId, int kind);
    template <typename Record>
    void getEntry(int entryId, Record& data) const;
    template <typename Record>
    void changeEntry(const Record& data, int entryId);
    TDocumentInfo* findEntry(int entryId);
    const TDocumentInfo* findEntry(int entryId) const;
    int parentIdOf(const TArchiveTree& tree, TArchiveTree::Node node) const;
    void readArchive(TArchiveTree& tree, const pugi::xml_node& archive);

    std::unique_ptr<TLanguageHandling> Language;
    QString m_topLabel;
};

// Program version compared with an archive's minversion, as 8-bit strings.
// True when the archive's text is greater (the archive needs a newer program).
bool MinVersionIsNewer(const QByteArray& minVersion, const QByteArray& programVersion);
