#include "platform/shell.h"

#include <QProcess>
#include <QUrl>

namespace {

// Users type addresses with blanks and umlauts; the tolerant reading
// encodes those.
QUrl parse(const QString& url) {
    return QUrl(url.trimmed(), QUrl::TolerantMode);
}

} // namespace

bool IsExternalUrlAllowed(const QString& url) {
    const QString trimmed = url.trimmed();
    // A leading '-' would read as an option to the opener.
    if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('-')))
        return false;
    const QUrl parsed = parse(trimmed);
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

bool TXdgShell::OpenUrl(const QString& url) {
    if (!IsExternalUrlAllowed(url))
        return false;
    // The encoded form: one argument, no blanks, nothing for a shell to read.
    return QProcess::startDetached(m_program, {parse(url).toString(QUrl::FullyEncoded)});
}
