#include "platform/inifile.h"
#include "platform/windows1252.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class IniFileTest : public ::testing::Test {
protected:
    TestEnv env{false};

    QString write(const QByteArray& content, const QString& name = QStringLiteral("test.ini")) {
        return env.writeFile(name, content);
    }

    // Copies a fixture into the test folder, so that writes do not touch it.
    QString copyFixture(const QString& name) {
        return write(readAll(fixture(QStringLiteral("ini/") + name)), name);
    }
};

TEST_F(IniFileTest, MissingFileReadsEmptyAndIsNeverCreated) {
    const QString path = env.path(QStringLiteral("none.ini"));
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(S("a"), S("b"), S("def")), S("def"));
    EXPECT_EQ(ini.ReadInteger(S("a"), S("b"), 42), 42);
    EXPECT_TRUE(ini.ReadBool(S("a"), S("b"), true));
    EXPECT_TRUE(ini.ReadSection(S("a")).isEmpty());
    EXPECT_TRUE(ini.ReadSectionEntries(S("a")).isEmpty());
    EXPECT_TRUE(ini.ReadSections().isEmpty());
    EXPECT_FALSE(ini.SectionExists(S("a")));
    ini.DeleteKey(S("a"), S("b"));
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST_F(IniFileTest, NamesAreCaseInsensitiveAndTrimmed) {
    TIniFile ini(write("[Hot Keys]\nQuickMenu = 16465 \n  View\t=\t7\t\n[ Other ]\nx=1\n"));
    EXPECT_EQ(ini.ReadString(S("hot keys"), S("quickmenu"), S("")), S("16465"));
    EXPECT_EQ(ini.ReadString(S("HOT KEYS"), S("VIEW"), S("")), S("7"));
    EXPECT_EQ(ini.ReadString(S("other"), S("X"), S("")), S("1"));
    EXPECT_TRUE(ini.ValueExists(S("hot keys"), S("view")));
    EXPECT_FALSE(ini.ValueExists(S("hot keys"), S("none")));
    EXPECT_EQ(ini.ReadSections(), QStringList({S("Hot Keys"), S("Other")}));
}

TEST_F(IniFileTest, UmlautNamesCompareCaseInsensitively) {
    TIniFile ini(write(S("[Größe]\nÄrger=ja\n").toUtf8()));
    EXPECT_EQ(ini.ReadString(S("GRÖSSE"), S("ärger"), S("nein")), S("nein")); // ß is not SS
    EXPECT_EQ(ini.ReadString(S("GRÖßE"), S("ÄRGER"), S("nein")), S("ja"));
}

TEST_F(IniFileTest, FirstSectionAndFirstKeyWin) {
    TIniFile ini(write("[a]\nk=1\nK=2\n[b]\nk=3\n[A]\nk=4\nj=5\n"));
    EXPECT_EQ(ini.ReadString(S("a"), S("k"), S("")), S("1"));
    EXPECT_EQ(ini.ReadString(S("b"), S("k"), S("")), S("3"));
    // The second [A] is not looked at.
    EXPECT_EQ(ini.ReadString(S("a"), S("j"), S("none")), S("none"));
}

TEST_F(IniFileTest, CommentsAndLinesWithoutEqualsAreNoKeys) {
    TIniFile ini(
        write("[s]\n;k=commented\n  ; also=comment\nplain line\n#k=hash is a key\nk=real\n"));
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("")), S("real"));
    EXPECT_EQ(ini.ReadString(S("s"), S("#k"), S("")), S("hash is a key"));
    EXPECT_EQ(ini.ReadSection(S("s")), QStringList({S("#k"), S("k")}));
    EXPECT_FALSE(ini.ValueExists(S("s"), S("plain line")));
}

TEST_F(IniFileTest, SectionEntriesAreRawLinesInFileOrder) {
    TIniFile ini(write("[files]\nfile2=/b/two.phr\n; note\na = /c/x=y.phr\nfile0=\"/q.phr\"\n"
                       "file2=/dup.phr\n=/nokey.phr\n[next]\nz=1\n"));
    const QList<TIniEntry> e = ini.ReadSectionEntries(S("FILES"));
    ASSERT_EQ(e.size(), 5);
    EXPECT_EQ(e[0].Key, S("file2"));
    EXPECT_EQ(e[0].Value, S("/b/two.phr"));
    EXPECT_EQ(e[1].Key, S("a"));
    EXPECT_EQ(e[1].Value, S("/c/x=y.phr")); // everything after the first "="
    EXPECT_EQ(e[2].Value, S("\"/q.phr\"")); // no quote removal here
    EXPECT_EQ(e[3].Value, S("/dup.phr"));
    EXPECT_EQ(e[4].Key, S(""));
    EXPECT_EQ(e[4].Value, S("/nokey.phr"));
    EXPECT_EQ(ini.ReadSection(S("files")),
              QStringList({S("file2"), S("a"), S("file0"), S("file2"), S("")}));
}

TEST_F(IniFileTest, DeletingEveryListedKeyEmptiesTheSection) {
    const QString path = write("[files]\nfile0=a\nFILE0=b\n=c\nx=d\n;keep\n[other]\nfile0=e\n");
    TIniFile ini(path);
    for (const QString& key : ini.ReadSection(S("files")))
        ini.DeleteKey(S("files"), key);
    EXPECT_TRUE(ini.ReadSectionEntries(S("files")).isEmpty());
    EXPECT_EQ(readAll(path), QByteArray("[files]\n;keep\n[other]\nfile0=e\n"));
}

TEST_F(IniFileTest, QuotedValuesLoseTheirQuotes) {
    TIniFile ini(write("[s]\na=\"quoted\"\nb='single'\nc=\"open\nd=\"\ne=\"mixed'\nf=\"\"\n"));
    EXPECT_EQ(ini.ReadString(S("s"), S("a"), S("")), S("quoted"));
    EXPECT_EQ(ini.ReadString(S("s"), S("b"), S("")), S("single"));
    EXPECT_EQ(ini.ReadString(S("s"), S("c"), S("")), S("\"open"));
    EXPECT_EQ(ini.ReadString(S("s"), S("d"), S("")), S("\""));
    EXPECT_EQ(ini.ReadString(S("s"), S("e"), S("")), S("\"mixed'"));
    EXPECT_EQ(ini.ReadString(S("s"), S("f"), S("x")), S(""));
}

TEST_F(IniFileTest, EmptyValueIsNotTheDefault) {
    TIniFile ini(write("[s]\nempty=\n"));
    EXPECT_EQ(ini.ReadString(S("s"), S("empty"), S("def")), S(""));
    EXPECT_EQ(ini.ReadInteger(S("s"), S("empty"), 5), 5);
}

struct IntegerCase {
    const char* text;
    int expected; // with default -99
};

class IniIntegerTest : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IniIntegerTest, ReadsTheWindowsForms) {
    TestEnv env(false);
    const QString path =
        env.writeFile(QStringLiteral("i.ini"), QByteArray("[s]\nk=") + GetParam().text + "\n");
    EXPECT_EQ(TIniFile(path).ReadInteger(S("s"), S("k"), -99), GetParam().expected)
        << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Forms, IniIntegerTest,
    ::testing::Values(IntegerCase{"42", 42}, IntegerCase{" 42 ", 42}, IntegerCase{"+3", 3},
                      IntegerCase{"-7", -7}, IntegerCase{"007", 7}, IntegerCase{"$1F", 31},
                      IntegerCase{"$1f", 31}, IntegerCase{"0x4051", 16465}, IntegerCase{"0X10", 16},
                      IntegerCase{"-$10", -16}, IntegerCase{"$FFFFFFFF", -1},
                      IntegerCase{"$100000000", -99}, IntegerCase{"$0000000001", 1},
                      IntegerCase{"2147483647", 2147483647},
                      IntegerCase{"-2147483648", -2147483647 - 1}, IntegerCase{"2147483648", -99},
                      IntegerCase{"99999999999999999999", -99}, IntegerCase{"12abc", -99},
                      IntegerCase{"1 2", -99}, IntegerCase{"", -99}, IntegerCase{"$", -99},
                      IntegerCase{"0x", -99}, IntegerCase{"-", -99}, IntegerCase{"1e3", -99},
                      IntegerCase{"0x-1", -99}, IntegerCase{"\"5\"", 5}, IntegerCase{"x10", -99}));

TEST_F(IniFileTest, WriteChangesTheLineInPlaceAndKeepsEverythingElse) {
    const QByteArray before = "; settings\r\n[hotkeys]\r\nQuickMenu = 1 ; old\r\nview=2\r\n\r\n"
                              "; between\r\n[misc]\r\nshowplash=1\r\n";
    const QString path = write(before);
    TIniFile ini(path);
    ini.WriteString(S("HOTKEYS"), S("quickmenu"), S("16465"));
    EXPECT_EQ(readAll(path),
              QByteArray("; settings\r\n[hotkeys]\r\nQuickMenu=16465\r\nview=2\r\n\r\n"
                         "; between\r\n[misc]\r\nshowplash=1\r\n"));
    EXPECT_EQ(ini.ReadInteger(S("hotkeys"), S("quickmenu"), 0), 16465);
}

TEST_F(IniFileTest, NewKeyGoesToTheEndOfItsSection) {
    const QString path = write("[a]\nx=1\n; trailing comment\n\n[b]\ny=2\n");
    TIniFile ini(path);
    ini.WriteString(S("a"), S("new"), S("v"));
    ini.WriteString(S("b"), S("z"), S("3"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\nx=1\n; trailing comment\nnew=v\n\n[b]\ny=2\nz=3\n"));
}

TEST_F(IniFileTest, NewSectionGoesToTheEndOfTheFile) {
    const QString path = write("[a]\nx=1"); // no line end at the end
    TIniFile ini(path);
    ini.WriteString(S("b"), S("y"), S("2"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\nx=1\n\n[b]\ny=2\n"));
    ini.WriteString(S("a"), S("z"), S("3"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\nx=1\nz=3\n\n[b]\ny=2\n"));
}

TEST_F(IniFileTest, KeyAppendedToASectionThatEndsTheFileWithoutLineEnd) {
    const QString path = write("[a]");
    TIniFile ini(path);
    ini.WriteString(S("a"), S("k"), S("v"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\nk=v\n"));
}

TEST_F(IniFileTest, FirstWriteCreatesTheFile) {
    const QString path = env.path(QStringLiteral("new.ini"));
    TIniFile ini(path);
    ini.WriteInteger(S("proxy"), S("port"), 8080);
    ini.WriteBool(S("proxy"), S("custom"), false);
    ini.WriteBool(S("proxy"), S("usedefault"), true);
    EXPECT_EQ(readAll(path), QByteArray("[proxy]\nport=8080\ncustom=0\nusedefault=1\n"));
}

TEST_F(IniFileTest, DeleteKeyRemovesOnlyThatLine) {
    const QString path = write("[a]\r\nx=1\r\ny=2\r\ny=3\r\n[b]\r\ny=4\r\n");
    TIniFile ini(path);
    ini.DeleteKey(S("a"), S("Y"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\r\nx=1\r\ny=3\r\n[b]\r\ny=4\r\n"));
    ini.DeleteKey(S("a"), S("none"));
    ini.DeleteKey(S("none"), S("x"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\r\nx=1\r\ny=3\r\n[b]\r\ny=4\r\n"));
}

TEST_F(IniFileTest, LineBreaksInAValueCannotAddLines) {
    const QString path = write("[proxy]\n");
    TIniFile ini(path);
    ini.WriteString(S("proxy"), S("server"), S("evil\n[files]\r\nfile0=/x"));
    EXPECT_EQ(ini.ReadString(S("proxy"), S("server"), S("")), S("evil [files]  file0=/x"));
    EXPECT_FALSE(ini.SectionExists(S("files")));
    ini.WriteString(S("proxy"), S("nul"), QString(S("abc")).append(QChar(0)).append(S("def")));
    EXPECT_EQ(ini.ReadString(S("proxy"), S("nul"), S("")), S("abc"));
}

TEST_F(IniFileTest, UnicodeRoundTrip) {
    const QString path = env.path(QStringLiteral("u.ini"));
    TIniFile ini(path);
    const QString value = S("Grüße 日本語 😀 €");
    ini.WriteString(S("Größe"), S("Schlüssel"), value);
    EXPECT_EQ(TIniFile(path).ReadString(S("größe"), S("schlüssel"), S("")), value);
    EXPECT_EQ(readAll(path), S("[Größe]\nSchlüssel=Grüße 日本語 😀 €\n").toUtf8());
}

TEST_F(IniFileTest, ReadsUtf16LittleEndianWithBom) {
    TIniFile ini(copyFixture(QStringLiteral("utf16le_bom.ini")));
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("name"), S("")), S("Müller €"));
    EXPECT_EQ(ini.ReadInteger(S("allgemein"), S("zahl"), 0), 16465);
    EXPECT_EQ(ini.ReadString(S("zweite"), S("schlüssel"), S("")), S("日本語 😀"));
}

TEST_F(IniFileTest, ReadsUtf16BigEndianWithBom) {
    TIniFile ini(copyFixture(QStringLiteral("utf16be_bom.ini")));
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("name"), S("")), S("Müller €"));
    EXPECT_EQ(ini.ReadString(S("zweite"), S("schlüssel"), S("")), S("日本語 😀"));
}

TEST_F(IniFileTest, ReadsUtf8WithBom) {
    TIniFile ini(copyFixture(QStringLiteral("utf8_bom.ini")));
    EXPECT_EQ(ini.ReadSections().value(0), S("Allgemein")); // the BOM is no part of the name
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("name"), S("")), S("Müller €"));
}

TEST_F(IniFileTest, ReadsWindows1252WhenNotUtf8) {
    TIniFile ini(copyFixture(QStringLiteral("cp1252.ini")));
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("name"), S("")), S("Müller €"));
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("zitat"), S("")), S("“Hallo”"));
    EXPECT_EQ(ini.ReadString(S("allgemein"), S("leer"), S("")), QString(QChar(0x81)));
}

TEST_F(IniFileTest, WritingConvertsTheWholeFileToUtf8WithoutBom) {
    for (const char* name : {"utf16le_bom.ini", "utf16be_bom.ini", "utf8_bom.ini"}) {
        const QString path = copyFixture(QString::fromLatin1(name));
        TIniFile(path).WriteString(S("zweite"), S("neu"), S("ä"));
        EXPECT_EQ(readAll(path),
                  S("; Kommentar\r\n[Allgemein]\r\nName = Müller €\r\nZahl=0x4051\r\n"
                    "\r\n[Zweite]\r\nSchlüssel=日本語 😀\r\nneu=ä\r\n")
                      .toUtf8())
            << name;
    }
    const QString path = copyFixture(QStringLiteral("cp1252.ini"));
    TIniFile(path).WriteString(S("allgemein"), S("leer"), S("x"));
    EXPECT_EQ(readAll(path),
              S("[Allgemein]\r\nName=Müller €\r\nZitat=“Hallo”\r\nLeer=x\r\n").toUtf8());
}

TEST_F(IniFileTest, CarriageReturnOnlyLineEnds) {
    const QString path = copyFixture(QStringLiteral("cr_only.ini"));
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(S("a"), S("x"), 0), 1);
    EXPECT_EQ(ini.ReadInteger(S("b"), S("y"), 0), 2);
    ini.WriteString(S("a"), S("z"), S("3"));
    EXPECT_EQ(readAll(path), QByteArray("[a]\rx=1\rz=3\r\r[b]\ry=2"));
}

TEST_F(IniFileTest, NulBytesEndAValue) {
    TIniFile ini(write(QByteArray("[s]\nk=ab\0cd\n\0weird=1\nj=2\n", 25)));
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("")), S("ab"));
    EXPECT_EQ(ini.ReadInteger(S("s"), S("j"), 0), 2);
}

TEST_F(IniFileTest, ReadValueIsAtMost2047Characters) {
    const QByteArray huge(3 * 1024 * 1024, 'x');
    TIniFile ini(write("[s]\nk=" + huge + "\nj=1\n"));
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("")).size(), 2047);
    EXPECT_EQ(ini.ReadSectionEntries(S("s")).value(0).Value.size(), 2047);
    EXPECT_EQ(ini.ReadInteger(S("s"), S("j"), 0), 1);
}

TEST_F(IniFileTest, CutValueDoesNotEndInHalfASurrogatePair) {
    const QByteArray value = QByteArray(2046, 'a') + S("😀").toUtf8() + "tail";
    TIniFile ini(write("[s]\nk=" + value + "\n"));
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("")), QString(2046, QLatin1Char('a')));
}

TEST_F(IniFileTest, SeesChangesMadeThroughAnotherObject) {
    const QString path = write("[s]\nk=1\n");
    TIniFile reader(path);
    EXPECT_EQ(reader.ReadInteger(S("s"), S("k"), 0), 1);
    TIniFile(path).WriteInteger(S("s"), S("k"), 2);
    EXPECT_EQ(reader.ReadInteger(S("s"), S("k"), 0), 2);
    write("[s]\nk=3\n"); // an edit in place by someone else
    EXPECT_EQ(reader.ReadInteger(S("s"), S("k"), 0), 3);
    QFile::remove(path);
    EXPECT_EQ(reader.ReadInteger(S("s"), S("k"), 0), 0);
}

TEST_F(IniFileTest, WriteReplacesTheFileAtomically) {
    const QString path = write("[s]\nk=1\n");
    struct stat before, after;
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
    TIniFile(path).WriteInteger(S("s"), S("k"), 2);
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
    EXPECT_NE(before.st_ino, after.st_ino); // a new file took the old one's name
    EXPECT_EQ(QDir(env.root()).entryList(QDir::Files), QStringList({S("test.ini")}));
}

TEST_F(IniFileTest, FailedWriteRaisesWithThePath) {
    const QString blocker = write("not a folder", QStringLiteral("blocker"));
    const QString path = blocker + QStringLiteral("/config.ini");
    TIniFile ini(path);
    try {
        ini.WriteString(S("s"), S("k"), S("v"));
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), S("In ") + path + S(" kann nicht geschrieben werden"));
        EXPECT_STREQ(e.ClassName(), "EIniFileException");
    }
    EXPECT_EQ(readAll(blocker), QByteArray("not a folder"));
}

TEST_F(IniFileTest, FolderInPlaceOfTheFile) {
    const QString path = env.path(QStringLiteral("dir.ini"));
    QDir().mkpath(path);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("d")), S("d"));
    EXPECT_THROW(ini.WriteString(S("s"), S("k"), S("v")), EIniFileException);
    EXPECT_THROW(ini.DeleteKey(S("s"), S("k")), EIniFileException);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

TEST_F(IniFileTest, FifoIsNotReadAndNotReplaced) {
    const QString path = env.path(QStringLiteral("fifo.ini"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadString(S("s"), S("k"), S("d")), S("d")); // does not block
    EXPECT_THROW(ini.WriteString(S("s"), S("k"), S("v")), EIniFileException);
}

TEST_F(IniFileTest, OversizedFileIsNeitherReadNorOverwritten) {
    const QString path = write("[s]\nk=1\n");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.resize(TIniFile::MaxFileSize + 1)); // sparse: costs no disk space
    }
    TIniFile ini(path);
    EXPECT_EQ(ini.ReadInteger(S("s"), S("k"), 0), 0);
    EXPECT_THROW(ini.WriteInteger(S("s"), S("k"), 2), EIniFileException);
    EXPECT_EQ(QFileInfo(path).size(), TIniFile::MaxFileSize + 1);
}

TEST(Utf8Validation, RejectsWhatWindows1252MustDecode) {
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("\xC3\xA4\xE2\x82\xAC\xF0\x9F\x98\x80"));
    EXPECT_FALSE(IsValidUtf8("\xC0\x80"));         // overlong NUL
    EXPECT_FALSE(IsValidUtf8("\xE0\x80\xAF"));     // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));     // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(IsValidUtf8("\xC3"));             // truncated
    EXPECT_FALSE(IsValidUtf8("M\xFCller"));
    EXPECT_EQ(DecodeTextFile("\xC0\x80"), S("À€"));
    const char16_t expected[] = {0x20AC, 0x0160, 0x0178, 0x00A0, 0x00FF};
    EXPECT_EQ(DecodeWindows1252("\x80\x8A\x9F\xA0\xFF"), QString::fromUtf16(expected, 5));
}

TEST(Utf8Validation, OddUtf16TailIsDropped) {
    EXPECT_EQ(DecodeTextFile(QByteArray("\xFF\xFE"
                                        "a\0b",
                                        5)),
              S("a"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\xFE\xFF\0a\0", 5)), S("a"));
    EXPECT_EQ(DecodeTextFile(QByteArray("\xFF\xFE", 2)), S(""));
}

} // namespace
