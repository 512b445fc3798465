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
};
