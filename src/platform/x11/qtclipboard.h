#pragma once

#include "platform/clipboard.h"

// The clipboard through QClipboard; needs a QGuiApplication. Qt keeps
// answering other programs' requests for the content while the program
// runs.
class TQtClipboard : public IClipboard {
public:
    bool SetContent(const TClipboardContent& content) override;
    QString Text() override;

    // The MIME types that carry the RTF.
    static QStringList RtfFormats();
};
