#include "dialogs/messages.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace {

Messages::Interceptor& messageInterceptor()
{
    static Messages::Interceptor interceptor;
    return interceptor;
}

Help::Interceptor& helpInterceptor()
{
    static Help::Interceptor interceptor;
    return interceptor;
}

FileDialogs::Interceptor& fileInterceptor()
{
    static FileDialogs::Interceptor interceptor;
    return interceptor;
}

QString& helpFile()
{
    static QString file;
    return file;
}

bool german() { return QLocale::system().language() == QLocale::German; }

bool show(QWidget* parent, TMessageKind kind, const QString& text, int helpContext)
{
    if (messageInterceptor())
        return messageInterceptor()(kind, text, helpContext);

    QMessageBox box(parent);
    box.setWindowTitle(Messages::Title(kind));
    box.setText(text);
    switch (kind) {
    case TMessageKind::Error:
    case TMessageKind::Stop:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMessageKind::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMessageKind::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case TMessageKind::Confirmation:
        box.setIcon(QMessageBox::Question);
        break;
    }
    if (kind == TMessageKind::Confirmation) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        return box.exec() == QMessageBox::Yes;
    }
    box.setStandardButtons(QMessageBox::Ok);
    QPushButton* help = nullptr;
    if (helpContext > 0 && !Help::HelpFile().isEmpty())
        help = box.addButton(QMessageBox::Help);
    // The Help button opens the help and leaves the box open, as on Windows.
    if (help) {
        help->disconnect();
        QObject::connect(help, &QPushButton::clicked, &box, [helpContext] { Help::Open(helpContext); });
    }
    box.exec();
    return true;
}

} // namespace

namespace Messages {

QString Title(TMessageKind kind)
{
    const bool de = german();
    switch (kind) {
    case TMessageKind::Error:
        return de ? QStringLiteral("Fehler") : QStringLiteral("Error");
    case TMessageKind::Warning:
        return de ? QStringLiteral("Warnung") : QStringLiteral("Warning");
    case TMessageKind::Information:
        return QStringLiteral("Information");
    case TMessageKind::Confirmation:
        return de ? QStringLiteral("Bestätigen") : QStringLiteral("Confirm");
    case TMessageKind::Stop:
        return QStringLiteral("Phrasora");
    }
    return {};
}

void ShowError(QWidget* parent, const QString& text, int helpContext)
{
    show(parent, TMessageKind::Error, text, helpContext);
}

void ShowWarning(QWidget* parent, const QString& text) { show(parent, TMessageKind::Warning, text, 0); }

void ShowInformation(QWidget* parent, const QString& text)
{
    show(parent, TMessageKind::Information, text, 0);
}

bool Confirm(QWidget* parent, const QString& text)
{
    return show(parent, TMessageKind::Confirmation, text, 0);
}

void ShowStop(QWidget* parent, const QString& text) { show(parent, TMessageKind::Stop, text, 0); }

void SetInterceptor(Interceptor interceptor) { messageInterceptor() = std::move(interceptor); }

} // namespace Messages

namespace Help {

void SetHelpFile(const QString& path)
{
    helpFile() = QFileInfo::exists(path) ? path : QString();
}

QString HelpFile() { return helpFile(); }

void Open(int helpContext)
{
    if (helpFile().isEmpty())
        return;
    if (helpInterceptor()) {
        helpInterceptor()(helpFile(), helpContext);
        return;
    }
    QUrl url = QUrl::fromLocalFile(helpFile());
    if (helpContext > 0)
        url.setFragment(QString::number(helpContext));
    QDesktopServices::openUrl(url);
}

void SetInterceptor(Interceptor interceptor) { helpInterceptor() = std::move(interceptor); }

} // namespace Help

namespace FileDialogs {

QString GetOpenFileName(QWidget* parent, const QString& filter)
{
    if (fileInterceptor())
        return fileInterceptor()(false);
    return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
}

QString GetSaveFileName(QWidget* parent, const QString& filter, const QString& defaultSuffix)
{
    if (fileInterceptor())
        return fileInterceptor()(true);
    QFileDialog dialog(parent, QString(), QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    dialog.setSizeGripEnabled(true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().first();
}

void SetInterceptor(Interceptor interceptor) { fileInterceptor() = std::move(interceptor); }

} // namespace FileDialogs
