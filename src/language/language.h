#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <memory>

class TIniFile;

// One item of the language menu.
struct TLanguageMenuItem {
    QString Caption; // file name with extension, e.g. english.lng
    QString Path;    // full path
    bool Checked = false;
};

// Knows where the language files are and which one is in use.
//
// The choice is recorded in the program folder's lang/used.ini (section
// "global", key "file"), shared by all users. Where that file cannot be
// written (an installed program), it is recorded in the per-user
// $XDG_CONFIG_HOME/Phrasora/used.ini instead, which is read first.
class TLangfileHandling {
public:
    TLangfileHandling();
    ~TLangfileHandling();
    TLangfileHandling(const TLangfileHandling&) = delete;
    TLangfileHandling& operator=(const TLangfileHandling&) = delete;

    // Full path of the language file in use: the recorded choice when it names
    // an existing file, otherwise program folder + "lang/english.lng".
    QString GetCurrentFile() const;
    // Records the language file to use from now on. Raises EIniFileException
    // when neither used.ini can be written.
    void SetCurrentFile(const QString& path);
    // Full paths of all *.lng files in the program's lang folder (no
    // sub-folders), in the order of their names.
    void ListFiles(QStringList& list) const;

    // The language menu: one item per listed file that exists, checked when
    // its file name equals that of the current file (case-sensitive).
    QList<TLanguageMenuItem> LanguageMenuItems() const;
    // The path a click on a menu item records: program folder + "lang/" +
    // caption, with every "&" removed from the whole path.
    static QString LanguageItemPath(const QString& caption);
    // Records the language of a clicked menu item (LanguageItemPath).
    void SelectLanguageItem(const QString& caption);

    // The INI files of the choice: the installation's and the user's.
    QString SharedChoiceFile() const;
    QString UserChoiceFile() const;

private:
    std::unique_ptr<TIniFile> m_shared;
    std::unique_ptr<TIniFile> m_user;
};

// The one reader of language files: numbered texts and window texts.
class TLanguageHandling {
public:
    // Opens the language file that is current now; it need not exist.
    TLanguageHandling();
    ~TLanguageHandling();
    TLanguageHandling(const TLanguageHandling&) = delete;
    TLanguageHandling& operator=(const TLanguageHandling&) = delete;

    QString GetCaption(int n) const; // "caps": "Phrasora - " + text
    QString GetCommand(int n) const; // "cmd"
    QString GetError(int n) const;   // "error", line-break escapes replaced
    QString GetIdent(int n) const;   // "ident"
    QString GetMessage(int n) const; // "msg", line-break escapes replaced

    // A window text: section and key, with its compiled-in default.
    QString GetText(const QString& section, const QString& key, const QString& def) const;

    // Opens the language file that is current now.
    void Reload();

    // The language file this object reads.
    QString FileName() const;

    // Backslash + "n" or "N" becomes a line feed followed by a carriage return.
    static QString ReplaceLineBreaks(const QString& text);

private:
    QString numbered(const QString& section, int n) const;

    std::unique_ptr<TIniFile> m_ini;
};
