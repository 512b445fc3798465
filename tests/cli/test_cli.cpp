#include "language/language.h"
#include "support/printers.h"
#include "support/testenv.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct Result {
    int exitCode = -1;
    QByteArray out, err;
};

Result cli(const QStringList& args, const QByteArray& input = {})
{
    QProcess p;
    p.start(QStringLiteral(PHRASORA_BIN_DIR "/phrasora-cli"), args);
    p.write(input);
    p.closeWriteChannel();
    EXPECT_TRUE(p.waitForFinished(30000));
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString archive(const char* name) { return fixture(QStringLiteral("archive/") + QString::fromLatin1(name)); }

} // namespace

TEST(Cli, DumpPrintsTheArchiveAsRead)
{
    TestEnv env;
    const Result r = cli({QStringLiteral("dump"), archive("letters.phr")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("{\"header\":{\"version\":1,\"caption\":\"Letters\",\"created\":"))
        << "members in the documented order";

    QJsonParseError error{};
    const QJsonObject root = QJsonDocument::fromJson(r.out, &error).object();
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonObject header = root[QStringLiteral("header")].toObject();
    EXPECT_EQ(header[QStringLiteral("created")].toInteger(), 1700000000);
    EXPECT_EQ(header[QStringLiteral("updated")].toInteger(), 1700000100);
    EXPECT_EQ(header[QStringLiteral("readonly")], QJsonValue(false));
    EXPECT_EQ(header[QStringLiteral("filename")].toString(), archive("letters.phr"));

    const QJsonArray folders = root[QStringLiteral("folders")].toArray();
    ASSERT_EQ(folders.size(), 3);
    EXPECT_EQ(folders[1].toObject()[QStringLiteral("caption")].toString(), QStringLiteral("Work"))
        << "in memory order, sorted by parent";
    EXPECT_EQ(folders[2].toObject()[QStringLiteral("rootid")].toInt(), 1);

    const QJsonArray entries = root[QStringLiteral("entries")].toArray();
    ASSERT_EQ(entries.size(), 2);
    const QJsonObject first = entries[0].toObject();
    EXPECT_EQ(first.keys().size(), 10);
    EXPECT_EQ(first[QStringLiteral("text")].toString(),
              QStringLiteral("Dear {$UserName$},\nthanks & <regards>"));
    EXPECT_EQ(first[QStringLiteral("updated")].toInteger(), 1700000050);

    const QJsonObject tree = root[QStringLiteral("tree")].toObject();
    EXPECT_EQ(tree[QStringLiteral("label")].toString(), TLanguageHandling().GetIdent(1));
    const QJsonArray top = tree[QStringLiteral("children")].toArray();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0].toObject()[QStringLiteral("label")].toString(), QStringLiteral("Private (1)"));
    EXPECT_EQ(top[0].toObject()[QStringLiteral("children")].toArray()[0].toObject()[QStringLiteral("label")].toString(),
              QStringLiteral("Sub (3)"));
}

TEST(Cli, CheckReportsTheFailureClass)
{
    const struct {
        const char* file;
        int exitCode;
        const char* firstWord;
    } table[] = {
        {"letters.phr", 0, nullptr},
        {"not-xml.phr", 2, "EVersionError"},
        {"minversion-2.0.phr", 2, "EVersionError"},
        {"item-id-not-number.phr", 2, "EInvalidArchive"},
        {"does-not-exist.phr", 2, "EInvalidArchive"},
    };
    for (const auto& row : table) {
        const Result r = cli({QStringLiteral("check"), archive(row.file)});
        EXPECT_EQ(r.exitCode, row.exitCode) << row.file;
        if (row.firstWord) {
            EXPECT_EQ(r.err.split(' ').value(0), QByteArray(row.firstWord)) << r.err.toStdString();
            EXPECT_TRUE(r.out.isEmpty());
        } else {
            EXPECT_EQ(r.out, "ok\n");
        }
    }
}

TEST(Cli, ResaveWritesAsTheProgramSaves)
{
    TestEnv env;
    const QString copy = env.path(QStringLiteral("copy.phr"));
    ASSERT_TRUE(QFile::copy(archive("odd-values.phr"), copy));

    const QString out = env.path(QStringLiteral("out.phr"));
    ASSERT_EQ(cli({QStringLiteral("resave"), copy, out}).exitCode, 0);
    EXPECT_EQ(readAll(copy), readAll(archive("odd-values.phr"))) << "the source is untouched";
    EXPECT_TRUE(readAll(out).startsWith("<?xml version=\"1.0\" encoding=\"utf-8\" standalone=\"yes\"?><phr><phrarchive>"));
    EXPECT_TRUE(readAll(out).contains("<text><![CDATA[line1\nline2\nline3]]></text>"));

    ASSERT_EQ(cli({QStringLiteral("resave"), copy}).exitCode, 0);
    EXPECT_TRUE(readAll(copy).contains("<minversion>1.0.0.0</minversion>")) << "resaved in place";

    const Result failed = cli({QStringLiteral("resave"), copy, env.path(QStringLiteral("no/such/dir/x.phr"))});
    EXPECT_EQ(failed.exitCode, 2);
    EXPECT_TRUE(failed.err.startsWith("ESaveError ")) << failed.err.toStdString();

    const Result invalid = cli({QStringLiteral("resave"), archive("text-two-nodes.phr"), out});
    EXPECT_EQ(invalid.exitCode, 2);
    EXPECT_TRUE(invalid.err.startsWith("EInvalidArchive "));
}

TEST(Cli, ExpandFromArgumentAndStandardInput)
{
    Result r = cli({QStringLiteral("expand"), QStringLiteral("[{$Nope$}] {$date$} ü")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.out, "[{$Nope$}] {$date$} \xc3\xbc\n");

    r = cli({QStringLiteral("expand")}, "a\nb {$RAMTotal$}\n");
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.startsWith("a\nb ")) << r.out.toStdString();
    EXPECT_TRUE(r.out.endsWith("kb\n")) << "the input's last line break is not doubled";
    EXPECT_FALSE(r.out.contains("{$"));
}

TEST(Cli, UsageErrorsAndHelp)
{
    const struct {
        QStringList args;
        int exitCode;
    } table[] = {
        {{}, 2},
        {{QStringLiteral("frobnicate")}, 2},
        {{QStringLiteral("dump")}, 2},
        {{QStringLiteral("check"), QStringLiteral("a"), QStringLiteral("b")}, 2},
        {{QStringLiteral("resave")}, 2},
        {{QStringLiteral("expand"), QStringLiteral("a"), QStringLiteral("b")}, 2},
    };
    for (const auto& row : table) {
        const Result r = cli(row.args);
        EXPECT_EQ(r.exitCode, row.exitCode) << row.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(r.err.contains("Usage: phrasora-cli")) << r.err.toStdString();
    }
    for (const char* command : {"--help", "dump", "check", "resave", "expand"}) {
        QStringList args{QString::fromLatin1(command)};
        if (args[0] != QLatin1String("--help"))
            args << QStringLiteral("--help");
        const Result r = cli(args);
        EXPECT_EQ(r.exitCode, 0) << command;
        EXPECT_TRUE(r.out.startsWith("Usage: phrasora-cli")) << command;
    }
}

TEST(Cli, RtfAsTextRtfAndHtml)
{
    const QByteArray rtf = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\pard\\f0 Gr\\'fc\\'dfe \\b fett\\b0\\par Zweite\\par}";
    Result r = cli({QStringLiteral("rtf")}, rtf);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, "Gr\xc3\xbc\xc3\x9f" "e fett\nZweite\n");

    r = cli({QStringLiteral("rtf"), QStringLiteral("--to"), QStringLiteral("rtf")}, rtf);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.startsWith("{\\rtf1"));
    EXPECT_TRUE(r.out.contains("\\b "));
    EXPECT_EQ(cli({QStringLiteral("rtf")}, r.out).out, "Gr\xc3\xbc\xc3\x9f" "e fett\nZweite\n")
        << "what the writer writes reads back to the same text";

    r = cli({QStringLiteral("rtf"), QStringLiteral("--to=html")}, rtf);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.contains("<html")) << r.out.toStdString();

    EXPECT_EQ(cli({QStringLiteral("rtf"), QStringLiteral("--to"), QStringLiteral("pdf")}).exitCode, 2);
    EXPECT_EQ(cli({QStringLiteral("rtf"), fixture(QStringLiteral("no/such.rtf"))}).exitCode, 1);
}
