#include "language/language.h"
#include "store/documenthandling.h"
#include "support/printers.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>
#include <pugixml.hpp>

#include <csignal>
#include <sys/resource.h>

namespace {

// Loads a file into a fresh archive object; returns the failure's class
// name, or an empty string on success.
std::string load(const QString& path, TDocumentHandling& archive, TMemoryTree& tree)
{
    pugi::xml_document doc;
    archive.FileName = path;
    try {
        archive.LoadArchive(tree, doc);
    } catch (const Exception& e) {
        EXPECT_FALSE(doc.first_child());
        return e.ClassName();
    }
    EXPECT_FALSE(doc.first_child()) << "the document is left empty";
    return {};
}

std::string save(TDocumentHandling& archive, const QString& path = {})
{
    pugi::xml_document doc;
    try {
        archive.WriteArchive(doc, path);
    } catch (const Exception& e) {
        return e.ClassName();
    }
    EXPECT_FALSE(doc.first_child());
    return {};
}

QStringList childLabels(const TArchiveTree& tree, TArchiveTree::Node node)
{
    QStringList labels;
    for (int i = 0; i < tree.ChildCount(node); ++i)
        labels << tree.Label(tree.Child(node, i));
    return labels;
}

// The file with every <updated> value replaced by "U".
QByteArray withoutUpdated(QByteArray xml)
{
    static const QRegularExpression updated(QStringLiteral("<updated>-?[0-9]+</updated>"));
    return QString::fromUtf8(xml).replace(updated, QStringLiteral("<updated>U</updated>")).toUtf8();
}

bool strictXmlOk(const QString& path)
{
    QProcess xmllint;
    xmllint.start(QStringLiteral("xmllint"), {QStringLiteral("--noout"), path});
    if (!xmllint.waitForFinished(20000))
        return false;
    return xmllint.exitStatus() == QProcess::NormalExit && xmllint.exitCode() == 0;
}

qint64 nowSeconds() { return DateTimeToFileSeconds(NowDateTime()); }

} // namespace

TEST(ArchiveReader, ReadsEveryValueOfAWellFormedArchive)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    const QString path = fixture(QStringLiteral("archive/letters.phr"));
    ASSERT_EQ(load(path, archive, tree), "");

    const TDocumentHeader& h = archive.Header;
    EXPECT_EQ(h.version, 1);
    EXPECT_EQ(h.caption, QStringLiteral("Letters"));
    EXPECT_EQ(DateTimeToFileSeconds(h.created), 1700000000);
    EXPECT_EQ(DateTimeToFileSeconds(h.updated), 1700000100);
    EXPECT_FALSE(h.readonly);
    EXPECT_EQ(h.author, QStringLiteral("Anna"));
    EXPECT_EQ(h.copyright, QStringLiteral("(c) Anna"));
    EXPECT_EQ(h.filename, path);

    // Folders sorted by parent, stable: Private and Work (parent 0) keep
    // their file order, Sub (parent 1) follows.
    ASSERT_EQ(archive.Folders.size(), 3);
    EXPECT_EQ(archive.Folders[0].caption, QStringLiteral("Private"));
    EXPECT_EQ(archive.Folders[1].caption, QStringLiteral("Work"));
    EXPECT_EQ(archive.Folders[2].caption, QStringLiteral("Sub"));
    EXPECT_EQ(archive.Folders[2].rootid, 1);

    const TArchiveTree::Node top = tree.TopNode();
    ASSERT_EQ(tree.ChildCount(nullptr), 1);
    EXPECT_EQ(tree.Label(top), TLanguageHandling().GetIdent(1));
    EXPECT_EQ(childLabels(tree, top), QStringList({QStringLiteral("Private (1)"), QStringLiteral("Work (2)")}));
    EXPECT_EQ(childLabels(tree, tree.Child(top, 0)), QStringList({QStringLiteral("Sub (3)")}));

    ASSERT_EQ(archive.Entries.size(), 2);
    const TDocumentInfo& e = archive.Entries[0];
    EXPECT_EQ(e.id, 1);
    EXPECT_EQ(e.folderid, 1);
    EXPECT_EQ(e.caption, QStringLiteral("Greeting"));
    EXPECT_EQ(DateTimeToFileSeconds(e.created), 1700000000);
    EXPECT_EQ(DateTimeToFileSeconds(e.updated), 1700000050);
    EXPECT_EQ(e.description, QStringLiteral("Opening line"));
    EXPECT_EQ(e.type, 0);
    EXPECT_EQ(e.text, QStringLiteral("Dear {$UserName$},\nthanks & <regards>"));
    EXPECT_EQ(archive.Entries[1].type, 2);
    EXPECT_TRUE(archive.Entries[1].description.isEmpty());
}

TEST(ArchiveReader, ToleratesOrderNamesWhiteSpaceAndUnknownElements)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    ASSERT_EQ(load(fixture(QStringLiteral("archive/tolerant.phr")), archive, tree), "");
    EXPECT_EQ(archive.Header.caption, QStringLiteral("Tolerant")) << "first of two elements wins";
    EXPECT_TRUE(archive.Header.readonly) << "TRUE in any letter case";
    ASSERT_EQ(archive.Folders.size(), 1);
    EXPECT_EQ(archive.Folders[0].id, 5);
    ASSERT_EQ(archive.Entries.size(), 1);
    EXPECT_EQ(archive.Entries[0].id, 9);
    EXPECT_EQ(archive.Entries[0].type, 3);
    EXPECT_EQ(archive.Entries[0].text, QStringLiteral("https://example.org/?a=1&b=2"));
    EXPECT_EQ(childLabels(tree, tree.TopNode()), QStringList({QStringLiteral("Five (5)")}));
}

TEST(ArchiveReader, FallbacksAndValuesTakenAsTheyStand)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    const qint64 before = nowSeconds();
    ASSERT_EQ(load(fixture(QStringLiteral("archive/odd-values.phr")), archive, tree), "");
    const qint64 after = nowSeconds();

    // Empty or non-numeric dates read as the time of the read.
    const qint64 created = DateTimeToFileSeconds(archive.Header.created);
    EXPECT_GE(created, before);
    EXPECT_LE(created, after);
    EXPECT_GE(DateTimeToFileSeconds(archive.Header.updated), before);
    EXPECT_GE(DateTimeToFileSeconds(archive.Entries[0].created), before);
    EXPECT_FALSE(archive.Header.readonly) << "yes is not a boolean";

    // An orphan goes under the top node; a child listed before its parent
    // still lands under it.
    const TArchiveTree::Node top = tree.TopNode();
    EXPECT_EQ(childLabels(tree, top), QStringList({QStringLiteral("Parent (6)"), QStringLiteral("Orphan (4)")}));
    EXPECT_EQ(childLabels(tree, tree.Child(top, 0)), QStringList({QStringLiteral("Child (8)")}));

    ASSERT_EQ(archive.Entries.size(), 1);
    EXPECT_EQ(archive.Entries[0].type, 7);
    EXPECT_EQ(archive.Entries[0].text, QStringLiteral("line1\nline2\nline3")) << "CR LF and CR read as LF";
}

TEST(ArchiveReader, BooleanForms)
{
    TestEnv env;
    const struct {
        const char* value;
        bool expected;
    } table[] = {{"True", true}, {"TRUE", true}, {"false", false}, {"1", true}, {"-3", true},
                 {"0", false},   {"yes", false}, {"", false}};
    for (const auto& row : table) {
        const QString path = env.writeFile(
            QStringLiteral("b.phr"),
            QByteArray("<phr><phrarchive><version>1</version><readonly>") + row.value +
                "</readonly></phrarchive></phr>");
        TDocumentHandling archive;
        TMemoryTree tree;
        ASSERT_EQ(load(path, archive, tree), "");
        EXPECT_EQ(archive.Header.readonly, row.expected) << row.value;
    }
}

TEST(ArchiveReader, FailuresByKind)
{
    const struct {
        const char* file;
        const char* error;
    } table[] = {
        {"not-xml.phr", "EVersionError"},
        {"minversion-2.0.phr", "EVersionError"},
        {"minversion-1.10.phr", "EVersionError"},   // textual: 1.10.0.0 > 1.0.1.0
        {"minversion-longer.phr", "EVersionError"}, // the program's version is a prefix
        {"does-not-exist.phr", "EInvalidArchive"},
        {"no-phrarchive.phr", "EInvalidArchive"},
        {"version-missing.phr", "EInvalidArchive"},
        {"item-id-not-number.phr", "EInvalidArchive"},
        {"item-id-overflow.phr", "EInvalidArchive"},
        {"item-type-missing.phr", "EInvalidArchive"},
        {"folder-rootid-missing.phr", "EInvalidArchive"},
        {"caption-with-element.phr", "EInvalidArchive"},
        {"text-two-nodes.phr", "EInvalidArchive"},
        {"minversion-equal.phr", ""},
        {"no-lists.phr", ""},
    };
    for (const auto& row : table) {
        TDocumentHandling archive;
        TMemoryTree tree;
        const QString path = fixture(QStringLiteral("archive/") + QString::fromLatin1(row.file));
        EXPECT_EQ(load(path, archive, tree), row.error) << row.file;
        if (std::string(row.error) == "EVersionError") {
            EXPECT_EQ(tree.ChildCount(nullptr), 0) << row.file << ": the tree stays empty";
            EXPECT_TRUE(archive.Header.filename.isEmpty()) << row.file;
        } else {
            EXPECT_EQ(tree.ChildCount(nullptr), 1) << row.file << ": only the top node";
        }
        EXPECT_EQ(TDocumentHandling::CheckMinVersion(path), std::string(row.error) != "EVersionError")
            << row.file;
    }
}

TEST(ArchiveReader, FailedReadKeepsWhatWasReadBefore)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    const QString path = fixture(QStringLiteral("archive/item-id-not-number.phr"));
    ASSERT_EQ(load(path, archive, tree), "EInvalidArchive");
    EXPECT_EQ(archive.Header.version, 1);
    EXPECT_EQ(archive.Header.filename, path);
}

TEST(ArchiveReader, MinVersionComparisonIsTextual)
{
    const QByteArray program = "1.0.1.0";
    EXPECT_FALSE(MinVersionIsNewer("1.0.0.0", program));
    EXPECT_FALSE(MinVersionIsNewer("1.0.1.0", program));
    EXPECT_FALSE(MinVersionIsNewer("1.0", program));
    EXPECT_TRUE(MinVersionIsNewer("1.10.0.0", program));
    EXPECT_TRUE(MinVersionIsNewer("1.9", program));
    EXPECT_TRUE(MinVersionIsNewer("2.0", program));
    EXPECT_TRUE(MinVersionIsNewer("\xc3\xa4", program)) << "bytes compare unsigned";
}

TEST(ArchiveWriter, WritesTheExactLayout)
{
    TestEnv env;
    TDocumentHandling archive;
    TMemoryTree tree;
    ASSERT_EQ(load(fixture(QStringLiteral("archive/letters.phr")), archive, tree), "");
    const QString out = env.path(QStringLiteral("out.phr"));
    const qint64 before = nowSeconds();
    ASSERT_EQ(save(archive, out), "");
    EXPECT_EQ(archive.Header.filename, out);

    const QByteArray written = readAll(out);
    const QByteArray expected =
        "<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?>"
        "<phr><phrarchive><version>1</version><caption>Letters</caption>"
        "<created>1700000000</created><updated>U</updated><readonly>False</readonly>"
        "<author>Anna</author><copyright>(c) Anna</copyright><minversion>1.0.0.0</minversion>"
        "<folders><folder><caption>Private</caption><id>1</id><rootid>0</rootid></folder>"
        "<folder><caption>Work</caption><id>2</id><rootid>0</rootid></folder>"
        "<folder><caption>Sub</caption><id>3</id><rootid>1</rootid></folder></folders>"
        "<items><item><id>1</id><folderid>1</folderid><caption>Greeting</caption>"
        "<created>1700000000</created><updated>U</updated><description>Opening line</description>"
        "<author></author><copyright></copyright><type>0</type>"
        "<text><![CDATA[Dear {$UserName$},\nthanks & <regards>]]></text></item>"
        "<item><id>2</id><folderid>0</folderid><caption>Mail</caption><created>1700000000</created>"
        "<updated>U</updated><description></description><author></author><copyright></copyright>"
        "<type>2</type><text><![CDATA[anna@example.org]]></text></item></items>"
        "</phrarchive></phr>";
    EXPECT_EQ(withoutUpdated(written), expected);

    // Every updated value is the time of the save; memory keeps the old ones.
    static const QRegularExpression updated(QStringLiteral("<updated>([0-9]+)</updated>"));
    auto it = updated.globalMatch(QString::fromUtf8(written));
    int count = 0;
    while (it.hasNext()) {
        const qint64 s = it.next().captured(1).toLongLong();
        EXPECT_GE(s, before);
        EXPECT_LE(s, nowSeconds());
        ++count;
    }
    EXPECT_EQ(count, 3);
    EXPECT_EQ(DateTimeToFileSeconds(archive.Entries[0].updated), 1700000050);
    EXPECT_TRUE(strictXmlOk(out));
}

TEST(ArchiveWriter, RoundTripKeepsValuesAndSecondSaveDiffersOnlyInUpdated)
{
    TestEnv env;
    TDocumentHandling archive;
    TMemoryTree tree;
    archive.Header.version = 1;
    archive.Header.caption = QStringLiteral("  Spaced & <marked> \"quoted\" ümläut €  ");
    archive.Header.created = FileSecondsToDateTime(1234567890);
    archive.Header.readonly = true;
    tree.AddFirst(archive.TopLabel());
    archive.AddFolder(QStringLiteral(" "), tree, tree.TopNode());
    archive.AddTextEntry({QStringLiteral("CRLF"), QStringLiteral("d"), QStringLiteral("a\r\nb\rc\n")}, 1);
    archive.AddRichTextEntry({QStringLiteral("rtf"), {}, QStringLiteral("{\\rtf1 \\{$Date$\\}}")}, 0);
    archive.Entries.last().type = 7;
    archive.AddLinkEntry({QStringLiteral("emoji 😀"), {}, QStringLiteral("https://x.example/?q=1&r=<2>")}, 99);

    const QString first = env.path(QStringLiteral("a.phr"));
    ASSERT_EQ(save(archive, first), "");
    ASSERT_TRUE(strictXmlOk(first));

    TDocumentHandling again;
    TMemoryTree tree2;
    ASSERT_EQ(load(first, again, tree2), "");
    EXPECT_EQ(again.Header.caption, archive.Header.caption);
    EXPECT_EQ(again.Header.created, archive.Header.created);
    EXPECT_TRUE(again.Header.readonly);
    ASSERT_EQ(again.Folders.size(), 1);
    EXPECT_EQ(again.Folders[0].caption, QStringLiteral(" ")) << "a blank-only value survives";
    ASSERT_EQ(again.Entries.size(), 3);
    EXPECT_EQ(again.Entries[0].text, QStringLiteral("a\nb\nc\n")) << "line breaks come back as LF";
    EXPECT_EQ(again.Entries[1].type, 7);
    EXPECT_EQ(again.Entries[1].text, archive.Entries[1].text);
    EXPECT_EQ(again.Entries[2].caption, QStringLiteral("emoji 😀"));
    EXPECT_EQ(again.Entries[2].text, archive.Entries[2].text);
    EXPECT_EQ(again.Entries[2].folderid, 99) << "a missing folder is kept as it stands";

    // Once read back, saving without changes gives the same file again but
    // for the times of the saves.
    const QString second = env.path(QStringLiteral("b.phr"));
    ASSERT_EQ(save(again, second), "");
    TDocumentHandling third;
    TMemoryTree tree3;
    ASSERT_EQ(load(second, third, tree3), "");
    const QString thirdPath = env.path(QStringLiteral("c.phr"));
    ASSERT_EQ(save(third, thirdPath), "");
    EXPECT_EQ(withoutUpdated(readAll(thirdPath)), withoutUpdated(readAll(second)));
}

TEST(ArchiveWriter, TextsXmlCannotHoldStillGiveAStrictFile)
{
    TestEnv env;
    TDocumentHandling archive;
    TMemoryTree tree;
    tree.AddFirst(archive.TopLabel());
    const QString cdataEnd = QStringLiteral("before ]]> after ]]]]>> <b>&amp;</b>");
    QString controls = QStringLiteral("bell\x07 nul");
    controls += QChar(0);
    controls += QStringLiteral(" esc\x1b tab\t ok");
    controls += QChar(0xFFFE);
    controls += QChar(0xD800); // a lone surrogate
    archive.AddTextEntry({QStringLiteral("cdata"), {}, cdataEnd}, 0);
    archive.AddTextEntry({controls, controls, controls}, 0);

    const QString path = env.path(QStringLiteral("x.phr"));
    ASSERT_EQ(save(archive, path), "");
    EXPECT_TRUE(strictXmlOk(path));

    TDocumentHandling again;
    TMemoryTree tree2;
    ASSERT_EQ(load(path, again, tree2), "");
    ASSERT_EQ(again.Entries.size(), 2);
    EXPECT_EQ(again.Entries[0].text, cdataEnd) << "reads back unchanged";
    const QString kept = QStringLiteral("bell nul esc tab\t ok");
    EXPECT_EQ(again.Entries[1].text, kept);
    EXPECT_EQ(again.Entries[1].caption, kept);
}

TEST(ArchiveWriter, DeletedRecordsAreNeverWritten)
{
    TestEnv env;
    TDocumentHandling archive;
    TMemoryTree tree;
    ASSERT_EQ(load(fixture(QStringLiteral("archive/letters.phr")), archive, tree), "");
    const TArchiveTree::Node privateNode = tree.Child(tree.TopNode(), 0);
    archive.DeleteFolder(1, tree, privateNode); // takes Sub (3) and entry 1 with it
    archive.DeleteEntry(2);

    const QString path = env.path(QStringLiteral("d.phr"));
    ASSERT_EQ(save(archive, path), "");
    ASSERT_EQ(save(archive, path), "") << "a second save writes the same again";
    TDocumentHandling again;
    TMemoryTree tree2;
    ASSERT_EQ(load(path, again, tree2), "");
    ASSERT_EQ(again.Folders.size(), 1);
    EXPECT_EQ(again.Folders[0].caption, QStringLiteral("Work"));
    EXPECT_TRUE(again.Entries.isEmpty());
}

TEST(ArchiveWriter, FailedSaveRaisesAndLeavesTheOldFileWhole)
{
    TestEnv env;
    TDocumentHandling archive;
    TMemoryTree tree;
    tree.AddFirst(archive.TopLabel());
    const QString path = env.writeFile(QStringLiteral("old.phr"), QByteArray(4096, 'x'));

    // A folder that does not exist.
    EXPECT_EQ(save(archive, env.path(QStringLiteral("missing/dir/new.phr"))), "ESaveError");
    EXPECT_EQ(archive.Header.filename, env.path(QStringLiteral("missing/dir/new.phr")));
    // A folder in place of the file.
    EXPECT_EQ(save(archive, env.root()), "ESaveError");
    // No file name at all.
    archive.Header.filename.clear();
    EXPECT_EQ(save(archive, {}), "ESaveError");

    // The disk fills up in the middle of the write: a file-size limit makes
    // the write fail part-way, as a full disk would.
    archive.AddTextEntry({QStringLiteral("big"), {}, QString(20000, QLatin1Char('y'))}, 0);
    rlimit oldLimit{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &oldLimit), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = oldLimit;
    small.rlim_cur = 8192;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const std::string result = save(archive, path);
    setrlimit(RLIMIT_FSIZE, &oldLimit);
    std::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(result, "ESaveError");
    EXPECT_EQ(readAll(path), QByteArray(4096, 'x')) << "the old file is whole";
    EXPECT_EQ(QDir(env.root()).entryList({QStringLiteral("old.phr*")}, QDir::Files | QDir::Hidden),
              QStringList({QStringLiteral("old.phr")}))
        << "no temporary file is left behind";
}
