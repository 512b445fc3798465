#pragma once

#include <QString>
#include <QStringList>

#include <memory>

class TIniFile;

// Knows where the language files are and which one is in use.
class TLangfileHandling {
public:
    TLangfileHandling();
    ~TLangfileHandling();

    // Full path of the language file in use.
    QString GetCurrentFile() const;
    // Records the language file to use from now on.
    void SetCurrentFile(const QString& path);
    // Full paths of all *.lng files in the program's lang folder.
    void ListFiles(QStringList& list) const;
};

// The one reader of language files: numbered texts and window texts.
class TLanguageHandling {
public:
    TLanguageHandling();
    ~TLanguageHandling();

    QString GetCaption(int n) const; // "caps": "Phrasora - " + text
    QString GetCommand(int n) const; // "cmd"
    QString GetError(int n) const;   // "error", line-break escapes replaced
    QString GetIdent(int n) const;   // "ident"
    QString GetMessage(int n) const; // "msg", line-break escapes replaced

    // A window text: section and key, with its compiled-in default.
    QString GetText(const QString& section, const QString& key, const QString& def) const;

    // Opens the language file that is current now.
    void Reload();
};
