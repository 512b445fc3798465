#pragma once

#include <QByteArray>
#include <QString>

// What a formatted entry leaves on the clipboard: the plain text, its RTF
// source and an HTML rendering, offered together so that every kind of
// program can paste its best format.
struct TClipboardContent {
    QString plainText;
    QByteArray rtf; // empty: no RTF formats
    QString html;   // empty: no HTML format
};

class IClipboard {
public:
    virtual ~IClipboard() = default;

    // Replaces the clipboard's content with all formats at once and keeps
    // serving them while the program runs. False when it cannot be had.
    virtual bool SetContent(const TClipboardContent& content) = 0;
    // The plain text now on the clipboard (from any program).
    virtual QString Text() = 0;
};
