#pragma once

#include <QDialog>
#include <memory>

class IMail;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class QWidget;
class TLanguageHandling;
class TPropertiesHandling;
class THotKeyEdit;

// The settings dialog: hot keys, start options, proxy values and the used
// archives. The controls are a working copy; only Ok stores them.
class TProperties : public QDialog {
public:
    // The settings are read from config.ini now. "Senden an" hands files
    // to `mail`; without one, to the desktop's mail program.
    explicit TProperties(QWidget* parent = nullptr, IMail* mail = nullptr);
    ~TProperties() override;

    // True once Ok has stored the settings.
    bool Stored() const { return m_stored; }

    QTabWidget* pMain;
    QWidget* tAllgemein;
    QWidget* tArchives;
    QGroupBox* fraKeys;
    QLabel* TntLabel1;
    QLabel* TntLabel2;
    THotKeyEdit* hQuick;
    THotKeyEdit* hView;
    QGroupBox* fraMisc;
    QCheckBox* chkShowSplash;
    QCheckBox* chkWinStart;
    QGroupBox* fraProxy;
    QRadioButton* chkProxyDefault;
    QRadioButton* chkProxyElse;
    QLabel* TntLabel3;
    QLineEdit* Server;
    QLabel* TntLabel4;
    QLineEdit* Port;
    QTableWidget* lsArchives;
    QPushButton* cmdAdd;
    QPushButton* cmdDel;
    QPushButton* cmdSendTo;
    QPushButton* cmdOk;
    QPushButton* cmdAbort;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void chkProxyDefaultClick();
    void chkProxyElseClick();
    void cmdAddClick();
    void cmdDelClick();
    void cmdSendToClick();
    void cmdOkClick();
    void cmdAbortClick();
    void AddArchiveRow(const QString& path);
    QString SelectedPath() const;

    std::unique_ptr<TPropertiesHandling> m_settings;
    std::unique_ptr<TLanguageHandling> m_language;
    std::unique_ptr<IMail> m_ownMail;
    IMail* m_mail;
    bool m_stored = false;
};

// Shows the settings dialog. True when the user stored the settings with
// Ok; either way the caller rebuilds what depends on the used archives.
bool ShowProperties(IMail* mail, QWidget* parent);
