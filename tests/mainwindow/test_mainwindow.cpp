#include "dialogs/messages.h"
#include "language/language.h"
#include "mainwindow/frmmain.h"
#include "mainwindow/treeviews.h"
#include "platform/fake/fakehotkeys.h"
#include "platform/fake/fakeservices.h"
#include "support/testenv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QTextBrowser>

#include <gtest/gtest.h>
#include <pugixml.hpp>

namespace {

struct Box {
    TMessageKind kind;
    QString text;
    int help;
};

class MainWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        Messages::SetInterceptor([this](TMessageKind kind, const QString& text, int help) {
            boxes.push_back({kind, text, help});
            return answer;
        });
        FileDialogs::SetInterceptor([this](bool save) {
            dialogs << (save ? QStringLiteral("save") : QStringLiteral("open"));
            return chosenFile;
        });
    }

    void TearDown() override
    {
        main.reset();
        Messages::SetInterceptor({});
        FileDialogs::SetInterceptor({});
    }

    TMain& window()
    {
        if (!main) {
            main = std::make_unique<TMain>(TMainServices{&hotKeys, &shell, &mail});
            main->show();
        }
        return *main;
    }

    QString copyFixture(const char* name, const QString& as = {})
    {
        const QString target = env.path(as.isEmpty() ? QString::fromLatin1(name) : as);
        QFile::remove(target);
        EXPECT_TRUE(QFile::copy(fixture(QStringLiteral("archive/") + QString::fromLatin1(name)), target));
        QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        return target;
    }

    // An archive with entries 9, 10 and 2 at the top level.
    QString sortArchive()
    {
        TDocumentHandling archive;
        for (int id : {9, 10, 2}) {
            TDocumentInfo e;
            e.id = id;
            e.caption = QStringLiteral("Name %1").arg(id);
            e.description = id == 10 ? QString() : QStringLiteral("d%1").arg(id);
            archive.Entries.append(e);
        }
        pugi::xml_document doc;
        const QString path = env.path(QStringLiteral("sort.phr"));
        archive.WriteArchive(doc, path);
        return path;
    }

    QStringList listIds() const
    {
        QStringList ids;
        for (int i = 0; i < main->lsDoc->topLevelItemCount(); ++i)
            ids << main->lsDoc->topLevelItem(i)->text(0);
        return ids;
    }

    TestEnv env;
    TFakeHotKeys hotKeys;
    TFakeShell shell;
    TFakeMail mail;
    std::vector<Box> boxes;
    bool answer = true;
    QString chosenFile;
    QStringList dialogs;
    std::unique_ptr<TMain> main;
};

} // namespace

TEST_F(MainWindowTest, OpensOnlyTheFirstExistingArchiveNamed)
{
    const QString text = env.writeFile(QStringLiteral("notes.txt"), "plain text");
    const QString upper = copyFixture("letters.phr", QStringLiteral("LETTERS.PHR"));
    const QString other = copyFixture("tolerant.phr");
    window().OpenFromArguments({env.path(QStringLiteral("missing.phr")), text, upper, other});
    EXPECT_EQ(main->Archive().FileName, upper);
    EXPECT_TRUE(boxes.empty()) << "missing files and other extensions are ignored silently";
    EXPECT_TRUE(main->tList->isEnabled());
    EXPECT_EQ(main->tList->topLevelItem(0)->text(0), TLanguageHandling().GetIdent(1));
}

TEST_F(MainWindowTest, LoadFailuresAreReportedAndNothingStaysOpen)
{
    const TLanguageHandling language;
    const struct {
        const char* file;
        QString text;
        int help;
    } table[] = {
        {"not-xml.phr", language.GetError(5) + QStringLiteral(" EVersionError"), 10400},
        {"minversion-2.0.phr", language.GetError(5) + QStringLiteral(" EVersionError"), 10400},
        {"text-two-nodes.phr", language.GetError(1) + QStringLiteral(" EInvalidArchive"), 10100},
    };
    for (const auto& row : table) {
        boxes.clear();
        window().OpenArchiveFile(copyFixture(row.file));
        ASSERT_EQ(boxes.size(), 1u) << row.file;
        EXPECT_EQ(boxes[0].kind, TMessageKind::Error);
        EXPECT_EQ(boxes[0].text, row.text);
        EXPECT_EQ(boxes[0].help, row.help);
        EXPECT_FALSE(main->ArchiveOpen()) << "a partial archive can never be saved over its file";
        EXPECT_EQ(main->tList->topLevelItemCount(), 0);
        EXPECT_FALSE(main->tList->isEnabled());
        EXPECT_FALSE(main->lsDoc->isEnabled());
    }
}

TEST_F(MainWindowTest, ReplacingAnOpenArchiveAsksFirst)
{
    const QString first = copyFixture("letters.phr");
    window().OpenArchiveFile(first);
    answer = false;
    main->OpenArchiveFile(copyFixture("tolerant.phr"));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, TMessageKind::Confirmation);
    EXPECT_EQ(boxes[0].text, TLanguageHandling().GetMessage(1));
    EXPECT_EQ(main->Archive().FileName, first) << "No leaves the open archive";

    main->ArchivSchlieen1Click();
    EXPECT_TRUE(main->ArchiveOpen());
    answer = true;
    main->ArchivSchlieen1Click();
    EXPECT_FALSE(main->ArchiveOpen());
}

TEST_F(MainWindowTest, CommandStatesFollowArchiveTreeAndList)
{
    window().UpdateCommandStates();
    EXPECT_FALSE(main->Speichern1->isEnabled());
    EXPECT_FALSE(main->tSave->isEnabled());
    EXPECT_FALSE(main->Ordner1->isEnabled());
    EXPECT_TRUE(main->Neu1->isEnabled());

    main->OpenArchiveFile(sortArchive());
    main->UpdateCommandStates();
    EXPECT_TRUE(main->Speichern1->isEnabled());
    EXPECT_TRUE(main->Sendenan1->isEnabled());
    EXPECT_FALSE(main->Ordner1->isEnabled()) << "no folder selected yet";

    QTreeWidgetItem* root = main->tList->topLevelItem(0);
    main->tList->setCurrentItem(root);
    Q_EMIT main->tList->itemClicked(root, 0);
    main->UpdateCommandStates();
    EXPECT_TRUE(main->Ordner1->isEnabled()) << "the root counts as a folder";
    EXPECT_TRUE(main->tNewText->isEnabled());
    EXPECT_FALSE(main->tExecute->isEnabled());
    EXPECT_FALSE(main->Eintragbar1->isEnabled());
    ASSERT_EQ(main->lsDoc->topLevelItemCount(), 3);

    main->lsDoc->setCurrentItem(main->lsDoc->topLevelItem(0));
    main->UpdateCommandStates();
    EXPECT_TRUE(main->tExecute->isEnabled());
    EXPECT_TRUE(main->Eintraglschen1->isEnabled());
}

TEST_F(MainWindowTest, ColumnsSortNaturallyAndToggle)
{
    window().OpenArchiveFile(sortArchive());
    QTreeWidgetItem* root = main->tList->topLevelItem(0);
    main->tList->setCurrentItem(root);
    Q_EMIT main->tList->itemClicked(root, 0);
    EXPECT_EQ(listIds(), QStringList({QStringLiteral("9"), QStringLiteral("10"), QStringLiteral("2")}))
        << "the archive's order before any sort";

    Q_EMIT main->lsDoc->header()->sectionClicked(0);
    EXPECT_EQ(listIds(), QStringList({QStringLiteral("2"), QStringLiteral("9"), QStringLiteral("10")}));
    Q_EMIT main->lsDoc->header()->sectionClicked(0);
    EXPECT_EQ(listIds(), QStringList({QStringLiteral("10"), QStringLiteral("9"), QStringLiteral("2")}));

    // Description: the empty one first when ascending.
    Q_EMIT main->lsDoc->header()->sectionClicked(2);
    EXPECT_EQ(listIds().first(), QStringLiteral("10"));
}

TEST_F(MainWindowTest, PreviewShowsEntriesByKind)
{
    window().OpenArchiveFile(copyFixture("letters.phr"));
    QTreeWidgetItem* root = main->tList->topLevelItem(0);
    main->tList->setCurrentItem(root);
    Q_EMIT main->tList->itemClicked(root, 0);
    ASSERT_EQ(main->lsDoc->topLevelItemCount(), 1); // the e-mail entry at the top level
    QTreeWidgetItem* row = main->lsDoc->topLevelItem(0);
    main->lsDoc->setCurrentItem(row);
    Q_EMIT main->lsDoc->itemClicked(row, 0);
    EXPECT_EQ(main->rPreview->toPlainText(), QStringLiteral("anna@example.org"));
    QTextCursor cursor(main->rPreview->document());
    cursor.setPosition(3);
    EXPECT_TRUE(cursor.charFormat().fontUnderline());
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(0, 0, 255));
}

TEST_F(MainWindowTest, LanguageSwitchTakesEffectAtOnce)
{
    window().OpenArchiveFile(copyFixture("letters.phr"));
    const QString german = env.programDir() + QStringLiteral("/lang/german.lng");
    ASSERT_TRUE(QFile::exists(german));
    main->LangItemClick(QStringLiteral("german.lng"));
    const TLanguageHandling language; // now reads the new choice
    EXPECT_EQ(main->Datei1->title(), language.GetText(QStringLiteral("main"), QStringLiteral("1"), QStringLiteral("Datei")));
    EXPECT_EQ(main->Speichern1->text(), language.GetText(QStringLiteral("main"), QStringLiteral("12"), QStringLiteral("Speichern")));
    EXPECT_EQ(main->tList->topLevelItem(0)->text(0), language.GetIdent(1));
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(boxes.back().kind, TMessageKind::Information);
    EXPECT_EQ(boxes.back().text, language.GetMessage(12));
}

TEST_F(MainWindowTest, HotKeysFollowTheSettingsWhenShown)
{
    window();
    EXPECT_EQ(hotKeys.claimed.value(1), 16462) << "show/hide: Ctrl+N by default";
    EXPECT_EQ(hotKeys.claimed.value(2), 16465) << "quick menu: Ctrl+Q by default";

    ASSERT_TRUE(hotKeys.Press(16462));
    EXPECT_FALSE(main->isVisible());
    EXPECT_EQ(main->Anzeigen1->text(), TLanguageHandling().GetIdent(5));
    ASSERT_TRUE(hotKeys.Press(16462));
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(main->Anzeigen1->text(), TLanguageHandling().GetIdent(6));
}

TEST_F(MainWindowTest, AHotKeyOfZeroStaysOff)
{
    env.writeFile(QStringLiteral("config/Phrasora/config.ini"), "[hotkeys]\nquickmenu=0\nview=0x4051\n");
    window();
    EXPECT_FALSE(hotKeys.claimed.contains(2));
    EXPECT_EQ(hotKeys.claimed.value(1), 16465);
}

TEST_F(MainWindowTest, NewArchiveIsWrittenOrNothingStaysOpen)
{
    chosenFile = env.path(QStringLiteral("new.phr"));
    window().Neu1Click();
    EXPECT_EQ(dialogs, QStringList({QStringLiteral("save")}));
    EXPECT_TRUE(main->ArchiveOpen());
    EXPECT_TRUE(main->tList->isEnabled());
    TDocumentHandling reread;
    TMemoryTree tree;
    pugi::xml_document doc;
    reread.FileName = chosenFile;
    reread.LoadArchive(tree, doc);
    EXPECT_EQ(reread.Header.caption, TLanguageHandling().GetIdent(2));

    // Cancelled: no archive open.
    chosenFile.clear();
    main->Neu1Click();
    EXPECT_FALSE(main->ArchiveOpen());

    // A first save that fails leaves nothing half open.
    boxes.clear();
    chosenFile = env.path(QStringLiteral("no/such/dir/x.phr"));
    main->Neu1Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, TLanguageHandling().GetError(3) + QStringLiteral(" ESaveError"));
    EXPECT_EQ(boxes[0].help, 10200);
    EXPECT_FALSE(main->ArchiveOpen());
}

TEST_F(MainWindowTest, SaveFailureKeepsTheArchiveOpen)
{
    window().OpenArchiveFile(copyFixture("letters.phr"));
    main->Archive().Header.filename = env.path(QStringLiteral("gone/letters.phr"));
    main->Speichern1Click();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].kind, TMessageKind::Error);
    EXPECT_EQ(boxes[0].help, 10200);
    EXPECT_TRUE(main->ArchiveOpen());

    // Save as: the new name is the save target, the archive keeps its name.
    const QString opened = main->Archive().FileName;
    chosenFile = env.path(QStringLiteral("copy.phr"));
    main->Speicherunter1Click();
    EXPECT_TRUE(QFile::exists(chosenFile));
    main->Sendenan1Click();
    ASSERT_EQ(mail.sent.size(), 1);
    EXPECT_EQ(mail.sent[0].attachmentPath, opened) << "the file the archive was opened from";
}

TEST_F(MainWindowTest, ClosingAsksAndNoKeepsRunning)
{
    window();
    answer = false;
    EXPECT_FALSE(main->close());
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, TLanguageHandling().GetMessage(5));
    main->SetEndingSession();
    boxes.clear();
    EXPECT_TRUE(main->close()) << "the session ends: no question";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(MainWindowTest, DroppedFiles)
{
    // No archive open: any dropped name is tried.
    window().DropFileDrop(env.path(QStringLiteral("MISSING.PHR")));
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.endsWith(QStringLiteral("EInvalidArchive")));

    // Open: a missing file whose extension is not exactly ".phr" is ignored.
    main->OpenArchiveFile(copyFixture("letters.phr"));
    boxes.clear();
    main->DropFileDrop(env.path(QStringLiteral("MISSING.PHR")));
    EXPECT_TRUE(boxes.empty());
    EXPECT_TRUE(main->ArchiveOpen());

    // An existing text file: asked, then refused by the version check.
    main->DropFileDrop(env.writeFile(QStringLiteral("t.txt"), "no xml"));
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].kind, TMessageKind::Confirmation);
    EXPECT_TRUE(boxes[1].text.endsWith(QStringLiteral("EVersionError")));
}
