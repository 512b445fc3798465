#include "platform/programfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace {

QString withSlash(QString path)
{
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path;
}

} // namespace

QString ProgramFilePath()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationFilePath();
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString ProgramFolder()
{
    const QString overridden = qEnvironmentVariable("PHRASORA_PROGRAM_DIR");
    if (!overridden.isEmpty())
        return withSlash(QDir::cleanPath(overridden));

    const QString exeDir = QFileInfo(ProgramFilePath()).absolutePath();
    const QString installed = QDir::cleanPath(exeDir + QStringLiteral("/../share/phrasora"));
    if (QFileInfo(installed + QStringLiteral("/lang")).isDir())
        return withSlash(installed);
    return withSlash(exeDir);
}
