#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TIniFile;

// The used archives: full paths of the archives the quick menu offers.
using TUsedDocuments = QStringList;

// The program's settings. A shortcut code's low byte is the virtual-key code,
// 0x2000 adds Shift, 0x4000 Ctrl, 0x8000 Alt.
struct TProperties_ {
    quint16 QuickMenuKey = 16465; // Ctrl+Q
    quint16 ViewKey = 16462;      // Ctrl+N
    bool ShowSplash = true;
    bool StartWithWindows = false; // start when the user logs in
    bool ProxyUseDefault = true;
    bool ProxyCustom = false;
    QString ProxyServer;
    qint32 ProxyPort = 8080;
    TUsedDocuments UsedDocuments;
};

// Owns the settings in config.ini and keeps the start-up entry in line with
// StartWithWindows. Short-lived: create (which loads), read or change
// Properties, optionally SaveSettings, drop.
class TPropertiesHandling {
public:
    // Loads config.ini from the per-user folder. May raise ERegistryException.
    TPropertiesHandling();
    // The same with another settings file (tests).
    explicit TPropertiesHandling(const QString& configFile);
    ~TPropertiesHandling();
    TPropertiesHandling(const TPropertiesHandling&) = delete;
    TPropertiesHandling& operator=(const TPropertiesHandling&) = delete;

    // Fills Properties from the file, then writes or deletes the start-up
    // entry. Raises ERegistryException when the entry cannot be written (the
    // proxy values and used archives are then not read).
    void LoadSettings();
    // Writes the whole record and brings the start-up entry in line. Raises
    // EIniFileException or ERegistryException; what was written before stays.
    void SaveSettings();

    // The start-up entry: the program path in double quotes, then -m.
    void WriteRunEntry();
    void DeleteRunEntry();

    TProperties_ Properties;

private:
    std::unique_ptr<TIniFile> m_ini;
};
