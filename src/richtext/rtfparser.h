#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QString>
#include <cstdint>

namespace richtext::detail {

enum class ListKind : std::uint8_t {
    None,
    Bullet,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman
};

// Character formatting as RTF states it; sizes in half points.
struct CharProps {
    int font = -1; // font number (\fN); -1 is the document's default font
    int halfPoints = 24;
    int color = 0;             // colour table index, 0 = automatic
    int highlight = 0;         // colour table index, 0 = none
    std::uint8_t vertical = 0; // 0 normal, 1 superscript, 2 subscript
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    bool hidden = false;
    int href = 0; // index into the parser's link targets, 0 = no link
    bool operator==(const CharProps&) const = default;
};

// Paragraph formatting; all lengths in twips.
struct ParaProps {
    int align = 0; // 0 left, 1 centre, 2 right, 3 justified
    int firstIndent = 0;
    int leftIndent = 0;
    int rightIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;
    ListKind list = ListKind::None;
    int listLevel = 0;
    int listOverride = 0;     // \lsN, 0 when the paragraph has none
    bool listRestart = false; // the item's marker text says it is the first of its list
    bool operator==(const ParaProps&) const = default;
};

struct Picture {
    enum class Kind { Unknown, Png, Jpeg, Emf, Wmf, Dib, Bitmap, Mac, Os2 };
    Kind kind = Kind::Unknown;
    QByteArray keyword; // the picture-type control word as read, e.g. "wmetafile8"
    QByteArray data;
    int picw = 0, pich = 0;         // natural size (pixels for bitmaps)
    int goalw = 0, goalh = 0;       // wanted size in twips
    int scalex = 100, scaley = 100; // percent
};

struct FontInfo {
    QString name;
    int codePage = 0; // 0 = the document's code page
};

struct Tables {
    QHash<int, FontInfo> fonts;
    QList<QColor> colors; // as listed; index 0 always means "automatic"
    QList<QString> links; // index 0 is unused
    int defaultFont = 0;

    QString fontName(int font) const;
    QColor color(int index) const;
};

// Receives the document as the reader walks it.
class Sink {
public:
    virtual ~Sink() = default;
    virtual void text(const QString& text, const CharProps& chars) = 0;
    // Ends the current paragraph; chars is the formatting at the paragraph mark.
    virtual void paragraph(const ParaProps& para, const CharProps& chars) = 0;
    virtual void picture(const Picture& picture, const CharProps& chars) = 0;
    // The document ended; para applies to the last, unterminated paragraph.
    virtual void finish(const ParaProps& para, const CharProps& chars) = 0;
};

// Reads RTF and feeds the sink. Returns false when the data does not start
// with an RTF header (nothing is fed then).
bool parseRtf(const QByteArray& rtf, Sink& sink, Tables& tables);

// The limits that keep hostile input cheap.
inline constexpr int kMaxGroupDepth = 3000;
inline constexpr int kMaxKeywordLength = 32;
inline constexpr int kMaxFontNameLength = 256;

} // namespace richtext::detail
