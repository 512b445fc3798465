#include "settings/properties_handling.h"

#include "platform/autostart.h"
#include "platform/fileexists.h"
#include "platform/inifile.h"
#include "platform/programfolder.h"
#include "settings/mainfunc.h"

namespace {

const QString kHotkeys = QStringLiteral("hotkeys");
const QString kMisc = QStringLiteral("misc");
const QString kProxy = QStringLiteral("proxy");
const QString kFiles = QStringLiteral("files");

TAutostartEntry runEntry() {
    return TAutostartEntry(QStringLiteral("Phrasora"));
}

} // namespace

TPropertiesHandling::TPropertiesHandling() : TPropertiesHandling(TMainFunc().GetConfigFile()) {}

TPropertiesHandling::TPropertiesHandling(const QString& configFile)
    : m_ini(std::make_unique<TIniFile>(configFile)) {
    LoadSettings();
}

TPropertiesHandling::~TPropertiesHandling() = default;

void TPropertiesHandling::LoadSettings() {
    TProperties_& p = Properties;
    p.UsedDocuments.clear();

    p.QuickMenuKey =
        static_cast<quint16>(m_ini->ReadInteger(kHotkeys, QStringLiteral("quickmenu"), 16465));
    p.ViewKey = static_cast<quint16>(m_ini->ReadInteger(kHotkeys, QStringLiteral("view"), 16462));
    p.ShowSplash = m_ini->ReadBool(kMisc, QStringLiteral("showplash"), true);
    p.StartWithWindows = m_ini->ReadBool(kMisc, QStringLiteral("startwithwin"), false);

    if (p.StartWithWindows)
        WriteRunEntry();
    else
        DeleteRunEntry();

    p.ProxyUseDefault = m_ini->ReadBool(kProxy, QStringLiteral("usedefault"), true);
    p.ProxyCustom = m_ini->ReadBool(kProxy, QStringLiteral("custom"), false);
    p.ProxyServer = m_ini->ReadString(kProxy, QStringLiteral("server"), QString());
    p.ProxyPort = m_ini->ReadInteger(kProxy, QStringLiteral("port"), 8080);

    const QList<TIniEntry> files = m_ini->ReadSectionEntries(kFiles);
    for (const TIniEntry& line : files) {
        if (FileExists(line.Value))
            p.UsedDocuments.append(line.Value);
    }
}

void TPropertiesHandling::SaveSettings() {
    const TProperties_& p = Properties;

    m_ini->WriteString(kHotkeys, QStringLiteral("quickmenu"), QString::number(p.QuickMenuKey));
    m_ini->WriteString(kHotkeys, QStringLiteral("view"), QString::number(p.ViewKey));
    m_ini->WriteBool(kMisc, QStringLiteral("showplash"), p.ShowSplash);
    m_ini->WriteBool(kMisc, QStringLiteral("startwithwin"), p.StartWithWindows);

    if (p.StartWithWindows)
        WriteRunEntry();
    else
        DeleteRunEntry();

    m_ini->WriteBool(kProxy, QStringLiteral("usedefault"), p.ProxyUseDefault);
    m_ini->WriteBool(kProxy, QStringLiteral("custom"), p.ProxyCustom);
    m_ini->WriteString(kProxy, QStringLiteral("server"), p.ProxyServer);
    m_ini->WriteInteger(kProxy, QStringLiteral("port"), p.ProxyPort);

    const QStringList oldKeys = m_ini->ReadSection(kFiles);
    for (const QString& key : oldKeys)
        m_ini->DeleteKey(kFiles, key);
    for (qsizetype i = 0; i < p.UsedDocuments.size(); ++i) {
        if (!p.UsedDocuments[i].isEmpty())
            m_ini->WriteString(kFiles, QStringLiteral("file") + QString::number(i),
                               p.UsedDocuments[i]);
    }
}

void TPropertiesHandling::WriteRunEntry() {
    runEntry().Write(ProgramFilePath(), {QStringLiteral("-m")});
}

void TPropertiesHandling::DeleteRunEntry() {
    runEntry().Delete();
}
