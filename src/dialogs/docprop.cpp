#include "dialogs/docprop.h"

#include "dialogs/datetext.h"
#include "language/language.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

TDocProp::TDocProp(QWidget* parent) : THeaderPropDialog(parent, false, 225) {
    setObjectName(QStringLiteral("TDocProp"));
}

void TDocProp::FormShow() {
    const TLanguageHandling language;
    setWindowTitle(language.GetCaption(3));
    const QString section = QStringLiteral("docprop");
    auto text = [&](int key, const char* def) {
        return language.GetText(section, QString::number(key), QString::fromUtf8(def));
    };
    lblBezeichnung->setText(text(1, "Bezeichnung"));
    lblAutor->setText(text(2, "Autor"));
    lblCopyright->setText(text(3, "Copyright"));
    const QString created = text(4, "Erstellt am:");
    const QString updated = text(5, "Geändert am:");
    cmdOk->setText(text(6, "Ok"));

    Bezeichnung->setText(Properties.caption);
    Autor->setText(Properties.author);
    Copyright->setText(Properties.copyright);
    SetValueLine(lblErstelltAm, created, DateTimeText(Properties.created));
    SetValueLine(lblGeaendertAm, updated, DateTimeText(Properties.updated));
}

bool EditEntryProperties(TDocHeader& properties, QWidget* parent) {
    TDocProp dialog(parent);
    dialog.Properties = properties;
    dialog.exec();

    TDocHeader result = properties;
    result.caption = dialog.Bezeichnung->text();
    result.author = dialog.Autor->text();
    result.copyright = dialog.Copyright->text();
    if (result.caption.isEmpty())
        result.caption = properties.caption;
    const bool changed = result.caption != properties.caption ||
                         result.author != properties.author ||
                         result.copyright != properties.copyright;
    properties = result;
    return changed;
}
