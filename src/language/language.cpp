#include "language/language.h"

#include "platform/fileexists.h"
#include "platform/inifile.h"
#include "platform/programfolder.h"
#include "settings/mainfunc.h"

#include <QDir>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kGlobal = QStringLiteral("global");
const QString kFile = QStringLiteral("file");

QString langFolder() {
    return ProgramFolder() + QStringLiteral("lang");
}

} // namespace

// ---------------------------------------------------------------------------
// TLangfileHandling

TLangfileHandling::TLangfileHandling()
    : m_shared(std::make_unique<TIniFile>(ProgramFolder() + QStringLiteral("lang/used.ini"))),
      // Looking up the choice creates nothing; recording it creates the folder.
      m_user(std::make_unique<TIniFile>(TMainFunc::UserFolderPath() + QStringLiteral("used.ini"))) {
}

TLangfileHandling::~TLangfileHandling() = default;

QString TLangfileHandling::SharedChoiceFile() const {
    return m_shared->FileName();
}

QString TLangfileHandling::UserChoiceFile() const {
    return m_user->FileName();
}

QString TLangfileHandling::GetCurrentFile() const {
    const QString mine = m_user->ReadString(kGlobal, kFile, QString());
    if (FileExists(mine))
        return mine;
    const QString shared = m_shared->ReadString(kGlobal, kFile, QString());
    if (FileExists(shared))
        return shared;
    return ProgramFolder() + QStringLiteral("lang/english.lng");
}

void TLangfileHandling::SetCurrentFile(const QString& path) {
    try {
        m_shared->WriteString(kGlobal, kFile, path);
    } catch (const EIniFileException&) {
        // The installation's lang folder is not ours to write: record the
        // choice for this user alone.
        TMainFunc().GetUserFolder();
        m_user->WriteString(kGlobal, kFile, path);
        return;
    }
    // A choice of this user's from before would hide the new one.
    m_user->DeleteKey(kGlobal, kFile);
}

void TLangfileHandling::ListFiles(QStringList& list) const {
    const QString folder = langFolder();
    const QDir dir(folder);
    // Sorted as NTFS lists them, so that the language menu has a stable order.
    QStringList names = dir.entryList({QStringLiteral("*.lng")}, QDir::Files | QDir::Hidden);
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    for (const QString& name : names)
        list.append(folder + QLatin1Char('/') + name);
}

QList<TLanguageMenuItem> TLangfileHandling::LanguageMenuItems() const {
    const QString current = QFileInfo(GetCurrentFile()).fileName();
    QStringList files;
    ListFiles(files);
    QList<TLanguageMenuItem> items;
    for (const QString& path : files) {
        if (!FileExists(path))
            continue;
        const QString name = QFileInfo(path).fileName();
        items.append({name, path, name == current});
    }
    return items;
}

QString TLangfileHandling::LanguageItemPath(const QString& caption) {
    QString path = ProgramFolder() + QStringLiteral("lang/") + caption;
    path.remove(QLatin1Char('&'));
    return path;
}

void TLangfileHandling::SelectLanguageItem(const QString& caption) {
    SetCurrentFile(LanguageItemPath(caption));
}

// ---------------------------------------------------------------------------
// TLanguageHandling

TLanguageHandling::TLanguageHandling()
    : m_ini(std::make_unique<TIniFile>(TMainFunc().GetLanguageFile())) {}

TLanguageHandling::~TLanguageHandling() = default;

void TLanguageHandling::Reload() {
    m_ini = std::make_unique<TIniFile>(TMainFunc().GetLanguageFile());
}

QString TLanguageHandling::FileName() const {
    return m_ini->FileName();
}

QString TLanguageHandling::ReplaceLineBreaks(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\\' && i + 1 < text.size() &&
            (text[i + 1] == u'n' || text[i + 1] == u'N')) {
            out += QLatin1Char('\n');
            out += QLatin1Char('\r');
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString TLanguageHandling::numbered(const QString& section, int n) const {
    return m_ini->ReadString(section, QString::number(n), QString());
}

QString TLanguageHandling::GetCaption(int n) const {
    return QStringLiteral("Phrasora - ") + numbered(QStringLiteral("caps"), n);
}

QString TLanguageHandling::GetCommand(int n) const {
    return numbered(QStringLiteral("cmd"), n);
}

QString TLanguageHandling::GetError(int n) const {
    return ReplaceLineBreaks(numbered(QStringLiteral("error"), n));
}

QString TLanguageHandling::GetIdent(int n) const {
    return numbered(QStringLiteral("ident"), n);
}

QString TLanguageHandling::GetMessage(int n) const {
    return ReplaceLineBreaks(numbered(QStringLiteral("msg"), n));
}

QString TLanguageHandling::GetText(const QString& section, const QString& key,
                                   const QString& def) const {
    return m_ini->ReadString(section, key, def);
}
