#pragma once

#include "platform/hotkeys.h"
#include "store/documenthandling.h"

#include <QIcon>
#include <QMainWindow>
#include <QPointer>
#include <QSystemTrayIcon>

#include <pugixml.hpp>

#include <array>
#include <memory>

class QAction;
class QLabel;
class QMenu;
class QSplitter;
class QTextBrowser;
class QTimer;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;
class IMail;
class IShell;
class TEntryList;
class THistory;
class TLangfileHandling;
class TLanguageHandling;
class TMainFunc;
class TTreeWidgetAdapter;

// Registers the program's icons; the main window and the splash call it.
void InitPhrasoraResources();

// The desktop services the main window uses; any may be missing (a session
// without X11, or a test), and the window then does without.
struct TMainServices {
    IHotKeys* hotKeys = nullptr;
    IShell* shell = nullptr;
    IMail* mail = nullptr;
};

// The main window: one archive at a time, its tree, list and preview, the
// archive commands, the tray icon and the global hot keys.
class TMain : public QMainWindow {
    Q_OBJECT
public:
    explicit TMain(const TMainServices& services, QWidget* parent = nullptr);
    ~TMain() override;

    // Shared operations.
    void SetViewsEnabled(bool on);
    void ClearViews();
    void ResetArchive();
    void OpenArchiveFile(const QString& path);
    // Opens the first existing ".phr" file of a list (the command line's
    // arguments when none is given).
    void OpenFromArguments(const QStringList& list);
    void OpenFromArguments();
    void RefreshQuickMenu();

    // The lists a second start hands over; also brings the window forward.
    void CmdLineReceived(const QStringList& arguments);

    // The desktop session is ending: close without asking.
    void SetEndingSession() { EndingSession = true; }

    // Views and state, for the command files and for tests.
    TDocumentHandling& Archive() { return *m_archive; }
    bool ArchiveOpen() const { return !m_archive->FileName.isEmpty(); }
    QString SelectedFolderId() const;
    void RefreshEntryList();
    void UpdateCommandStates();
    void SortByColumn(int column, bool descending);

    // The show/hide toggle of the tray menu and the hot key.
    void Anzeigen1Click();
    // Pops the tray menu up at the mouse pointer.
    void hQuickMenuHotKey();

    // Controls named as the rest of the program knows them.
    QTreeWidget* tList = nullptr;
    TEntryList* lsDoc = nullptr;
    QTextBrowser* rPreview = nullptr;
    QLabel* lblPreview = nullptr;
    QMenu* popTray = nullptr;
    QMenu* popHistory = nullptr;
    QMenu* popDocuments = nullptr;
    QMenu* Archive1 = nullptr;
    QAction* Anzeigen1 = nullptr;
    QAction* Beenden1 = nullptr;
    QSystemTrayIcon* TrayIcon = nullptr;
    QTimer* tmrStartWait = nullptr;
    QTimer* tmrCheck = nullptr;

    // Menus and items of the main menu.
    QMenu *Datei1 = nullptr, *Bearbeiten1 = nullptr, *Ordner1 = nullptr, *Eintrge1 = nullptr,
          *Extras1 = nullptr, *N1 = nullptr, *Sprache1 = nullptr;
    QAction *Neu1 = nullptr, *NeumitAssistent1 = nullptr, *ffnen1 = nullptr,
            *ArchivSchlieen1 = nullptr, *ArchivEigenschaften1 = nullptr, *Speichern1 = nullptr,
            *Speicherunter1 = nullptr, *Sendenan1 = nullptr, *Schlieen1 = nullptr;
    QAction *Ausschneiden1 = nullptr, *Kopieren1 = nullptr, *Einfgen1 = nullptr;
    QAction *NeuerOrdner1 = nullptr, *OrdnerBearbeiten1 = nullptr, *OrdnerLschen1 = nullptr,
            *OrdneraufsteigendSortieren1 = nullptr, *OrdnerabsteigendSortieren1 = nullptr;
    QAction *NeuerText1 = nullptr, *Neuer1 = nullptr, *NeueeMail1 = nullptr,
            *NeuerHyperlink1 = nullptr, *Eintragbar1 = nullptr, *Eintragverschieben1 = nullptr,
            *Eintraglschen1 = nullptr, *EintrgeaufsteigendSortieren1 = nullptr,
            *EintrgeabsteigendSortieren1 = nullptr;
    QAction *Einstellungen1 = nullptr, *Hilfe1 = nullptr, *KorvantisHomepage1 = nullptr,
            *Information1 = nullptr;
    QAction *Bearbeiten2 = nullptr, *Lschen1 = nullptr, *Eigenschaften1 = nullptr;

    // Tool buttons.
    QAction *tNew = nullptr, *tOpen = nullptr, *tSave = nullptr, *tSendTo = nullptr,
            *tPrint = nullptr, *tProperties = nullptr, *tNewDir = nullptr, *tEditDir = nullptr,
            *tDelDir = nullptr, *tNewText = nullptr, *tNewRichText = nullptr, *tNewMail = nullptr,
            *tNewLink = nullptr, *tExecute = nullptr;

    // The menu image list, by the indices the menus and tool bar use.
    QList<QIcon> imgMenu;
    QList<QIcon> imgDocuments; // by entry kind
    QList<QIcon> imgFolders;   // closed, open

    // Archive commands.
    void Neu1Click();
    void NeumitAssistent1Click();
    void ffnen1Click();
    void PopHistoryClick(int tag);
    void DropFileDrop(const QString& path);
    void ArchivSchlieen1Click();
    void ArchivEigenschaften1Click();
    void Speichern1Click();
    void Speicherunter1Click();
    void Sendenan1Click();
    void Einstellungen1Click();
    void KorvantisHomepage1Click();
    void Information1Click();
    void LangItemClick(const QString& caption);
    void LanguageChanged();

    // The texts of section "main" and "hints", and the language menu.
    void ApplyTexts();
    void FillLanguageMenu();
    void FillHistoryMenu();

    // The maker's web page.
    static QString HomepageUrl();

Q_SIGNALS:
    // The window was closed for good: the program ends.
    void Closed();

protected:
    bool event(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void FormShow();
    void tmrStartWaitTimer();
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void buildViews();
    void buildTray();
    void loadIcons();
    // Loads FileName and reports failures; true on success.
    bool loadCurrentArchive();
    void showLoadFailure(const Exception& error);
    void saveArchive(const QString& fileName);
    // Writes a new archive under its first name; on failure nothing stays open.
    bool writeNewArchive(const QString& file);
    // Asks before an open archive is closed (msg 1) and closes it; true to go on.
    bool closeOpenArchive();
    void tListClick();
    void lsDocClick();
    void lsDocColumnClick(int column);
    void rPreviewChange();
    void TrayIconMinimizeToTray();
    void setToggleCaption(bool windowShown);
    // Runs a command and shows whatever it raises in the general error box.
    void guarded(const std::function<void()>& command);

    TMainServices m_services;
    std::unique_ptr<TLangfileHandling> m_langFile;
    std::unique_ptr<TLanguageHandling> m_language;
    std::unique_ptr<TDocumentHandling> m_archive;
    pugi::xml_document m_doc;
    std::unique_ptr<TMainFunc> m_mainFunc;
    std::unique_ptr<THistory> m_history;
    std::unique_ptr<TTreeWidgetAdapter> m_treeAdapter;
    std::unique_ptr<IHotKeys> m_noHotKeys;
    std::unique_ptr<THotKey> hAnzeige;
    std::unique_ptr<THotKey> hQuickMenu;
    std::array<int, 4> m_sortState{}; // per column: 0 none, 1 ascending, 2 descending
    bool EndingSession = false;
    bool m_hidingToTray = false;
};
