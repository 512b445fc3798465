#include "language/language.h"
#include "platform/inifile.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

// A program folder with lang/ holding the given files (no shipped ones).
class LangfileTest : public ::testing::Test {
protected:
    TestEnv env{false};

    QString lang(const QString& name, const QByteArray& content = "[caps]\n") {
        return env.writeFile(S("program/lang/") + name, content);
    }
    QString sharedIni() const { return env.programDir() + S("/lang/used.ini"); }
    QString userIni() const { return env.userDir() + S("/used.ini"); }
    QString english() const { return env.programDir() + S("/lang/english.lng"); }
    void blockShared() const { QDir().mkpath(sharedIni()); } // a folder where the file should be
    void blockUser() const { QDir().mkpath(userIni()); }
};

TEST_F(LangfileTest, FreshInstallationUsesEnglish) {
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english()); // even when it is missing
    lang(S("english.lng"));
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english());
}

TEST_F(LangfileTest, RecordedChoiceIsUsedWhenItsFileExists) {
    const QString german = lang(S("german.lng"));
    env.writeFile(S("program/lang/used.ini"), "[global]\nfile=" + german.toUtf8() + "\n");
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), german);

    const QString elsewhere = env.writeFile(S("other/custom.lng"), "[caps]\n");
    env.writeFile(S("program/lang/used.ini"), "[Global]\nFILE = " + elsewhere.toUtf8() + "\n");
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), elsewhere);

    env.writeFile(S("program/lang/used.ini"), "[global]\nfile=/no/such.lng\n");
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english());
    env.writeFile(S("program/lang/used.ini"),
                  "[global]\nfile=" + env.programDir().toUtf8() + "/lang\n");
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english()); // a folder is no file
}

TEST_F(LangfileTest, SetCurrentFileWritesLangUsedIni) {
    const QString german = lang(S("german.lng"));
    TLangfileHandling files;
    files.SetCurrentFile(german);
    EXPECT_EQ(readAll(sharedIni()), "[global]\nfile=" + german.toUtf8() + "\n");
    EXPECT_EQ(files.GetCurrentFile(), german);
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), german);
    EXPECT_FALSE(QFileInfo::exists(userIni()));
}

TEST_F(LangfileTest, UnwritableLangFolderRecordsTheChoicePerUser) {
    const QString german = lang(S("german.lng"));
    blockShared();
    TLangfileHandling files;
    files.SetCurrentFile(german);
    EXPECT_EQ(TIniFile(userIni()).ReadString(S("global"), S("file"), S("")), german);
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), german);

    // Once the shared file can be written again, it takes the choice and the
    // per-user value goes.
    QDir().rmdir(sharedIni());
    TLangfileHandling().SetCurrentFile(english());
    lang(S("english.lng"));
    EXPECT_FALSE(TIniFile(userIni()).ValueExists(S("global"), S("file")));
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english());
}

TEST_F(LangfileTest, PerUserChoiceComesFirstWhenItsFileExists) {
    const QString german = lang(S("german.lng"));
    const QString french = lang(S("french.lng"));
    env.writeFile(S("program/lang/used.ini"), "[global]\nfile=" + german.toUtf8() + "\n");
    env.writeFile(S("config/Phrasora/used.ini"), "[global]\nfile=" + french.toUtf8() + "\n");
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), french);
    QFile::remove(french);
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), german);
}

TEST_F(LangfileTest, NeitherWritableRaisesTheIniError) {
    blockShared();
    blockUser();
    try {
        TLangfileHandling().SetCurrentFile(lang(S("german.lng")));
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), S("In ") + userIni() + S(" kann nicht geschrieben werden"));
    }
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english());
}

TEST_F(LangfileTest, ListFilesTakesLngFilesOnly) {
    const QString b = lang(S("b.lng")), a = lang(S("A.LNG")), c = lang(S(".hidden.lng"));
    lang(S("notes.txt"));
    lang(S("sub/deeper.lng"));
    QDir().mkpath(env.programDir() + S("/lang/folder.lng"));
    QStringList list;
    TLangfileHandling().ListFiles(list);
    EXPECT_EQ(list, QStringList({c, a, b}));
}

TEST_F(LangfileTest, ListFilesAppendsAndCopesWithoutLangFolder) {
    QStringList list{S("kept")};
    TLangfileHandling().ListFiles(list);
    EXPECT_EQ(list, QStringList({S("kept")}));
}

TEST_F(LangfileTest, MenuChecksTheCurrentFileByExactName) {
    const QString english = lang(S("english.lng"));
    const QString german = lang(S("german.lng"));
    const QString upper = lang(S("German.lng"));
    auto items = TLangfileHandling().LanguageMenuItems();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0].Caption, S("english.lng"));
    EXPECT_EQ(items[0].Path, english);
    EXPECT_EQ(items[1].Caption, S("German.lng")); // equal but for case: capitals first
    EXPECT_EQ(items[2].Caption, S("german.lng"));
    EXPECT_TRUE(items[0].Checked);
    EXPECT_FALSE(items[1].Checked);
    EXPECT_FALSE(items[2].Checked);

    TLangfileHandling().SelectLanguageItem(S("German.lng"));
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), upper);
    items = TLangfileHandling().LanguageMenuItems();
    EXPECT_FALSE(items[0].Checked);
    EXPECT_TRUE(items[1].Checked);
    EXPECT_FALSE(items[2].Checked); // the comparison is case-sensitive
    EXPECT_EQ(items[2].Path, german);
}

TEST_F(LangfileTest, MenuCheckFollowsAChoiceInAnotherFolderByName) {
    lang(S("english.lng"));
    lang(S("custom.lng"));
    const QString elsewhere = env.writeFile(S("other/custom.lng"), "[caps]\n");
    TLangfileHandling().SetCurrentFile(elsewhere);
    const auto items = TLangfileHandling().LanguageMenuItems();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0].Checked); // custom.lng
    EXPECT_FALSE(items[1].Checked);
}

TEST_F(LangfileTest, ClickedCaptionLosesEveryAmpersand) {
    EXPECT_EQ(TLangfileHandling::LanguageItemPath(S("&german.lng")),
              env.programDir() + S("/lang/german.lng"));
    EXPECT_EQ(TLangfileHandling::LanguageItemPath(S("R&&D.lng")),
              env.programDir() + S("/lang/RD.lng"));
    // A file whose name holds "&" cannot be chosen: the next lookup falls back.
    lang(S("R&D.lng"));
    TLangfileHandling().SelectLanguageItem(S("R&&D.lng"));
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), english());
}

// ---------------------------------------------------------------------------

class LanguageTest : public ::testing::Test {
protected:
    TestEnv env{false};

    void useFile(const QByteArray& content, const QString& name = S("english.lng")) {
        env.writeFile(S("program/lang/") + name, content);
    }
    void useFixture(const QString& name) { useFile(readAll(fixture(S("lang/") + name))); }
};

TEST_F(LangfileTest, LookingUpCreatesNoPerUserFolder) {
    TLanguageHandling texts;
    texts.GetIdent(1);
    EXPECT_FALSE(QFileInfo::exists(env.userDir()));
}

TEST_F(LangfileTest, PerUserChoiceCreatesTheFolderWhenNeeded) {
    const QString german = lang(S("german.lng"));
    blockShared();
    ASSERT_FALSE(QFileInfo::exists(env.userDir()));
    TLangfileHandling().SetCurrentFile(german);
    EXPECT_EQ(TLangfileHandling().GetCurrentFile(), german);
}

TEST_F(LanguageTest, MissingFileGivesEmptyTextsAndDefaults) {
    TLanguageHandling texts;
    EXPECT_EQ(texts.GetCaption(12), S("Phrasora - "));
    EXPECT_EQ(texts.GetCommand(1), S(""));
    EXPECT_EQ(texts.GetError(1), S(""));
    EXPECT_EQ(texts.GetIdent(1), S(""));
    EXPECT_EQ(texts.GetMessage(1), S(""));
    EXPECT_EQ(texts.GetText(S("main"), S("12"), S("Speichern")), S("Speichern"));
    EXPECT_FALSE(QFileInfo::exists(texts.FileName())); // and none was made
}

TEST_F(LanguageTest, EmptyFileMakesEveryCaptionBare) {
    useFile("");
    TLanguageHandling texts;
    for (int n = 0; n <= 20; ++n)
        EXPECT_EQ(texts.GetCaption(n), S("Phrasora - "));
}

TEST_F(LanguageTest, CaptionsCommandsIdentsAndWindowTexts) {
    useFixture(S("escapes.lng"));
    TLanguageHandling texts;
    EXPECT_EQ(texts.GetCaption(12), S("Phrasora - Einstellungen"));
    EXPECT_EQ(texts.GetCommand(1), S("Datum"));
    EXPECT_EQ(texts.GetIdent(1), S("Archiv"));
    EXPECT_EQ(texts.GetText(S("main"), S("12"), S("Speichern")), S("Sichern"));
    EXPECT_EQ(texts.GetText(S("hints"), S("3"), S("Speichern")), S("Speichern"));
    EXPECT_EQ(texts.GetText(S("main"), S("13"), S("Speichern unter")), S("")); // present but empty
}

TEST_F(LanguageTest, LineBreakEscapesInMessagesAndErrors) {
    useFixture(S("escapes.lng"));
    TLanguageHandling texts;
    EXPECT_EQ(texts.GetMessage(1), S("zwei\n\rZeilen"));
    EXPECT_EQ(texts.GetMessage(2), S("gro\n\rß"));
    EXPECT_EQ(texts.GetMessage(3), S("doppelt\\\n\r"));
    EXPECT_EQ(texts.GetMessage(4), S("\n\r"));
    EXPECT_EQ(texts.GetMessage(5), S("Привет\n\rмир 😀 €")); // nothing is lost
    EXPECT_EQ(texts.GetMessage(6), S("ende\\"));
    EXPECT_EQ(texts.GetError(1), S("Fehler\n\rText"));
    // Only "error" and "msg" replace them.
    EXPECT_EQ(TLanguageHandling::ReplaceLineBreaks(S("a\\nb\\Nc\\xd")), S("a\n\rb\n\rc\\xd"));
}

TEST_F(LanguageTest, ReadsWindows1252AndUtf16LanguageFiles) {
    useFixture(S("cp1252.lng"));
    EXPECT_EQ(TLanguageHandling().GetIdent(1), S("Grüße €"));
    useFixture(S("utf16.lng"));
    EXPECT_EQ(TLanguageHandling().GetCaption(2), S("Phrasora - Информация"));
}

TEST_F(LanguageTest, ReloadOpensTheFileThatIsCurrentNow) {
    useFile("[ident]\n1=Archive\n");
    const QString german =
        env.writeFile(S("program/lang/german.lng"), S("[ident]\n1=Archiv\n").toUtf8());
    TLanguageHandling texts;
    TLanguageHandling old;
    EXPECT_EQ(texts.GetIdent(1), S("Archive"));
    TLangfileHandling().SetCurrentFile(german);
    EXPECT_EQ(texts.GetIdent(1), S("Archive")); // still the file it opened
    texts.Reload();
    EXPECT_EQ(texts.GetIdent(1), S("Archiv"));
    EXPECT_EQ(texts.FileName(), german);
    EXPECT_EQ(old.GetIdent(1), S("Archive"));
    EXPECT_EQ(TLanguageHandling().GetIdent(1), S("Archiv"));
}

} // namespace
