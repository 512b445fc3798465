#pragma once

#include <QDialog>
#include <memory>

class IShell;
class QLabel;

// The information window: program name, version, build date, credits and
// the maker's addresses. Made once and shown modally as often as asked.
class TAbout : public QDialog {
public:
    // The links go to `shell`; without one, to the desktop's opener.
    explicit TAbout(QWidget* parent = nullptr, IShell* shell = nullptr);
    ~TAbout() override;

    // When this program was built, in seconds since 1970 (UTC).
    static qint64 BuildTime();

    // The maker's addresses behind the two links.
    static QString SupportAddress();
    static QString HomepageUrl();

    QLabel* Label1;
    QLabel* lblVersion;
    QLabel* lblCompile;
    QLabel* Label3;
    QLabel* Label4;
    QLabel* lblMail;
    QLabel* lblHomepage;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void FormShow();
    void OpenLink(const QString& url);

    std::unique_ptr<IShell> m_ownShell;
    IShell* m_shell;
};
