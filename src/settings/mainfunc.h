#pragma once

#include <QString>

// Program version and the per-user file paths. Stateless: create, ask, drop.
class TMainFunc {
public:
    // "1.0.1.0": major, minor, release, build.
    QString GetProgramVersion() const;

    // Full paths of the per-user files in $XDG_CONFIG_HOME/Phrasora/; the
    // folder is created on demand, the file never.
    QString GetHistoryFile() const;
    QString GetConfigFile() const;
    QString GetQuickFile() const;

    // Full path of the language file in use.
    QString GetLanguageFile() const;

    // The per-user folder, $XDG_CONFIG_HOME/Phrasora/ (default
    // ~/.config/Phrasora/), with a trailing "/". It and any missing parent are
    // created on demand; a failure is silent, and the later opening of a file
    // there reports it.
    QString GetUserFolder() const;
    // The same path, without creating anything.
    static QString UserFolderPath();
};
