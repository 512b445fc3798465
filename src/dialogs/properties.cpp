#include "dialogs/properties.h"

#include "dialogs/hotkeyedit.h"
#include "dialogs/messages.h"
#include "language/language.h"
#include "platform/exception.h"
#include "platform/mail.h"
#include "settings/properties_handling.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int HelpContext = 120;
constexpr quint16 StartingHotKey = 32833; // Alt+A

template <typename W> W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

// The conversion error of a text that is no whole number.
QString NotAnInteger(const QString& text) {
    if (QLocale::system().language() == QLocale::German)
        return QStringLiteral("'") + text + QStringLiteral("' ist kein gültiger Integerwert");
    return QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value");
}

// Two spellings of one file are one archive; on this system letter case
// makes another file.
QString SameFileKey(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

} // namespace

TProperties::TProperties(QWidget* parent, IMail* mail)
    : QDialog(parent), m_settings(std::make_unique<TPropertiesHandling>()),
      m_language(std::make_unique<TLanguageHandling>()), m_mail(mail) {
    if (!m_mail) {
        m_ownMail = std::make_unique<TXdgMail>();
        m_mail = m_ownMail.get();
    }
    setObjectName(QStringLiteral("TProperties"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    pMain = named<QTabWidget>(this, "pMain");
    tAllgemein = named<QWidget>(pMain, "tAllgemein");
    tArchives = named<QWidget>(pMain, "tArchives");
    pMain->addTab(tAllgemein, QString());
    pMain->addTab(tArchives, QString());

    // Page "Allgemein".
    fraKeys = named<QGroupBox>(tAllgemein, "fraKeys");
    TntLabel1 = named<QLabel>(fraKeys, "TntLabel1");
    TntLabel2 = named<QLabel>(fraKeys, "TntLabel2");
    hQuick = named<THotKeyEdit>(fraKeys, "hQuick");
    hView = named<THotKeyEdit>(fraKeys, "hView");
    TntLabel1->setBuddy(hQuick);
    TntLabel2->setBuddy(hView);
    hQuick->SetHotKey(StartingHotKey);
    hView->SetHotKey(StartingHotKey);
    auto* keys = new QGridLayout(fraKeys);
    keys->setColumnStretch(1, 1);
    keys->addWidget(TntLabel1, 0, 0);
    keys->addWidget(hQuick, 0, 1);
    keys->addWidget(TntLabel2, 1, 0);
    keys->addWidget(hView, 1, 1);

    fraMisc = named<QGroupBox>(tAllgemein, "fraMisc");
    chkShowSplash = named<QCheckBox>(fraMisc, "chkShowSplash");
    chkWinStart = named<QCheckBox>(fraMisc, "chkWinStart");
    auto* misc = new QVBoxLayout(fraMisc);
    misc->addWidget(chkShowSplash);
    misc->addWidget(chkWinStart);

    fraProxy = named<QGroupBox>(tAllgemein, "fraProxy");
    chkProxyDefault = named<QRadioButton>(fraProxy, "chkProxyDefault");
    chkProxyElse = named<QRadioButton>(fraProxy, "chkProxyElse");
    chkProxyDefault->setChecked(true);
    TntLabel3 = named<QLabel>(fraProxy, "TntLabel3");
    TntLabel4 = named<QLabel>(fraProxy, "TntLabel4");
    Server = named<QLineEdit>(fraProxy, "Server");
    Port = named<QLineEdit>(fraProxy, "Port");
    TntLabel3->setBuddy(Server);
    TntLabel4->setBuddy(Port);
    Port->setMaximumWidth(80);
    for (QWidget* w : {static_cast<QWidget*>(TntLabel3), static_cast<QWidget*>(Server),
                       static_cast<QWidget*>(TntLabel4), static_cast<QWidget*>(Port)})
        w->setEnabled(false);
    connect(chkProxyDefault, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkProxyDefaultClick();
    });
    connect(chkProxyElse, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            chkProxyElseClick();
    });
    auto* proxy = new QGridLayout(fraProxy);
    proxy->addWidget(chkProxyDefault, 0, 0, 1, 4);
    proxy->addWidget(chkProxyElse, 1, 0, 1, 4);
    proxy->addWidget(TntLabel3, 2, 0);
    proxy->addWidget(Server, 2, 1);
    proxy->addWidget(TntLabel4, 2, 2);
    proxy->addWidget(Port, 2, 3);
    proxy->setColumnStretch(1, 1);
    proxy->setColumnMinimumWidth(0, 20);

    auto* general = new QVBoxLayout(tAllgemein);
    general->addWidget(fraKeys);
    general->addWidget(fraMisc);
    general->addWidget(fraProxy);
    general->addStretch(1);

    // Page "Verwendete Archive".
    lsArchives = named<QTableWidget>(tArchives, "lsArchives");
    lsArchives->setColumnCount(1);
    lsArchives->setShowGrid(true);
    lsArchives->setSelectionBehavior(QAbstractItemView::SelectRows);
    lsArchives->setSelectionMode(QAbstractItemView::SingleSelection);
    lsArchives->setEditTriggers(QAbstractItemView::NoEditTriggers);
    lsArchives->verticalHeader()->hide();
    lsArchives->horizontalHeader()->setStretchLastSection(true);
    lsArchives->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    lsArchives->setWordWrap(false);
    lsArchives->setTextElideMode(Qt::ElideMiddle);
    cmdAdd = named<QPushButton>(tArchives, "cmdAdd");
    cmdDel = named<QPushButton>(tArchives, "cmdDel");
    cmdSendTo = named<QPushButton>(tArchives, "cmdSendTo");
    for (QPushButton* b : {cmdAdd, cmdDel, cmdSendTo})
        b->setAutoDefault(false);
    connect(cmdAdd, &QPushButton::clicked, this, [this] { cmdAddClick(); });
    connect(cmdDel, &QPushButton::clicked, this, [this] { cmdDelClick(); });
    connect(cmdSendTo, &QPushButton::clicked, this, [this] { cmdSendToClick(); });
    auto* archiveButtons = new QVBoxLayout;
    archiveButtons->addWidget(cmdAdd);
    archiveButtons->addWidget(cmdDel);
    archiveButtons->addSpacing(12);
    archiveButtons->addWidget(cmdSendTo);
    archiveButtons->addStretch(1);
    auto* archives = new QHBoxLayout(tArchives);
    archives->addWidget(lsArchives, 1);
    archives->addLayout(archiveButtons);

    cmdOk = named<QPushButton>(this, "cmdOk");
    cmdAbort = named<QPushButton>(this, "cmdAbort");
    cmdOk->setDefault(true);
    cmdAbort->setAutoDefault(false);
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOkClick(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbortClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk);
    buttons->addWidget(cmdAbort);

    auto* main = new QVBoxLayout(this);
    main->addWidget(pMain, 1);
    main->addLayout(buttons);

    pMain->setCurrentIndex(0);
}

TProperties::~TProperties() = default;

void TProperties::showEvent(QShowEvent* event) {
    FormShow();
    layout()->activate();
    setFixedSize(sizeHint().expandedTo(QSize(420, 0)));
    QDialog::showEvent(event);
}

void TProperties::FormShow() {
    setWindowTitle(m_language->GetCaption(12));
    const QString section = QStringLiteral("properties");
    auto text = [&](int key, const char* def) {
        return m_language->GetText(section, QString::number(key), QString::fromUtf8(def));
    };
    lsArchives->setHorizontalHeaderLabels({text(19, "Dateiname")});
    pMain->setTabText(0, text(12, "Allgemein"));
    pMain->setTabText(1, text(13, "Verwendete Archive"));
    fraKeys->setTitle(text(1, "Tastenkombination"));
    TntLabel1->setText(text(2, "Quick-Menu"));
    TntLabel2->setText(text(3, "Anzeige"));
    fraMisc->setTitle(text(4, "Sonstiges"));
    chkShowSplash->setText(text(5, "Splash-Screen anzeigen"));
    chkWinStart->setText(text(6, "Mit Windows Starten"));
    fraProxy->setTitle(text(7, "Proxyserver"));
    chkProxyDefault->setText(text(8, "Standardeinstellungen verwenden"));
    chkProxyElse->setText(text(9, "Folgenden Proxy verwenden"));
    TntLabel3->setText(text(10, "Server:"));
    TntLabel4->setText(text(11, "Port:"));
    cmdAdd->setText(text(14, "Hinzufügen"));
    cmdDel->setText(text(15, "Entfernen"));
    cmdSendTo->setText(text(16, "Senden an"));
    cmdOk->setText(text(17, "Ok"));
    cmdAbort->setText(text(18, "Abbrechen"));

    const TProperties_& p = m_settings->Properties;
    if (p.QuickMenuKey != 0)
        hQuick->SetHotKey(p.QuickMenuKey);
    if (p.ViewKey != 0)
        hView->SetHotKey(p.ViewKey);
    chkShowSplash->setChecked(p.ShowSplash);
    chkWinStart->setChecked(p.StartWithWindows);

    // The two choices are set one after the other, so with both flags on
    // the second wins; with both off neither is chosen, which exclusive
    // radio buttons allow only while they are not exclusive.
    chkProxyDefault->setAutoExclusive(false);
    chkProxyElse->setAutoExclusive(false);
    chkProxyDefault->setChecked(p.ProxyUseDefault);
    if (p.ProxyCustom)
        chkProxyDefault->setChecked(false);
    chkProxyElse->setChecked(p.ProxyCustom);
    chkProxyDefault->setAutoExclusive(true);
    chkProxyElse->setAutoExclusive(true);
    if (!chkProxyElse->isChecked())
        chkProxyDefaultClick();

    Server->setText(p.ProxyServer);
    Port->setText(QString::number(p.ProxyPort));

    lsArchives->setRowCount(0);
    for (const QString& path : p.UsedDocuments)
        AddArchiveRow(path);
}

void TProperties::chkProxyDefaultClick() {
    for (QWidget* w : {static_cast<QWidget*>(TntLabel3), static_cast<QWidget*>(Server),
                       static_cast<QWidget*>(TntLabel4), static_cast<QWidget*>(Port)})
        w->setEnabled(false);
}

void TProperties::chkProxyElseClick() {
    for (QWidget* w : {static_cast<QWidget*>(TntLabel3), static_cast<QWidget*>(Server),
                       static_cast<QWidget*>(TntLabel4), static_cast<QWidget*>(Port)})
        w->setEnabled(true);
}

void TProperties::AddArchiveRow(const QString& path) {
    const int row = lsArchives->rowCount();
    lsArchives->insertRow(row);
    auto* item = new QTableWidgetItem(style()->standardIcon(QStyle::SP_FileIcon), path);
    item->setToolTip(path);
    lsArchives->setItem(row, 0, item);
}

QString TProperties::SelectedPath() const {
    const QList<QTableWidgetItem*> selected = lsArchives->selectedItems();
    return selected.isEmpty() ? QString() : selected.first()->text();
}

void TProperties::cmdAddClick() {
    const QString path =
        FileDialogs::GetOpenFileName(this, QStringLiteral("Phrasora Archive (*.phr)"));
    if (path.isEmpty())
        return;
    const QString key = SameFileKey(path);
    for (int row = 0; row < lsArchives->rowCount(); ++row) {
        if (SameFileKey(lsArchives->item(row, 0)->text()) == key) {
            Messages::ShowInformation(this, m_language->GetMessage(8));
            return;
        }
    }
    if (QFileInfo(path).isFile())
        AddArchiveRow(path);
}

void TProperties::cmdDelClick() {
    const QList<QTableWidgetItem*> selected = lsArchives->selectedItems();
    if (selected.isEmpty())
        return;
    if (Messages::Confirm(this, m_language->GetMessage(9)))
        lsArchives->removeRow(selected.first()->row());
}

void TProperties::cmdSendToClick() {
    const QString path = SelectedPath();
    if (!path.isEmpty() && QFileInfo(path).isFile())
        m_mail->SendFileByMail(path);
}

void TProperties::cmdOkClick() {
    TProperties_& p = m_settings->Properties;
    p.QuickMenuKey = hQuick->HotKey();
    p.ViewKey = hView->HotKey();
    p.ShowSplash = chkShowSplash->isChecked();
    p.StartWithWindows = chkWinStart->isChecked();
    p.ProxyUseDefault = chkProxyDefault->isChecked();
    p.ProxyCustom = chkProxyElse->isChecked();
    p.ProxyServer = Server->text();
    bool ok = false;
    const int port = Port->text().trimmed().toInt(&ok);
    if (!ok) {
        Messages::ShowStop(this, NotAnInteger(Port->text()));
        return;
    }
    p.ProxyPort = port;
    p.UsedDocuments.clear();
    for (int row = 0; row < lsArchives->rowCount(); ++row)
        p.UsedDocuments.append(lsArchives->item(row, 0)->text());
    try {
        m_settings->SaveSettings();
    } catch (const Exception& e) {
        Messages::ShowStop(this, e.Message());
        return;
    }
    m_stored = true;
    accept();
}

void TProperties::cmdAbortClick() {
    reject();
}

void TProperties::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Help::Open(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

bool ShowProperties(IMail* mail, QWidget* parent) {
    TProperties dialog(parent, mail);
    dialog.exec();
    return dialog.Stored();
}
