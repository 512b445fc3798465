#include "platform/autostart.h"

#include "platform/xdg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// Inside double quotes of an Exec value, these four take a backslash; a
// literal "%" is written "%%" so that it is no field code.
QString quotedArgument(const QString& arg) {
    QString out;
    out.reserve(arg.size() + 2);
    out += QLatin1Char('"');
    for (QChar c : arg) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            out += QLatin1Char('\\');
        else if (c == u'%')
            out += QLatin1Char('%');
        out += c;
    }
    out += QLatin1Char('"');
    return out;
}

bool needsQuotes(const QString& arg) {
    if (arg.isEmpty())
        return true;
    // The reserved characters of the Desktop Entry Specification.
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (QChar c : arg) {
        if (reserved.contains(c) || c.unicode() < 0x20)
            return true;
    }
    return false;
}

// The escapes of a desktop entry's string values, applied to the whole value.
QString escapedValue(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        switch (c.unicode()) {
        case u'\\':
            out += QStringLiteral("\\\\");
            break;
        case u'\n':
            out += QStringLiteral("\\n");
            break;
        case u'\r':
            out += QStringLiteral("\\r");
            break;
        case u'\t':
            out += QStringLiteral("\\t");
            break;
        default:
            out += c;
        }
    }
    if (out.startsWith(QLatin1Char(' ')))
        out.replace(0, 1, QStringLiteral("\\s"));
    return out;
}

} // namespace

TAutostartEntry::TAutostartEntry(const QString& name) : m_name(name) {}

QString TAutostartEntry::FilePath() const {
    return XdgConfigHome() + QStringLiteral("/autostart/") + m_name + QStringLiteral(".desktop");
}

bool TAutostartEntry::Exists() const {
    return QFileInfo::exists(FilePath());
}

QString TAutostartEntry::ExecLine(const QString& program, const QStringList& arguments) {
    QString line = quotedArgument(program);
    for (const QString& arg : arguments) {
        line += QLatin1Char(' ');
        if (needsQuotes(arg)) {
            line += quotedArgument(arg);
        } else {
            QString plain = arg;
            line += plain.replace(QLatin1Char('%'), QStringLiteral("%%"));
        }
    }
    return line;
}

QString TAutostartEntry::DesktopEntry(const QString& program, const QStringList& arguments) const {
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=") +
           escapedValue(m_name) + QStringLiteral("\nExec=") +
           escapedValue(ExecLine(program, arguments)) +
           QStringLiteral("\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n");
}

void TAutostartEntry::Write(const QString& program, const QStringList& arguments) const {
    const QString path = FilePath();
    const QByteArray bytes = DesktopEntry(program, arguments).toUtf8();
    {
        QFile current(path);
        if (current.open(QIODevice::ReadOnly) && current.size() == bytes.size() &&
            current.readAll() == bytes)
            return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ERegistryException(QStringLiteral("Fehler beim Setzen der Daten für '") + m_name +
                                 QStringLiteral("'"));
}

void TAutostartEntry::Delete() const {
    QFile::remove(FilePath());
}
