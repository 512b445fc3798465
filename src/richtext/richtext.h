#pragma once

#include <QByteArray>
#include <QString>
#include <QTextFormat>

class QTextDocument;

// Formatted entries are stored as RTF. This room reads RTF into a
// QTextDocument and writes a QTextDocument back as RTF in the form the
// Windows rich-text control (WordPad) writes, so that both sides read what
// the other wrote.
namespace richtext {

// Replaces the content of doc with the RTF document. Data that does not
// start with an RTF header is shown as plain text (UTF-8) and the result is
// false, as the rich-text control does with such data.
bool ReadRtf(const QByteArray& rtf, QTextDocument* doc);
// The same for RTF held as a string (as an archive stores it): characters
// are narrowed to Windows-1252; those it lacks are kept as \u escapes.
bool ReadRtf(const QString& rtf, QTextDocument* doc);

// The whole document as RTF. The result is 7-bit ASCII.
QByteArray WriteRtf(const QTextDocument* doc);
// WriteRtf as a string, ready to be stored in an entry's text.
QString WriteRtfString(const QTextDocument* doc);

// The plain-text version of an RTF document: every paragraph mark becomes a
// line feed, a line break inside a paragraph too; list items start with
// their marker ("• ", "1. "); pictures and soft hyphens are left out.
// Needs no QGuiApplication.
QString RtfToPlainText(const QByteArray& rtf);
QString RtfToPlainText(const QString& rtf);
// The same rules applied to a document, for instance the editor's.
QString DocumentToPlainText(const QTextDocument* doc);

// An HTML rendering for the clipboard's text/html; pictures are embedded
// as data: URLs, so the HTML stands on its own.
QString RtfToHtml(const QByteArray& rtf);
QString DocumentToHtml(const QTextDocument* doc);

// The bytes RTF held in a string stands for (see ReadRtf(const QString&)).
QByteArray RtfSourceBytes(const QString& rtf);

// Properties the reader puts on the document so that writing it back keeps
// what Qt cannot show.
enum Property {
    // On the image format of a picture that cannot be shown (a metafile, a
    // device-independent bitmap, an unreadable PNG): its original data
    // (QByteArray), picture-type control word (QByteArray, e.g.
    // "wmetafile8") and \picw/\pich (QSize).
    PictureDataProperty = QTextFormat::UserProperty + 0x5200,
    PictureKeywordProperty,
    PictureNaturalSizeProperty,
    // On the block format of a list item: the first-line indent in twips that
    // the RTF gave (Qt draws the marker in front of the text instead).
    ListFirstIndentProperty,
};

} // namespace richtext
