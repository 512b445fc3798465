#include "language/language.h"

// Placeholder implementation; the real reader replaces it.
TLangfileHandling::TLangfileHandling() = default;
TLangfileHandling::~TLangfileHandling() = default;
QString TLangfileHandling::GetCurrentFile() const { return {}; }
void TLangfileHandling::SetCurrentFile(const QString&) {}
void TLangfileHandling::ListFiles(QStringList&) const {}

TLanguageHandling::TLanguageHandling() = default;
TLanguageHandling::~TLanguageHandling() = default;
QString TLanguageHandling::GetCaption(int) const { return QStringLiteral("Phrasora - "); }
QString TLanguageHandling::GetCommand(int) const { return {}; }
QString TLanguageHandling::GetError(int) const { return {}; }
QString TLanguageHandling::GetIdent(int) const { return {}; }
QString TLanguageHandling::GetMessage(int) const { return {}; }
QString TLanguageHandling::GetText(const QString&, const QString&, const QString& def) const { return def; }
void TLanguageHandling::Reload() {}
