#pragma once

#include "store/define.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class TLanguageHandling;

// The common form of the two property dialogs: name, author and copyright
// edits, the date lines and one Ok button. Whichever way the dialog is
// closed, the edits are taken (the opener reads them back after exec()).
class THeaderPropDialog : public QDialog {
public:
    QLabel* lblBezeichnung;
    QLineEdit* Bezeichnung;
    QLabel* lblAutor;
    QLineEdit* Autor;
    QLabel* lblCopyright;
    QLineEdit* Copyright;
    QLabel* lblErstelltAm;
    QLabel* lblGeaendertAm;
    QLabel* lblDateiname = nullptr;
    QPushButton* cmdOk;

protected:
    // withFileName adds the file-name line under the dates.
    THeaderPropDialog(QWidget* parent, bool withFileName, int designedHeight);

    void showEvent(QShowEvent* event) override;
    virtual void FormShow() = 0;

    // Sets a "label: value" line from its language text.
    static void SetValueLine(QLabel* label, const QString& text, const QString& value);

    void cmdOkClick();

private:
    QSize m_designedSize;
};
