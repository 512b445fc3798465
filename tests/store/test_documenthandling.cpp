#include "store/documenthandling.h"
#include "support/printers.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

struct Row {
    QString id, caption, description, kind;
    int image;
    bool operator==(const Row&) const = default;
};

class RecordingList : public TEntryListView {
public:
    void Clear() override { rows.clear(); }
    void AddRow(const QString& id, const QString& caption, const QString& description,
                const QString& kind, int image) override
    {
        rows.push_back({id, caption, description, kind, image});
    }
    std::vector<Row> rows{{QStringLiteral("stale"), {}, {}, {}, 0}};
};

class RecordingPreview : public TPreviewView {
public:
    void Clear() override { calls << QStringLiteral("clear"); }
    void ShowPlainText(const QString& text) override { calls << QStringLiteral("plain:") + text; }
    void LoadRtf(const QString& source, bool plainMode) override
    {
        calls << (plainMode ? QStringLiteral("rtf8:") : QStringLiteral("rtf:")) + source;
    }
    QStringList calls;
};

// An archive with folders A (1) > B (2) > C (3) and D (4), and one entry in
// each folder plus one at the top level.
struct Fixture {
    TDocumentHandling archive;
    TMemoryTree tree;
    TArchiveTree::Node top, a, b, c, d;

    Fixture()
    {
        top = tree.AddFirst(archive.TopLabel());
        archive.AddFolder(QStringLiteral("A"), tree, top);
        a = tree.Child(top, 0);
        archive.AddFolder(QStringLiteral("B"), tree, a);
        b = tree.Child(a, 0);
        archive.AddFolder(QStringLiteral("C"), tree, b);
        c = tree.Child(b, 0);
        archive.AddFolder(QStringLiteral("D"), tree, top);
        d = tree.Child(top, 1);
        for (int folder : {0, 1, 2, 3, 4})
            archive.AddTextEntry({QStringLiteral("e%1").arg(folder), {}, {}}, folder);
    }
};

} // namespace

TEST(Folders, AddGivesLabelsIdsAndParents)
{
    Fixture f;
    EXPECT_EQ(f.tree.Label(f.a), QStringLiteral("A (1)"));
    EXPECT_EQ(f.tree.Label(f.c), QStringLiteral("C (3)"));
    EXPECT_EQ(f.tree.Label(f.d), QStringLiteral("D (4)"));
    ASSERT_EQ(f.archive.Folders.size(), 4);
    EXPECT_EQ(f.archive.Folders[0].rootid, 0);
    EXPECT_EQ(f.archive.Folders[1].rootid, 1);
    EXPECT_EQ(f.archive.Folders[2].rootid, 2);
    EXPECT_EQ(f.archive.Folders[3].rootid, 0);
    EXPECT_EQ(f.archive.NextFolderId(f.tree), 5);
    EXPECT_EQ(f.archive.FindFolderNode(3, f.tree, f.top), f.c);
    EXPECT_EQ(f.archive.FindFolderNode(42, f.tree, f.top), f.top) << "unknown ids give the top node";

    TMemoryTree empty;
    empty.AddFirst(QStringLiteral("top"));
    EXPECT_EQ(f.archive.NextFolderId(empty), 1);
}

TEST(Folders, DeleteTakesTheWholeSubtreeAndIdsAreGivenAgain)
{
    Fixture f;
    f.archive.DeleteFolder(2, f.tree, f.b); // B with C below it
    EXPECT_EQ(f.tree.ChildCount(f.a), 0);
    EXPECT_EQ(f.archive.Folders[1].id, -1);
    EXPECT_EQ(f.archive.Folders[1].rootid, -1);
    EXPECT_EQ(f.archive.Folders[2].id, -1);
    EXPECT_EQ(f.archive.Folders[0].id, 1) << "the parent stays";
    // The entries of B and C are marked, the others stay.
    QList<int> ids;
    for (const TDocumentInfo& e : f.archive.Entries)
        ids << e.id;
    EXPECT_EQ(ids, QList<int>({1, 2, -1, -1, 5}));
    EXPECT_EQ(f.archive.Entries[2].folderid, -1);

    // The highest folder id is free again once its node is gone.
    f.archive.DeleteFolder(4, f.tree, f.d);
    EXPECT_EQ(f.archive.NextFolderId(f.tree), 2);

    // An unknown id changes nothing, not even the tree.
    f.archive.DeleteFolder(77, f.tree, f.a);
    EXPECT_EQ(f.tree.ChildCount(f.top), 1);
}

TEST(Folders, RenameChangesTheRecordOnly)
{
    Fixture f;
    f.archive.RenameFolder(3, QStringLiteral("Renamed"));
    EXPECT_EQ(f.archive.Folders[2].caption, QStringLiteral("Renamed"));
    EXPECT_EQ(f.tree.Label(f.c), QStringLiteral("C (3)"));
}

TEST(Entries, NextIdCountsLiveRecords)
{
    TDocumentHandling archive;
    EXPECT_EQ(archive.NextEntryId(), 1);
    for (int id : {1, 2, 5}) {
        TDocumentInfo e;
        e.id = id;
        archive.Entries.append(e);
    }
    EXPECT_EQ(archive.NextEntryId(), 6);
    archive.DeleteEntry(5);
    EXPECT_EQ(archive.NextEntryId(), 3);

    TDocumentHandling onlyDeleted;
    onlyDeleted.AddTextEntry({}, 0);
    onlyDeleted.DeleteEntry(1);
    EXPECT_EQ(onlyDeleted.NextEntryId(), 1) << "ids stay positive";
}

TEST(Entries, AddGetChangeMoveAndProperties)
{
    TDocumentHandling archive;
    const double before = NowDateTime();
    archive.AddTextEntry({QStringLiteral("t"), QStringLiteral("td"), QStringLiteral("text")}, 0);
    archive.AddRichTextEntry({QStringLiteral("r"), {}, QStringLiteral("{\\rtf1}")}, 3);
    archive.AddMailEntry({QStringLiteral("m"), {}, QStringLiteral("a@b.example")}, 0);
    archive.AddLinkEntry({QStringLiteral("l"), {}, QStringLiteral("http://x.example")}, 0);
    ASSERT_EQ(archive.Entries.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(archive.Entries[i].id, i + 1);
        EXPECT_EQ(archive.Entries[i].type, i);
        EXPECT_GE(archive.Entries[i].created, before);
        EXPECT_EQ(archive.Entries[i].created, archive.Entries[i].updated);
        EXPECT_TRUE(archive.Entries[i].author.isEmpty());
    }
    EXPECT_EQ(archive.Entries[1].folderid, 3);

    // Get does not check the kind; an unknown id leaves the record alone.
    TMailData mail;
    archive.GetMailEntry(1, mail);
    EXPECT_EQ(mail.caption, QStringLiteral("t"));
    EXPECT_EQ(mail.text, QStringLiteral("text"));
    TLinkData untouched{QStringLiteral("keep"), {}, {}};
    archive.GetLinkEntry(99, untouched);
    EXPECT_EQ(untouched.caption, QStringLiteral("keep"));

    // Change keeps dates, author and kind.
    archive.Entries[0].author = QStringLiteral("Anna");
    const double updated = archive.Entries[0].updated;
    archive.ChangeTextEntry({QStringLiteral("t2"), QStringLiteral("d2"), QStringLiteral("x2")}, 1);
    EXPECT_EQ(archive.Entries[0].caption, QStringLiteral("t2"));
    EXPECT_EQ(archive.Entries[0].text, QStringLiteral("x2"));
    EXPECT_EQ(archive.Entries[0].updated, updated);
    EXPECT_EQ(archive.Entries[0].author, QStringLiteral("Anna"));
    EXPECT_EQ(archive.Entries[0].type, 0);

    // Properties: set changes caption, author, copyright only.
    TDocHeader props;
    archive.GetEntryProperties(1, props);
    EXPECT_EQ(props.description, QStringLiteral("d2"));
    props.caption = QStringLiteral("P");
    props.description = QStringLiteral("ignored");
    props.author = QStringLiteral("Bob");
    props.copyright = QStringLiteral("(c)");
    props.type = 3;
    archive.SetEntryProperties(1, props);
    EXPECT_EQ(archive.Entries[0].caption, QStringLiteral("P"));
    EXPECT_EQ(archive.Entries[0].description, QStringLiteral("d2"));
    EXPECT_EQ(archive.Entries[0].author, QStringLiteral("Bob"));
    EXPECT_EQ(archive.Entries[0].copyright, QStringLiteral("(c)"));
    EXPECT_EQ(archive.Entries[0].type, 0);

    archive.MoveEntry(1, 12345);
    EXPECT_EQ(archive.Entries[0].folderid, 12345) << "the target is not checked";
}

TEST(Entries, MovedToAMissingFolderIsInvisibleButSaved)
{
    TestEnv env;
    Fixture f;
    f.archive.MoveEntry(1, 99);
    RecordingList list;
    for (int folder : {0, 1, 2, 3, 4}) {
        f.archive.ListEntries(folder, list);
        for (const Row& row : list.rows)
            EXPECT_NE(row.id, QStringLiteral("1"));
    }
    pugi::xml_document doc;
    f.archive.WriteArchive(doc, env.path(QStringLiteral("m.phr")));
    TDocumentHandling again;
    TMemoryTree tree;
    again.FileName = env.path(QStringLiteral("m.phr"));
    again.LoadArchive(tree, doc);
    EXPECT_EQ(again.Entries[0].folderid, 99);
}

TEST(Views, ListEntriesFillsRowsOfOneFolder)
{
    TDocumentHandling archive;
    archive.AddTextEntry({QStringLiteral("a"), QStringLiteral("da"), {}}, 0);
    archive.AddMailEntry({QStringLiteral("b"), QStringLiteral("db"), {}}, 1);
    archive.AddLinkEntry({QStringLiteral("c"), {}, {}}, 0);
    archive.Entries.append(TDocumentInfo{7, 0, QStringLiteral("odd"), 0, 0, {}, {}, {}, 9, {}});
    archive.AddTextEntry({QStringLiteral("gone"), {}, {}}, 0);
    archive.DeleteEntry(8);

    RecordingList list;
    archive.ListEntries(0, list);
    const std::vector<Row> expected{
        {QStringLiteral("1"), QStringLiteral("a"), QStringLiteral("da"), QStringLiteral("Text"), 0},
        {QStringLiteral("3"), QStringLiteral("c"), {}, QStringLiteral("Hyperlink"), 3},
        {QStringLiteral("7"), QStringLiteral("odd"), {}, QString(), 9},
    };
    EXPECT_EQ(list.rows, expected);

    archive.ListEntries(5, list);
    EXPECT_TRUE(list.rows.empty());
    archive.ListEntries(-1, list);
    EXPECT_TRUE(list.rows.empty()) << "deleted records are never listed";
}

TEST(Views, ShowPreviewByKind)
{
    TDocumentHandling archive;
    archive.AddTextEntry({{}, {}, QStringLiteral("plain")}, 0);
    archive.AddRichTextEntry({{}, {}, QStringLiteral("{\\rtf1 x}")}, 0);
    archive.AddMailEntry({{}, {}, QStringLiteral("a@b.example")}, 0);
    archive.AddLinkEntry({{}, {}, QStringLiteral("http://x.example")}, 0);
    archive.AddTextEntry({{}, {}, QStringLiteral("{\\rtf1 odd}")}, 0);
    archive.Entries.last().type = 9;

    const struct {
        int id;
        QStringList calls;
    } table[] = {
        {1, {QStringLiteral("clear"), QStringLiteral("plain:plain")}},
        {2, {QStringLiteral("clear"), QStringLiteral("rtf:{\\rtf1 x}")}},
        {3, {QStringLiteral("clear"), QStringLiteral("rtf8:a@b.example")}},
        {4, {QStringLiteral("clear"), QStringLiteral("rtf8:http://x.example")}},
        {5, {QStringLiteral("clear"), QStringLiteral("rtf:{\\rtf1 odd}")}},
        {42, {QStringLiteral("clear")}},
    };
    for (const auto& row : table) {
        RecordingPreview preview;
        archive.ShowPreview(row.id, preview);
        EXPECT_EQ(preview.calls, row.calls) << row.id;
    }
}
