#pragma once

#include "platform/exception.h"

#include <QString>
#include <QStringList>

// Raised when the start-up entry cannot be written: "Fehler beim Setzen der
// Daten für '<name>'".
PHRASORA_DECLARE_EXCEPTION(ERegistryException);

// The per-user start-at-login entry: a desktop entry in the XDG autostart
// folder, $XDG_CONFIG_HOME/autostart/<name>.desktop.
class TAutostartEntry {
public:
    explicit TAutostartEntry(const QString& name);

    const QString& Name() const { return m_name; }
    QString FilePath() const;
    bool Exists() const;

    // Writes (atomically) an entry that starts program with arguments. An entry
    // that already has exactly this content is left alone. Raises
    // ERegistryException.
    void Write(const QString& program, const QStringList& arguments) const;
    // Removes the entry; a missing entry or a failure is silent.
    void Delete() const;

    // The desktop entry's text for program and arguments.
    QString DesktopEntry(const QString& program, const QStringList& arguments) const;
    // The value of its Exec key (before the escaping of string values): the
    // program in double quotes, then each argument, quoted only when it needs it.
    static QString ExecLine(const QString& program, const QStringList& arguments);

private:
    QString m_name;
};
