#pragma once

#include "support/testenv.h"

#include <QBuffer>
#include <QImage>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <ostream>

// The QString and QByteArray printers come with support/testenv.h.

inline QByteArray rtfFixture(const char* name)
{
    return readAll(fixture(QStringLiteral("rtf/") + QLatin1String(name)));
}

// The block whose text contains needle (an invalid block when none does).
inline QTextBlock blockWith(const QTextDocument& doc, const QString& needle)
{
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        if (b.text().contains(needle))
            return b;
    }
    return {};
}

// The character format of the first character of needle in the document.
inline QTextCharFormat formatOf(const QTextDocument& doc, const QString& needle)
{
    const QTextCursor found = doc.find(needle);
    if (found.isNull()) {
        ADD_FAILURE() << "text not found: " << needle.toStdString();
        return {};
    }
    QTextCursor c(const_cast<QTextDocument*>(&doc));
    c.setPosition(found.selectionStart() + 1);
    return c.charFormat();
}

inline QString familyOf(const QTextCharFormat& f)
{
    const QStringList families = f.property(QTextFormat::FontFamilies).toStringList();
    return families.isEmpty() ? QString() : families.first();
}

inline QByteArray imageBytes(int w, int h, QColor color, const char* format)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

// Every image format in the document, in order.
inline QList<QTextImageFormat> imagesOf(const QTextDocument& doc)
{
    QList<QTextImageFormat> out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat()) {
                for (int i = 0; i < it.fragment().length(); ++i)
                    out.append(f.toImageFormat());
            }
        }
    }
    return out;
}
