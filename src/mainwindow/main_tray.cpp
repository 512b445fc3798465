// The tray icon, the show/hide toggle, minimising to the tray and the
// quick-menu hot key.

#include "mainwindow/frmmain.h"

#include "language/language.h"
#include "mainwindow/treeviews.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QMenu>
#include <QTimer>

void TMain::buildTray()
{
    popTray = new QMenu(this);
    popTray->setObjectName(QStringLiteral("popTray"));
    Archive1 = popTray->addMenu(imgMenu.value(7), QStringLiteral("Archive"));
    Archive1->setObjectName(QStringLiteral("Archive1"));
    popTray->addSeparator();
    Anzeigen1 = popTray->addAction(imgMenu.value(15), QStringLiteral("Ausblenden"));
    Anzeigen1->setObjectName(QStringLiteral("Anzeigen1"));
    Beenden1 = popTray->addAction(imgMenu.value(16), QStringLiteral("Beenden"));
    Beenden1->setObjectName(QStringLiteral("Beenden1"));
    connect(Anzeigen1, &QAction::triggered, this, &TMain::Anzeigen1Click);
    // Beenden closes the main window, which asks first, also while hidden.
    connect(Beenden1, &QAction::triggered, this, &QWidget::close);

    TrayIcon = new QSystemTrayIcon(QIcon(QStringLiteral(":/phrasora/phrasora.svg")), this);
    TrayIcon->setToolTip(QStringLiteral("Velunta"));
    TrayIcon->setContextMenu(popTray);
    connect(TrayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::DoubleClick)
                    Anzeigen1Click();
            });
    TrayIcon->show();
}

void TMain::setToggleCaption(bool windowShown)
{
    const TLanguageHandling language;
    const QString caption = language.GetIdent(windowShown ? 6 : 5);
    // Without a language text the item keeps its main-window caption.
    if (!caption.isEmpty())
        Anzeigen1->setText(caption);
}

void TMain::Anzeigen1Click()
{
    if (isVisible() && !isMinimized()) {
        m_hidingToTray = true;
        hide();
        m_hidingToTray = false;
        setToggleCaption(false);
        Anzeigen1->setIcon(imgMenu.value(17));
    } else {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
        show();
        raise();
        activateWindow();
        setToggleCaption(true);
        Anzeigen1->setIcon(imgMenu.value(15));
    }
}

void TMain::TrayIconMinimizeToTray()
{
    // Minimised by the title-bar button or started with -m: only the tray
    // icon (and the quick bar) stay. The image of the toggle stays as it is.
    setToggleCaption(false);
    m_hidingToTray = true;
    setWindowState(windowState() & ~Qt::WindowMinimized);
    hide();
    m_hidingToTray = false;
}

void TMain::hQuickMenuHotKey()
{
    popTray->popup(QCursor::pos());
    popTray->activateWindow();
}
