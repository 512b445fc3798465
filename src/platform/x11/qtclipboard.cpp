#include "platform/x11/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

QStringList TQtClipboard::RtfFormats() {
    // LibreOffice asks for text/rtf or application/rtf, programs that came
    // from Windows (and Wine) for "Rich Text Format".
    return {QStringLiteral("text/rtf"), QStringLiteral("application/rtf"),
            QStringLiteral("Rich Text Format")};
}

bool TQtClipboard::SetContent(const TClipboardContent& content) {
    QClipboard* clipboard = qobject_cast<QGuiApplication*>(QCoreApplication::instance())
                                ? QGuiApplication::clipboard()
                                : nullptr;
    if (!clipboard)
        return false;
    auto data = std::make_unique<QMimeData>();
    data->setText(content.plainText);
    if (!content.rtf.isEmpty())
        for (const QString& format : RtfFormats())
            data->setData(format, content.rtf);
    if (!content.html.isEmpty())
        data->setHtml(content.html);
    clipboard->setMimeData(data.release(), QClipboard::Clipboard); // the clipboard owns it now
    return true;
}

QString TQtClipboard::Text() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return {};
    return QGuiApplication::clipboard()->text(QClipboard::Clipboard);
}
