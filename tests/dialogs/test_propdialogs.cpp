#include "dialogs/archiveprop.h"
#include "dialogs/dialogtest.h"
#include "dialogs/docprop.h"
#include "support/testenv.h"

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTest>
#include <QTimeZone>
#include <gtest/gtest.h>

namespace {

TDateTime dayCount(int y, int m, int d, int hh, int mm, int ss) {
    return FileSecondsToDateTime(
        QDateTime(QDate(y, m, d), QTime(hh, mm, ss), QTimeZone::utc()).toSecsSinceEpoch());
}

TDocumentHeader sampleHeader() {
    TDocumentHeader h;
    h.version = 3;
    h.caption = QStringLiteral("Briefe");
    h.created = dayCount(2024, 3, 5, 0, 0, 0);
    h.updated = dayCount(2024, 6, 1, 9, 15, 30);
    h.readonly = true;
    h.author = QStringLiteral("Anna");
    h.copyright = QStringLiteral("(c) Anna");
    h.filename = QStringLiteral("/home/anna/Briefe.phr");
    return h;
}

// How the user leaves the dialog.
enum class Close { Ok, Escape, Frame };

void closeDialog(THeaderPropDialog& d, Close how) {
    switch (how) {
    case Close::Ok:
        d.cmdOk->click();
        break;
    case Close::Escape:
        QTest::keyClick(d.Autor, Qt::Key_Escape);
        break;
    case Close::Frame:
        d.close();
        break;
    }
}

class PropDialogs : public ::testing::TestWithParam<Close> {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany)); }
    void TearDown() override { QLocale::setDefault(QLocale::system()); }
    TestEnv env{false}; // no language file: the compiled-in texts
};

} // namespace

TEST_F(PropDialogs, ArchiveDialogShowsTheHeaderWithDatesAndFileName) {
    TDocumentHeader header = sampleHeader();
    WhenShown<TArchiveProp>([](TArchiveProp& d) {
        Screenshot(d, "archiveprop");
        EXPECT_TRUE(d.windowTitle().startsWith(QStringLiteral("Phrasora - ")));
        EXPECT_EQ(d.lblBezeichnung->text(), QStringLiteral("Bezeichnung"));
        EXPECT_EQ(d.Bezeichnung->text(), QStringLiteral("Briefe"));
        EXPECT_EQ(d.Autor->text(), QStringLiteral("Anna"));
        EXPECT_EQ(d.Copyright->text(), QStringLiteral("(c) Anna"));
        // Created at midnight: the date alone.
        EXPECT_EQ(d.lblErstelltAm->text(), QStringLiteral("Erstellt am: 05.03.24"));
        EXPECT_EQ(d.lblGeaendertAm->text(), QStringLiteral("Geändert am: 01.06.24 09:15:30"));
        EXPECT_EQ(d.lblDateiname->text(), QStringLiteral("Dateiname: /home/anna/Briefe.phr"));
        EXPECT_EQ(d.cmdOk->text(), QStringLiteral("Ok"));
        EXPECT_TRUE(d.cmdOk->isDefault());
        EXPECT_GE(d.width(), 449);
        d.cmdOk->click();
    });
    EXPECT_FALSE(EditArchiveHeader(header, nullptr));
    EXPECT_EQ(header.caption, QStringLiteral("Briefe"));
}

TEST_P(PropDialogs, ArchiveEditsAreTakenHoweverTheDialogCloses) {
    TDocumentHeader header = sampleHeader();
    const Close how = GetParam();
    WhenShown<TArchiveProp>([how](TArchiveProp& d) {
        d.Autor->setText(QStringLiteral("Bert"));
        d.Copyright->clear();
        closeDialog(d, how);
    });
    EXPECT_TRUE(EditArchiveHeader(header, nullptr));

    TDocumentHeader expected = sampleHeader();
    expected.author = QStringLiteral("Bert");
    expected.copyright.clear();
    EXPECT_EQ(header.author, expected.author);
    EXPECT_EQ(header.copyright, expected.copyright);
    // What the dialog does not show passes through untouched.
    EXPECT_EQ(header.caption, expected.caption);
    EXPECT_EQ(header.version, expected.version);
    EXPECT_EQ(header.readonly, expected.readonly);
    EXPECT_EQ(header.created, expected.created);
    EXPECT_EQ(header.updated, expected.updated);
    EXPECT_EQ(header.filename, expected.filename);
}

TEST_P(PropDialogs, EntryEditsAreTakenHoweverTheDialogCloses) {
    TDocHeader props;
    props.caption = QStringLiteral("Gruß");
    props.description = QStringLiteral("kurz");
    props.author = QStringLiteral("Anna");
    props.type = 2;
    const Close how = GetParam();
    WhenShown<TDocProp>([how](TDocProp& d) {
        d.Copyright->setText(QStringLiteral("frei"));
        closeDialog(d, how);
    });
    EXPECT_TRUE(EditEntryProperties(props, nullptr));
    EXPECT_EQ(props.copyright, QStringLiteral("frei"));
    EXPECT_EQ(props.caption, QStringLiteral("Gruß"));
    EXPECT_EQ(props.description, QStringLiteral("kurz"));
    EXPECT_EQ(props.type, 2);
}

std::string closeName(const ::testing::TestParamInfo<Close>& info) {
    switch (info.param) {
    case Close::Ok:
        return "Ok";
    case Close::Escape:
        return "Escape";
    case Close::Frame:
        return "Frame";
    }
    return "Unknown";
}

INSTANTIATE_TEST_SUITE_P(Closing, PropDialogs,
                         ::testing::Values(Close::Ok, Close::Escape, Close::Frame), closeName);

TEST_F(PropDialogs, AnEmptiedNameKeepsThePreviousOne) {
    TDocumentHeader header = sampleHeader();
    WhenShown<TArchiveProp>([](TArchiveProp& d) {
        d.Bezeichnung->clear();
        d.Autor->setText(QStringLiteral("Bert"));
        d.cmdOk->click();
    });
    EditArchiveHeader(header, nullptr);
    EXPECT_EQ(header.caption, QStringLiteral("Briefe"));
    EXPECT_EQ(header.author, QStringLiteral("Bert"));

    TDocHeader props;
    props.caption = QStringLiteral("Gruß");
    WhenShown<TDocProp>([](TDocProp& d) {
        d.Bezeichnung->clear();
        d.cmdOk->click();
    });
    EXPECT_FALSE(EditEntryProperties(props, nullptr));
    EXPECT_EQ(props.caption, QStringLiteral("Gruß"));

    // A new name is taken.
    WhenShown<TDocProp>([](TDocProp& d) {
        d.Bezeichnung->setText(QStringLiteral("Hallo"));
        d.cmdOk->click();
    });
    EXPECT_TRUE(EditEntryProperties(props, nullptr));
    EXPECT_EQ(props.caption, QStringLiteral("Hallo"));
}

TEST_F(PropDialogs, EntryDialogShowsDatesWithoutAFileName) {
    TDocHeader props;
    props.caption = QStringLiteral("Gruß");
    props.created = dayCount(2023, 12, 31, 23, 59, 59);
    props.updated = dayCount(2024, 1, 1, 0, 0, 0);
    WhenShown<TDocProp>([](TDocProp& d) {
        Screenshot(d, "docprop");
        EXPECT_EQ(d.lblDateiname, nullptr);
        EXPECT_EQ(d.findChild<QLabel*>(QStringLiteral("lblDateiname")), nullptr);
        EXPECT_EQ(d.lblErstelltAm->text(), QStringLiteral("Erstellt am: 31.12.23 23:59:59"));
        EXPECT_EQ(d.lblGeaendertAm->text(), QStringLiteral("Geändert am: 01.01.24"));
        EXPECT_EQ(d.cmdOk->text(), QStringLiteral("Ok"));
        d.cmdOk->click();
    });
    EditEntryProperties(props, nullptr);
}

TEST(PropDialogTexts, TheShippedEnglishTextsReplaceTheDefaults) {
    TestEnv env; // the shipped language files; English is the one in use
    TDocumentHeader header = sampleHeader();
    WhenShown<TArchiveProp>([](TArchiveProp& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Phrasora - Archive Properties"));
        EXPECT_EQ(d.lblBezeichnung->text(), QStringLiteral("Name"));
        EXPECT_TRUE(d.lblErstelltAm->text().startsWith(QStringLiteral("Created: ")));
        EXPECT_TRUE(d.lblDateiname->text().startsWith(QStringLiteral("File name: ")));
        EXPECT_EQ(d.cmdOk->text(), QStringLiteral("OK"));
        d.cmdOk->click();
    });
    EditArchiveHeader(header, nullptr);

    TDocHeader props;
    WhenShown<TDocProp>([](TDocProp& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("Phrasora - Entry Properties"));
        EXPECT_TRUE(d.lblGeaendertAm->text().startsWith(QStringLiteral("Modified: ")));
        EXPECT_EQ(d.cmdOk->text(), QStringLiteral("OK"));
        d.cmdOk->click();
    });
    EditEntryProperties(props, nullptr);
}
