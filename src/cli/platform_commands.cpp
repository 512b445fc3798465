#include "cli/platform_commands.h"

#include "platform/keysender.h"
#include "platform/windowlist.h"
#include "platform/x11/x11keyboard.h"
#include "platform/x11/x11windowsystem.h"

#include <QFile>
#include <cstdio>

namespace {

void print(FILE* to, const QString& text) {
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), to);
    std::fflush(to);
}

int usageError(const QString& message, const QString& usage) {
    print(stderr, QStringLiteral("phrasora-cli: ") + message + QLatin1Char('\n') + usage);
    return 2;
}

bool wantsHelp(const QStringList& args) {
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

// One line per window: tabs and line breaks in a title would split it.
QString oneLine(QString s) {
    for (QChar& c : s)
        if (c == QLatin1Char('\t') || c == QLatin1Char('\n') || c == QLatin1Char('\r'))
            c = QLatin1Char(' ');
    return s;
}

// Decimal or 0x hexadecimal; 0 when unreadable.
WindowHandle parseWindowId(const QString& text) {
    bool ok = false;
    const WindowHandle id = text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)
                                ? text.mid(2).toULongLong(&ok, 16)
                                : text.toULongLong(&ok, 10);
    return ok ? id : 0;
}

struct Target {
    QString window; // as given: an id or "active"
    QString payload;
    QString error;
};

// Reads "--window ID PAYLOAD" in any order of the option and the payload.
Target parseTarget(const QStringList& args) {
    Target t;
    QStringList rest;
    bool optionsDone = false;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (!optionsDone && a == QLatin1String("--")) {
            optionsDone = true;
        } else if (!optionsDone && a == QLatin1String("--window")) {
            if (i + 1 >= args.size()) {
                t.error = QStringLiteral("--window needs a window id");
                return t;
            }
            t.window = args.at(++i);
        } else if (!optionsDone && a.startsWith(QLatin1String("--window="))) {
            t.window = a.mid(9);
        } else if (!optionsDone && a.startsWith(QLatin1String("--"))) {
            t.error = QStringLiteral("unknown option ") + a;
            return t;
        } else {
            rest << a;
        }
    }
    if (t.window.isEmpty())
        t.error = QStringLiteral("--window is missing");
    else if (t.window != QLatin1String("active") && parseWindowId(t.window) == 0)
        t.error = QStringLiteral("not a window id: ") + t.window;
    else if (rest.size() != 1)
        t.error = rest.isEmpty() ? QStringLiteral("nothing to send")
                                 : QStringLiteral("too many arguments");
    else
        t.payload = rest.first();
    return t;
}

// Activates the window and sends; the common part of type and keys.
int sendTo(const Target& target, const QString& keys, TKeySender::Mode mode) {
    TX11WindowSystem windows;
    if (!windows.IsOpen()) {
        print(stderr, QStringLiteral("phrasora-cli: cannot open the X display\n"));
        return 1;
    }
    const WindowHandle window = target.window == QLatin1String("active")
                                    ? windows.ActiveWindow()
                                    : parseWindowId(target.window);
    if (window == 0) {
        print(stderr, QStringLiteral("phrasora-cli: no window is active\n"));
        return 1;
    }
    if (!ActivateTarget(windows, window)) {
        print(stderr, QStringLiteral("phrasora-cli: window 0x%1 did not take the keyboard focus; "
                                     "nothing was sent\n")
                          .arg(window, 0, 16));
        return 1;
    }
    TX11Keyboard keyboard;
    TKeySender sender(keyboard);
    const int missing = sender.SendKeys(keys, mode);
    if (missing < 0) {
        print(stderr, QStringLiteral("phrasora-cli: the keyboard cannot be used\n"));
        return 1;
    }
    if (missing > 0) {
        print(stderr,
              QStringLiteral("phrasora-cli: %1 characters could not be typed\n").arg(missing));
        return 1;
    }
    return 0;
}

} // namespace

QString WindowsUsage() {
    return QStringLiteral(
        "Usage: phrasora-cli windows\n"
        "Lists the windows an entry can be sent to, front to back, one per line:\n"
        "0x<window id>, a tab, the class name, a tab, the title.\n");
}

QString TypeUsage() {
    return QStringLiteral("Usage: phrasora-cli type --window ID TEXT\n"
                          "Activates the window and types TEXT into it, as the send dialog does.\n"
                          "ID is decimal or 0x hexadecimal, or \"active\" for the active window.\n"
                          "TEXT \"-\" reads the text from standard input (UTF-8).\n");
}

QString KeysUsage() {
    return QStringLiteral(
        "Usage: phrasora-cli keys --window ID CODES\n"
        "Activates the window and sends a key string: decimal codes 0-255\n"
        "separated by commas (252,118,253 is Ctrl+V).\n"
        "ID is decimal or 0x hexadecimal, or \"active\" for the active window.\n");
}

int CmdWindows(const QStringList& args) {
    if (wantsHelp(args)) {
        print(stdout, WindowsUsage());
        return 0;
    }
    if (!args.isEmpty())
        return usageError(QStringLiteral("windows takes no arguments"), WindowsUsage());
    TX11WindowSystem windows;
    if (!windows.IsOpen()) {
        print(stderr, QStringLiteral("phrasora-cli: cannot open the X display\n"));
        return 1;
    }
    TWindowList list(windows);
    try {
        list.Refresh();
    } catch (const Exception& e) {
        print(stderr, QStringLiteral("phrasora-cli: ") + e.Message() + QLatin1Char('\n'));
        return 1;
    }
    const QStringList titles = list.Texts();
    QString out;
    for (int i = 0; i < list.Count(); ++i)
        out += QStringLiteral("0x%1\t%2\t%3\n")
                   .arg(list.Handle(i), 0, 16)
                   .arg(oneLine(list.ClassName(i)), oneLine(titles.at(i)));
    print(stdout, out);
    return 0;
}

int CmdType(const QStringList& args) {
    if (wantsHelp(args)) {
        print(stdout, TypeUsage());
        return 0;
    }
    const Target target = parseTarget(args);
    if (!target.error.isEmpty())
        return usageError(target.error, TypeUsage());
    QString text = target.payload;
    if (text == QLatin1String("-")) {
        QFile in;
        if (!in.open(stdin, QIODevice::ReadOnly)) {
            print(stderr, QStringLiteral("phrasora-cli: cannot read standard input\n"));
            return 1;
        }
        text = QString::fromUtf8(in.readAll());
    }
    return sendTo(target, text, TKeySender::Mode::Text);
}

int CmdKeys(const QStringList& args) {
    if (wantsHelp(args)) {
        print(stdout, KeysUsage());
        return 0;
    }
    const Target target = parseTarget(args);
    if (!target.error.isEmpty())
        return usageError(target.error, KeysUsage());
    QString keys;
    for (const QString& part : target.payload.split(QLatin1Char(','))) {
        bool ok = false;
        const int code = part.trimmed().toInt(&ok, 10);
        if (!ok || code < 0 || code > 255)
            return usageError(QStringLiteral("not a key code from 0 to 255: \"%1\"").arg(part),
                              KeysUsage());
        keys += QChar(code);
    }
    return sendTo(target, keys, TKeySender::Mode::KeyString);
}
