#include "codepage.h"
#include "listmarker.h"
#include "richtext.h"

#include <QBuffer>
#include <QFont>
#include <QImage>
#include <QImageReader>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <QUrl>
#include <cmath>

namespace richtext {

namespace {

constexpr double kTwipsPerPixel = 15.0;

int twips(double pixels) {
    return static_cast<int>(std::lround(std::clamp(pixels * kTwipsPerPixel, -1e7, 1e7)));
}

bool isBulletStyle(QTextListFormat::Style s) {
    return s == QTextListFormat::ListDisc || s == QTextListFormat::ListCircle ||
           s == QTextListFormat::ListSquare;
}

// What a run of text looks like in RTF terms.
struct RunProps {
    int font = -1;
    int halfPoints = -1;
    int color = 0;
    int highlight = 0;
    int vertical = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool operator==(const RunProps&) const = default;
};

struct ParaOut {
    int align = 0;
    int firstIndent = 0, leftIndent = 0, rightIndent = 0, spaceBefore = 0, spaceAfter = 0;
    int listStyle = 0; // 0 = no list, otherwise the QTextListFormat::Style
    bool operator==(const ParaOut&) const = default;
};

struct PictureOut {
    QByteArray keyword;
    QByteArray data;
    QSize natural;
};

// Encoded picture data of an image in the document, or an empty keyword
// when there is nothing to write.
PictureOut pictureFor(const QTextDocument* doc, const QTextImageFormat& fmt) {
    PictureOut out;
    if (fmt.hasProperty(PictureDataProperty)) {
        out.keyword = fmt.property(PictureKeywordProperty).toByteArray();
        out.data = fmt.property(PictureDataProperty).toByteArray();
        out.natural = fmt.property(PictureNaturalSizeProperty).toSize();
        if (out.keyword.isEmpty())
            out.keyword = "wmetafile8";
        return out;
    }
    const QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(fmt.name()));
    QImage image;
    if (res.typeId() == QMetaType::QByteArray) {
        const QByteArray bytes = res.toByteArray();
        const char* type = nullptr;
        if (bytes.startsWith("\x89PNG\r\n\x1a\n"))
            type = "png";
        else if (bytes.startsWith("\xff\xd8\xff"))
            type = "jpeg";
        if (type) {
            QByteArray copy = bytes;
            QBuffer buffer(&copy);
            buffer.open(QIODevice::ReadOnly);
            QImageReader reader(&buffer, type);
            out.natural = reader.size();
            out.keyword = qstrcmp(type, "png") == 0 ? "pngblip" : "jpegblip";
            out.data = bytes;
            return out;
        }
        image = QImage::fromData(bytes);
    } else if (res.typeId() == QMetaType::QImage) {
        image = res.value<QImage>();
    } else if (res.typeId() == QMetaType::QPixmap) {
        image = res.value<QPixmap>().toImage();
    }
    if (image.isNull())
        return out;
    QBuffer buffer(&out.data);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    out.keyword = "pngblip";
    out.natural = image.size();
    return out;
}

class Writer {
public:
    explicit Writer(const QTextDocument* doc) : m_doc(doc) {
        const QFont def = doc->defaultFont();
        m_defaultFamily = def.family();
        m_defaultPoints = def.pointSizeF() > 0  ? def.pointSizeF()
                          : def.pixelSize() > 0 ? def.pixelSize() * 0.75
                                                : 12.0;
    }

    QByteArray run();

private:
    void collectTables();
    int fontIndex(const QString& family);
    int colorIndex(const QColor& color);
    QString familyOf(const QTextCharFormat& f) const;
    RunProps runPropsOf(const QTextCharFormat& f);
    ParaOut paraOf(const QTextBlock& block) const;

    void word(const char* name) {
        m_out.append('\\').append(name);
        m_needSpace = true;
    }
    void word(const char* name, long long value) {
        m_out.append('\\').append(name).append(QByteArray::number(value));
        m_needSpace = true;
    }
    void raw(const char* s) {
        m_out.append(s);
        m_needSpace = false;
    }
    void writeRunProps(const RunProps& want);
    void writeText(QStringView text, bool inFontTable = false);
    void writeParagraphStart(const QTextBlock& block, const ParaOut& para, bool restate);
    void writePicture(const QTextImageFormat& fmt);
    void writeBlock(const QTextBlock& block);

    const QTextDocument* m_doc;
    QString m_defaultFamily;
    double m_defaultPoints;
    QStringList m_fonts;
    QList<QColor> m_colors; // entry 0 (automatic) is implied
    int m_symbolFont = -1;
    QByteArray m_out;
    bool m_needSpace = false;
    RunProps m_cur;
    RunProps m_savedRun;
    QString m_link;
};

QString Writer::familyOf(const QTextCharFormat& f) const {
    const QVariant families = f.property(QTextFormat::FontFamilies);
    if (families.isValid()) {
        const QStringList list = families.toStringList();
        if (!list.isEmpty() && !list.first().isEmpty())
            return list.first();
    }
    const QString family = f.property(QTextFormat::FontFamily).toString();
    return family.isEmpty() ? m_defaultFamily : family;
}

int Writer::fontIndex(const QString& family) {
    qsizetype i = m_fonts.indexOf(family);
    if (i < 0) {
        m_fonts.append(family);
        i = m_fonts.size() - 1;
    }
    return static_cast<int>(i);
}

int Writer::colorIndex(const QColor& color) {
    const QColor c = color.toRgb();
    for (qsizetype i = 0; i < m_colors.size(); ++i) {
        if (m_colors.at(i).rgb() == c.rgb())
            return static_cast<int>(i + 1);
    }
    m_colors.append(c);
    return static_cast<int>(m_colors.size());
}

RunProps Writer::runPropsOf(const QTextCharFormat& f) {
    RunProps r;
    r.font = fontIndex(familyOf(f));
    double points = m_defaultPoints;
    if (f.hasProperty(QTextFormat::FontPointSize) && f.fontPointSize() > 0)
        points = f.fontPointSize();
    else if (f.hasProperty(QTextFormat::FontPixelSize) &&
             f.intProperty(QTextFormat::FontPixelSize) > 0)
        points = f.intProperty(QTextFormat::FontPixelSize) * 0.75;
    r.halfPoints = static_cast<int>(std::clamp<long>(std::lround(points * 2), 2, 3276));
    r.bold = f.hasProperty(QTextFormat::FontWeight) && f.fontWeight() >= QFont::DemiBold;
    r.italic = f.fontItalic();
    r.underline = f.fontUnderline();
    r.strike = f.fontStrikeOut();
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript)
        r.vertical = 1;
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript)
        r.vertical = 2;
    if (f.hasProperty(QTextFormat::ForegroundBrush) && f.foreground().style() != Qt::NoBrush)
        r.color = colorIndex(f.foreground().color());
    if (f.hasProperty(QTextFormat::BackgroundBrush) && f.background().style() != Qt::NoBrush)
        r.highlight = colorIndex(f.background().color());
    return r;
}

ParaOut Writer::paraOf(const QTextBlock& block) const {
    const QTextBlockFormat bf = block.blockFormat();
    ParaOut p;
    const Qt::Alignment a = bf.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter)
        p.align = 1;
    else if (a & (Qt::AlignRight | Qt::AlignTrailing))
        p.align = 2;
    else if (a & Qt::AlignJustify)
        p.align = 3;
    double left = bf.leftMargin() + bf.indent() * m_doc->indentWidth();
    if (QTextList* list = block.textList()) {
        left += list->format().indent() * m_doc->indentWidth();
        p.listStyle = list->format().style();
        p.leftIndent = twips(left);
        p.firstIndent = bf.hasProperty(ListFirstIndentProperty)
                            ? bf.intProperty(ListFirstIndentProperty)
                            : -std::min(p.leftIndent, 360);
    } else {
        p.leftIndent = twips(left);
        p.firstIndent = twips(bf.textIndent());
    }
    p.rightIndent = twips(bf.rightMargin());
    p.spaceBefore = twips(bf.topMargin());
    p.spaceAfter = twips(bf.bottomMargin());
    return p;
}

void Writer::collectTables() {
    bool bullets = false;
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        if (QTextList* list = block.textList())
            bullets = bullets || isBulletStyle(list->format().style());
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (frag.isValid() && !frag.charFormat().isImageFormat())
                runPropsOf(frag.charFormat());
        }
        // An empty paragraph still has the formatting of its mark.
        if (block.length() <= 1)
            runPropsOf(block.charFormat());
    }
    if (m_fonts.isEmpty())
        m_fonts.append(m_defaultFamily);
    if (bullets) {
        m_symbolFont = static_cast<int>(m_fonts.size());
        m_fonts.append(QStringLiteral("Symbol"));
    }
}

void Writer::writeRunProps(const RunProps& w) {
    if (w.color != m_cur.color)
        word("cf", w.color);
    if (w.highlight != m_cur.highlight)
        word("highlight", w.highlight);
    if (w.bold != m_cur.bold)
        w.bold ? word("b") : word("b", 0);
    if (w.italic != m_cur.italic)
        w.italic ? word("i") : word("i", 0);
    if (w.underline != m_cur.underline)
        w.underline ? word("ul") : word("ulnone");
    if (w.strike != m_cur.strike)
        w.strike ? word("strike") : word("strike", 0);
    if (w.vertical != m_cur.vertical)
        word(w.vertical == 1 ? "super" : w.vertical == 2 ? "sub" : "nosupersub");
    if (w.font != m_cur.font)
        word("f", w.font);
    if (w.halfPoints != m_cur.halfPoints)
        word("fs", w.halfPoints);
    m_cur = w;
}

void Writer::writeText(QStringView text, bool inFontTable) {
    auto plain = [this](char c) {
        if (m_needSpace) {
            m_out.append(' ');
            m_needSpace = false;
        }
        m_out.append(c);
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t ch = text[i].unicode();
        switch (ch) {
        case u'\\':
            plain('\\');
            plain('\\');
            continue;
        case u'{':
            plain('\\');
            plain('{');
            continue;
        case u'}':
            plain('\\');
            plain('}');
            continue;
        case u'\t':
            word("tab");
            continue;
        case 0x2028:
            word("line");
            continue;
        case 0x00A0:
            plain('\\');
            plain('~');
            continue;
        case 0x00AD:
            plain('\\');
            plain('-');
            continue;
        case 0x2011:
            plain('\\');
            plain('_');
            continue;
        default:
            break;
        }
        if (ch < 0x20 || ch == QChar::ObjectReplacementCharacter || (inFontTable && ch == u';'))
            continue;
        if (ch < 0x80) {
            plain(static_cast<char>(ch));
            continue;
        }
        const int b = detail::toWindows1252(ch);
        if (b >= 0) {
            static const char hex[] = "0123456789abcdef";
            plain('\\');
            plain('\'');
            plain(hex[b >> 4]);
            plain(hex[b & 15]);
        } else {
            word("u", ch > 0x7FFF ? static_cast<int>(ch) - 0x10000 : static_cast<int>(ch));
            raw("?");
        }
    }
}

void Writer::writeParagraphStart(const QTextBlock& block, const ParaOut& p, bool restate) {
    const auto style = static_cast<QTextListFormat::Style>(p.listStyle);
    if (restate) {
        word("pard");
    }
    if (p.listStyle != 0) {
        // The marker as text for readers without list support, then the list
        // definition itself; both the way the rich-text control writes them.
        const bool bullet = isBulletStyle(style);
        QTextList* list = block.textList();
        raw("{");
        word("pntext");
        if (bullet) {
            word("f", m_symbolFont);
            raw("\\'B7");
        } else {
            word("f", m_cur.font < 0 ? 0 : m_cur.font);
            writeText(detail::listMarker(style, list ? list->itemNumber(block) + 1 : 1));
        }
        word("tab");
        raw("}");
        if (restate) {
            raw("{\\*");
            word("pn");
            if (bullet) {
                word("pnlvlblt");
                word("pnf", m_symbolFont);
                word("pnindent", 0);
                raw("{");
                word("pntxtb");
                raw("\\'B7}}");
            } else {
                word("pnlvlbody");
                word("pnf", m_cur.font < 0 ? 0 : m_cur.font);
                word("pnindent", 0);
                word("pnstart", 1);
                switch (style) {
                case QTextListFormat::ListLowerAlpha:
                    word("pnlcltr");
                    break;
                case QTextListFormat::ListUpperAlpha:
                    word("pnucltr");
                    break;
                case QTextListFormat::ListLowerRoman:
                    word("pnlcrm");
                    break;
                case QTextListFormat::ListUpperRoman:
                    word("pnucrm");
                    break;
                default:
                    word("pndec");
                    break;
                }
                raw("{");
                word("pntxta");
                raw(".}}");
            }
        }
    }
    if (!restate)
        return;
    if (p.align == 1)
        word("qc");
    else if (p.align == 2)
        word("qr");
    else if (p.align == 3)
        word("qj");
    if (p.firstIndent)
        word("fi", p.firstIndent);
    if (p.leftIndent)
        word("li", p.leftIndent);
    if (p.rightIndent)
        word("ri", p.rightIndent);
    if (p.spaceBefore)
        word("sb", p.spaceBefore);
    if (p.spaceAfter)
        word("sa", p.spaceAfter);
}

void Writer::writePicture(const QTextImageFormat& fmt) {
    const PictureOut pic = pictureFor(m_doc, fmt);
    if (pic.keyword.isEmpty())
        return;
    const double w = fmt.width() > 0 ? fmt.width() : pic.natural.width();
    const double h = fmt.height() > 0 ? fmt.height() : pic.natural.height();
    raw("{");
    word("pict");
    word(pic.keyword.constData());
    word("picw", std::max(0, pic.natural.width()));
    word("pich", std::max(0, pic.natural.height()));
    word("picwgoal", std::max(0, twips(w)));
    word("pichgoal", std::max(0, twips(h)));
    raw("\r\n");
    static const char hex[] = "0123456789abcdef";
    const qsizetype start = m_out.size();
    m_out.reserve(start + pic.data.size() * 2 + pic.data.size() / 32 + 4);
    for (qsizetype i = 0; i < pic.data.size(); ++i) {
        const auto b = static_cast<unsigned char>(pic.data.at(i));
        m_out.append(hex[b >> 4]);
        m_out.append(hex[b & 15]);
        if (i % 64 == 63)
            m_out.append("\r\n");
    }
    raw("}");
}

void Writer::writeBlock(const QTextBlock& block) {
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment frag = it.fragment();
        if (!frag.isValid())
            continue;
        const QTextCharFormat f = frag.charFormat();
        const QString href = f.isAnchor() ? f.anchorHref() : QString();
        if (href != m_link) {
            if (!m_link.isEmpty()) {
                raw("}}}");
                m_cur = m_savedRun;
            }
            m_link = href;
            if (!href.isEmpty()) {
                // A hyperlink field; the result's formatting is scoped to it.
                QString target = href;
                target.replace(QLatin1Char('"'), QLatin1String("%22"));
                raw("{");
                word("field");
                raw("{\\*");
                word("fldinst");
                raw("{HYPERLINK ");
                writeText(QStringLiteral("\"%1\"").arg(target));
                raw("}}{");
                word("fldrslt");
                raw("{");
                m_savedRun = m_cur;
            }
        }
        if (f.isImageFormat()) {
            const QString text = frag.text();
            for (qsizetype i = 0; i < text.size(); ++i)
                writePicture(f.toImageFormat());
            continue;
        }
        writeRunProps(runPropsOf(f));
        writeText(frag.text());
    }
    if (!m_link.isEmpty()) {
        raw("}}}");
        m_link.clear();
        m_cur = m_savedRun;
    }
    if (block.length() <= 1)
        writeRunProps(runPropsOf(block.charFormat()));
}

QByteArray Writer::run() {
    collectTables();
    m_out.reserve(m_doc->characterCount() + 256);
    raw("{\\rtf1\\ansi\\ansicpg1252\\deff0\\nouicompat{\\fonttbl");
    for (qsizetype i = 0; i < m_fonts.size(); ++i) {
        raw("{");
        word("f", i);
        word("fnil");
        word("fcharset", static_cast<qsizetype>(i) == m_symbolFont ? 2 : 0);
        writeText(m_fonts.at(i), true);
        raw(";}");
    }
    raw("}\r\n");
    if (!m_colors.isEmpty()) {
        raw("{\\colortbl ;");
        for (const QColor& c : m_colors) {
            word("red", c.red());
            word("green", c.green());
            word("blue", c.blue());
            raw(";");
        }
        raw("}\r\n");
    }
    raw("{\\*\\generator Phrasora " PHRASORA_VERSION_STRING ";}");
    word("viewkind", 4);
    word("uc", 1);
    raw("\r\n");
    ParaOut prev;
    bool first = true;
    for (QTextBlock block = m_doc->begin(); block.isValid(); block = block.next()) {
        const ParaOut p = paraOf(block);
        writeParagraphStart(block, p, first || !(p == prev));
        first = false;
        prev = p;
        writeBlock(block);
        word("par");
        raw("\r\n");
    }
    raw("}\r\n");
    return m_out;
}

} // namespace

QByteArray WriteRtf(const QTextDocument* doc) {
    Writer writer(doc);
    return writer.run();
}

QString WriteRtfString(const QTextDocument* doc) {
    return QString::fromLatin1(WriteRtf(doc));
}

QString DocumentToHtml(const QTextDocument* doc) {
    QString html = doc->toHtml();
    QStringList done;
    for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QTextImageFormat img = f.toImageFormat();
            const QString name = img.name();
            if (name.isEmpty() || done.contains(name))
                continue;
            done.append(name);
            QVariant res = doc->resource(QTextDocument::ImageResource, QUrl(name));
            QByteArray bytes;
            QByteArray mime = "image/png";
            if (res.typeId() == QMetaType::QByteArray &&
                res.toByteArray().startsWith("\xff\xd8\xff")) {
                bytes = res.toByteArray();
                mime = "image/jpeg";
            } else if (res.typeId() == QMetaType::QByteArray &&
                       res.toByteArray().startsWith("\x89PNG")) {
                bytes = res.toByteArray();
            } else {
                QImage image = res.typeId() == QMetaType::QImage ? res.value<QImage>()
                               : res.typeId() == QMetaType::QPixmap
                                   ? res.value<QPixmap>().toImage()
                                   : QImage::fromData(res.toByteArray());
                if (image.isNull())
                    continue;
                QBuffer buffer(&bytes);
                buffer.open(QIODevice::WriteOnly);
                image.save(&buffer, "PNG");
            }
            const QString src = QStringLiteral("src=\"%1\"").arg(name.toHtmlEscaped());
            const QString data =
                QStringLiteral("src=\"data:%1;base64,%2\"")
                    .arg(QString::fromLatin1(mime), QString::fromLatin1(bytes.toBase64()));
            html.replace(src, data);
        }
    }
    return html;
}

QString RtfToHtml(const QByteArray& rtf) {
    QTextDocument doc;
    ReadRtf(rtf, &doc);
    return DocumentToHtml(&doc);
}

} // namespace richtext
