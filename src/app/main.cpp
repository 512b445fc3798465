// Phrasora: splash, single instance, main window and tray.

#include "mainwindow/frmmain.h"
#include "mainwindow/frmsplash.h"

#include "dialogs/messages.h"
#include "platform/mail.h"
#include "platform/shell.h"
#include "platform/x11/localsingleinstance.h"
#include "platform/x11/x11hotkeys.h"

#include <QApplication>
#include <QGuiApplication>
#include <QPointer>
#include <QSessionManager>

#include <memory>

namespace {

// Any failure a command did not handle ends that command with a stop box;
// the program goes on.
class TApplication final : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const Exception& error) {
            Messages::ShowStop(activeWindow(), error.Message().isEmpty()
                                                   ? QString::fromLatin1(error.ClassName())
                                                   : error.Message());
        } catch (const std::exception& error) {
            Messages::ShowStop(activeWindow(), QString::fromLocal8Bit(error.what()));
        }
        return false;
    }
};

} // namespace

int main(int argc, char** argv)
{
    TApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Phrasora"));
    QApplication::setDesktopFileName(QStringLiteral("org.phrasora.Phrasora"));
    QApplication::setQuitOnLastWindowClosed(false);

    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();

    // One instance per user: a second start hands its arguments over and ends.
    TLocalSingleInstance instance;
    if (instance.Start(arguments) == ISingleInstance::Claim::HandedOver)
        return 0;

    std::unique_ptr<TX11HotKeys> hotKeys;
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        hotKeys = std::make_unique<TX11HotKeys>();
        if (!hotKeys->IsOpen())
            hotKeys.reset();
    }
    TXdgShell shell;
    TXdgMail mail;
    TMainServices services{hotKeys.get(), &shell, &mail};

    std::unique_ptr<TMain> mainWindow;
    const auto createMain = [&] {
        if (!mainWindow)
            mainWindow = std::make_unique<TMain>(services);
    };
    // A second start during the splash makes the main window at once.
    instance.SetHandler([&](const QStringList& received) {
        createMain();
        mainWindow->CmdLineReceived(received);
    });

    {
        // The main window is made while the splash is up, so that its
        // creation does not add to the splash's time.
        TSplash splash;
        splash.show();
        createMain();
        splash.exec();
    }

    // While the desktop session ends, close without asking.
    QObject::connect(&app, &QGuiApplication::commitDataRequest, mainWindow.get(),
                     [&](QSessionManager&) {
                         mainWindow->SetEndingSession();
                         mainWindow->close();
                     });
    QObject::connect(mainWindow.get(), &TMain::Closed, &app, &QCoreApplication::quit);
    mainWindow->show();
    const int result = app.exec();
    mainWindow.reset();
    return result;
}
