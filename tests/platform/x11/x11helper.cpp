// A small X client for the tests of the desktop services. Modes:
//   textfield TITLE OUT   a window with a text field; its text goes to OUT
//                         whenever the typing pauses
//   clipboard             puts a fixed formatted entry on the clipboard,
//                         prints "ready" and serves it until ended
//   clipboard-read        prints the clipboard's plain text
//   instance ARGS...      claims the single instance with ARGS; prints
//                         "primary" and then "received: a|b" per list, or
//                         "handed-over" and ends
#include "platform/x11/localsingleinstance.h"
#include "platform/x11/qtclipboard.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString mode = args.value(0);

    if (mode == QLatin1String("textfield") && args.size() == 3) {
        QPlainTextEdit edit;
        edit.setWindowTitle(args.at(1));
        edit.resize(600, 400);
        const QString out = args.at(2);
        // Written once the typing pauses, so that saving does not slow the
        // field down.
        QTimer save;
        save.setSingleShot(true);
        save.setInterval(20);
        QObject::connect(&save, &QTimer::timeout, [&edit, out] {
            QSaveFile f(out);
            if (f.open(QIODevice::WriteOnly)) {
                f.write(edit.toPlainText().toUtf8());
                f.commit();
            }
        });
        QObject::connect(&edit, &QPlainTextEdit::textChanged, &save, qOverload<>(&QTimer::start));
        edit.show();
        return app.exec();
    }
    if (mode == QLatin1String("clipboard")) {
        TQtClipboard clipboard;
        TClipboardContent c;
        c.plainText = QStringLiteral("Grüße, Welt");
        c.rtf = "{\\rtf1\\ansi {\\b Gr\\'fc\\'dfe}, Welt}";
        c.html = QStringLiteral("<b>Grüße</b>, Welt");
        if (!clipboard.SetContent(c))
            return 1;
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }
    if (mode == QLatin1String("clipboard-read")) {
        TQtClipboard clipboard;
        std::printf("%s\n", clipboard.Text().toUtf8().constData());
        return 0;
    }
    if (mode == QLatin1String("instance")) {
        TLocalSingleInstance instance;
        instance.SetHandler([](const QStringList& list) {
            std::printf("received: %s\n", list.join(QLatin1Char('|')).toUtf8().constData());
            std::fflush(stdout);
        });
        switch (instance.Start(args.mid(1))) {
        case ISingleInstance::Claim::HandedOver:
            std::printf("handed-over\n");
            return 0;
        case ISingleInstance::Claim::Failed:
            std::printf("failed\n");
            return 3;
        case ISingleInstance::Claim::Primary:
            std::printf("primary\n");
            std::fflush(stdout);
            return app.exec();
        }
    }
    std::fprintf(
        stderr,
        "usage: x11helper textfield TITLE OUT | clipboard | clipboard-read | instance ARGS...\n");
    return 2;
}
