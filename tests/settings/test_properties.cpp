#include "platform/autostart.h"
#include "platform/inifile.h"
#include "platform/programfolder.h"
#include "settings/mainfunc.h"
#include "settings/printers.h"
#include "settings/properties_handling.h"
#include "support/testenv.h"

#include <QFileInfo>
#include <gtest/gtest.h>

namespace {

QString S(const char* utf8) {
    return QString::fromUtf8(utf8);
}

class PropertiesTest : public ::testing::Test {
protected:
    TestEnv env;

    QString configFile() const { return TMainFunc().GetConfigFile(); }
    QString autostartFile() const { return env.configDir() + S("/autostart/Phrasora.desktop"); }
    QString archive(const char* name) const {
        return env.writeFile(S("archives/") + S(name), "<archive/>");
    }
    void writeConfig(const QByteArray& text) const {
        env.writeFile(S("config/Phrasora/config.ini"), text);
    }
    QByteArray expectedAutostart() const {
        return "[Desktop Entry]\nType=Application\nName=Phrasora\nExec=\"" +
               ProgramFilePath().toUtf8() +
               "\" -m\nTerminal=false\nX-GNOME-Autostart-enabled=true\n";
    }
};

TEST_F(PropertiesTest, FreshUserGetsTheDefaultsAndNoFile) {
    env.writeFile(S("config/autostart/Phrasora.desktop"), "[Desktop Entry]\nExec=old -m\n");
    TPropertiesHandling props;
    const TProperties_& p = props.Properties;
    EXPECT_EQ(p.QuickMenuKey, 16465); // Ctrl+Q
    EXPECT_EQ(p.ViewKey, 16462);      // Ctrl+N
    EXPECT_TRUE(p.ShowSplash);
    EXPECT_FALSE(p.StartWithWindows);
    EXPECT_TRUE(p.ProxyUseDefault);
    EXPECT_FALSE(p.ProxyCustom);
    EXPECT_EQ(p.ProxyServer, S(""));
    EXPECT_EQ(p.ProxyPort, 8080);
    EXPECT_TRUE(p.UsedDocuments.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(configFile()));    // reading creates nothing
    EXPECT_TRUE(QFileInfo(env.userDir()).isDir());    // but the folder is there
    EXPECT_FALSE(QFileInfo::exists(autostartFile())); // the old entry is gone
}

TEST_F(PropertiesTest, ReadsAFileWrittenByWindows) {
    env.writeFile(S("config/Phrasora/config.ini"), readAll(fixture(S("ini/config_windows.ini"))));
    TPropertiesHandling props;
    const TProperties_& p = props.Properties;
    EXPECT_EQ(p.QuickMenuKey, 16465); // 0x4051
    EXPECT_EQ(p.ViewKey, 0);          // off
    EXPECT_FALSE(p.ShowSplash);
    EXPECT_FALSE(p.ProxyUseDefault);
    EXPECT_TRUE(p.ProxyCustom);
    EXPECT_EQ(p.ProxyServer, S("proxy.example.com"));
    EXPECT_EQ(p.ProxyPort, 8080);           // $1F90
    EXPECT_TRUE(p.UsedDocuments.isEmpty()); // C:\Archive\Kunden.phr does not exist here
}

TEST_F(PropertiesTest, HotKeysAreCutTo16BitsAndGarbageGivesDefaults) {
    writeConfig("[hotkeys]\nquickmenu=70000\nview=-1\n[misc]\nshowplash=yes\nstartwithwin=\n"
                "[proxy]\nusedefault=0x0\ncustom=5\nport=80 80\n");
    TPropertiesHandling props;
    const TProperties_& p = props.Properties;
    EXPECT_EQ(p.QuickMenuKey, 70000 & 0xFFFF);
    EXPECT_EQ(p.ViewKey, 0xFFFF);
    EXPECT_TRUE(p.ShowSplash);        // unreadable: default
    EXPECT_FALSE(p.StartWithWindows); // empty: default
    EXPECT_FALSE(p.ProxyUseDefault);
    EXPECT_TRUE(p.ProxyCustom); // not 0
    EXPECT_EQ(p.ProxyPort, 8080);
}

TEST_F(PropertiesTest, UsedArchivesKeepOnlyExistingFilesInFileOrder) {
    const QString a = archive("a.phr"), c = archive("c=d.phr"), e = archive("e.phr");
    const QString gone = env.path(S("archives/gone.phr"));
    writeConfig("[files]\nfile0=" + a.toUtf8() + "\nfile1=" + gone.toUtf8() +
                "\nfile2=" + c.toUtf8() + "\n; " + e.toUtf8() + "\nx=" + e.toUtf8() +
                "\n[other]\nfile9=" + a.toUtf8() + "\n");
    TPropertiesHandling props;
    EXPECT_EQ(props.Properties.UsedDocuments, QStringList({a, c, e}));
}

TEST_F(PropertiesTest, SaveRenumbersTheFilesAndDropsTheOldKeys) {
    const QString a = archive("a.phr"), c = archive("c.phr");
    const QString gone = env.path(S("archives/gone.phr"));
    writeConfig("[files]\nfile0=" + a.toUtf8() + "\nfile1=" + gone.toUtf8() +
                "\nfile2=" + c.toUtf8() + "\n");
    {
        TPropertiesHandling props;
        ASSERT_EQ(props.Properties.UsedDocuments, QStringList({a, c}));
        props.SaveSettings();
    }
    TIniFile ini(configFile());
    EXPECT_EQ(ini.ReadSection(S("files")), QStringList({S("file0"), S("file1")}));
    EXPECT_EQ(ini.ReadString(S("files"), S("file0"), S("")), a);
    EXPECT_EQ(ini.ReadString(S("files"), S("file1"), S("")), c);
}

TEST_F(PropertiesTest, SaveWritesEveryValueAndSkipsEmptyPaths) {
    const QString a = archive("a.phr"), b = archive("b.phr");
    {
        TPropertiesHandling props;
        TProperties_& p = props.Properties;
        p.QuickMenuKey = 32833;
        p.ViewKey = 0;
        p.ShowSplash = false;
        p.ProxyUseDefault = false;
        p.ProxyCustom = true;
        p.ProxyPort = 3128;
        p.UsedDocuments = {a, QString(), b};
        props.SaveSettings();
    }
    EXPECT_EQ(readAll(configFile()), "[hotkeys]\nquickmenu=32833\nview=0\n\n"
                                     "[misc]\nshowplash=0\nstartwithwin=0\n\n"
                                     "[proxy]\nusedefault=0\ncustom=1\nserver=\nport=3128\n\n"
                                     "[files]\nfile0=" +
                                         a.toUtf8() + "\nfile2=" + b.toUtf8() + "\n");
    TPropertiesHandling again;
    EXPECT_EQ(again.Properties.QuickMenuKey, 32833);
    EXPECT_EQ(again.Properties.ViewKey, 0);
    EXPECT_EQ(again.Properties.UsedDocuments, QStringList({a, b}));
}

TEST_F(PropertiesTest, SaveKeepsCommentsAndForeignKeys) {
    writeConfig("; my notes\n[misc]\nshowplash=1\nmine=keep\n[files]\nfile0=/gone.phr\n");
    TPropertiesHandling props;
    props.Properties.ShowSplash = false;
    props.SaveSettings();
    const QByteArray text = readAll(configFile());
    EXPECT_TRUE(text.startsWith("; my notes\n[misc]\nshowplash=0\nmine=keep\nstartwithwin=0\n"));
    EXPECT_FALSE(text.contains("gone"));
}

TEST_F(PropertiesTest, StartWithWindowsWritesTheAutostartEntry) {
    {
        TPropertiesHandling props;
        props.Properties.StartWithWindows = true;
        props.SaveSettings();
    }
    EXPECT_EQ(readAll(autostartFile()), expectedAutostart());
    EXPECT_TRUE(TIniFile(configFile()).ReadBool(S("misc"), S("startwithwin"), false));

    // The program moved: the next load writes the new path.
    env.writeFile(S("config/autostart/Phrasora.desktop"),
                  "[Desktop Entry]\nExec=\"/old/place\" -m\n");
    TPropertiesHandling load;
    EXPECT_EQ(readAll(autostartFile()), expectedAutostart());

    load.Properties.StartWithWindows = false;
    load.SaveSettings();
    EXPECT_FALSE(QFileInfo::exists(autostartFile()));
}

TEST_F(PropertiesTest, AutostartFailureStopsLoadingAndSaving) {
    writeConfig("[misc]\nstartwithwin=1\n[proxy]\nport=99\n");
    env.writeFile(S("config/autostart"), "a file, not a folder");
    try {
        TPropertiesHandling props;
        FAIL() << "no exception";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(e.Message(), S("Fehler beim Setzen der Daten für 'Phrasora'"));
    }

    // Saving: the values before the start-up entry are written, those after not.
    writeConfig("");
    TPropertiesHandling props;
    props.Properties.StartWithWindows = true;
    props.Properties.ProxyPort = 1234;
    EXPECT_THROW(props.SaveSettings(), ERegistryException);
    TIniFile ini(configFile());
    EXPECT_TRUE(ini.ReadBool(S("misc"), S("startwithwin"), false));
    EXPECT_FALSE(ini.ValueExists(S("proxy"), S("port")));
}

TEST_F(PropertiesTest, UnwritableSettingsRaiseTheIniError) {
    const QString blocker = env.writeFile(S("blocker"), "a file");
    TPropertiesHandling props(blocker + S("/config.ini"));
    try {
        props.SaveSettings();
        FAIL() << "no exception";
    } catch (const EIniFileException& e) {
        EXPECT_EQ(e.Message(), S("In ") + blocker + S("/config.ini kann nicht geschrieben werden"));
    }
}

TEST_F(PropertiesTest, ObjectsSeeOnlyWhatWasSavedBeforeTheyWereMade) {
    TPropertiesHandling early;
    {
        TPropertiesHandling writer;
        writer.Properties.ProxyServer = S("proxy.local");
        writer.SaveSettings();
    }
    EXPECT_EQ(early.Properties.ProxyServer, S(""));
    EXPECT_EQ(TPropertiesHandling().Properties.ProxyServer, S("proxy.local"));
}

} // namespace
