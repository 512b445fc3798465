#include "dialogs/about.h"

#include "dialogs/datetext.h"
#include "language/language.h"
#include "platform/shell.h"
#include "settings/mainfunc.h"

#include <QApplication>
#include <QDateTime>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>
#include <functional>

#ifndef PHRASORA_BUILD_TIME
#define PHRASORA_BUILD_TIME 0
#endif

namespace {

// The fixed maker information: not translated, one place to change it.
namespace Maker {
const char* const Programmer = "Korvantis Software";
const char* const Artist = "Korvantis Design";
const char* const Rights = "© 2026 Korvantis Software";
const char* const Names = "Phrasora Team";
const char* const Company = "Korvantis Software";
const char* const Street = "Musterstraße 1";
const char* const City = "12345 Musterstadt";
const char* const Phone = "Tel. +49 1234 567890";
const char* const Support = "support@korvantis.example";
const char* const Homepage = "https://www.korvantis.example/";
const char* const Testers[] = {"Anna Beispiel", "Bernd Muster"};
} // namespace Maker

// A link drawn in navy that turns blue and underlined under the pointer
// and opens its address when clicked.
class TLinkLabel : public QLabel {
public:
    TLinkLabel(const QString& text, std::function<void()> open, QWidget* parent)
        : QLabel(text, parent), m_open(std::move(open)) {
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::NoFocus);
        LinkMouseLeave();
    }

    void LinkMouseEnter() { setLook(QColor(Qt::blue), true); }
    void LinkMouseLeave() { setLook(QColor(0, 0, 128), false); }

protected:
    void enterEvent(QEnterEvent* event) override {
        LinkMouseEnter();
        QLabel::enterEvent(event);
    }
    void leaveEvent(QEvent* event) override {
        LinkMouseLeave();
        QLabel::leaveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        QLabel::mouseReleaseEvent(event);
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            m_open();
    }

private:
    void setLook(const QColor& colour, bool underline) {
        QPalette p = palette();
        p.setColor(QPalette::WindowText, colour);
        setPalette(p);
        QFont f = font();
        f.setUnderline(underline);
        setFont(f);
    }

    std::function<void()> m_open;
};

QLabel* plain(const char* text, QWidget* parent) {
    return new QLabel(QString::fromUtf8(text), parent);
}

} // namespace

TAbout::TAbout(QWidget* parent, IShell* shell) : QDialog(parent), m_shell(shell) {
    if (!m_shell) {
        m_ownShell = std::make_unique<TXdgShell>();
        m_shell = m_ownShell.get();
    }
    setObjectName(QStringLiteral("TAbout"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* icon = new QLabel(this);
    QIcon programIcon = QApplication::windowIcon();
    if (programIcon.isNull())
        programIcon = style()->standardIcon(QStyle::SP_DesktopIcon);
    icon->setPixmap(programIcon.pixmap(48, 48));
    icon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    Label1 = new QLabel(QStringLiteral("Phrasora"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont title = Label1->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.5);
    Label1->setFont(title);
    auto named = [this](const char* name) {
        auto* label = new QLabel(this);
        label->setObjectName(QLatin1String(name));
        return label;
    };
    lblVersion = named("lblVersion");
    lblCompile = named("lblCompile");
    Label3 = named("Label3");
    Label4 = named("Label4");

    auto* head = new QVBoxLayout;
    head->setSpacing(2);
    head->addWidget(Label1);
    head->addWidget(lblVersion);
    head->addWidget(lblCompile);
    head->addSpacing(6);
    head->addWidget(Label3);
    head->addWidget(Label4);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(head, 1);

    lblMail = new TLinkLabel(
        QString::fromUtf8(Maker::Support),
        [this] { OpenLink(QStringLiteral("mailto:") + SupportAddress()); }, this);
    lblMail->setObjectName(QStringLiteral("lblMail"));
    lblHomepage = new TLinkLabel(
        QString::fromUtf8(Maker::Homepage), [this] { OpenLink(HomepageUrl()); }, this);
    lblHomepage->setObjectName(QStringLiteral("lblHomepage"));

    auto* maker = new QVBoxLayout;
    maker->setSpacing(2);
    maker->addWidget(plain(Maker::Rights, this));
    maker->addWidget(plain(Maker::Names, this));
    maker->addSpacing(6);
    maker->addWidget(plain(Maker::Company, this));
    maker->addWidget(plain(Maker::Street, this));
    maker->addWidget(plain(Maker::City, this));
    maker->addWidget(plain(Maker::Phone, this));
    maker->addSpacing(6);
    maker->addWidget(lblMail);
    maker->addWidget(lblHomepage);

    auto* beta = new QGroupBox(QStringLiteral("Beta Test"), this);
    auto* testers = new QVBoxLayout(beta);
    for (const char* tester : Maker::Testers)
        testers->addWidget(plain(tester, beta));
    testers->addStretch(1);

    auto* bottom = new QHBoxLayout;
    bottom->addLayout(maker, 1);
    bottom->addSpacing(8);
    bottom->addWidget(beta, 0, Qt::AlignTop);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* main = new QVBoxLayout(this);
    main->addLayout(top);
    main->addWidget(line);
    main->addLayout(bottom);
    main->setSizeConstraint(QLayout::SetFixedSize);
}

TAbout::~TAbout() = default;

qint64 TAbout::BuildTime() {
    return qint64(PHRASORA_BUILD_TIME);
}

QString TAbout::SupportAddress() {
    return QString::fromUtf8(Maker::Support);
}
QString TAbout::HomepageUrl() {
    return QString::fromUtf8(Maker::Homepage);
}

void TAbout::showEvent(QShowEvent* event) {
    FormShow();
    // The new texts may need other button widths before the window appears.
    layout()->activate();
    QDialog::showEvent(event);
}

void TAbout::FormShow() {
    {
        const TLanguageHandling language;
        setWindowTitle(language.GetCaption(2));
        const QString section = QStringLiteral("about");
        auto text = [&](int key, const char* def) {
            return language.GetText(section, QString::number(key), QString::fromUtf8(def));
        };
        // Setting the texts anew each time keeps the version and the date
        // from being appended twice.
        lblVersion->setText(text(1, "Version"));
        lblCompile->setText(text(2, "Kompiliert am %s um %s"));
        Label3->setText(text(3, "Programmiert von") + QLatin1Char(' ') +
                        QString::fromUtf8(Maker::Programmer));
        Label4->setText(text(4, "Grafiken von") + QLatin1Char(' ') +
                        QString::fromUtf8(Maker::Artist));
    }
    lblVersion->setText(lblVersion->text() + QLatin1Char(' ') + TMainFunc().GetProgramVersion());
    // The stamp is UTC; the user reads it in local time.
    const QDateTime built = QDateTime::fromSecsSinceEpoch(BuildTime()).toLocalTime();
    lblCompile->setText(
        FormatText(lblCompile->text(), {DateText(built.date()), TimeText(built.time())}));
}

void TAbout::OpenLink(const QString& url) {
    m_shell->OpenUrl(url);
}
