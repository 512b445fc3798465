// Typing speed and exactness: Phrasora's key sender beside `xdotool type`
// (its default delay and --delay 0), into xterm running cat and into a Qt
// text field, for an ASCII text and a German business letter, on a private
// Xvfb desktop. Prints one table row per run.
//
//   typing_bench [--layout us|de|...] [--repeat N]
#include "platform/keysender.h"
#include "platform/x11/x11keyboard.h"
#include "platform/x11/x11windowsystem.h"
#include "xsession.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

const QString AsciiText =
    QStringLiteral("The quick brown fox jumps over the lazy dog; 0123456789 times!\n"
                   "Pack my box with five dozen liquor jugs (see #42, item \"b\").\n"
                   "Email: info@example.com, web: https://example.com/a?b=c&d=e\n"
                   "Prices: $12.50 + 7% tax = $13.38 {approx.} [final] <ok>\n"
                   "Path: C:\\Users\\anna\\notes.txt | ~/notes.txt ^ `code` _x_\n"
                   "Sphinx of black quartz, judge my vow: 'yes' or 'no'?\n"
                   "How vexingly quick daft zebras jump - 100% sure * maybe.\n"
                   "Jackdaws love my big sphinx of quartz = true; x != y.\n"
                   "The five boxing wizards jump quickly\tover\tthe\ttabs.\n"
                   "Bright vixens jump; dozy fowl quack. End of sample 1.\n");

const QString GermanText =
    QStringLiteral("Sehr geehrte Frau Müller,\n\n"
                   "vielen Dank für Ihre Anfrage vom 12. März. Gern bestätigen wir Ihnen\n"
                   "die Lieferung von 250 Stück zum Preis von 1.234,56 € zzgl. 19 % MwSt.\n"
                   "Die Ware wird voraussichtlich Anfang nächster Woche ausgeliefert; bei\n"
                   "Rückfragen erreichen Sie uns unter info@beispiel.de oder telefonisch.\n"
                   "Bitte beachten Sie unsere Allgemeinen Geschäftsbedingungen (AGB § 4).\n"
                   "Für größere Mengen gewähren wir gern einen Rabatt von 3 % – sprechen\n"
                   "Sie uns einfach an. Wir freuen uns über Ihren Auftrag.\n\n"
                   "Mit freundlichen Grüßen\n"
                   "Jürgen Weiß, Außendienst\n");

// Characters that differ: the edit distance between what arrived and what
// was sent.
int editDistance(const QString& a, const QString& b) {
    std::vector<int> prev(size_t(b.size()) + 1), cur(size_t(b.size()) + 1);
    for (size_t j = 0; j <= size_t(b.size()); ++j)
        prev[j] = int(j);
    for (qsizetype i = 1; i <= a.size(); ++i) {
        cur[0] = int(i);
        for (qsizetype j = 1; j <= b.size(); ++j)
            cur[size_t(j)] = std::min({prev[size_t(j)] + 1, cur[size_t(j - 1)] + 1,
                                       prev[size_t(j - 1)] + (a[i - 1] == b[j - 1] ? 0 : 1)});
        std::swap(prev, cur);
    }
    return prev[size_t(b.size())];
}

struct Row {
    QString target, text, method;
    qsizetype chars = 0;
    qint64 sendMs = 0, arriveMs = 0;
    int errors = 0;
};

QString readText(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}

// Waits until the target shows the text, or its output has stopped
// changing for a second; `arrived` is when it last changed.
void waitForArrival(const QString& out, const QString& expected, const QElapsedTimer& clock,
                    qint64* arrived) {
    QString last = readText(out);
    qint64 lastChange = clock.elapsed();
    WaitUntil(
        [&] {
            const QString now = readText(out);
            if (now != last) {
                last = now;
                lastChange = clock.elapsed();
            }
            return now == expected || clock.elapsed() - lastChange > 1000;
        },
        60000);
    *arrived = lastChange;
}

// Starts a fresh target and returns its window (0 on failure).
quint64 startTarget(TXSession& session, bool qt, const QString& title, const QString& out,
                    const QString& helper) {
    if (qt) {
        session.Start(helper, {QStringLiteral("textfield"), title, out});
    } else {
        session.Start(QStringLiteral("env"),
                      {QStringLiteral("LC_ALL=C.UTF-8"), QStringLiteral("xterm"),
                       QStringLiteral("-T"), title, QStringLiteral("-e"), QStringLiteral("sh"),
                       QStringLiteral("-c"),
                       QStringLiteral("stty -echo -icanon; exec cat > '%1'").arg(out)});
    }
    const quint64 window = session.WaitForWindow(title);
    if (!qt)
        WaitUntil([&] { return QFile::exists(out); });
    return window;
}

Row runOnce(TXSession& session, bool qt, const QString& textName, const QString& text,
            const QString& method, const QString& dir, const QString& helper, int serial) {
    Row row;
    row.target = qt ? QStringLiteral("Qt field") : QStringLiteral("xterm");
    row.text = textName;
    row.method = method;
    row.chars = text.size();
    const QString title = QStringLiteral("bench target %1").arg(serial);
    const QString out = dir + QStringLiteral("/out%1.txt").arg(serial);
    const quint64 window = startTarget(session, qt, title, out, helper);
    TX11WindowSystem windows;
    if (!window || !ActivateTarget(windows, window, std::chrono::milliseconds(5000))) {
        row.errors = -1;
        return row;
    }

    QString expected = text;
    expected.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QElapsedTimer clock;
    clock.start();
    if (method == QLatin1String("phrasora")) {
        TX11Keyboard keyboard;
        TKeySender sender(keyboard);
        sender.SendKeys(text, TKeySender::Mode::Text);
        row.sendMs = clock.elapsed();
        waitForArrival(out, expected, clock, &row.arriveMs);
    } else {
        QStringList args{QStringLiteral("type")};
        if (method.endsWith(QLatin1String("delay 0")))
            args << QStringLiteral("--delay") << QStringLiteral("0");
        args << text;
        session.Run(QStringLiteral("xdotool"), args);
        row.sendMs = clock.elapsed();
        waitForArrival(out, expected, clock, &row.arriveMs);
    }
    row.errors = editDistance(readText(out), expected);
    return row;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    QString layout = QStringLiteral("us");
    int repeat = 1;
    for (qsizetype i = 1; i + 1 < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--layout"))
            layout = args.at(i + 1);
        else if (args.at(i) == QLatin1String("--repeat"))
            repeat = std::max(1, args.at(i + 1).toInt());
    }
    const QString helper = QCoreApplication::applicationDirPath() + QStringLiteral("/x11helper");

    QTemporaryDir dir;
    QDir().mkpath(dir.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(dir.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", dir.filePath(QStringLiteral("runtime")).toLocal8Bit());
    TXSession::Options options;
    options.layout = layout;
    TXSession session(options);
    if (!session.IsUp()) {
        std::fprintf(stderr, "typing_bench: %s\n", qPrintable(session.Error()));
        return 1;
    }
    std::printf("layout %s\n", qPrintable(layout));
    std::printf("| target   | text   | method              | chars | send ms | arrived ms | "
                "chars/s | lost or wrong |\n");
    std::printf("|----------|--------|---------------------|------:|--------:|-----------:|--------"
                ":|--------------:|\n");
    int serial = 0;
    bool allExact = true;
    for (int r = 0; r < repeat; ++r)
        for (const bool qt : {false, true})
            for (const auto& [name, text] : {std::pair{QStringLiteral("ASCII"), AsciiText},
                                             std::pair{QStringLiteral("German"), GermanText}})
                for (const QString& method :
                     {QStringLiteral("phrasora"), QStringLiteral("xdotool type"),
                      QStringLiteral("xdotool type delay 0")}) {
                    const Row row =
                        runOnce(session, qt, name, text, method, dir.path(), helper, ++serial);
                    const double cps =
                        row.arriveMs > 0 ? 1000.0 * double(row.chars) / double(row.arriveMs) : 0;
                    std::printf("| %-8s | %-6s | %-19s | %5lld | %7lld | %10lld | %7.0f | %13d |\n",
                                qPrintable(row.target), qPrintable(row.text),
                                qPrintable(row.method), qlonglong(row.chars), qlonglong(row.sendMs),
                                qlonglong(row.arriveMs), cps, row.errors);
                    std::fflush(stdout);
                    if (method == QLatin1String("phrasora") && row.errors != 0)
                        allExact = false;
                }
    return allExact ? 0 : 3;
}
