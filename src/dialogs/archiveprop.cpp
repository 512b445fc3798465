#include "dialogs/archiveprop.h"

#include "dialogs/datetext.h"
#include "language/language.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TArchiveProp::TArchiveProp(QWidget* parent) : THeaderPropDialog(parent, true, 241) {
    setObjectName(QStringLiteral("TArchiveProp"));
}

void TArchiveProp::FormShow() {
    const TLanguageHandling language;
    setWindowTitle(language.GetCaption(1));
    const QString section = QStringLiteral("archiveprop");
    auto text = [&](int key, const char* def) {
        return language.GetText(section, QString::number(key), QString::fromUtf8(def));
    };
    lblBezeichnung->setText(text(1, "Bezeichnung"));
    lblAutor->setText(text(2, "Autor"));
    lblCopyright->setText(text(3, "Copyright"));
    const QString created = text(4, "Erstellt am:");
    const QString updated = text(5, "Geändert am:");
    const QString fileName = text(6, "Dateiname:");
    cmdOk->setText(text(7, "Ok"));

    Bezeichnung->setText(Header.caption);
    Autor->setText(Header.author);
    Copyright->setText(Header.copyright);
    SetValueLine(lblErstelltAm, created, DateTimeText(Header.created));
    SetValueLine(lblGeaendertAm, updated, DateTimeText(Header.updated));
    SetValueLine(lblDateiname, fileName, Header.filename);
}

bool EditArchiveHeader(TDocumentHeader& header, QWidget* parent) {
    TArchiveProp dialog(parent);
    dialog.Header = header;
    dialog.exec();

    TDocumentHeader result = header;
    result.caption = dialog.Bezeichnung->text();
    result.author = dialog.Autor->text();
    result.copyright = dialog.Copyright->text();
    if (result.caption.isEmpty())
        result.caption = header.caption;
    const bool changed = result.caption != header.caption || result.author != header.author ||
                         result.copyright != header.copyright;
    header = result;
    return changed;
}
