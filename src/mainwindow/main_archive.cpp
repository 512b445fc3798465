// The archive commands of the "Datei" menu, the recent archives, dropped
// files and the "Extras" and "?" menus.

#include "mainwindow/frmmain.h"

#include "dialogs/dialogs.h"
#include "dialogs/messages.h"
#include "language/language.h"
#include "mainwindow/treeviews.h"
#include "platform/mail.h"
#include "platform/shell.h"
#include "settings/history.h"

#include <QFileInfo>
#include <QMenu>

namespace {

const QString& archiveFilter()
{
    static const QString filter = QStringLiteral("Phrasora Archive (*.phr)");
    return filter;
}

} // namespace

QString TMain::HomepageUrl() { return QStringLiteral("https://phrasora.example.org/"); }

bool TMain::writeNewArchive(const QString& file)
{
    m_archive->FileName = file;
    try {
        m_archive->WriteArchive(m_doc, file);
        SetViewsEnabled(true);
        return true;
    } catch (const ESaveError&) {
        // A new archive that could not be written is not left half open.
        Messages::ShowError(this, m_language->GetError(3) + QStringLiteral(" ESaveError"), 10200);
        ResetArchive();
        ClearViews();
        return false;
    }
}

bool TMain::closeOpenArchive()
{
    if (ArchiveOpen() && !Messages::Confirm(this, m_language->GetMessage(1)))
        return false;
    ResetArchive();
    ClearViews();
    return true;
}

void TMain::Neu1Click()
{
    if (closeOpenArchive()) {
        m_treeAdapter->AddFirst(m_language->GetIdent(1));
        TDocumentHeader header;
        header.version = 1;
        header.caption = m_language->GetIdent(2);
        header.created = header.updated = NowDateTime();
        m_archive->SetHeader(header);
        const QString file = FileDialogs::GetSaveFileName(this, archiveFilter(), QStringLiteral("phr"));
        if (file.isEmpty()) {
            ResetArchive();
            ClearViews();
        } else {
            writeNewArchive(file);
        }
    }
    FillHistoryMenu();
}

void TMain::NeumitAssistent1Click()
{
    if (closeOpenArchive()) {
        m_treeAdapter->AddFirst(m_language->GetIdent(1));
        TDocumentHeader header;
        const QString file = RunNewArchiveWizard(header, this);
        if (file.isEmpty()) {
            ResetArchive();
            ClearViews();
        } else {
            m_archive->SetHeader(header);
            writeNewArchive(file);
            RefreshQuickMenu(); // the wizard may have added it to the used archives
        }
    }
    FillHistoryMenu();
}

void TMain::ffnen1Click()
{
    if (!closeOpenArchive())
        return;
    const QString file = FileDialogs::GetOpenFileName(this, archiveFilter());
    if (!file.isEmpty()) {
        m_archive->FileName = QFileInfo(file).absoluteFilePath();
        if (loadCurrentArchive() && m_history)
            m_history->AddArchive(m_archive->FileName);
    }
    FillHistoryMenu();
}

void TMain::PopHistoryClick(int tag)
{
    if (!m_history)
        return;
    const QString path = m_history->GetArchive(tag);
    if (path.isEmpty())
        return;
    if (!closeOpenArchive())
        return;
    m_archive->FileName = path;
    loadCurrentArchive();
}

void TMain::DropFileDrop(const QString& path)
{
    if (ArchiveOpen()) {
        const bool archiveName = path.endsWith(QLatin1String(".phr"));
        if (!archiveName && !QFileInfo::exists(path))
            return;
        if (!Messages::Confirm(this, m_language->GetMessage(1)))
            return;
    }
    ResetArchive();
    ClearViews();
    m_archive->FileName = QFileInfo(path).absoluteFilePath();
    if (loadCurrentArchive() && m_history)
        m_history->AddArchive(m_archive->FileName);
}

void TMain::ArchivSchlieen1Click()
{
    if (!Messages::Confirm(this, m_language->GetMessage(1)))
        return;
    ResetArchive();
    ClearViews();
}

void TMain::ArchivEigenschaften1Click()
{
    if (!ArchiveOpen())
        return;
    TDocumentHeader header;
    m_archive->GetHeader(header);
    EditArchiveHeader(header, this);
    m_archive->SetHeader(header);
}

void TMain::saveArchive(const QString& fileName)
{
    try {
        m_archive->WriteArchive(m_doc, fileName);
    } catch (const ESaveError&) {
        Messages::ShowError(this, m_language->GetError(3) + QStringLiteral(" ESaveError"), 10200);
    } catch (const std::exception&) {
        Messages::ShowWarning(this, m_language->GetError(2));
    }
    RefreshQuickMenu();
}

void TMain::Speichern1Click() { saveArchive({}); }

void TMain::Speicherunter1Click()
{
    const QString file = FileDialogs::GetSaveFileName(this, archiveFilter(), QStringLiteral("phr"));
    if (file.isEmpty())
        return;
    saveArchive(file);
}

void TMain::Sendenan1Click()
{
    if (ArchiveOpen() && m_services.mail)
        m_services.mail->SendFileByMail(m_archive->FileName);
}

void TMain::Einstellungen1Click()
{
    ShowProperties(m_services.mail, this);
    RefreshQuickMenu();
}

void TMain::KorvantisHomepage1Click()
{
    if (m_services.shell)
        m_services.shell->OpenUrl(HomepageUrl());
}

void TMain::Information1Click() { ShowAbout(this); }

void TMain::FillHistoryMenu()
{
    popHistory->clear();
    if (!m_history)
        return;
    for (const THistoryMenuItem& entry : m_history->MenuItems()) {
        const int tag = entry.Tag;
        QAction* action = popHistory->addAction(entry.Caption);
        action->setData(tag);
        connect(action, &QAction::triggered, this,
                [this, tag] { guarded([this, tag] { PopHistoryClick(tag); }); });
    }
}
