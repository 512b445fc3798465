#include "mainwindow/frmsplash.h"

#include "mainwindow/frmmain.h"

#include "settings/mainfunc.h"
#include "settings/properties_handling.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QSvgRenderer>
#include <QTimer>

TSplash::TSplash(QWidget* parent) : QDialog(parent, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    InitPhrasoraResources();
    setObjectName(QStringLiteral("TSplash"));
    setFixedSize(440, 300);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->geometry().center() - rect().center());

    tmrWait = new QTimer(this);
    tmrWait->setSingleShot(true);
    tmrWait->setInterval(3500);
    connect(tmrWait, &QTimer::timeout, this, [this] {
        tmrWait->stop();
        accept();
    });
    tmrDoClose = new QTimer(this);
    tmrDoClose->setSingleShot(true);
    tmrDoClose->setInterval(50);
    connect(tmrDoClose, &QTimer::timeout, this, [this] {
        tmrDoClose->stop();
        accept();
    });
    tmrWait->start();
}

void TSplash::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bool showSplash = true;
    try {
        showSplash = TPropertiesHandling().Properties.ShowSplash;
    } catch (const std::exception&) {
        // Settings that cannot be read give the defaults.
    }
    if (!showSplash)
        tmrDoClose->start();
}

void TSplash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient background(0, 0, 0, height());
    background.setColorAt(0, QColor(0x2b, 0x5f, 0xb4));
    background.setColorAt(1, QColor(0x17, 0x35, 0x6e));
    p.fillRect(rect(), background);

    QSvgRenderer icon(QStringLiteral(":/phrasora/phrasora.svg"));
    icon.render(&p, QRectF(36, 70, 112, 112));

    QFont title = font();
    title.setPointSize(30);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(170, 80, 260, 60), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("Phrasora"));
    QFont sub = font();
    sub.setPointSize(11);
    p.setFont(sub);
    p.setPen(QColor(0xd6, 0xe4, 0xfa));
    p.drawText(QRect(172, 138, 260, 24), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Textbausteine · Text building blocks"));
    QFont small = font();
    small.setPointSize(9);
    p.setFont(small);
    p.drawText(QRect(20, 262, 400, 24), Qt::AlignRight | Qt::AlignVCenter,
               QStringLiteral("Version ") + TMainFunc().GetProgramVersion());
}
