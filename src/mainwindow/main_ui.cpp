// The main window's controls: menus, tool bar, views and their wiring.

#include "mainwindow/frmmain.h"
#include "dialogs/messages.h"
#include "mainwindow/treeviews.h"
#include "platform/shell.h"

#include <QAction>
#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction* item(QMenu* menu, const char* name, const char* caption)
{
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

} // namespace

void TMain::loadIcons()
{
    // The menu image list, in the order its users index it.
    static const char* const names[] = {
        "archive-new",  "archive-open",   "archive-save",   "archive-send", "print",
        "settings",     "unused",         "folder-new",     "folder-edit",  "folder-delete",
        "text-new",     "richtext-new",   "mail-new",       "execute",      "link-new",
        "window-hide",  "quit",           "window-show"};
    for (const char* name : names)
        imgMenu.append(QIcon(QStringLiteral(":/phrasora/icons/") + QString::fromLatin1(name) +
                             QStringLiteral(".svg")));
    for (const char* name : {"text", "richtext", "mail", "link"})
        imgDocuments.append(QIcon(QStringLiteral(":/phrasora/icons/kind-") +
                                  QString::fromLatin1(name) + QStringLiteral(".svg")));
    imgFolders = {QIcon(QStringLiteral(":/phrasora/icons/folder-closed.svg")),
                  QIcon(QStringLiteral(":/phrasora/icons/folder-open.svg"))};
}

void TMain::buildActions()
{
    const auto tool = [this](const char* name, const char* caption, int image) {
        auto* action = new QAction(imgMenu.value(image), QString::fromUtf8(caption), this);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(QString::fromUtf8(caption));
        return action;
    };
    tNew = tool("tNew", "Neu", 0);
    tOpen = tool("tOpen", "Öffnen", 1);
    tSave = tool("tSave", "Speichern", 2);
    tSendTo = tool("tSendTo", "Senden an", 3);
    tPrint = tool("tPrint", "Drucken", 4);
    tProperties = tool("tProperties", "Einstellungen", 5);
    tNewDir = tool("tNewDir", "Neuer Ordner", 7);
    tEditDir = tool("tEditDir", "Ordner Bearbeiten", 8);
    tDelDir = tool("tDelDir", "Ordner Löschen", 9);
    tNewText = tool("tNewText", "Neuer Text", 10);
    tNewRichText = tool("tNewRichText", "Neuer formatierter Text", 11);
    tNewMail = tool("tNewMail", "Neue eMail", 12);
    tNewLink = tool("tNewLink", "Neuer Hyperlink", 14);
    tExecute = tool("tExecute", "Ausführen", 13);
}

void TMain::buildMenus()
{
    QMenuBar* bar = menuBar();
    Datei1 = bar->addMenu(QStringLiteral("Datei"));
    Neu1 = item(Datei1, "Neu1", "Neu");
    NeumitAssistent1 = item(Datei1, "NeumitAssistent1", "Neu mit Assistent");
    ffnen1 = item(Datei1, "ffnen1", "Öffnen");
    ArchivSchlieen1 = item(Datei1, "ArchivSchlieen1", "Archiv Schließen");
    Datei1->addSeparator();
    ArchivEigenschaften1 = item(Datei1, "ArchivEigenschaften1", "Archiv Eigenschaften");
    Datei1->addSeparator();
    Speichern1 = item(Datei1, "Speichern1", "Speichern");
    Speicherunter1 = item(Datei1, "Speicherunter1", "Speicher unter");
    Sendenan1 = item(Datei1, "Sendenan1", "Senden an");
    Datei1->addSeparator();
    Schlieen1 = item(Datei1, "Schlieen1", "Schließen");
    Neu1->setIcon(imgMenu[0]);
    ffnen1->setIcon(imgMenu[1]);
    Speichern1->setIcon(imgMenu[2]);
    Sendenan1->setIcon(imgMenu[3]);
    Schlieen1->setIcon(imgMenu[16]);

    Bearbeiten1 = bar->addMenu(QStringLiteral("Bearbeiten"));
    Ausschneiden1 = item(Bearbeiten1, "Ausschneiden1", "Ausschneiden");
    Kopieren1 = item(Bearbeiten1, "Kopieren1", "Kopieren");
    Einfgen1 = item(Bearbeiten1, "Einfgen1", "Einfügen");

    Ordner1 = bar->addMenu(QStringLiteral("Ordner"));
    NeuerOrdner1 = item(Ordner1, "NeuerOrdner1", "Neuer Ordner");
    Ordner1->addSeparator();
    OrdnerBearbeiten1 = item(Ordner1, "OrdnerBearbeiten1", "Ordner Bearbeiten");
    OrdnerLschen1 = item(Ordner1, "OrdnerLschen1", "Ordner Löschen");
    Ordner1->addSeparator();
    OrdneraufsteigendSortieren1 =
        item(Ordner1, "OrdneraufsteigendSortieren1", "Ordner aufsteigend Sortieren");
    OrdnerabsteigendSortieren1 =
        item(Ordner1, "OrdnerabsteigendSortieren1", "Ordner absteigend Sortieren");
    NeuerOrdner1->setIcon(imgMenu[7]);
    OrdnerBearbeiten1->setIcon(imgMenu[8]);
    OrdnerLschen1->setIcon(imgMenu[9]);

    Eintrge1 = bar->addMenu(QStringLiteral("Einträge"));
    NeuerText1 = item(Eintrge1, "NeuerText1", "Neuer Text");
    Neuer1 = item(Eintrge1, "Neuer1", "Neuer formatierter Text");
    NeueeMail1 = item(Eintrge1, "NeueeMail1", "Neue eMail");
    NeuerHyperlink1 = item(Eintrge1, "NeuerHyperlink1", "Neuer Hyperlink");
    Eintrge1->addSeparator();
    Eintragbar1 = item(Eintrge1, "Eintragbar1", "Eintrag bearbeiten");
    Eintragverschieben1 = item(Eintrge1, "Eintragverschieben1", "Eintrag verschieben");
    Eintraglschen1 = item(Eintrge1, "Eintraglschen1", "Eintrag löschen");
    Eintrge1->addSeparator();
    EintrgeaufsteigendSortieren1 =
        item(Eintrge1, "EintrgeaufsteigendSortieren1", "Einträge aufsteigend Sortieren");
    EintrgeabsteigendSortieren1 =
        item(Eintrge1, "EintrgeabsteigendSortieren1", "Einträge absteigend Sortieren");
    NeuerText1->setIcon(imgMenu[10]);
    Neuer1->setIcon(imgMenu[11]);
    NeueeMail1->setIcon(imgMenu[12]);
    NeuerHyperlink1->setIcon(imgMenu[14]);

    Extras1 = bar->addMenu(QStringLiteral("Extras"));
    Einstellungen1 = item(Extras1, "Einstellungen1", "Einstellungen");
    Einstellungen1->setIcon(imgMenu[5]);
    Sprache1 = Extras1->addMenu(QStringLiteral("Sprache"));
    Sprache1->setObjectName(QStringLiteral("Sprache1"));

    N1 = bar->addMenu(QStringLiteral("?"));
    Hilfe1 = item(N1, "Hilfe1", "Hilfe");
    KorvantisHomepage1 = item(N1, "KorvantisHomepage1", "Korvantis Homepage");
    N1->addSeparator();
    Information1 = item(N1, "Information1", "Information");

    // Help is reached with F1; the menu item opens the start of the manual.
    Hilfe1->setShortcut(QKeySequence::HelpContents);
    connect(Hilfe1, &QAction::triggered, this, [] { Help::Open(30); });

    connect(Neu1, &QAction::triggered, this, [this] { guarded([this] { Neu1Click(); }); });
    connect(NeumitAssistent1, &QAction::triggered, this,
            [this] { guarded([this] { NeumitAssistent1Click(); }); });
    connect(ffnen1, &QAction::triggered, this, [this] { guarded([this] { ffnen1Click(); }); });
    connect(ArchivSchlieen1, &QAction::triggered, this,
            [this] { guarded([this] { ArchivSchlieen1Click(); }); });
    connect(ArchivEigenschaften1, &QAction::triggered, this,
            [this] { guarded([this] { ArchivEigenschaften1Click(); }); });
    connect(Speichern1, &QAction::triggered, this, [this] { guarded([this] { Speichern1Click(); }); });
    connect(Speicherunter1, &QAction::triggered, this,
            [this] { guarded([this] { Speicherunter1Click(); }); });
    connect(Sendenan1, &QAction::triggered, this, [this] { guarded([this] { Sendenan1Click(); }); });
    connect(Schlieen1, &QAction::triggered, this, &QWidget::close);
    connect(Einstellungen1, &QAction::triggered, this,
            [this] { guarded([this] { Einstellungen1Click(); }); });
    connect(KorvantisHomepage1, &QAction::triggered, this, [this] { KorvantisHomepage1Click(); });
    connect(Information1, &QAction::triggered, this, [this] { guarded([this] { Information1Click(); }); });

    // The edit items act on the preview and are offered only with a selection.
    connect(Bearbeiten1, &QMenu::aboutToShow, this, [this] {
        const bool selected = rPreview->textCursor().hasSelection();
        Ausschneiden1->setEnabled(selected);
        Kopieren1->setEnabled(selected);
        Einfgen1->setEnabled(selected);
    });
    connect(Kopieren1, &QAction::triggered, this, [this] { rPreview->copy(); });
    connect(Ausschneiden1, &QAction::triggered, this, [this] { rPreview->copy(); });
}

void TMain::buildToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("tMainBar"));
    bar->setObjectName(QStringLiteral("tMainBar"));
    bar->setMovable(false);
    // Icons with their hints as tips: the captions of fourteen buttons would
    // not fit the window in most languages.
    bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    bar->setIconSize(QSize(24, 24));
    bar->addAction(tNew);
    bar->addAction(tOpen);
    popHistory = new QMenu(this);
    popHistory->setObjectName(QStringLiteral("popHistory"));
    tOpen->setMenu(popHistory);
    if (auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(tOpen))) {
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(button, &QWidget::customContextMenuRequested, this,
                [this, button](const QPoint& pos) { popHistory->popup(button->mapToGlobal(pos)); });
    }
    bar->addSeparator();
    bar->addAction(tSave);
    bar->addAction(tSendTo);
    bar->addSeparator();
    bar->addAction(tPrint);
    bar->addSeparator();
    bar->addAction(tProperties);
    bar->addSeparator();
    bar->addAction(tNewDir);
    bar->addAction(tEditDir);
    bar->addAction(tDelDir);
    bar->addSeparator();
    bar->addAction(tNewText);
    bar->addAction(tNewRichText);
    bar->addAction(tNewMail);
    bar->addAction(tNewLink);
    bar->addSeparator();
    bar->addAction(tExecute);

    // A tool button runs its menu item, which does nothing while disabled.
    const auto runs = [this](QAction* button, QAction* menuItem) {
        connect(button, &QAction::triggered, this, [menuItem] {
            if (menuItem->isEnabled())
                menuItem->trigger();
        });
    };
    runs(tNew, Neu1);
    connect(tOpen, &QAction::triggered, this, [this] {
        guarded([this] { ffnen1Click(); });
        FillHistoryMenu();
    });
    runs(tSave, Speichern1);
    runs(tSendTo, Sendenan1);
    runs(tProperties, Einstellungen1);
    runs(tNewDir, NeuerOrdner1);
    runs(tEditDir, OrdnerBearbeiten1);
    runs(tDelDir, OrdnerLschen1);
    runs(tNewText, NeuerText1);
    runs(tNewRichText, Neuer1);
    runs(tNewMail, NeueeMail1);
    runs(tNewLink, NeuerHyperlink1);
}

void TMain::buildViews()
{
    auto* panMain = new QFrame(this);
    panMain->setObjectName(QStringLiteral("panMain"));
    panMain->setFrameShape(QFrame::StyledPanel);
    panMain->setFrameShadow(QFrame::Sunken);
    auto* mainLayout = new QHBoxLayout(panMain);
    mainLayout->setContentsMargins(2, 2, 2, 2);

    auto* vertical = new QSplitter(Qt::Horizontal, panMain);
    tList = new QTreeWidget(vertical);
    tList->setObjectName(QStringLiteral("tList"));
    tList->setHeaderHidden(true);
    tList->setIndentation(19);
    tList->setSelectionBehavior(QAbstractItemView::SelectRows);
    tList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    tList->installEventFilter(this);
    connect(tList, &QTreeWidget::itemClicked, this, [this] { tListClick(); });
    connect(tList, &QTreeWidget::itemExpanded, this,
            [this](QTreeWidgetItem* node) { node->setIcon(0, imgFolders.value(1)); });
    connect(tList, &QTreeWidget::itemCollapsed, this,
            [this](QTreeWidgetItem* node) { node->setIcon(0, imgFolders.value(0)); });
    // tListAddition: every node starts with the closed-folder image.
    connect(tList->model(), &QAbstractItemModel::rowsInserted, this, [this] {
        QTreeWidgetItemIterator it(tList);
        for (; *it; ++it) {
            if ((*it)->icon(0).isNull())
                (*it)->setIcon(0, imgFolders.value((*it)->isExpanded() ? 1 : 0));
        }
    });

    auto* right = new QSplitter(Qt::Vertical, vertical);
    lsDoc = new TEntryList(right);
    lsDoc->setObjectName(QStringLiteral("lsDoc"));
    lsDoc->setHeaderLabels({QStringLiteral("ID"), QStringLiteral("Name"),
                            QStringLiteral("Beschreibung"), QStringLiteral("Typ")});
    lsDoc->header()->setSectionsClickable(true);
    lsDoc->header()->setSortIndicatorShown(false);
    lsDoc->header()->setSectionResizeMode(QHeaderView::Interactive);
    lsDoc->header()->setStretchLastSection(true);
    lsDoc->setColumnWidth(0, 60);
    lsDoc->setColumnWidth(1, 180);
    lsDoc->setColumnWidth(2, 180);
    lsDoc->installEventFilter(this);
    lsDoc->dragText = [this](int id) {
        TTextData entry;
        m_archive->GetTextEntry(id, entry);
        return entry.text;
    };
    connect(lsDoc, &QTreeWidget::itemClicked, this, [this] { lsDocClick(); });
    connect(lsDoc->header(), &QHeaderView::sectionClicked, this,
            [this](int column) { lsDocColumnClick(column); });

    popDocuments = new QMenu(this);
    Bearbeiten2 = item(popDocuments, "Bearbeiten2", "Bearbeiten");
    Lschen1 = item(popDocuments, "Lschen1", "Löschen");
    popDocuments->addSeparator();
    Eigenschaften1 = item(popDocuments, "Eigenschaften1", "Eigenschaften");
    lsDoc->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(lsDoc, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        const bool row = lsDoc->currentItem() && lsDoc->currentItem()->isSelected();
        for (QAction* a : popDocuments->actions())
            a->setEnabled(row);
        popDocuments->popup(lsDoc->viewport()->mapToGlobal(pos));
    });

    auto* previewPanel = new QWidget(right);
    auto* previewLayout = new QVBoxLayout(previewPanel);
    previewLayout->setContentsMargins(0, 0, 0, 0);
    previewLayout->setSpacing(0);
    lblPreview = new QLabel(QStringLiteral("Vorschau"), previewPanel);
    lblPreview->setObjectName(QStringLiteral("lblPreview"));
    QFont bold = lblPreview->font();
    bold.setBold(true);
    lblPreview->setFont(bold);
    lblPreview->setFixedHeight(29);
    lblPreview->setContentsMargins(6, 0, 6, 0);
    rPreview = new QTextBrowser(previewPanel);
    rPreview->setObjectName(QStringLiteral("rPreview"));
    rPreview->setOpenLinks(false);
    rPreview->setOpenExternalLinks(false);
    rPreview->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(rPreview, &QTextBrowser::anchorClicked, this, [this](const QUrl& url) {
        // rPreviewURLClick: a left click opens the address with the desktop.
        if (m_services.shell && QApplication::mouseButtons() == Qt::NoButton)
            m_services.shell->OpenUrl(url.toString());
    });
    previewLayout->addWidget(lblPreview);
    previewLayout->addWidget(rPreview);

    right->addWidget(lsDoc);
    right->addWidget(previewPanel);
    right->setSizes({184, 300});
    right->setStretchFactor(1, 1);
    vertical->addWidget(tList);
    vertical->addWidget(right);
    vertical->setSizes({228, 540});
    vertical->setStretchFactor(1, 1);
    mainLayout->addWidget(vertical);
    setCentralWidget(panMain);
    statusBar()->setSizeGripEnabled(true);
}
