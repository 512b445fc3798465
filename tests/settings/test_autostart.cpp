#include "platform/autostart.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

struct timespec changeTime(const QString& path, ino_t* inode) {
    struct stat st {};
    ::stat(QFile::encodeName(path).constData(), &st);
    *inode = st.st_ino;
    return st.st_mtim;
}

TEST(Autostart, EntryLivesInTheXdgAutostartFolder) {
    TestEnv env;
    EXPECT_EQ(TAutostartEntry(S("Phrasora")).FilePath(),
              env.configDir() + S("/autostart/Phrasora.desktop"));
}

TEST(Autostart, WritesADesktopEntry) {
    TestEnv env;
    const TAutostartEntry entry(S("Phrasora"));
    entry.Write(S("/opt/Phrasora/bin/phrasora"), {S("-m")});
    EXPECT_EQ(readAll(entry.FilePath()), QByteArray("[Desktop Entry]\n"
                                                    "Type=Application\n"
                                                    "Name=Phrasora\n"
                                                    "Exec=\"/opt/Phrasora/bin/phrasora\" -m\n"
                                                    "Terminal=false\n"
                                                    "X-GNOME-Autostart-enabled=true\n"));
    entry.Delete();
    EXPECT_FALSE(entry.Exists());
    entry.Delete(); // a missing entry is no error
}

TEST(Autostart, ExecLineQuotesAsTheDesktopEntrySpecSays) {
    EXPECT_EQ(TAutostartEntry::ExecLine(S("/a b/p"), {S("-m")}), S("\"/a b/p\" -m"));
    EXPECT_EQ(TAutostartEntry::ExecLine(S("/x\"y`z$w\\v"), {}), S("\"/x\\\"y\\`z\\$w\\\\v\""));
    EXPECT_EQ(TAutostartEntry::ExecLine(S("/100%/p"), {S("50%")}), S("\"/100%%/p\" 50%%"));
    EXPECT_EQ(TAutostartEntry::ExecLine(S("/p"), {S("two words"), S("")}),
              S("\"/p\" \"two words\" \"\""));
}

TEST(Autostart, StringEscapesComeOnTopOfTheQuoting) {
    TestEnv env;
    const TAutostartEntry entry(S("Phrasora"));
    const QString text = entry.DesktopEntry(S("/a\\b/new\nline/ä"), {S("-m")});
    // One literal backslash in a quoted argument is four in the file.
    EXPECT_TRUE(text.contains(S("\nExec=\"/a\\\\\\\\b/new\\nline/ä\" -m\n"))) << qPrintable(text);
}

TEST(Autostart, UnchangedEntryIsNotRewritten) {
    TestEnv env;
    const TAutostartEntry entry(S("Phrasora"));
    entry.Write(S("/p"), {S("-m")});
    ino_t before = 0, after = 0;
    const timespec first = changeTime(entry.FilePath(), &before);
    entry.Write(S("/p"), {S("-m")});
    const timespec second = changeTime(entry.FilePath(), &after);
    EXPECT_EQ(after, before);
    EXPECT_EQ(second.tv_sec, first.tv_sec);
    EXPECT_EQ(second.tv_nsec, first.tv_nsec);
    entry.Write(S("/q"), {S("-m")});
    EXPECT_TRUE(readAll(entry.FilePath()).contains("Exec=\"/q\" -m\n"));
}

TEST(Autostart, FailedWriteRaisesRegistryError) {
    TestEnv env;
    env.writeFile(S("config/autostart"), "a file, not a folder");
    try {
        TAutostartEntry(S("Phrasora")).Write(S("/p"), {S("-m")});
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), S("Fehler beim Setzen der Daten für 'Phrasora'"));
        EXPECT_STREQ(e.ClassName(), "ERegistryException");
    }
    TAutostartEntry(S("Phrasora")).Delete(); // silent
}

} // namespace
