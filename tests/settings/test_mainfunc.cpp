#include "language/language.h"
#include "settings/mainfunc.h"
#include "settings/printers.h"
#include "support/testenv.h"

#include <QDir>
#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

TEST(MainFunc, VersionComesFromTheBuild) {
    EXPECT_EQ(TMainFunc().GetProgramVersion(), S("1.0.1.0"));
}

TEST(MainFunc, PerUserFilesLiveInXdgConfigHome) {
    TestEnv env;
    const QString folder = env.configDir() + S("/Phrasora/");
    EXPECT_EQ(TMainFunc().GetConfigFile(), folder + S("config.ini"));
    EXPECT_EQ(TMainFunc().GetHistoryFile(), folder + S("history.dat"));
    EXPECT_EQ(TMainFunc().GetQuickFile(), folder + S("quick.ini"));
    EXPECT_EQ(TMainFunc().GetUserFolder(), folder);
}

TEST(MainFunc, FirstRunCreatesTheFolderWithItsParentsButNoFile) {
    TestEnv env;
    const QString base = env.path(S("deep/er/config"));
    qputenv("XDG_CONFIG_HOME", base.toLocal8Bit());
    const QString path = TMainFunc().GetConfigFile();
    EXPECT_EQ(path, base + S("/Phrasora/config.ini"));
    EXPECT_TRUE(QFileInfo(base + S("/Phrasora")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(MainFunc, DefaultsToDotConfigInHome) {
    TestEnv env;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", env.path(S("home")).toLocal8Bit());
    qunsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(TMainFunc().GetHistoryFile(),
              env.path(S("home")) + S("/.config/Phrasora/history.dat"));
    EXPECT_TRUE(QFileInfo(env.path(S("home/.config/Phrasora"))).isDir());
    qputenv("HOME", oldHome);
}

TEST(MainFunc, RelativeXdgConfigHomeIsIgnored) {
    TestEnv env;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", env.path(S("home")).toLocal8Bit());
    qputenv("XDG_CONFIG_HOME", "relative/config");
    EXPECT_EQ(TMainFunc().GetConfigFile(), env.path(S("home")) + S("/.config/Phrasora/config.ini"));
    qputenv("XDG_CONFIG_HOME", (env.configDir() + S("//")).toLocal8Bit());
    EXPECT_EQ(TMainFunc().GetConfigFile(), env.configDir() + S("/Phrasora/config.ini"));
    qputenv("HOME", oldHome);
}

TEST(MainFunc, FolderThatCannotBeCreatedIsSilent) {
    TestEnv env;
    const QString blocker = env.writeFile(S("blocker"), "a file");
    qputenv("XDG_CONFIG_HOME", blocker.toLocal8Bit());
    EXPECT_EQ(TMainFunc().GetQuickFile(), blocker + S("/Phrasora/quick.ini"));
}

TEST(MainFunc, LanguageFileIsTheCurrentChoice) {
    TestEnv env;
    EXPECT_EQ(TMainFunc().GetLanguageFile(), TLangfileHandling().GetCurrentFile());
    EXPECT_EQ(TMainFunc().GetLanguageFile(), env.programDir() + S("/lang/english.lng"));
}

} // namespace
