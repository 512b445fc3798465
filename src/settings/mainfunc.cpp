#include "settings/mainfunc.h"

#include "language/language.h"
#include "platform/xdg.h"

#include <QDir>

QString TMainFunc::GetProgramVersion() const {
    return QStringLiteral(PHRASORA_VERSION_STRING);
}

QString TMainFunc::UserFolderPath() {
    QString base = XdgConfigHome();
    if (!base.endsWith(QLatin1Char('/')))
        base += QLatin1Char('/'); // the root folder already has one
    return base + QStringLiteral("Phrasora/");
}

QString TMainFunc::GetUserFolder() const {
    const QString folder = UserFolderPath();
    QDir().mkpath(folder);
    return folder;
}

QString TMainFunc::GetHistoryFile() const {
    return GetUserFolder() + QStringLiteral("history.dat");
}

QString TMainFunc::GetConfigFile() const {
    return GetUserFolder() + QStringLiteral("config.ini");
}

QString TMainFunc::GetQuickFile() const {
    return GetUserFolder() + QStringLiteral("quick.ini");
}

QString TMainFunc::GetLanguageFile() const {
    return TLangfileHandling().GetCurrentFile();
}
