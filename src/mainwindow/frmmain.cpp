#include "mainwindow/frmmain.h"

#include "dialogs/messages.h"
#include "language/language.h"
#include "mainwindow/naturalcompare.h"
#include "mainwindow/treeviews.h"
#include "platform/programfolder.h"
#include "settings/history.h"
#include "settings/mainfunc.h"
#include "settings/properties_handling.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTextBrowser>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdio>

namespace {

// Hot keys of a session without a global hot-key service: nothing is ever
// claimed, so both stay off.
class TNoHotKeys final : public IHotKeys {
public:
    bool Register(int, quint16) override { return false; }
    void Unregister(int) override {}
    void SetHandler(Handler) override {}
};

enum HotKeyId { ViewHotKey = 1, QuickMenuHotKey = 2 };

} // namespace

void InitPhrasoraResources()
{
    // The icons live in a static library, whose resources must be registered
    // by hand.
    Q_INIT_RESOURCE(phrasora);
}

TMain::TMain(const TMainServices& services, QWidget* parent)
    : QMainWindow(parent), m_services(services)
{
    InitPhrasoraResources();
    setObjectName(QStringLiteral("TMain"));
    setWindowTitle(QStringLiteral("Phrasora"));
    loadIcons();
    setWindowIcon(QIcon(QStringLiteral(":/phrasora/phrasora.svg")));
    buildActions();
    buildMenus();
    buildToolBar();
    buildViews();
    buildTray();
    resize(772, 570);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    setAcceptDrops(true);
    FormCreate();
}

TMain::~TMain()
{
    // Releases the hot keys before their service goes, and writes the
    // recent archives.
    hAnzeige.reset();
    hQuickMenu.reset();
    try {
        if (m_history)
            m_history->SaveHistory();
    } catch (const Exception& error) {
        Messages::ShowStop(nullptr, error.Message());
    }
}

void TMain::FormCreate()
{
    m_langFile = std::make_unique<TLangfileHandling>();
    m_language = std::make_unique<TLanguageHandling>();

    // The help file follows the language in use when the window is made.
    const bool german = m_langFile->GetCurrentFile().toLower().contains(QLatin1String("german"));
    Help::SetHelpFile(ProgramFolder() + (german ? QStringLiteral("help/help_de.html")
                                                : QStringLiteral("help/help_en.html")));

    m_archive = std::make_unique<TDocumentHandling>();
    m_treeAdapter = std::make_unique<TTreeWidgetAdapter>(*tList);
    SetViewsEnabled(false);
    m_mainFunc = std::make_unique<TMainFunc>();
    guarded([this] { m_history = std::make_unique<THistory>(); });

    IHotKeys* hotKeys = m_services.hotKeys;
    if (!hotKeys) {
        m_noHotKeys = std::make_unique<TNoHotKeys>();
        hotKeys = m_noHotKeys.get();
    }
    hAnzeige = std::make_unique<THotKey>(*hotKeys, ViewHotKey);
    hQuickMenu = std::make_unique<THotKey>(*hotKeys, QuickMenuHotKey);
    hotKeys->SetHandler([this](int id) {
        if (id == ViewHotKey)
            Anzeigen1Click();
        else if (id == QuickMenuHotKey)
            hQuickMenuHotKey();
    });
    EndingSession = false;

    tmrStartWait = new QTimer(this);
    tmrStartWait->setSingleShot(true);
    connect(tmrStartWait, &QTimer::timeout, this, &TMain::tmrStartWaitTimer);
    tmrStartWait->start(100);

    tmrCheck = new QTimer(this);
    connect(tmrCheck, &QTimer::timeout, this, &TMain::UpdateCommandStates);
    tmrCheck->start(200);
    UpdateCommandStates();
}

bool TMain::event(QEvent* event)
{
    // The start-up benchmark measures until the window is first painted.
    static bool reportShown = qEnvironmentVariableIsSet("PHRASORA_REPORT_SHOWN");
    if (reportShown && event->type() == QEvent::Paint) {
        reportShown = false;
        std::fputs("shown\n", stdout);
        std::fflush(stdout);
    }
    return QMainWindow::event(event);
}

void TMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TMain::FormShow()
{
    FillLanguageMenu();
    ApplyTexts();
    FillHistoryMenu();

    // The hot keys follow the settings each time the window is shown; a
    // value of 0 leaves a hot key as it is.
    guarded([this] {
        const TPropertiesHandling settings;
        if (settings.Properties.QuickMenuKey != 0) {
            hQuickMenu->SetHotKey(settings.Properties.QuickMenuKey);
            hQuickMenu->SetEnabled(true);
        }
        if (settings.Properties.ViewKey != 0) {
            hAnzeige->SetHotKey(settings.Properties.ViewKey);
            hAnzeige->SetEnabled(true);
        }
    });
}

void TMain::tmrStartWaitTimer()
{
    tmrStartWait->stop();
    RefreshQuickMenu();
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    for (const QString& arg : std::as_const(args)) {
        if (arg.toLower() == QLatin1String("-m")) {
            TrayIconMinimizeToTray();
            break;
        }
    }
    OpenFromArguments();
}

void TMain::OpenFromArguments()
{
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    OpenFromArguments(args);
}

void TMain::OpenFromArguments(const QStringList& list)
{
    for (const QString& item : list) {
        const QFileInfo info(item);
        if (!info.exists() || info.isDir())
            continue;
        const QString name = info.fileName();
        const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
        if (dot >= 0 && name.mid(dot).toLower() == QLatin1String(".phr")) {
            OpenArchiveFile(item);
            return;
        }
    }
}

void TMain::CmdLineReceived(const QStringList& arguments)
{
    // A second start: come to the front, then open what it named.
    if (isHidden() || isMinimized())
        Anzeigen1Click();
    raise();
    activateWindow();
    OpenFromArguments(arguments);
}

void TMain::SetViewsEnabled(bool on)
{
    tList->setEnabled(on);
    lsDoc->setEnabled(on);
    lblPreview->setEnabled(on);
    rPreview->setEnabled(on);
}

void TMain::ClearViews()
{
    tList->clear();
    rPreview->clear();
    lsDoc->clear();
    SetViewsEnabled(false);
}

void TMain::ResetArchive() { m_archive = std::make_unique<TDocumentHandling>(); }

void TMain::OpenArchiveFile(const QString& path)
{
    if (!closeOpenArchive())
        return;
    m_archive->FileName = QFileInfo(path).absoluteFilePath();
    if (loadCurrentArchive() && m_history)
        m_history->AddArchive(m_archive->FileName);
}

bool TMain::loadCurrentArchive()
{
    try {
        m_archive->LoadArchive(*m_treeAdapter, m_doc);
    } catch (const Exception& error) {
        showLoadFailure(error);
        // A partial archive must never be saved over its file: forget it.
        ResetArchive();
        ClearViews();
        return false;
    } catch (const std::exception&) {
        Messages::ShowWarning(this, m_language->GetError(2));
        ResetArchive();
        ClearViews();
        return false;
    }
    SetViewsEnabled(true);
    return true;
}

void TMain::showLoadFailure(const Exception& error)
{
    const QString name = QString::fromLatin1(error.ClassName());
    if (name == QLatin1String("EInvalidArchive"))
        Messages::ShowError(this, m_language->GetError(1) + QLatin1Char(' ') + name, 10100);
    else if (name == QLatin1String("EVersionError"))
        Messages::ShowError(this, m_language->GetError(5) + QLatin1Char(' ') + name, 10400);
    else
        Messages::ShowWarning(this, m_language->GetError(2));
}

void TMain::RefreshQuickMenu()
{
    // The quick menu over the used archives fills this submenu.
}

void TMain::guarded(const std::function<void()>& command)
{
    try {
        command();
    } catch (const Exception& error) {
        Messages::ShowStop(this, error.Message().isEmpty() ? QString::fromLatin1(error.ClassName())
                                                           : error.Message());
    } catch (const std::exception& error) {
        Messages::ShowStop(this, QString::fromLocal8Bit(error.what()));
    }
}

// --- views -------------------------------------------------------------------

QString TMain::SelectedFolderId() const
{
    const QList<QTreeWidgetItem*> selected = tList->selectedItems();
    if (selected.isEmpty())
        return {};
    const QString label = selected.first()->text(0);
    if (label == m_language->GetIdent(1) || selected.first() == tList->topLevelItem(0))
        return QStringLiteral("0");
    int id = 0;
    return FolderIdFromLabel(label, id) ? QString::number(id) : label;
}

void TMain::tListClick()
{
    if (tList->selectedItems().isEmpty())
        return;
    bool ok = false;
    const int id = SelectedFolderId().toInt(&ok);
    if (!ok) {
        lsDoc->clear();
        return;
    }
    TEntryListAdapter list(*lsDoc, imgDocuments);
    m_archive->ListEntries(id, list);
}

void TMain::RefreshEntryList()
{
    if (tList->selectedItems().isEmpty())
        return;
    tListClick();
    RefreshQuickMenu();
}

void TMain::lsDocClick()
{
    QTreeWidgetItem* row = lsDoc->currentItem();
    if (!row || !row->isSelected())
        return;
    TPreviewAdapter preview(*rPreview);
    m_archive->ShowPreview(row->text(0).toInt(), preview);
    rPreviewChange();
}

void TMain::rPreviewChange()
{
    QTreeWidgetItem* row = lsDoc->currentItem();
    if (!row || !row->isSelected())
        return;
    const int kind = row->data(3, Qt::UserRole).toInt();
    rPreview->viewport()->setCursor(Qt::ArrowCursor);
    if (kind == 2 || kind == 3) {
        QTextCursor all(rPreview->document());
        all.select(QTextCursor::Document);
        QTextCharFormat format;
        format.setFontUnderline(true);
        format.setForeground(QColor(0, 0, 255));
        all.mergeCharFormat(format);
    }
}

void TMain::lsDocColumnClick(int column)
{
    if (column < 0 || column >= static_cast<int>(m_sortState.size()))
        return;
    int& state = m_sortState[static_cast<size_t>(column)];
    state = state == 1 ? 2 : 1;
    SortByColumn(column, state == 2);
}

void TMain::SortByColumn(int column, bool descending)
{
    QList<QTreeWidgetItem*> rows;
    while (lsDoc->topLevelItemCount() > 0)
        rows.append(lsDoc->takeTopLevelItem(0));
    const auto compare = [column](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        int result = NaturalCompare(a->text(column), b->text(column));
        if (result == 0 && column == 0)
            result = a->data(0, Qt::UserRole).toInt() - b->data(0, Qt::UserRole).toInt();
        return result;
    };
    std::stable_sort(rows.begin(), rows.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        const int r = compare(a, b);
        return descending ? r > 0 : r < 0;
    });
    lsDoc->addTopLevelItems(rows);
}

void TMain::UpdateCommandStates()
{
    const bool open = ArchiveOpen();
    for (QAction* a : {tSave, tSendTo, ArchivSchlieen1, ArchivEigenschaften1, Speichern1,
                       Speicherunter1, Sendenan1})
        a->setEnabled(open);

    const bool folder = !tList->selectedItems().isEmpty();
    Ordner1->setEnabled(folder);
    Eintrge1->setEnabled(folder);
    for (QAction* a : Ordner1->actions())
        a->setEnabled(folder);
    for (QAction* a : Eintrge1->actions())
        a->setEnabled(folder);
    for (QAction* a : {tNewDir, tEditDir, tDelDir, tNewText, tNewRichText, tNewMail, tNewLink})
        a->setEnabled(folder);

    const bool row = lsDoc->currentItem() && lsDoc->currentItem()->isSelected();
    tExecute->setEnabled(row);
    Eintragbar1->setEnabled(folder && row);
    Eintraglschen1->setEnabled(folder && row);
    Eintragverschieben1->setEnabled(folder && row);
}

// --- window events -------------------------------------------------------------

void TMain::closeEvent(QCloseEvent* event)
{
    if (EndingSession || Messages::Confirm(this, m_language->GetMessage(5))) {
        event->accept();
        Q_EMIT Closed();
        return;
    }
    event->ignore();
}

void TMain::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::WindowStateChange && isMinimized() && !m_hidingToTray)
        QTimer::singleShot(0, this, &TMain::TrayIconMinimizeToTray);
}

void TMain::dragEnterEvent(QDragEnterEvent* event)
{
    if (event->mimeData()->hasUrls())
        event->acceptProposedAction();
}

void TMain::dropEvent(QDropEvent* event)
{
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.isEmpty() || !urls.first().isLocalFile())
        return;
    event->acceptProposedAction();
    const QString path = urls.first().toLocalFile();
    // Leave the drag-and-drop loop before asking anything.
    QTimer::singleShot(0, this, [this, path] { DropFileDrop(path); });
}

bool TMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == tList && event->type() == QEvent::FocusIn) {
        rPreview->clear(); // tListEnter
    } else if (watched == tList && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F2 && OrdnerBearbeiten1->isEnabled())
            OrdnerBearbeiten1->trigger();
        else if (key->key() == Qt::Key_Delete && OrdnerLschen1->isEnabled())
            OrdnerLschen1->trigger();
    } else if (watched == lsDoc && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool row = lsDoc->currentItem() && lsDoc->currentItem()->isSelected();
        if (row && key->key() == Qt::Key_F2)
            Eigenschaften1->trigger();
        else if (row && key->key() == Qt::Key_Delete && Eintraglschen1->isEnabled())
            Eintraglschen1->trigger();
    }
    return QMainWindow::eventFilter(watched, event);
}
