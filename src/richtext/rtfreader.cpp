#include "codepage.h"
#include "listmarker.h"
#include "richtext.h"
#include "rtfparser.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <array>

namespace richtext {

using detail::CharProps;
using detail::ListKind;
using detail::ParaProps;
using detail::Picture;

namespace {

constexpr double kTwipsPerPixel = 15.0; // 1440 twips per inch at 96 pixels per inch
constexpr double kMaxPictureSide = 10000.0;

QTextListFormat::Style listStyle(ListKind kind) {
    switch (kind) {
    case ListKind::Decimal:
        return QTextListFormat::ListDecimal;
    case ListKind::LowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case ListKind::UpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case ListKind::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case ListKind::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDisc;
    }
}

QString romanNumber(int n) {
    static const std::pair<int, const char*> table[] = {
        {1000, "m"}, {900, "cm"}, {500, "d"}, {400, "cd"}, {100, "c"}, {90, "xc"}, {50, "l"},
        {40, "xl"},  {10, "x"},   {9, "ix"},  {5, "v"},    {4, "iv"},  {1, "i"}};
    QString out;
    if (n <= 0 || n >= 4000)
        return QString::number(n);
    for (const auto& [value, text] : table) {
        while (n >= value) {
            out += QLatin1String(text);
            n -= value;
        }
    }
    return out;
}

QString alphaNumber(int n) {
    QString out;
    while (n > 0) {
        --n;
        out.prepend(QChar(u'a' + n % 26));
        n /= 26;
    }
    return out;
}

// Whether a list item joins the list of the same level before it.
bool continues(ListKind kind, int listOverride, const ParaProps& p) {
    const bool numbered = p.list != ListKind::Bullet;
    return kind == p.list && listOverride == p.listOverride && !(numbered && p.listRestart);
}

} // namespace

namespace detail {

QString listMarker(QTextListFormat::Style style, int n) {
    switch (style) {
    case QTextListFormat::ListDecimal:
        return QString::number(n) + QLatin1Char('.');
    case QTextListFormat::ListLowerAlpha:
        return alphaNumber(n) + QLatin1Char('.');
    case QTextListFormat::ListUpperAlpha:
        return alphaNumber(n).toUpper() + QLatin1Char('.');
    case QTextListFormat::ListLowerRoman:
        return romanNumber(n) + QLatin1Char('.');
    case QTextListFormat::ListUpperRoman:
        return romanNumber(n).toUpper() + QLatin1Char('.');
    default:
        return QString(QChar(0x2022));
    }
}

} // namespace detail

namespace {

class DocumentBuilder : public detail::Sink {
public:
    // One edit block for the whole reading: outside of one, every insertion
    // lays the paragraph out again to place the cursor, which makes long
    // paragraphs quadratic.
    DocumentBuilder(QTextDocument* doc, const detail::Tables& tables)
        : m_doc(doc), m_cursor(doc), m_tables(tables) {
        m_cursor.beginEditBlock();
    }
    ~DocumentBuilder() override { m_cursor.endEditBlock(); }

    void text(const QString& text, const CharProps& chars) override {
        openPendingBlock();
        m_cursor.insertText(text, charFormat(chars));
    }

    // Every paragraph ends with its mark, the document's last one too: the
    // block after a mark is made only once something follows it.
    void paragraph(const ParaProps& para, const CharProps& chars) override {
        openPendingBlock();
        applyBlock(para, chars);
        m_pendingBlock = true;
        m_pendingChars = chars;
    }

    void picture(const Picture& pic, const CharProps&) override {
        openPendingBlock();
        insertPicture(pic);
    }

    void finish(const ParaProps& para, const CharProps& chars) override {
        if (!m_pendingBlock)
            applyBlock(para, chars);
    }

private:
    void openPendingBlock() {
        if (!m_pendingBlock)
            return;
        m_pendingBlock = false;
        m_cursor.insertBlock(QTextBlockFormat(), charFormat(m_pendingChars));
    }

    const QTextCharFormat& charFormat(const CharProps& c) {
        if (m_haveFormat && c == m_lastProps)
            return m_lastFormat;
        QTextCharFormat f;
        const QString family = m_tables.fontName(c.font);
        if (!family.isEmpty())
            f.setFontFamilies(QStringList{family});
        f.setFontPointSize(c.halfPoints / 2.0);
        if (c.bold)
            f.setFontWeight(QFont::Bold);
        if (c.italic)
            f.setFontItalic(true);
        if (c.underline)
            f.setFontUnderline(true);
        if (c.strike)
            f.setFontStrikeOut(true);
        if (c.vertical == 1)
            f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
        else if (c.vertical == 2)
            f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
        const QColor fg = m_tables.color(c.color);
        if (fg.isValid())
            f.setForeground(fg);
        const QColor bg = m_tables.color(c.highlight);
        if (bg.isValid())
            f.setBackground(bg);
        if (c.href > 0 && c.href < m_tables.links.size()) {
            f.setAnchor(true);
            f.setAnchorHref(m_tables.links.at(c.href));
        }
        m_lastProps = c;
        m_lastFormat = f;
        m_haveFormat = true;
        return m_lastFormat;
    }

    void applyBlock(const ParaProps& p, const CharProps& chars) {
        QTextBlockFormat bf;
        switch (p.align) {
        case 1:
            bf.setAlignment(Qt::AlignHCenter);
            break;
        case 2:
            bf.setAlignment(Qt::AlignRight);
            break;
        case 3:
            bf.setAlignment(Qt::AlignJustify);
            break;
        default:
            break;
        }
        const bool listItem = p.list != ListKind::None;
        if (p.leftIndent != 0)
            bf.setLeftMargin(p.leftIndent / kTwipsPerPixel);
        if (listItem)
            bf.setProperty(ListFirstIndentProperty, p.firstIndent);
        else if (p.firstIndent != 0)
            bf.setTextIndent(p.firstIndent / kTwipsPerPixel);
        if (p.rightIndent != 0)
            bf.setRightMargin(p.rightIndent / kTwipsPerPixel);
        if (p.spaceBefore != 0)
            bf.setTopMargin(p.spaceBefore / kTwipsPerPixel);
        if (p.spaceAfter != 0)
            bf.setBottomMargin(p.spaceAfter / kTwipsPerPixel);
        m_cursor.setBlockFormat(bf);
        if (m_cursor.block().length() <= 1)
            m_cursor.setBlockCharFormat(charFormat(chars));

        if (!listItem) {
            m_lists.fill({});
            return;
        }
        const auto level = static_cast<size_t>(std::clamp(p.listLevel, 0, 8));
        for (size_t l = level + 1; l < m_lists.size(); ++l)
            m_lists[l] = {};
        ListSlot& slot = m_lists[level];
        if (slot.list && continues(slot.kind, slot.listOverride, p)) {
            slot.list->add(m_cursor.block());
        } else {
            QTextListFormat lf;
            lf.setStyle(listStyle(p.list));
            lf.setIndent(0);
            slot.list = m_cursor.createList(lf);
            slot.kind = p.list;
            slot.listOverride = p.listOverride;
        }
    }

    void insertPicture(const Picture& pic) {
        QSize natural;
        bool showable = false;
        const char* ext = "img";
        if (pic.kind == Picture::Kind::Png || pic.kind == Picture::Kind::Jpeg) {
            QByteArray data = pic.data;
            QBuffer buffer(&data);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, pic.kind == Picture::Kind::Png ? "png" : "jpeg");
            natural = reader.size();
            showable = reader.canRead() && natural.isValid() && !natural.isEmpty();
            ext = pic.kind == Picture::Kind::Png ? "png" : "jpg";
        }
        double w = 0, h = 0;
        const double sx = pic.scalex / 100.0, sy = pic.scaley / 100.0;
        if (pic.goalw > 0 && pic.goalh > 0) {
            w = pic.goalw / kTwipsPerPixel * sx;
            h = pic.goalh / kTwipsPerPixel * sy;
        } else if (showable) {
            w = natural.width() * sx;
            h = natural.height() * sy;
        } else if (pic.picw > 0 && pic.pich > 0) {
            // Metafiles give their extent in hundredths of a millimetre.
            const bool metric = pic.kind == Picture::Kind::Wmf || pic.kind == Picture::Kind::Emf;
            const double f = metric ? 96.0 / 2540.0 : 1.0;
            w = pic.picw * f * sx;
            h = pic.pich * f * sy;
        } else {
            w = h = 32;
        }
        w = std::clamp(w, 1.0, kMaxPictureSide);
        h = std::clamp(h, 1.0, kMaxPictureSide);

        const QUrl name(QStringLiteral("rtfpict%1.%2").arg(++m_pictures).arg(QLatin1String(ext)));
        QTextImageFormat fmt;
        fmt.setName(name.toString());
        fmt.setWidth(w);
        fmt.setHeight(h);
        if (showable) {
            m_doc->addResource(QTextDocument::ImageResource, name, pic.data);
        } else {
            m_doc->addResource(QTextDocument::ImageResource, name, placeholderImage());
            fmt.setProperty(PictureDataProperty, pic.data);
            fmt.setProperty(PictureKeywordProperty, pic.keyword);
            fmt.setProperty(PictureNaturalSizeProperty, QSize(pic.picw, pic.pich));
        }
        m_cursor.insertImage(fmt);
    }

    // A grey frame with a cross: the picture is there but cannot be shown.
    static QImage placeholderImage() {
        QImage image(48, 48, QImage::Format_ARGB32_Premultiplied);
        image.fill(QColor(0xEE, 0xEE, 0xEE));
        QPainter painter(&image);
        painter.setPen(QColor(0x88, 0x88, 0x88));
        painter.drawRect(0, 0, 47, 47);
        painter.drawLine(0, 0, 47, 47);
        painter.drawLine(0, 47, 47, 0);
        return image;
    }

    struct ListSlot {
        ListKind kind = ListKind::None;
        int listOverride = 0;
        QTextList* list = nullptr;
    };

    QTextDocument* m_doc;
    QTextCursor m_cursor;
    const detail::Tables& m_tables;
    CharProps m_lastProps;
    QTextCharFormat m_lastFormat;
    bool m_haveFormat = false;
    std::array<ListSlot, 9> m_lists{};
    int m_pictures = 0;
    bool m_pendingBlock = false;
    CharProps m_pendingChars;
};

// Builds the plain-text version straight from the RTF, without a document.
class PlainTextBuilder : public detail::Sink {
public:
    void text(const QString& text, const CharProps&) override {
        openPendingLine();
        startParagraph();
        for (QChar ch : text) {
            if (ch == QChar(0x2028))
                m_out.append(QLatin1Char('\n'));
            else if (ch != QChar(0x00AD))
                m_out.append(ch);
        }
    }

    // As in the document: the last paragraph mark adds no line.
    void paragraph(const ParaProps& para, const CharProps&) override {
        openPendingLine();
        endParagraph(para);
        m_pendingLine = true;
    }

    void picture(const Picture&, const CharProps&) override {
        openPendingLine();
        startParagraph();
    }

    void finish(const ParaProps& para, const CharProps&) override {
        if (!m_pendingLine)
            endParagraph(para);
    }

    QString result() const { return m_out; }

private:
    // The marker goes in front of the paragraph, but the paragraph's
    // formatting is known only at its end: remember where it starts.
    void openPendingLine() {
        if (m_pendingLine)
            m_out.append(QLatin1Char('\n'));
        m_pendingLine = false;
    }

    void startParagraph() {
        if (m_start < 0)
            m_start = m_out.size();
    }

    void endParagraph(const ParaProps& p) {
        const qsizetype start = m_start < 0 ? m_out.size() : m_start;
        m_start = -1;
        if (p.list == ListKind::None) {
            m_counters.fill({});
            return;
        }
        const auto level = static_cast<size_t>(std::clamp(p.listLevel, 0, 8));
        for (size_t l = level + 1; l < m_counters.size(); ++l)
            m_counters[l] = {};
        Counter& c = m_counters[level];
        if (!continues(c.kind, c.listOverride, p))
            c = {p.list, p.listOverride, 0};
        ++c.count;
        m_out.insert(start, detail::listMarker(listStyle(p.list), c.count) + QLatin1Char(' '));
    }

    struct Counter {
        ListKind kind = ListKind::None;
        int listOverride = 0;
        int count = 0;
    };
    QString m_out;
    qsizetype m_start = -1;
    bool m_pendingLine = false;
    std::array<Counter, 9> m_counters{};
};

} // namespace

QByteArray RtfSourceBytes(const QString& rtf) {
    QByteArray out;
    out.reserve(rtf.size());
    for (QChar ch : rtf) {
        const int b = detail::toWindows1252(ch.unicode());
        if (b >= 0) {
            out.append(static_cast<char>(b));
        } else {
            const int v = ch.unicode() > 0x7FFF ? ch.unicode() - 0x10000 : ch.unicode();
            // In a group of its own, so the \uc it needs ends with it.
            out.append("{\\uc1\\u");
            out.append(QByteArray::number(v));
            out.append("?}");
        }
    }
    return out;
}

bool ReadRtf(const QByteArray& rtf, QTextDocument* doc) {
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    doc->clear();
    detail::Tables tables;
    bool ok = false;
    {
        DocumentBuilder builder(doc, tables);
        ok = detail::parseRtf(rtf, builder, tables);
    }
    if (!ok)
        doc->setPlainText(QString::fromUtf8(rtf));
    doc->setUndoRedoEnabled(undo);
    doc->setModified(false);
    return ok;
}

bool ReadRtf(const QString& rtf, QTextDocument* doc) {
    return ReadRtf(RtfSourceBytes(rtf), doc);
}

QString RtfToPlainText(const QByteArray& rtf) {
    detail::Tables tables;
    PlainTextBuilder builder;
    if (!detail::parseRtf(rtf, builder, tables))
        return QString::fromUtf8(rtf);
    return builder.result();
}

QString RtfToPlainText(const QString& rtf) {
    return RtfToPlainText(RtfSourceBytes(rtf));
}

QString DocumentToPlainText(const QTextDocument* doc) {
    QString out;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        if (block != doc->begin())
            out.append(QLatin1Char('\n'));
        if (QTextList* list = block.textList()) {
            out.append(detail::listMarker(list->format().style(), list->itemNumber(block) + 1));
            out.append(QLatin1Char(' '));
        }
        const QString text = block.text();
        for (QChar ch : text) {
            if (ch == QChar(0x2028))
                out.append(QLatin1Char('\n'));
            else if (ch != QChar(0x00AD) && ch != QChar::ObjectReplacementCharacter)
                out.append(ch);
        }
    }
    return out;
}

} // namespace richtext
