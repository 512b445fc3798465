// The main window's texts from the language file, and the language menu.

#include "mainwindow/frmmain.h"

#include "dialogs/messages.h"
#include "language/language.h"
#include "mainwindow/treeviews.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QTreeWidget>

namespace {

struct TextRow {
    int key;
    const char* fallback;
};

} // namespace

void TMain::ApplyTexts()
{
    const TLanguageHandling& language = *m_language;
    const auto text = [&language](const char* section, int key, const char* fallback) {
        return language.GetText(QString::fromLatin1(section), QString::number(key),
                                QString::fromUtf8(fallback));
    };
    const auto menu = [&](QMenu* m, int key, const char* fallback) { m->setTitle(text("main", key, fallback)); };
    const auto caption = [&](QAction* a, int key, const char* fallback) { a->setText(text("main", key, fallback)); };

    menu(Datei1, 1, "Datei");
    caption(Neu1, 7, "Neu");
    caption(NeumitAssistent1, 8, "Neu mit Assistent");
    caption(ffnen1, 9, "Öffnen");
    caption(ArchivSchlieen1, 10, "Archiv Schließen");
    caption(ArchivEigenschaften1, 11, "Archiv Eigenschaften");
    caption(Speichern1, 12, "Speichern");
    caption(Speicherunter1, 13, "Speichern unter");
    caption(Sendenan1, 14, "Senden an");
    caption(Schlieen1, 15, "Schließen");
    menu(Bearbeiten1, 2, "Bearbeiten");
    caption(Ausschneiden1, 16, "Ausschneiden");
    caption(Kopieren1, 17, "Kopieren");
    caption(Einfgen1, 18, "Einfügen");
    menu(Ordner1, 3, "Ordner");
    caption(NeuerOrdner1, 19, "Neuer Ordner");
    caption(OrdnerBearbeiten1, 20, "Ordner Bearbeiten");
    caption(OrdnerLschen1, 21, "Ordner Löschen");
    caption(OrdneraufsteigendSortieren1, 22, "Ordner aufsteigend Sortieren");
    caption(OrdnerabsteigendSortieren1, 23, "Ordner absteigend Sortieren");
    menu(Eintrge1, 4, "Einträge");
    caption(NeuerText1, 24, "Neuer Text");
    caption(Neuer1, 25, "Neuer formatierter Text");
    caption(NeueeMail1, 26, "Neue eMail");
    caption(NeuerHyperlink1, 27, "Neuer Hyperlink");
    caption(Eintragbar1, 28, "Eintrag bearbeiten");
    caption(Eintragverschieben1, 29, "Eintrag verschieben");
    caption(Eintraglschen1, 30, "Eintrag löschen");
    caption(EintrgeaufsteigendSortieren1, 31, "Einträge aufsteigend Sortieren");
    caption(EintrgeabsteigendSortieren1, 32, "Einträge absteigend Sortieren");
    menu(Extras1, 5, "Extras");
    caption(Einstellungen1, 33, "Einstellungen");
    menu(Sprache1, 34, "Sprache");
    menu(N1, 6, "?");
    caption(Hilfe1, 35, "Hilfe");
    caption(KorvantisHomepage1, 36, "Korvantis Homepage");
    caption(Information1, 38, "Information");

    lsDoc->setHeaderLabels({text("main", 39, "ID"), text("main", 40, "Name"),
                            text("main", 41, "Beschreibung"), text("main", 42, "Typ")});
    lblPreview->setText(text("main", 43, "Vorschau"));
    Archive1->setTitle(text("main", 44, "Archive"));
    caption(Anzeigen1, 45, "Ausblenden");
    caption(Beenden1, 46, "Beenden");
    caption(Bearbeiten2, 47, "Bearbeiten");
    caption(Lschen1, 48, "Löschen");
    caption(Eigenschaften1, 49, "Eigenschaften");

    // Tool-button hints, shown as tips and in the status bar.
    static const struct {
        QAction* TMain::*button;
        int key;
        const char* fallback;
    } hints[] = {
        {&TMain::tNew, 1, "Neu"},
        {&TMain::tOpen, 2, "Open"},
        {&TMain::tSave, 3, "Speichern"},
        {&TMain::tSendTo, 4, "Senden an"},
        {&TMain::tPrint, 5, "Drucken"},
        {&TMain::tProperties, 6, "Einstellungen"},
        {&TMain::tNewDir, 7, "Neuer Ordner"},
        {&TMain::tEditDir, 8, "Ordner Bearbeiten"},
        {&TMain::tDelDir, 9, "Ordner Löschen"},
        {&TMain::tNewText, 10, "Neuer Text"},
        {&TMain::tNewRichText, 11, "Neuer formatierter Text"},
        {&TMain::tNewMail, 12, "Neue eMail"},
        {&TMain::tNewLink, 13, "Neuer Hyperlink"},
        {&TMain::tExecute, 14, "Ausführen"},
    };
    for (const auto& hint : hints) {
        const QString tip = text("hints", hint.key, hint.fallback);
        (this->*hint.button)->setToolTip(tip);
        (this->*hint.button)->setStatusTip(tip);
    }
}

void TMain::FillLanguageMenu()
{
    Sprache1->clear();
    for (const TLanguageMenuItem& entry : m_langFile->LanguageMenuItems()) {
        QAction* action = Sprache1->addAction(entry.Caption);
        action->setCheckable(true);
        action->setChecked(entry.Checked);
        const QString caption = entry.Caption;
        connect(action, &QAction::triggered, this, [this, caption] { guarded([this, caption] { LangItemClick(caption); }); });
    }
}

void TMain::LangItemClick(const QString& caption)
{
    m_langFile->SelectLanguageItem(caption);
    LanguageChanged();
    const TLanguageHandling language;
    Messages::ShowInformation(this, language.GetMessage(12));
}

void TMain::LanguageChanged()
{
    m_language->Reload();
    ApplyTexts();
    if (tList->topLevelItemCount() > 0)
        tList->topLevelItem(0)->setText(0, m_language->GetIdent(1));
}
