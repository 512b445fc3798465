#include "dialogs/dialogtest.h"
#include "dialogs/hotkeyedit.h"
#include "dialogs/messages.h"
#include "dialogs/properties.h"
#include "platform/fake/fakeservices.h"
#include "platform/inifile.h"
#include "settings/mainfunc.h"
#include "settings/properties_handling.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QTabWidget>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct Box {
    TMessageKind kind;
    QString text;
};

class PropertiesTest : public ::testing::Test {
protected:
    void SetUp() override {
        Messages::SetInterceptor([this](TMessageKind kind, const QString& text, int) {
            boxes.append({kind, text});
            return answer;
        });
        FileDialogs::SetInterceptor([this](bool save) {
            EXPECT_FALSE(save);
            return chosenFile;
        });
    }
    void TearDown() override {
        Messages::SetInterceptor({});
        FileDialogs::SetInterceptor({});
        Help::SetInterceptor({});
        Help::SetHelpFile({});
    }

    QString archive(const char* name) { return env.writeFile(QLatin1String(name), "<archive/>"); }
    QString configFile() const { return TMainFunc().GetConfigFile(); }
    static QStringList rows(const TProperties& d) {
        QStringList paths;
        for (int r = 0; r < d.lsArchives->rowCount(); ++r)
            paths << d.lsArchives->item(r, 0)->text();
        return paths;
    }
    static void select(TProperties& d, int row) { d.lsArchives->selectRow(row); }

    TestEnv env{false}; // no language file: the compiled-in texts
    TFakeMail mail;
    QList<Box> boxes;
    bool answer = true;
    QString chosenFile;
};

} // namespace

TEST_F(PropertiesTest, DefaultSettingsAreShownAsDesigned) {
    WhenShown<TProperties>([](TProperties& d) {
        Screenshot(d, "properties1");
        EXPECT_TRUE(d.windowTitle().startsWith(QStringLiteral("Phrasora - ")));
        EXPECT_EQ(d.pMain->currentIndex(), 0);
        EXPECT_EQ(d.pMain->tabText(0), QStringLiteral("Allgemein"));
        EXPECT_EQ(d.pMain->tabText(1), QStringLiteral("Verwendete Archive"));
        EXPECT_EQ(d.hQuick->HotKey(), 16465);
        EXPECT_EQ(d.hQuick->text(), QStringLiteral("Ctrl+Q"));
        EXPECT_EQ(d.hView->HotKey(), 16462);
        EXPECT_EQ(d.hView->text(), QStringLiteral("Ctrl+N"));
        EXPECT_TRUE(d.chkShowSplash->isChecked());
        EXPECT_FALSE(d.chkWinStart->isChecked());
        EXPECT_TRUE(d.chkProxyDefault->isChecked());
        EXPECT_FALSE(d.chkProxyElse->isChecked());
        for (QWidget* w : {static_cast<QWidget*>(d.TntLabel3), static_cast<QWidget*>(d.Server),
                           static_cast<QWidget*>(d.TntLabel4), static_cast<QWidget*>(d.Port)})
            EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
        EXPECT_EQ(d.Port->text(), QStringLiteral("8080"));
        EXPECT_EQ(d.lsArchives->rowCount(), 0);
        EXPECT_EQ(d.lsArchives->horizontalHeaderItem(0)->text(), QStringLiteral("Dateiname"));
        EXPECT_TRUE(d.cmdOk->isDefault());
        d.pMain->setCurrentIndex(1);
        Screenshot(d, "properties2");
        d.cmdAbort->click();
    });
    EXPECT_FALSE(ShowProperties(&mail, nullptr));
    // Reading never creates the file.
    EXPECT_FALSE(QFileInfo::exists(configFile()));
}

TEST_F(PropertiesTest, OkStoresEveryChangeInConfigIni) {
    const QString first = archive("a/Erste.phr"), second = archive("a/Zweite.phr");
    chosenFile = archive("b/Dritte.phr");
    {
        TPropertiesHandling settings;
        settings.Properties.QuickMenuKey = 0; // no hot key: the editor starts at Alt+A
        settings.Properties.UsedDocuments = {first, second};
        settings.SaveSettings();
    }
    WhenShown<TProperties>([&](TProperties& d) {
        EXPECT_EQ(d.hQuick->HotKey(), 32833);
        EXPECT_EQ(rows(d), (QStringList{first, second}));
        QTest::keyClick(d.hQuick, Qt::Key_K, Qt::ControlModifier | Qt::ShiftModifier);
        d.chkShowSplash->setChecked(false);
        d.chkProxyElse->click();
        EXPECT_TRUE(d.Server->isEnabled());
        EXPECT_TRUE(d.Port->isEnabled());
        d.Server->setText(QStringLiteral("proxy.local"));
        d.Port->setText(QStringLiteral("3128"));
        select(d, 0);
        d.cmdDel->click();
        d.cmdAdd->click();
        EXPECT_EQ(rows(d), (QStringList{second, chosenFile}));
        d.cmdOk->click();
    });
    EXPECT_TRUE(ShowProperties(&mail, nullptr));
    ASSERT_EQ(boxes.size(), 1); // the question before removing
    EXPECT_EQ(boxes.first().kind, TMessageKind::Confirmation);

    TPropertiesHandling stored;
    const TProperties_& p = stored.Properties;
    EXPECT_EQ(p.QuickMenuKey, 0x4000 | 0x2000 | 'K');
    EXPECT_EQ(p.ViewKey, 16462);
    EXPECT_FALSE(p.ShowSplash);
    EXPECT_FALSE(p.ProxyUseDefault);
    EXPECT_TRUE(p.ProxyCustom);
    EXPECT_EQ(p.ProxyServer, QStringLiteral("proxy.local"));
    EXPECT_EQ(p.ProxyPort, 3128);
    EXPECT_EQ(p.UsedDocuments, (QStringList{second, chosenFile}));
}

TEST_F(PropertiesTest, RemovingEveryArchiveLeavesTheFilesSectionEmpty) {
    {
        TPropertiesHandling settings;
        settings.Properties.UsedDocuments = {archive("x.phr"), archive("y.phr")};
        settings.SaveSettings();
    }
    WhenShown<TProperties>([](TProperties& d) {
        while (d.lsArchives->rowCount() > 0) {
            select(d, 0);
            d.cmdDel->click();
        }
        d.cmdOk->click();
    });
    ShowProperties(&mail, nullptr);
    EXPECT_TRUE(TIniFile(configFile()).ReadSection(QStringLiteral("files")).isEmpty());
}

TEST_F(PropertiesTest, EveryWayOutButOkDiscardsTheChanges) {
    const QString kept = archive("kept.phr");
    chosenFile = archive("added.phr");
    {
        TPropertiesHandling settings;
        settings.Properties.UsedDocuments = {kept};
        settings.SaveSettings();
    }
    const QByteArray before = readAll(configFile());
    const std::function<void(TProperties&)> ways[] = {
        [](TProperties& d) { d.cmdAbort->click(); },
        [](TProperties& d) { QTest::keyClick(d.Server, Qt::Key_Escape); },
        // Escape in the hot-key editor is not a hot key: it closes too.
        [](TProperties& d) { QTest::keyClick(d.hView, Qt::Key_Escape); },
        [](TProperties& d) { d.close(); },
    };
    for (const auto& leave : ways) {
        WhenShown<TProperties>([&](TProperties& d) {
            d.cmdAdd->click();
            d.chkWinStart->setChecked(true);
            QTest::keyClick(d.hQuick, Qt::Key_F5, Qt::ControlModifier);
            leave(d);
        });
        EXPECT_FALSE(ShowProperties(&mail, nullptr));
        EXPECT_EQ(readAll(configFile()), before);
    }
    EXPECT_EQ(TPropertiesHandling().Properties.UsedDocuments, QStringList{kept});
}

TEST_F(PropertiesTest, APortThatIsNoNumberIsReportedAndNothingIsStored) {
    for (const char* text : {"", "80a", "99999999999"}) {
        boxes.clear();
        WhenShown<TProperties>([&](TProperties& d) {
            d.chkProxyElse->click();
            d.Port->setText(QLatin1String(text));
            d.cmdOk->click();
            EXPECT_TRUE(d.isVisible()) << text;
            d.cmdAbort->click();
        });
        EXPECT_FALSE(ShowProperties(&mail, nullptr));
        ASSERT_EQ(boxes.size(), 1) << text;
        EXPECT_EQ(boxes.first().kind, TMessageKind::Stop);
        EXPECT_TRUE(boxes.first().text.startsWith(QStringLiteral("'") + QLatin1String(text) +
                                                  QStringLiteral("' ")))
            << boxes.first().text.toStdString();
        EXPECT_FALSE(QFileInfo::exists(configFile()));
    }
}

TEST_F(PropertiesTest, AFailedSaveIsReportedAndTheDialogStaysOpen) {
    QDir().mkpath(configFile()); // a folder where the file should be
    WhenShown<TProperties>([](TProperties& d) {
        d.cmdOk->click();
        EXPECT_TRUE(d.isVisible());
        d.cmdAbort->click();
    });
    EXPECT_FALSE(ShowProperties(&mail, nullptr));
    ASSERT_EQ(boxes.size(), 1);
    EXPECT_EQ(boxes.first().kind, TMessageKind::Stop);
    EXPECT_TRUE(boxes.first().text.contains(configFile()));
}

TEST_F(PropertiesTest, AddingChecksForTheSameFileAndForExistence) {
    const QString listed = archive("dir/Briefe.phr");
    // Another letter case is another file on this system.
    const QString otherCase = archive("dir/briefe.phr");
    struct Case {
        QString chosen;
        bool informed;
        bool added;
    } cases[] = {
        {listed, true, false},     {env.path(QStringLiteral("dir/../dir/Briefe.phr")), true, false},
        {otherCase, false, true},  {env.path(QStringLiteral("dir/missing.phr")), false, false},
        {QString(), false, false}, // the dialog was cancelled
    };
    for (const Case& c : cases) {
        boxes.clear();
        // The first pick puts `listed` into the list, the second is the case.
        FileDialogs::SetInterceptor([&, first = true](bool) mutable {
            const QString path = first ? listed : c.chosen;
            first = false;
            return path;
        });
        int added = -1;
        WhenShown<TProperties>([&](TProperties& d) {
            d.cmdAdd->click();
            const int before = d.lsArchives->rowCount();
            d.cmdAdd->click();
            added = d.lsArchives->rowCount() - before;
            d.cmdAbort->click();
        });
        ShowProperties(&mail, nullptr);
        EXPECT_EQ(added, c.added ? 1 : 0) << c.chosen.toStdString();
        ASSERT_EQ(boxes.size(), c.informed ? 1 : 0) << c.chosen.toStdString();
        if (c.informed) {
            EXPECT_EQ(boxes.first().kind, TMessageKind::Information);
        }
    }
}

TEST_F(PropertiesTest, RemovingAsksFirstAndSendingMailsTheSelectedFile) {
    const QString a = archive("a.phr"), b = archive("b.phr");
    {
        TPropertiesHandling settings;
        settings.Properties.UsedDocuments = {a, b};
        settings.SaveSettings();
    }
    WhenShown<TProperties>([&](TProperties& d) {
        // Nothing selected: no question, no mail.
        d.lsArchives->clearSelection();
        d.cmdDel->click();
        d.cmdSendTo->click();
        EXPECT_TRUE(boxes.isEmpty());
        EXPECT_TRUE(mail.sent.isEmpty());

        select(d, 1);
        d.cmdSendTo->click();
        answer = false;
        d.cmdDel->click();
        EXPECT_EQ(rows(d), (QStringList{a, b}));
        answer = true;
        d.cmdDel->click();
        EXPECT_EQ(rows(d), QStringList{a});

        // A listed file that has gone is not sent.
        select(d, 0);
        QFile::remove(a);
        d.cmdSendTo->click();
        d.cmdAbort->click();
    });
    ShowProperties(&mail, nullptr);
    ASSERT_EQ(mail.sent.size(), 1);
    EXPECT_EQ(mail.sent.first().attachmentPath, MailForFile(b).attachmentPath);
    EXPECT_EQ(mail.sent.first().subject, MailForFile(b).subject);
    EXPECT_EQ(boxes.size(), 2);
}

TEST_F(PropertiesTest, TheProxyChoiceFollowsBothFlags) {
    struct Case {
        bool useDefault, custom;
        bool defaultChosen, customChosen;
    } cases[] = {
        {true, false, true, false},
        {false, true, false, true},
        {true, true, false, true}, // the second flag wins
        {false, false, false, false},
    };
    for (const Case& c : cases) {
        {
            TPropertiesHandling settings;
            settings.Properties.ProxyUseDefault = c.useDefault;
            settings.Properties.ProxyCustom = c.custom;
            settings.SaveSettings();
        }
        WhenShown<TProperties>([&](TProperties& d) {
            EXPECT_EQ(d.chkProxyDefault->isChecked(), c.defaultChosen);
            EXPECT_EQ(d.chkProxyElse->isChecked(), c.customChosen);
            EXPECT_EQ(d.Server->isEnabled(), c.customChosen);
            EXPECT_EQ(d.Port->isEnabled(), c.customChosen);
            // The two stay a pair of choices afterwards.
            d.chkProxyDefault->click();
            EXPECT_FALSE(d.chkProxyElse->isChecked());
            EXPECT_FALSE(d.Port->isEnabled());
            d.cmdAbort->click();
        });
        ShowProperties(&mail, nullptr);
    }
}

TEST_F(PropertiesTest, F1OpensTheSettingsHelp) {
    Help::SetHelpFile(env.writeFile(QStringLiteral("help.html"), "<html></html>"));
    QList<int> contexts;
    Help::SetInterceptor([&](const QString&, int context) { contexts << context; });
    WhenShown<TProperties>([](TProperties& d) {
        QTest::keyClick(d.hQuick, Qt::Key_F1);
        QTest::keyClick(d.Server, Qt::Key_F1);
        d.cmdAbort->click();
    });
    ShowProperties(&mail, nullptr);
    EXPECT_EQ(contexts, (QList<int>{120, 120}));
}

TEST(HotKeyEdit, TypedCombinationsGiveTheStoredCode) {
    struct Case {
        int key;
        Qt::KeyboardModifiers mods;
        int expected;
    } cases[] = {
        {Qt::Key_Q, Qt::ControlModifier, 16465},
        {Qt::Key_N, Qt::ControlModifier, 16462},
        // Without Ctrl or Alt, Alt is added: no plain letter as a hot key.
        {Qt::Key_A, Qt::NoModifier, 32833},
        {Qt::Key_A, Qt::ShiftModifier, 0x8000 | 0x2000 | 'A'},
        {Qt::Key_F5, Qt::ControlModifier | Qt::AltModifier, 0x4000 | 0x8000 | 0x74},
        {Qt::Key_5, Qt::ControlModifier | Qt::KeypadModifier, 0x4000 | 0x65},
        {Qt::Key_Home, Qt::ControlModifier, 0x4000 | 0x24},
        // Shift+1 arrives as "!": the code names the key.
        {Qt::Key_Exclam, Qt::ControlModifier | Qt::ShiftModifier, 0x4000 | 0x2000 | '1'},
        {Qt::Key_Semicolon, Qt::ControlModifier, 0x4000 | 0xBA},
        // Backspace and Delete alone clear the hot key.
        {Qt::Key_Backspace, Qt::NoModifier, 0},
        {Qt::Key_Delete, Qt::NoModifier, 0},
        // A modifier alone, Escape, Enter and keys without a code change nothing.
        {Qt::Key_Control, Qt::ControlModifier, 12345},
        {Qt::Key_Escape, Qt::NoModifier, 12345},
        {Qt::Key_Return, Qt::NoModifier, 12345},
        {Qt::Key_Adiaeresis, Qt::ControlModifier, 12345},
    };
    for (const Case& c : cases) {
        THotKeyEdit edit;
        edit.SetHotKey(12345);
        QTest::keyClick(&edit, Qt::Key(c.key), c.mods);
        EXPECT_EQ(edit.HotKey(), c.expected) << "key " << std::hex << c.key;
    }
}

TEST(HotKeyEdit, CodesReadAsShortcutTextsAndEveryKeyMapsBack) {
    EXPECT_EQ(THotKeyEdit::ShortcutText(16465), QStringLiteral("Ctrl+Q"));
    EXPECT_EQ(THotKeyEdit::ShortcutText(32833), QStringLiteral("Alt+A"));
    EXPECT_EQ(THotKeyEdit::ShortcutText(0x4000 | 0x2000 | 0x70), QStringLiteral("Ctrl+Shift+F1"));
    EXPECT_EQ(THotKeyEdit::ShortcutText(0x07), QString()); // no such key
    THotKeyEdit edit;
    edit.SetHotKey(0);
    EXPECT_FALSE(edit.text().isEmpty()); // "None" rather than a blank field

    for (int vk = 1; vk < 256; ++vk) {
        bool keypad = false;
        const int key = THotKeyEdit::QtKeyFromVirtualKey(vk, &keypad);
        if (key != 0) {
            EXPECT_EQ(THotKeyEdit::VirtualKeyFromQtKey(key, keypad), vk) << "vk " << vk;
        }
    }
}

TEST(HotKeyEdit, ACombinationTypedIntoItIsNoShortcutOfTheProgram) {
    QWidget window;
    auto* edit = new THotKeyEdit(&window);
    int fired = 0;
    auto* quit = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), &window);
    quit->setContext(Qt::ApplicationShortcut);
    QObject::connect(quit, &QShortcut::activated, [&] { ++fired; });
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();

    QTest::keyClick(edit, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(edit->HotKey(), 16465);
    EXPECT_EQ(fired, 0);
    // Elsewhere the shortcut works: the test can tell.
    auto* other = new QLineEdit(&window);
    other->show();
    other->setFocus();
    QTest::keyClick(other, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(fired, 1);
}
