#include "support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

void copyDir(const QString& from, const QString& to)
{
    QDir().mkpath(to);
    const QDir src(from);
    for (const QFileInfo& fi : src.entryInfoList(QDir::Files))
        QFile::copy(fi.absoluteFilePath(), to + QLatin1Char('/') + fi.fileName());
}

} // namespace

TestEnv::TestEnv(bool withLanguageFiles)
    : m_oldConfig(qgetenv("XDG_CONFIG_HOME")), m_oldRuntime(qgetenv("XDG_RUNTIME_DIR")),
      m_oldProgram(qgetenv("PHRASORA_PROGRAM_DIR"))
{
    QDir().mkpath(configDir());
    QDir().mkpath(path(QStringLiteral("runtime")));
    QFile::setPermissions(path(QStringLiteral("runtime")), QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QDir().mkpath(programDir());
    if (withLanguageFiles)
        copyDir(QStringLiteral(PHRASORA_SOURCE_DIR "/data/lang"), programDir() + QStringLiteral("/lang"));
    qputenv("XDG_CONFIG_HOME", configDir().toLocal8Bit());
    qputenv("XDG_RUNTIME_DIR", path(QStringLiteral("runtime")).toLocal8Bit());
    qputenv("PHRASORA_PROGRAM_DIR", programDir().toLocal8Bit());
}

TestEnv::~TestEnv()
{
    qputenv("XDG_CONFIG_HOME", m_oldConfig);
    qputenv("XDG_RUNTIME_DIR", m_oldRuntime);
    qputenv("PHRASORA_PROGRAM_DIR", m_oldProgram);
}

QString TestEnv::configDir() const { return path(QStringLiteral("config")); }
QString TestEnv::userDir() const { return configDir() + QStringLiteral("/Phrasora"); }
QString TestEnv::programDir() const { return path(QStringLiteral("program")); }

QString TestEnv::writeFile(const QString& relative, const QByteArray& content) const
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile f(full);
    if (f.open(QIODevice::WriteOnly))
        f.write(content);
    return full;
}

QByteArray readAll(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

QString fixture(const QString& relative)
{
    return QStringLiteral(PHRASORA_FIXTURES_DIR "/") + relative;
}
