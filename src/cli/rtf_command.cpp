#include "cli/rtf_command.h"

#include "cli/store_commands.h"
#include "richtext/richtext.h"

#include <QFile>
#include <QTextDocument>

#include <iostream>
#include <iterator>

namespace {

const char* const RtfUsage =
    "Usage: phrasora-cli rtf [--to text|rtf|html] [FILE]\n"
    "Reads RTF from FILE (standard input without FILE) and prints its plain text\n"
    "(as it is sent to other programs, each paragraph ending in a line feed), the\n"
    "RTF the program writes for it, or its HTML rendering. The default is text.\n";

} // namespace

int CmdRtf(const QStringList& args)
{
    if (WantsHelp(args)) {
        PrintOut(RtfUsage);
        return 0;
    }
    QString to = QStringLiteral("text");
    QString file;
    for (qsizetype i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--to")) {
            if (i + 1 >= args.size())
                return UsageError(RtfUsage, QStringLiteral("--to needs text, rtf or html"));
            to = args[++i];
        } else if (args[i].startsWith(QLatin1String("--to="))) {
            to = args[i].mid(5);
        } else if (file.isEmpty()) {
            file = args[i];
        } else {
            return UsageError(RtfUsage, QStringLiteral("too many arguments"));
        }
    }
    if (to != QLatin1String("text") && to != QLatin1String("rtf") && to != QLatin1String("html"))
        return UsageError(RtfUsage, QStringLiteral("unknown output '") + to + QLatin1Char('\''));

    QByteArray input;
    if (file.isEmpty()) {
        const std::string all((std::istreambuf_iterator<char>(std::cin)), std::istreambuf_iterator<char>());
        input = QByteArray(all.data(), static_cast<qsizetype>(all.size()));
    } else {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            PrintErr("phrasora-cli: cannot read " + file.toUtf8() + "\n");
            return 1;
        }
        input = f.readAll();
    }

    if (to == QLatin1String("text")) {
        QString text = richtext::RtfToPlainText(input);
        if (!text.isEmpty() && !text.endsWith(QLatin1Char('\n')))
            text += QLatin1Char('\n');
        PrintOut(text.toUtf8());
        return 0;
    }
    QTextDocument doc;
    richtext::ReadRtf(input, &doc);
    if (to == QLatin1String("rtf"))
        PrintOut(richtext::WriteRtf(&doc));
    else
        PrintOut(richtext::DocumentToHtml(&doc).toUtf8());
    return 0;
}
