#include "settings/mainfunc.h"

#include "language/language.h"

#include <QDir>

// Placeholder implementation; the real one replaces it.
QString TMainFunc::GetProgramVersion() const { return QStringLiteral(PHRASORA_VERSION_STRING); }

static QString userFile(const QString& name)
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (base.isEmpty())
        base = QDir::homePath() + QStringLiteral("/.config");
    const QString folder = base + QStringLiteral("/Phrasora/");
    QDir().mkpath(folder);
    return folder + name;
}

QString TMainFunc::GetHistoryFile() const { return userFile(QStringLiteral("history.dat")); }
QString TMainFunc::GetConfigFile() const { return userFile(QStringLiteral("config.ini")); }
QString TMainFunc::GetQuickFile() const { return userFile(QStringLiteral("quick.ini")); }
QString TMainFunc::GetLanguageFile() const { return TLangfileHandling().GetCurrentFile(); }
