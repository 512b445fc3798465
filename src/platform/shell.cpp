#include "platform/shell.h"

#include <QProcess>
#include <QUrl>

bool IsExternalUrlAllowed(const QString& url)
{
    const QString trimmed = url.trimmed();
    // A leading '-' would read as an option to the opener.
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('-')))
        return false;
    const QUrl parsed(trimmed, QUrl::StrictMode);
    if (!parsed.isValid())
        return false;
    const QString scheme = parsed.scheme().toLower();
    if (scheme == QLatin1String("mailto"))
        return !parsed.path().isEmpty();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https"))
        return !parsed.host().isEmpty();
    return false;
}

TXdgShell::TXdgShell(QString program) : m_program(std::move(program)) {}

bool TXdgShell::OpenUrl(const QString& url)
{
    if (!IsExternalUrlAllowed(url))
        return false;
    return QProcess::startDetached(m_program, {url.trimmed()});
}
