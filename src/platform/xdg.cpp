#include "platform/xdg.h"

#include <QDir>

QString XdgConfigHome() {
    // A relative value is invalid and must be ignored.
    const QString configured = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!configured.isEmpty() && QDir::isAbsolutePath(configured))
        return QDir::cleanPath(configured);
    return QDir::cleanPath(QDir::homePath() + QStringLiteral("/.config"));
}
