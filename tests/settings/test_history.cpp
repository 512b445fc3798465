#include "settings/history.h"
#include "settings/mainfunc.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QByteArray record(qint32 number, const QByteArray& path) {
    QByteArray r(260, '\0');
    qToLittleEndian<qint32>(number, r.data());
    r[4] = static_cast<char>(path.size());
    r.replace(5, path.size(), path);
    return r;
}

struct RecordingMenu : THistoryMenu {
    QStringList calls;
    void Clear() override { calls.append(S("clear")); }
    void AddItem(const QString& caption, int tag) override {
        calls.append(caption + QLatin1Char('#') + QString::number(tag));
    }
};

class HistoryTest : public ::testing::Test {
protected:
    TestEnv env;

    QString historyFile() const { return TMainFunc().GetHistoryFile(); }
    QString archive(const QString& name) const {
        return env.writeFile(S("archives/") + name, "<archive/>");
    }
};

TEST_F(HistoryTest, MissingFileIsCreatedEmptyAtOnce) {
    THistory history;
    EXPECT_TRUE(QFileInfo::exists(historyFile()));
    EXPECT_EQ(QFileInfo(historyFile()).size(), 0);
    EXPECT_TRUE(history.Entries().isEmpty());
    EXPECT_TRUE(history.MenuItems().isEmpty());
    EXPECT_EQ(history.GetArchive(0), S(""));
}

TEST_F(HistoryTest, FirstArchiveGivesABlankEntryAndTheArchive) {
    const QString a = archive(S("Kunden.phr"));
    {
        THistory history;
        history.AddArchive(a);
        EXPECT_EQ(history.GetArchive(0), S(""));
        EXPECT_EQ(history.GetArchive(1), a);
        EXPECT_EQ(history.GetArchive(2), S(""));
        EXPECT_EQ(history.GetArchive(-1), S(""));
        RecordingMenu menu;
        history.FillMenu(menu);
        EXPECT_EQ(menu.calls, QStringList({S("clear"), S("Kunden.phr#1")}));
        EXPECT_EQ(QFileInfo(historyFile()).size(), 0); // nothing written before the end
    }
    EXPECT_EQ(readAll(historyFile()), record(0, {}) + record(1, a.toUtf8()));
}

TEST_F(HistoryTest, SameFileTwiceIsAddedOnceButOtherCaseCounts) {
    const QString a = archive(S("Kunden.phr"));
    const QString upper = archive(S("KUNDEN.phr"));
    THistory history;
    history.AddArchive(a);
    history.AddArchive(a);
    history.AddArchive(upper);
    ASSERT_EQ(history.Entries().size(), 3);
    EXPECT_EQ(history.Entries()[2].Number, 2);
    EXPECT_EQ(history.MenuItems().size(), 2);
}

TEST_F(HistoryTest, MissingFileNeverCountsAsListed) {
    const QString gone = env.path(S("archives/gone.phr"));
    THistory history;
    history.AddArchive(gone);
    history.AddArchive(gone);
    EXPECT_EQ(history.Entries().size(), 3);
    EXPECT_TRUE(history.MenuItems().isEmpty());
}

TEST_F(HistoryTest, DeletedArchiveLeavesTheMenuButNotTheFile) {
    const QString a = archive(S("a.phr")), b = archive(S("b.phr"));
    {
        THistory history;
        history.AddArchive(a);
        history.AddArchive(b);
    }
    QFile::remove(a);
    {
        THistory history;
        ASSERT_EQ(history.MenuItems().size(), 1);
        EXPECT_EQ(history.MenuItems()[0].Caption, S("b.phr"));
        EXPECT_EQ(history.MenuItems()[0].Tag, 2);
    }
    EXPECT_EQ(QFileInfo(historyFile()).size(), 3 * 260);
    archive(S("a.phr"));
    EXPECT_EQ(THistory().MenuItems().size(), 2);
}

TEST_F(HistoryTest, LongPathIsStoredCutAndNotAddedAgain) {
    QString folder = env.path(S("archives/"));
    while (folder.toUtf8().size() < 290)
        folder += S("verzeichnis/");
    QDir().mkpath(folder);
    const QString a =
        env.writeFile(folder.mid(env.root().size() + 1) + S("Archiv.phr"), "<archive/>");
    ASSERT_GT(a.toUtf8().size(), 300);
    THistory history;
    history.AddArchive(a);
    history.AddArchive(a);
    ASSERT_EQ(history.Entries().size(), 2);
    EXPECT_EQ(history.Entries()[1].Path, a.toUtf8().left(255));
}

TEST_F(HistoryTest, PathsAreCutAtACharacterBoundary) {
    // 254 ASCII bytes, then a two-byte "ä": byte 255 would be half of it.
    const QString path = QString(254, QLatin1Char('x')) + S("äz");
    EXPECT_EQ(THistory::StoredPath(path), QByteArray(254, 'x'));
    const QString exact = QString(253, QLatin1Char('x')) + S("ä");
    EXPECT_EQ(THistory::StoredPath(exact).size(), 255);
    const QString emoji = QString(252, QLatin1Char('x')) + S("😀");
    EXPECT_EQ(THistory::StoredPath(emoji), QByteArray(252, 'x'));
}

TEST_F(HistoryTest, UnicodePathsRoundTrip) {
    const QString a = archive(S("Grüße 日本.phr"));
    { THistory().AddArchive(a); }
    THistory history;
    EXPECT_EQ(history.GetArchive(1), a);
    EXPECT_EQ(history.MenuItems().value(0).Caption, S("Grüße 日本.phr"));
}

TEST_F(HistoryTest, RemainderIsIgnoredAndDroppedAtTheNextSave) {
    const QByteArray data = readAll(fixture(S("history/two_records_and_remainder.dat")));
    ASSERT_EQ(data.size(), 600);
    env.writeFile(S("config/Phrasora/history.dat"), data);
    {
        THistory history;
        ASSERT_EQ(history.Entries().size(), 2);
        EXPECT_EQ(history.GetArchive(1), S("/tmp/none.phr"));
    }
    EXPECT_EQ(readAll(historyFile()), data.left(520));
}

TEST_F(HistoryTest, EntriesNumberedMinusOneAreNotWrittenBack) {
    env.writeFile(S("config/Phrasora/history.dat"),
                  readAll(fixture(S("history/garbage_padding.dat"))));
    {
        THistory history;
        ASSERT_EQ(history.Entries().size(), 2);
        EXPECT_EQ(history.Entries()[1].Number, -1);
        EXPECT_EQ(history.Entries()[1].Path, QByteArray("/x.phr")); // the padding does not count
        history.SaveHistory();
        EXPECT_EQ(readAll(historyFile()), record(0, {}));
        EXPECT_EQ(history.Entries().size(), 2); // still in memory
    }
}

TEST_F(HistoryTest, HostilePathBytesGiveNoMenuItems) {
    // A NUL inside a path, bytes that are no UTF-8, half a character.
    env.writeFile(S("config/Phrasora/history.dat"), readAll(fixture(S("history/nul_in_path.dat"))));
    const QString a = archive(S("a.phr"));
    {
        THistory history;
        ASSERT_EQ(history.Entries().size(), 4);
        EXPECT_TRUE(history.MenuItems().isEmpty());
        EXPECT_EQ(history.GetArchive(1).size(), 11); // the NUL is kept, no file has that name
        history.AddArchive(a);
        EXPECT_EQ(history.MenuItems().size(), 1);
    }
    const QByteArray saved = readAll(historyFile());
    EXPECT_EQ(saved.left(4 * 260), readAll(fixture(S("history/nul_in_path.dat"))));
    EXPECT_EQ(saved.size(), 5 * 260);
}

TEST_F(HistoryTest, MenuTagsAreTheStoredNumbers) {
    const QString a = archive(S("a.phr"));
    env.writeFile(S("config/Phrasora/history.dat"), record(7, a.toUtf8()));
    THistory history;
    ASSERT_EQ(history.MenuItems().size(), 1);
    EXPECT_EQ(history.MenuItems()[0].Tag, 7);
    history.AddArchive(archive(S("b.phr")));
    EXPECT_EQ(history.Entries()[1].Number, 1); // its position, no blank entry this time
}

TEST_F(HistoryTest, UnopenableFileRaises) {
    const QString blocker = env.writeFile(S("blocker"), "a file");
    try {
        THistory history(blocker + S("/history.dat"));
        FAIL() << "no exception";
    } catch (const EInOutError& e) {
        EXPECT_TRUE(e.Message().startsWith(S("Datei ") + blocker +
                                           S("/history.dat kann nicht erstellt werden")))
            << qPrintable(e.Message());
    }
    const QString folder = env.path(S("folder.dat"));
    QDir().mkpath(folder);
    EXPECT_THROW(THistory history(folder), EInOutError);
}

TEST_F(HistoryTest, SaveFailureRaises) {
    const QString dir = env.path(S("h"));
    QDir().mkpath(dir);
    const QString file = dir + S("/history.dat");
    THistory history(file);
    history.AddArchive(archive(S("a.phr")));
    // Take the folder away: the save cannot put its file there.
    ASSERT_TRUE(QDir(dir).removeRecursively());
    env.writeFile(S("h"), "now a file");
    EXPECT_THROW(history.SaveHistory(), EInOutError);
}

} // namespace
