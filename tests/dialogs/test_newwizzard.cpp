#include "dialogs/dialogtest.h"
#include "dialogs/messages.h"
#include "dialogs/newwizzard.h"
#include "language/language.h"
#include "settings/mainfunc.h"
#include "settings/properties_handling.h"
#include "support/testenv.h"

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class NewWizzardTest : public ::testing::Test {
protected:
    void SetUp() override {
        FileDialogs::SetInterceptor([this](bool save) {
            EXPECT_TRUE(save);
            return chosenFile;
        });
    }
    void TearDown() override {
        FileDialogs::SetInterceptor({});
        Messages::SetInterceptor({});
        Help::SetInterceptor({});
        Help::SetHelpFile({});
    }

    TestEnv env{false}; // no language file: the compiled-in texts
    QString chosenFile;
};

TDocumentHeader untouchedHeader() {
    TDocumentHeader h;
    h.version = 7;
    h.caption = QStringLiteral("alt");
    h.readonly = true;
    return h;
}

} // namespace

TEST_F(NewWizzardTest, NextFollowsTheRequiredFieldOfEachPage) {
    WhenShown<TNewWizzard>([this](TNewWizzard& w) {
        Screenshot(w, "newwizzard1");
        EXPECT_TRUE(w.windowTitle().startsWith(QStringLiteral("Phrasora - ")));
        EXPECT_EQ(w.Page(), TNewWizzard::TPage::Basics);
        EXPECT_EQ(w.pages->currentIndex(), 0);
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("Schritt 1 von 2"));
        EXPECT_EQ(w.lblDesc->text(),
                  QStringLiteral("Bitte legen Sie die Archiv Grundeinstellungen fest."));
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Weiter"));
        EXPECT_TRUE(w.cmdBack->isHidden());
        EXPECT_FALSE(w.cmdNext->isEnabled());
        EXPECT_TRUE(w.tmrCheck->isActive());
        EXPECT_EQ(w.tmrCheck->interval(), 150);
        EXPECT_FALSE(w.chkDirectArchive->isChecked());
        EXPECT_TRUE(w.Filename->isReadOnly());

        // Typing a name enables Next within one tick; deleting it disables it.
        QTest::keyClicks(w.Bezeichnung, QStringLiteral("Briefe"));
        QTest::qWait(200);
        EXPECT_TRUE(w.cmdNext->isEnabled());
        w.Bezeichnung->clear();
        QTest::qWait(200);
        EXPECT_FALSE(w.cmdNext->isEnabled());
        w.Bezeichnung->setText(QStringLiteral("Briefe"));
        QTest::qWait(200);

        w.cmdNext->click();
        Screenshot(w, "newwizzard2");
        EXPECT_EQ(w.Page(), TNewWizzard::TPage::File);
        EXPECT_EQ(w.pages->currentIndex(), 1);
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("Schritt 2 von 2"));
        EXPECT_EQ(w.lblDesc->text(), QStringLiteral("Bitte wählen Sie eine Ausgabedatei."));
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Fertig"));
        EXPECT_FALSE(w.cmdBack->isHidden());
        // No file yet: Finish is off at once, not only after the next tick.
        EXPECT_FALSE(w.cmdNext->isEnabled());
        w.cmdNext->click();
        EXPECT_TRUE(w.isVisible());

        // A cancelled save dialog leaves the file name empty.
        chosenFile.clear();
        w.cmdSelFile->click();
        EXPECT_TRUE(w.Filename->text().isEmpty());
        chosenFile = env.path(QStringLiteral("Briefe.phr"));
        w.cmdSelFile->click();
        EXPECT_EQ(w.Filename->text(), chosenFile);
        QTest::qWait(200);
        EXPECT_TRUE(w.cmdNext->isEnabled());
        w.cmdAbort->click();
    });
    TDocumentHeader header;
    RunNewArchiveWizard(header, nullptr);
}

TEST_F(NewWizzardTest, BackAndForthKeepsTheTypedValuesAndFinishingFillsTheHeader) {
    chosenFile = env.path(QStringLiteral("Neu.phr"));
    WhenShown<TNewWizzard>([](TNewWizzard& w) {
        w.Bezeichnung->setText(QStringLiteral("Vorlagen"));
        w.Autor->setText(QStringLiteral("Anna"));
        w.Copyright->setText(QStringLiteral("(c) 2026"));
        w.cmdNext->click();
        w.cmdSelFile->click();
        w.cmdBack->click();
        EXPECT_EQ(w.Page(), TNewWizzard::TPage::Basics);
        EXPECT_TRUE(w.cmdBack->isHidden());
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Weiter"));
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("Schritt 1 von 2"));
        EXPECT_EQ(w.Bezeichnung->text(), QStringLiteral("Vorlagen"));
        EXPECT_EQ(w.Autor->text(), QStringLiteral("Anna"));
        EXPECT_EQ(w.Copyright->text(), QStringLiteral("(c) 2026"));
        EXPECT_TRUE(w.cmdNext->isEnabled());
        w.cmdNext->click();
        EXPECT_FALSE(w.Filename->text().isEmpty());
        EXPECT_TRUE(w.cmdNext->isEnabled());
        w.cmdNext->click();
    });
    TDocumentHeader header = untouchedHeader();
    const TDateTime before = NowDateTime();
    EXPECT_EQ(RunNewArchiveWizard(header, nullptr), chosenFile);
    EXPECT_EQ(header.version, 1);
    EXPECT_EQ(header.caption, QStringLiteral("Vorlagen"));
    EXPECT_EQ(header.author, QStringLiteral("Anna"));
    EXPECT_EQ(header.copyright, QStringLiteral("(c) 2026"));
    EXPECT_EQ(header.filename, chosenFile);
    EXPECT_FALSE(header.readonly);
    EXPECT_GE(header.created, before - 1.0 / 86400);
    EXPECT_LE(header.created, NowDateTime() + 1.0 / 86400);
    EXPECT_EQ(header.updated, header.created);
}

TEST_F(NewWizzardTest, EveryWayOutButFinishCancels) {
    chosenFile = env.path(QStringLiteral("Neu.phr"));
    const std::function<void(TNewWizzard&)> ways[] = {
        [](TNewWizzard& w) { w.cmdAbort->click(); },
        [](TNewWizzard& w) { QTest::keyClick(w.Filename, Qt::Key_Escape); },
        [](TNewWizzard& w) { w.close(); },
    };
    for (const auto& leave : ways) {
        WhenShown<TNewWizzard>([&](TNewWizzard& w) {
            w.Bezeichnung->setText(QStringLiteral("Vorlagen"));
            w.cmdNext->click();
            w.cmdSelFile->click();
            leave(w);
        });
        TDocumentHeader header = untouchedHeader();
        EXPECT_EQ(RunNewArchiveWizard(header, nullptr), QString());
        EXPECT_EQ(header.version, 7);
        EXPECT_EQ(header.caption, QStringLiteral("alt"));
        EXPECT_TRUE(header.readonly);
    }
}

TEST_F(NewWizzardTest, F1OpensTheWizardsHelp) {
    Help::SetHelpFile(env.writeFile(QStringLiteral("help.html"), "<html></html>"));
    QList<int> contexts;
    Help::SetInterceptor([&](const QString&, int context) { contexts << context; });
    WhenShown<TNewWizzard>([](TNewWizzard& w) {
        QTest::keyClick(w.Bezeichnung, Qt::Key_F1);
        w.cmdAbort->click();
    });
    TDocumentHeader header;
    RunNewArchiveWizard(header, nullptr);
    EXPECT_EQ(contexts, QList<int>{40});
}

TEST_F(NewWizzardTest, FinishingWithTheBoxCheckedAddsThePathToTheUsedArchivesEveryTime) {
    // The used list keeps only files that exist.
    chosenFile = env.writeFile(QStringLiteral("Neu.phr"), "<archive/>");
    for (int round = 0; round < 2; ++round) {
        WhenShown<TNewWizzard>([](TNewWizzard& w) {
            w.Bezeichnung->setText(QStringLiteral("Vorlagen"));
            w.cmdNext->click();
            w.cmdSelFile->click();
            w.chkDirectArchive->setChecked(true);
            w.cmdNext->click();
        });
        TDocumentHeader header;
        EXPECT_EQ(RunNewArchiveWizard(header, nullptr), chosenFile);
    }
    EXPECT_EQ(TPropertiesHandling().Properties.UsedDocuments,
              (QStringList{chosenFile, chosenFile}));

    // Unchecked, the list stays as it is.
    WhenShown<TNewWizzard>([](TNewWizzard& w) {
        w.Bezeichnung->setText(QStringLiteral("Andere"));
        w.cmdNext->click();
        w.cmdSelFile->click();
        w.cmdNext->click();
    });
    TDocumentHeader header;
    RunNewArchiveWizard(header, nullptr);
    EXPECT_EQ(TPropertiesHandling().Properties.UsedDocuments.size(), 2);
}

TEST_F(NewWizzardTest, AFailedSaveOfTheSettingsIsReportedAndTheWizardStaysOpen) {
    chosenFile = env.writeFile(QStringLiteral("Neu.phr"), "<archive/>");
    // A folder where config.ini should be: the file cannot be written.
    QDir().mkpath(TMainFunc().GetConfigFile());
    QStringList reported;
    Messages::SetInterceptor([&](TMessageKind kind, const QString& text, int) {
        EXPECT_EQ(kind, TMessageKind::Stop);
        reported << text;
        return true;
    });
    WhenShown<TNewWizzard>([](TNewWizzard& w) {
        w.Bezeichnung->setText(QStringLiteral("Vorlagen"));
        w.cmdNext->click();
        w.cmdSelFile->click();
        w.chkDirectArchive->setChecked(true);
        w.cmdNext->click();
        EXPECT_TRUE(w.isVisible());
        w.cmdAbort->click();
    });
    TDocumentHeader header;
    EXPECT_EQ(RunNewArchiveWizard(header, nullptr), QString());
    Messages::SetInterceptor({});
    ASSERT_EQ(reported.size(), 1);
    EXPECT_TRUE(reported.first().contains(TMainFunc().GetConfigFile()));
}

TEST_F(NewWizzardTest, TheLanguagesTextsAreShownAndTheStepsDoNotHangOnTheNextCaption) {
    // Next's opening caption (16) differs from its step-1 caption (1): the
    // wizard still has two steps.
    const QString file = env.writeFile(QStringLiteral("program/lang/odd.lng"),
                                       "[caps]\n16=New Archive\n"
                                       "[newwizzard]\n1=Next\n2=Finish\n3=Step 1 of 2\n"
                                       "4=Step 2 of 2\n16=Continue\n");
    TLangfileHandling().SetCurrentFile(file);
    chosenFile = env.path(QStringLiteral("Neu.phr"));
    WhenShown<TNewWizzard>([](TNewWizzard& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("Phrasora - New Archive"));
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("Step 1 of 2"));
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Continue"));
        // Keys the file lacks keep their defaults.
        EXPECT_EQ(w.cmdAbort->text(), QStringLiteral("Abbrechen"));
        w.Bezeichnung->setText(QStringLiteral("Vorlagen"));
        w.cmdNext->click();
        EXPECT_EQ(w.Page(), TNewWizzard::TPage::File);
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Finish"));
        EXPECT_EQ(w.lblTitle->text(), QStringLiteral("Step 2 of 2"));
        w.cmdBack->click();
        EXPECT_EQ(w.cmdNext->text(), QStringLiteral("Next"));
        w.cmdNext->click();
        w.cmdSelFile->click();
        w.cmdNext->click();
    });
    TDocumentHeader header;
    EXPECT_EQ(RunNewArchiveWizard(header, nullptr), chosenFile);
}
