// phrasora-cli: the scriptable face of Phrasora's archive store.

#include "cli/platform_commands.h"
#include "cli/rtf_command.h"
#include "cli/store_commands.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <cstring>
#include <memory>

namespace {

struct Command {
    const char* name;
    const char* summary;
    int (*run)(const QStringList& args);
};

const Command kCommands[] = {
    {"dump", "print an archive as JSON", CmdDump},
    {"check", "check that an archive can be read", CmdCheck},
    {"resave", "read an archive and write it again", CmdResave},
    {"expand", "expand the placeholders of a text", CmdExpand},
    {"rtf", "show RTF as plain text, as written RTF or as HTML", CmdRtf},
    {"windows", "list the windows an entry can be sent to", CmdWindows},
    {"type", "type a text into a window", CmdType},
    {"keys", "send a key string to a window", CmdKeys},
};

QByteArray usage()
{
    QByteArray text = "Usage: phrasora-cli COMMAND [ARGUMENTS]\n\nCommands:\n";
    for (const Command& c : kCommands)
        text += "  " + QByteArray(c.name).leftJustified(10, ' ') + c.summary + "\n";
    text += "\nphrasora-cli COMMAND --help tells more about one command.\n";
    return text;
}

} // namespace

int main(int argc, char** argv)
{
    // Documents with fonts need a GUI application; it needs no display.
    const bool gui = argc > 1 && std::strcmp(argv[1], "rtf") == 0;
    if (gui && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app;
    if (gui)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("phrasora-cli"));

    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.isEmpty()) {
        PrintErr(usage());
        return 2;
    }
    const QString name = args.takeFirst();
    if (name == QLatin1String("--help") || name == QLatin1String("-h") ||
        name == QLatin1String("help")) {
        PrintOut(usage());
        return 0;
    }
    for (const Command& c : kCommands) {
        if (name == QLatin1String(c.name))
            return c.run(args);
    }
    PrintErr("phrasora-cli: unknown command '" + name.toUtf8() + "'\n");
    PrintErr(usage());
    return 2;
}
