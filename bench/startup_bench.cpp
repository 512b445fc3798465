// Time from process start to the main window shown, with the splash off,
// against a minimal Qt Widgets program that shows one window, in the same
// run and on the same X server.
//
//   build/release/bench/startup_bench [runs]
//
// Starts its own Xvfb and openbox. Both programs print "shown" on their
// first paint (Phrasora when PHRASORA_REPORT_SHOWN is set).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double timeToShown(const QString& program, const QStringList& args, const QProcessEnvironment& env)
{
    QProcess p;
    p.setProcessEnvironment(env);
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    double shownMs = -1;
    while (timer.elapsed() < 20000) {
        if (p.waitForReadyRead(50) || p.bytesAvailable() > 0) {
            if (p.readAll().contains("shown")) {
                shownMs = timer.nsecsElapsed() / 1e6;
                break;
            }
        }
        if (p.state() == QProcess::NotRunning)
            break;
    }
    p.kill();
    p.waitForFinished(5000);
    return shownMs;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? -1 : v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    const QString binDir = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");

    QProcess xvfb;
    xvfb.start(QStringLiteral("Xvfb"), {QStringLiteral(":97"), QStringLiteral("-screen"),
                                       QStringLiteral("0"), QStringLiteral("1280x900x24"),
                                       QStringLiteral("-nolisten"), QStringLiteral("tcp")});
    QThread::msleep(800);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("DISPLAY"), QStringLiteral(":97"));
    env.remove(QStringLiteral("QT_QPA_PLATFORM"));
    QProcess wm;
    wm.setProcessEnvironment(env);
    wm.start(QStringLiteral("openbox"), {});
    QThread::msleep(500);

    QTemporaryDir home;
    QDir().mkpath(home.filePath(QStringLiteral("config/Phrasora")));
    QFile config(home.filePath(QStringLiteral("config/Phrasora/config.ini")));
    config.open(QIODevice::WriteOnly);
    config.write("[misc]\nshowplash=0\n[hotkeys]\nquickmenu=0\nview=0\n");
    config.close();
    QDir().mkpath(home.filePath(QStringLiteral("runtime")));
    QFile::setPermissions(home.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), home.filePath(QStringLiteral("config")));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), home.filePath(QStringLiteral("runtime")));
    env.insert(QStringLiteral("PHRASORA_REPORT_SHOWN"), QStringLiteral("1"));

    const QString phrasora = binDir + QStringLiteral("/phrasora");
    const QString reference = QCoreApplication::applicationDirPath() + QStringLiteral("/minimal_window");
    const QString sample = binDir + QStringLiteral("/sample/Beispiele.phr");

    // Warm the caches once, then alternate the two programs.
    timeToShown(reference, {}, env);
    timeToShown(phrasora, {}, env);
    std::vector<double> ref, mainEmpty, mainSample;
    for (int i = 0; i < runs; ++i) {
        ref.push_back(timeToShown(reference, {}, env));
        mainEmpty.push_back(timeToShown(phrasora, {}, env));
        mainSample.push_back(timeToShown(phrasora, {sample}, env));
    }
    const double r = median(ref);
    std::printf("%-34s %10s %8s\n", "program (median of runs)", "ms", "ratio");
    std::printf("%-34s %10.1f %7.2fx\n", "minimal Qt Widgets window", r, 1.0);
    std::printf("%-34s %10.1f %7.2fx\n", "phrasora, splash off", median(mainEmpty), median(mainEmpty) / r);
    std::printf("%-34s %10.1f %7.2fx\n", "phrasora, splash off, sample", median(mainSample),
                median(mainSample) / r);
    wm.kill();
    xvfb.kill();
    wm.waitForFinished();
    xvfb.waitForFinished();
    return 0;
}
