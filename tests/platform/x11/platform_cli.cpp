// Runs the desktop commands of phrasora-cli on their own, for the tests:
//   platform-cli windows|type|keys ARGS...
#include "cli/platform_commands.h"

#include <QCoreApplication>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    const QString command = args.value(0);
    const QStringList rest = args.mid(1);
    if (command == QLatin1String("windows"))
        return CmdWindows(rest);
    if (command == QLatin1String("type"))
        return CmdType(rest);
    if (command == QLatin1String("keys"))
        return CmdKeys(rest);
    std::fprintf(stderr, "usage: platform-cli windows|type|keys ...\n");
    return 2;
}
