#pragma once

#include "store/define.h"

#include <QDialog>
#include <QString>
#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QTimer;
class TLanguageHandling;
class TPropertiesHandling;

// The two-step wizard for a new archive: name, author and copyright first,
// then the file name and whether the archive joins the used archives.
class TNewWizzard : public QDialog {
public:
    enum class TPage { Basics, File };

    explicit TNewWizzard(QWidget* parent = nullptr);
    ~TNewWizzard() override;

    TPage Page() const { return m_page; }
    // True unless the wizard was left with the finish button.
    bool Cancelled() const { return m_cancelled; }

    QLabel* lblTitle;
    QLabel* lblDesc;
    QStackedWidget* pages;
    QLabel* TntLabel1;
    QLabel* lblBezeichnung;
    QLineEdit* Bezeichnung;
    QLabel* lblAutor;
    QLineEdit* Autor;
    QLabel* lblCopyright;
    QLineEdit* Copyright;
    QLabel* lblSelectFilename;
    QLabel* lblFilename;
    QLineEdit* Filename;
    QPushButton* cmdSelFile;
    QLabel* lblArchiveInfo;
    QCheckBox* chkDirectArchive;
    QPushButton* cmdBack;
    QPushButton* cmdNext;
    QPushButton* cmdAbort;
    QTimer* tmrCheck;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void FormShow();
    void tmrCheckTimer();
    void cmdBackClick();
    void cmdNextClick();
    void cmdAbortClick();
    void cmdSelFileClick();
    void ShowPage(TPage page);

    std::unique_ptr<TLanguageHandling> m_language;
    std::unique_ptr<TPropertiesHandling> m_settings;
    TPage m_page = TPage::Basics;
    bool m_cancelled = true;
    // The step texts: Next's caption, the title and the description of
    // each page, read when the wizard is shown.
    QString m_nextText[2], m_title[2], m_desc[2];
};

// Runs the wizard. On finishing it returns the chosen file name and fills
// `header` (version 1, name, author, copyright, file name, both dates now,
// not read-only); cancelled, it returns an empty text and leaves `header`
// alone. The archive file itself is the caller's to write.
QString RunNewArchiveWizard(TDocumentHeader& header, QWidget* parent);
