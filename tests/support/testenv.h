#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// An isolated per-test world: XDG_CONFIG_HOME, XDG_RUNTIME_DIR and the
// program folder point into a fresh temporary folder, so no test touches
// the user's files. The program folder gets a copy of the shipped language
// files unless told otherwise.
class TestEnv {
public:
    explicit TestEnv(bool withLanguageFiles = true);
    ~TestEnv();

    QString root() const { return m_dir.path(); }
    QString configDir() const;   // $XDG_CONFIG_HOME
    QString userDir() const;     // $XDG_CONFIG_HOME/Phrasora
    QString programDir() const;  // PHRASORA_PROGRAM_DIR
    QString path(const QString& relative) const { return m_dir.filePath(relative); }

    // Writes a file (creating folders) and returns its full path.
    QString writeFile(const QString& relative, const QByteArray& content) const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldConfig, m_oldRuntime, m_oldProgram;
};

// Reads a whole file; empty when it cannot be read.
QByteArray readAll(const QString& path);
// Full path of a file under tests/fixtures.
QString fixture(const QString& relative);

