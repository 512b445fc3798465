#include "cli/store_commands.h"

#include "cli/json.h"
#include "store/commandhandling.h"
#include "store/documenthandling.h"

#include <QFileInfo>

#include <pugixml.hpp>

#include <cstdio>
#include <iostream>
#include <iterator>

const char* const DumpUsage =
    "Usage: phrasora-cli dump ARCHIVE\n"
    "Prints the archive as it is read, as one JSON object with its header,\n"
    "folders (in memory order), entries and folder tree.\n";
const char* const CheckUsage =
    "Usage: phrasora-cli check ARCHIVE\n"
    "Prints ok and exits 0 when the archive can be read; otherwise prints the\n"
    "failure's class name (EVersionError, EInvalidArchive) first on standard\n"
    "error and exits 2.\n";
const char* const ResaveUsage =
    "Usage: phrasora-cli resave ARCHIVE [OUT]\n"
    "Reads the archive and writes it again, to OUT when given, else over itself.\n"
    "Failures as for check (ESaveError included).\n";
const char* const ExpandUsage =
    "Usage: phrasora-cli expand [TEXT]\n"
    "Prints TEXT with its placeholders ({$Date$}, {$UserName$}, ...) replaced by\n"
    "their current values. Without TEXT, standard input is read; one final line\n"
    "break of the input is taken as the end of the text.\n";

void PrintOut(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stdout);
    std::fflush(stdout);
}

void PrintErr(const QByteArray& text)
{
    std::fwrite(text.constData(), 1, static_cast<size_t>(text.size()), stderr);
    std::fflush(stderr);
}

bool WantsHelp(const QStringList& args)
{
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

int UsageError(const char* usage, const QString& problem)
{
    if (!problem.isEmpty())
        PrintErr("phrasora-cli: " + problem.toUtf8() + "\n");
    PrintErr(usage);
    return 2;
}

namespace {

// Reports a failure of the store with its class name as the first word.
int reportFailure(const Exception& error, const QString& path)
{
    QByteArray what;
    const QByteArray name = error.ClassName();
    if (name == "EVersionError")
        what = "the archive needs a newer program version, or is not well-formed XML";
    else if (name == "EInvalidArchive")
        what = "the file cannot be read as an archive";
    else if (name == "ESaveError")
        what = "the archive cannot be written";
    else
        what = error.Message().toUtf8();
    PrintErr(name + " (" + what + "): " + path.toUtf8() + "\n");
    return 2;
}

void loadOrThrow(TDocumentHandling& archive, TMemoryTree& tree, const QString& path)
{
    pugi::xml_document doc;
    archive.FileName = QFileInfo(path).absoluteFilePath();
    archive.LoadArchive(tree, doc);
}

void writeTree(JsonWriter& json, const TArchiveTree& tree, TArchiveTree::Node node)
{
    json.beginObject();
    json.key("label");
    json.value(tree.Label(node));
    json.key("children");
    json.beginArray();
    for (int i = 0; i < tree.ChildCount(node); ++i)
        writeTree(json, tree, tree.Child(node, i));
    json.endArray();
    json.endObject();
}

QByteArray dumpJson(const TDocumentHandling& archive, const TMemoryTree& tree)
{
    JsonWriter json;
    json.beginObject();
    json.key("header");
    json.beginObject();
    const TDocumentHeader& h = archive.Header;
    json.key("version");
    json.value(static_cast<qint64>(h.version));
    json.key("caption");
    json.value(h.caption);
    json.key("created");
    json.value(DateTimeToFileSeconds(h.created));
    json.key("updated");
    json.value(DateTimeToFileSeconds(h.updated));
    json.key("readonly");
    json.value(h.readonly);
    json.key("author");
    json.value(h.author);
    json.key("copyright");
    json.value(h.copyright);
    json.key("filename");
    json.value(h.filename);
    json.endObject();

    json.key("folders");
    json.beginArray();
    for (const TDirectoryInfo& f : archive.Folders) {
        json.beginObject();
        json.key("id");
        json.value(static_cast<qint64>(f.id));
        json.key("rootid");
        json.value(static_cast<qint64>(f.rootid));
        json.key("caption");
        json.value(f.caption);
        json.endObject();
    }
    json.endArray();

    json.key("entries");
    json.beginArray();
    for (const TDocumentInfo& e : archive.Entries) {
        json.beginObject();
        json.key("id");
        json.value(static_cast<qint64>(e.id));
        json.key("folderid");
        json.value(static_cast<qint64>(e.folderid));
        json.key("caption");
        json.value(e.caption);
        json.key("created");
        json.value(DateTimeToFileSeconds(e.created));
        json.key("updated");
        json.value(DateTimeToFileSeconds(e.updated));
        json.key("description");
        json.value(e.description);
        json.key("author");
        json.value(e.author);
        json.key("copyright");
        json.value(e.copyright);
        json.key("type");
        json.value(static_cast<qint64>(e.type));
        json.key("text");
        json.value(e.text);
        json.endObject();
    }
    json.endArray();

    json.key("tree");
    if (tree.TopNode())
        writeTree(json, tree, tree.TopNode());
    else
        json.beginObject(), json.endObject();
    json.endObject();
    return json.data() + "\n";
}

} // namespace

namespace {

// The common start of the commands that read one archive: help, argument
// count, then the read. Returns -1 when the archive was read, otherwise the
// exit code.
int readArchiveArgument(const QStringList& args, const char* usage, qsizetype maxArgs,
                        TDocumentHandling& archive, TMemoryTree& tree)
{
    if (WantsHelp(args)) {
        PrintOut(usage);
        return 0;
    }
    if (args.isEmpty() || args.size() > maxArgs)
        return UsageError(usage, args.isEmpty() ? QStringLiteral("missing ARCHIVE")
                                                : QStringLiteral("too many arguments"));
    try {
        loadOrThrow(archive, tree, args[0]);
    } catch (const Exception& error) {
        return reportFailure(error, args[0]);
    }
    return -1;
}

} // namespace

int CmdDump(const QStringList& args)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    if (const int code = readArchiveArgument(args, DumpUsage, 1, archive, tree); code >= 0)
        return code;
    PrintOut(dumpJson(archive, tree));
    return 0;
}

int CmdCheck(const QStringList& args)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    if (const int code = readArchiveArgument(args, CheckUsage, 1, archive, tree); code >= 0)
        return code;
    PrintOut("ok\n");
    return 0;
}

int CmdResave(const QStringList& args)
{
    TDocumentHandling archive;
    TMemoryTree tree;
    if (const int code = readArchiveArgument(args, ResaveUsage, 2, archive, tree); code >= 0)
        return code;
    const QString target = args.size() == 2 ? QFileInfo(args[1]).absoluteFilePath() : QString();
    try {
        pugi::xml_document doc;
        archive.WriteArchive(doc, target);
    } catch (const Exception& error) {
        return reportFailure(error, target.isEmpty() ? args[0] : args[1]);
    }
    return 0;
}

int CmdExpand(const QStringList& args)
{
    if (WantsHelp(args)) {
        PrintOut(ExpandUsage);
        return 0;
    }
    if (args.size() > 1)
        return UsageError(ExpandUsage, QStringLiteral("too many arguments; quote the text"));
    QString text;
    if (args.size() == 1) {
        text = args[0];
    } else {
        std::string input((std::istreambuf_iterator<char>(std::cin)),
                          std::istreambuf_iterator<char>());
        text = QString::fromUtf8(input.data(), static_cast<qsizetype>(input.size()));
        if (text.endsWith(QLatin1Char('\n')))
            text.chop(1);
    }
    const TCommandHandling commands;
    PrintOut(commands.ExpandCommands(text).toUtf8() + "\n");
    return 0;
}
