#include "dialogs/newwizzard.h"

#include "dialogs/messages.h"
#include "language/language.h"
#include "settings/properties_handling.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

constexpr int HelpContext = 40;

QFrame* separator(QWidget* parent) {
    auto* line = new QFrame(parent);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    return line;
}

template <typename W> W* named(QWidget* parent, const char* name) {
    auto* w = new W(parent);
    w->setObjectName(QLatin1String(name));
    return w;
}

QLabel* wrapped(QWidget* parent, const char* name) {
    auto* label = named<QLabel>(parent, name);
    label->setWordWrap(true);
    return label;
}

} // namespace

TNewWizzard::TNewWizzard(QWidget* parent)
    : QDialog(parent), m_language(std::make_unique<TLanguageHandling>()),
      m_settings(std::make_unique<TPropertiesHandling>()) {
    setObjectName(QStringLiteral("TNewWizzard"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    // The white head panel with the step's title and description.
    auto* head = new QWidget(this);
    head->setObjectName(QStringLiteral("panHead"));
    head->setAutoFillBackground(true);
    QPalette headPalette = head->palette();
    headPalette.setColor(QPalette::Window, Qt::white);
    headPalette.setColor(QPalette::WindowText, Qt::black);
    head->setPalette(headPalette);
    lblTitle = named<QLabel>(head, "lblTitle");
    QFont bold = lblTitle->font();
    bold.setBold(true);
    lblTitle->setFont(bold);
    lblDesc = named<QLabel>(head, "lblDesc");
    auto* headLayout = new QVBoxLayout(head);
    headLayout->setContentsMargins(16, 10, 16, 10);
    headLayout->setSpacing(4);
    headLayout->addWidget(lblTitle);
    headLayout->addWidget(lblDesc);

    // Page 1: the archive's name, author and copyright.
    auto* basics = new QWidget(this);
    TntLabel1 = wrapped(basics, "TntLabel1");
    auto field = [](QWidget* page, QGridLayout* grid, int row, QLabel*& label, QLineEdit*& edit,
                    const char* labelName, const char* editName) {
        label = named<QLabel>(page, labelName);
        edit = named<QLineEdit>(page, editName);
        label->setBuddy(edit);
        grid->addWidget(label, row, 0);
        grid->addWidget(edit, row, 1);
    };
    auto* nameGrid = new QGridLayout;
    nameGrid->setColumnStretch(1, 1);
    field(basics, nameGrid, 0, lblBezeichnung, Bezeichnung, "lblBezeichnung", "Bezeichnung");
    auto* moreGrid = new QGridLayout;
    moreGrid->setColumnStretch(1, 1);
    field(basics, moreGrid, 0, lblAutor, Autor, "lblAutor", "Autor");
    field(basics, moreGrid, 1, lblCopyright, Copyright, "lblCopyright", "Copyright");
    // The labels of both grids share one width, so the edits line up.
    for (QLabel* label : {lblBezeichnung, lblAutor, lblCopyright})
        label->setMinimumWidth(90);
    auto* basicsLayout = new QVBoxLayout(basics);
    basicsLayout->addWidget(TntLabel1);
    basicsLayout->addSpacing(6);
    basicsLayout->addLayout(nameGrid);
    basicsLayout->addWidget(separator(basics));
    basicsLayout->addLayout(moreGrid);
    basicsLayout->addStretch(1);

    // Page 2: the file and the used-archives choice.
    auto* file = new QWidget(this);
    lblSelectFilename = wrapped(file, "lblSelectFilename");
    lblFilename = named<QLabel>(file, "lblFilename");
    Filename = named<QLineEdit>(file, "Filename");
    Filename->setReadOnly(true);
    lblFilename->setBuddy(Filename);
    cmdSelFile = named<QPushButton>(file, "cmdSelFile");
    cmdSelFile->setText(QStringLiteral("..."));
    cmdSelFile->setAutoDefault(false);
    cmdSelFile->setFixedWidth(cmdSelFile->fontMetrics().horizontalAdvance(QStringLiteral("...")) +
                              24);
    lblArchiveInfo = wrapped(file, "lblArchiveInfo");
    chkDirectArchive = named<QCheckBox>(file, "chkDirectArchive");
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(Filename, 1);
    fileRow->addWidget(cmdSelFile);
    auto* fileLayout = new QVBoxLayout(file);
    fileLayout->addWidget(lblSelectFilename);
    fileLayout->addSpacing(6);
    fileLayout->addWidget(lblFilename);
    fileLayout->addLayout(fileRow);
    fileLayout->addWidget(separator(file));
    fileLayout->addWidget(lblArchiveInfo);
    fileLayout->addWidget(chkDirectArchive);
    fileLayout->addStretch(1);

    pages = named<QStackedWidget>(this, "pages");
    pages->addWidget(basics);
    pages->addWidget(file);

    cmdBack = named<QPushButton>(this, "cmdBack");
    cmdNext = named<QPushButton>(this, "cmdNext");
    cmdAbort = named<QPushButton>(this, "cmdAbort");
    cmdNext->setDefault(true);
    cmdBack->setAutoDefault(false);
    cmdAbort->setAutoDefault(false);
    cmdBack->hide();
    connect(cmdBack, &QPushButton::clicked, this, [this] { cmdBackClick(); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { cmdNextClick(); });
    connect(cmdAbort, &QPushButton::clicked, this, [this] { cmdAbortClick(); });
    connect(cmdSelFile, &QPushButton::clicked, this, [this] { cmdSelFileClick(); });
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(11, 0, 11, 11);
    buttons->addStretch(1);
    buttons->addWidget(cmdBack);
    buttons->addWidget(cmdNext);
    buttons->addSpacing(8);
    buttons->addWidget(cmdAbort);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 0, 0, 0);
    main->addWidget(head);
    main->addWidget(separator(this));
    auto* body = new QVBoxLayout;
    body->setContentsMargins(11, 4, 11, 4);
    body->addWidget(pages, 1);
    main->addLayout(body, 1);
    main->addWidget(separator(this));
    main->addLayout(buttons);

    tmrCheck = new QTimer(this);
    tmrCheck->setObjectName(QStringLiteral("tmrCheck"));
    tmrCheck->setInterval(150);
    connect(tmrCheck, &QTimer::timeout, this, [this] { tmrCheckTimer(); });
    // Typing answers at once; the timer keeps Next right whatever changes.
    connect(Bezeichnung, &QLineEdit::textChanged, this, [this] { tmrCheckTimer(); });
    connect(Filename, &QLineEdit::textChanged, this, [this] { tmrCheckTimer(); });

    setFixedSize(475, 346);
}

TNewWizzard::~TNewWizzard() = default;

void TNewWizzard::showEvent(QShowEvent* event) {
    FormShow();
    layout()->activate();
    // A stacked page does not ask its wrapped texts for their height: give
    // each the room its text needs at the page's width.
    for (QLabel* label : {TntLabel1, lblSelectFilename, lblArchiveInfo}) {
        const int width = pages->contentsRect().width() -
                          2 * label->parentWidget()->layout()->contentsMargins().left();
        label->setMinimumHeight(label->heightForWidth(width));
    }
    for (int i = 0; i < pages->count(); ++i)
        pages->widget(i)->layout()->activate();
    layout()->activate();
    tmrCheck->start();
    QDialog::showEvent(event);
}

void TNewWizzard::FormShow() {
    setWindowTitle(m_language->GetCaption(16));
    const QString section = QStringLiteral("newwizzard");
    auto text = [&](int key, const char* def) {
        return m_language->GetText(section, QString::number(key), QString::fromUtf8(def));
    };
    m_nextText[0] = text(1, "Weiter");
    m_nextText[1] = text(2, "Fertig");
    m_title[0] = text(3, "Schritt 1 von 2");
    m_title[1] = text(4, "Schritt 2 von 2");
    m_desc[0] = text(5, "Bitte legen Sie die Archiv Grundeinstellungen fest.");
    m_desc[1] = text(6, "Bitte wählen Sie eine Ausgabedatei.");
    TntLabel1->setText(text(7, "Dieser Assistent unterstützt Sie beim Anlegen eines neuen "
                               "Archives. Geben Sie nachfolgend die Bezeichnung des Archives "
                               "sowie optional den Autor und einen Copyrightvermerk ein:"));
    lblBezeichnung->setText(text(8, "Bezeichnung"));
    lblAutor->setText(text(9, "Autor"));
    lblCopyright->setText(text(10, "Copyright"));
    lblSelectFilename->setText(text(11, "Wählen Sie nun den Dateinamen, unter dem das neue "
                                        "Archiv gespeichert werden soll."));
    lblFilename->setText(text(12, "Dateiname"));
    lblArchiveInfo->setText(text(13, "Um das Archiv sofort verwenden zu können, muss es in die "
                                     "Liste der zu verwendenden Archive eingetragen werden."));
    chkDirectArchive->setText(
        text(14, "Archiv in die Liste der zu verwendenden Archive aufnehmen"));
    cmdBack->setText(text(15, "Zurück"));
    const QString openingNext = text(16, "Weiter");
    cmdAbort->setText(text(17, "Abbrechen"));

    const int i = m_page == TPage::Basics ? 0 : 1;
    lblTitle->setText(m_title[i]);
    lblDesc->setText(m_desc[i]);
    cmdNext->setText(m_page == TPage::Basics ? openingNext : m_nextText[1]);
    tmrCheckTimer();
}

void TNewWizzard::tmrCheckTimer() {
    const QLineEdit* required = m_page == TPage::Basics ? Bezeichnung : Filename;
    cmdNext->setEnabled(!required->text().isEmpty());
}

void TNewWizzard::ShowPage(TPage page) {
    m_page = page;
    const int i = page == TPage::Basics ? 0 : 1;
    pages->setCurrentIndex(i);
    cmdBack->setVisible(page == TPage::File);
    cmdNext->setText(m_nextText[i]);
    lblTitle->setText(m_title[i]);
    lblDesc->setText(m_desc[i]);
    // Next follows the new page at once, not only at the next tick.
    tmrCheckTimer();
    if (page == TPage::Basics)
        Bezeichnung->setFocus();
    else
        cmdSelFile->setFocus();
}

void TNewWizzard::cmdBackClick() {
    if (m_page == TPage::File)
        ShowPage(TPage::Basics);
}

void TNewWizzard::cmdNextClick() {
    if (m_page == TPage::Basics) {
        if (!Bezeichnung->text().isEmpty())
            ShowPage(TPage::File);
        return;
    }
    if (Filename->text().isEmpty())
        return;
    if (chkDirectArchive->isChecked()) {
        // Appended as it is, even when the list holds it already.
        m_settings->Properties.UsedDocuments.append(Filename->text());
        try {
            m_settings->SaveSettings();
        } catch (const Exception& e) {
            // Reported like any failure of a command; the wizard stays open
            // so the user can try again or cancel.
            m_settings->Properties.UsedDocuments.removeLast();
            Messages::ShowStop(this, e.Message());
            return;
        }
    }
    m_cancelled = false;
    accept();
}

void TNewWizzard::cmdAbortClick() {
    m_cancelled = true;
    reject();
}

void TNewWizzard::cmdSelFileClick() {
    const QString path = FileDialogs::GetSaveFileName(this, QStringLiteral("Phrasora (*.phr)"),
                                                      QStringLiteral("phr"));
    if (!path.isEmpty())
        Filename->setText(path);
}

void TNewWizzard::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Help::Open(HelpContext);
        return;
    }
    QDialog::keyPressEvent(event);
}

QString RunNewArchiveWizard(TDocumentHeader& header, QWidget* parent) {
    TNewWizzard wizard(parent);
    wizard.exec();
    // Escape and the window frame cancel, as Abbrechen does.
    if (wizard.Cancelled())
        return {};

    const QString fileName = wizard.Filename->text();
    header.version = 1;
    header.caption = wizard.Bezeichnung->text();
    header.created = NowDateTime();
    header.updated = header.created;
    header.readonly = false;
    header.author = wizard.Autor->text();
    header.copyright = wizard.Copyright->text();
    header.filename = fileName;
    return fileName;
}
