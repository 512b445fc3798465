#include "rtfparser.h"

#include "codepage.h"

#include <algorithm>
#include <array>
#include <limits>
#include <string_view>
#include <vector>

namespace richtext::detail {

QString Tables::fontName(int font) const {
    auto it = fonts.constFind(font < 0 ? defaultFont : font);
    return it == fonts.constEnd() ? QString() : it->name;
}

QColor Tables::color(int index) const {
    return index > 0 && index < colors.size() ? colors.at(index) : QColor();
}

namespace {

enum class Kw : std::uint8_t {
    Unknown,
    // destinations
    Rtf,
    FontTable,
    ColorTable,
    SkipDest,
    Pict,
    ShpPict,
    NonShpPict,
    PnText,
    ListText,
    Pn,
    FldInst,
    FldRslt,
    Field,
    ListTable,
    ListOverrideTable,
    Upr,
    Ud,
    ShpRslt,
    // character formatting
    Plain,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Super,
    Sub,
    NoSuperSub,
    Up,
    Dn,
    Fs,
    F,
    Cf,
    Highlight,
    Cb,
    Hidden,
    Deleted,
    // paragraph formatting
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Fi,
    Li,
    Ri,
    Sb,
    Sa,
    Ls,
    Ilvl,
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnLvl,
    PnDec,
    PnLcLtr,
    PnUcLtr,
    PnLcRm,
    PnUcRm,
    List,
    ListLevel,
    ListId,
    LevelNfc,
    // characters and breaks
    Par,
    Line,
    Tab,
    EmDash,
    EnDash,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    EmSpace,
    EnSpace,
    QmSpace,
    Zwj,
    Zwnj,
    Ltrmark,
    Rtlmark,
    Page,
    Sect,
    Cell,
    Row,
    NestCell,
    NestRow,
    // document and encoding
    U,
    Uc,
    Bin,
    AnsiCpg,
    Ansi,
    Mac,
    Pc,
    Pca,
    Deff,
    FCharset,
    Cpg,
    Red,
    Green,
    Blue,
    // pictures
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
    PngBlip,
    JpegBlip,
    EmfBlip,
    WMetafile,
    DiBitmap,
    WBitmap,
    MacPict,
    PmMetafile,
};

struct KeywordEntry {
    std::string_view name;
    Kw kw;
};

// Destinations whose content is never shown.
constexpr std::string_view kSkipped[] = {"aftncn",
                                         "aftnsep",
                                         "aftnsepc",
                                         "annotation",
                                         "atnauthor",
                                         "atndate",
                                         "atnid",
                                         "atnref",
                                         "author",
                                         "background",
                                         "bkmkend",
                                         "bkmkstart",
                                         "colorschememapping",
                                         "comment",
                                         "datastore",
                                         "do",
                                         "doccomm",
                                         "docvar",
                                         "falt",
                                         "filetbl",
                                         "fontemb",
                                         "fontfile",
                                         "footer",
                                         "footerf",
                                         "footerl",
                                         "footerr",
                                         "footnote",
                                         "ftncn",
                                         "ftnsep",
                                         "ftnsepc",
                                         "generator",
                                         "header",
                                         "headerf",
                                         "headerl",
                                         "headerr",
                                         "info",
                                         "keywords",
                                         "latentstyles",
                                         "listpicture",
                                         "mmathPr",
                                         "objclass",
                                         "objdata",
                                         "objname",
                                         "operator",
                                         "panose",
                                         "password",
                                         "pgdsctbl",
                                         "pntxta",
                                         "pntxtb",
                                         "protusertbl",
                                         "revtbl",
                                         "rsidtbl",
                                         "rxe",
                                         "shpinst",
                                         "sp",
                                         "stylesheet",
                                         "subject",
                                         "tc",
                                         "template",
                                         "themedata",
                                         "title",
                                         "txe",
                                         "userprops",
                                         "wgrffmtfilter",
                                         "xe",
                                         "xmlnstbl"};

constexpr KeywordEntry kKeywords[] = {
    {"rtf", Kw::Rtf},
    {"fonttbl", Kw::FontTable},
    {"colortbl", Kw::ColorTable},
    {"pict", Kw::Pict},
    {"shppict", Kw::ShpPict},
    {"nonshppict", Kw::NonShpPict},
    {"pntext", Kw::PnText},
    {"listtext", Kw::ListText},
    {"pn", Kw::Pn},
    {"fldinst", Kw::FldInst},
    {"fldrslt", Kw::FldRslt},
    {"field", Kw::Field},
    {"listtable", Kw::ListTable},
    {"listoverridetable", Kw::ListOverrideTable},
    {"upr", Kw::Upr},
    {"ud", Kw::Ud},
    {"shprslt", Kw::ShpRslt},
    {"plain", Kw::Plain},
    {"b", Kw::B},
    {"i", Kw::I},
    {"ul", Kw::Ul},
    {"uld", Kw::Ul},
    {"uldash", Kw::Ul},
    {"uldashd", Kw::Ul},
    {"uldashdd", Kw::Ul},
    {"uldb", Kw::Ul},
    {"ulhwave", Kw::Ul},
    {"ulldash", Kw::Ul},
    {"ulth", Kw::Ul},
    {"ulthd", Kw::Ul},
    {"ulthdash", Kw::Ul},
    {"ulw", Kw::Ul},
    {"ulwave", Kw::Ul},
    {"ulnone", Kw::UlNone},
    {"strike", Kw::Strike},
    {"striked", Kw::Strike},
    {"super", Kw::Super},
    {"sub", Kw::Sub},
    {"nosupersub", Kw::NoSuperSub},
    {"up", Kw::Up},
    {"dn", Kw::Dn},
    {"fs", Kw::Fs},
    {"f", Kw::F},
    {"cf", Kw::Cf},
    {"highlight", Kw::Highlight},
    {"cb", Kw::Cb},
    {"chcbpat", Kw::Cb},
    {"v", Kw::Hidden},
    {"deleted", Kw::Deleted},
    {"pard", Kw::Pard},
    {"ql", Kw::Ql},
    {"qc", Kw::Qc},
    {"qr", Kw::Qr},
    {"qj", Kw::Qj},
    {"qd", Kw::Qj},
    {"fi", Kw::Fi},
    {"li", Kw::Li},
    {"lin", Kw::Li},
    {"ri", Kw::Ri},
    {"rin", Kw::Ri},
    {"sb", Kw::Sb},
    {"sa", Kw::Sa},
    {"ls", Kw::Ls},
    {"ilvl", Kw::Ilvl},
    {"pnlvlblt", Kw::PnLvlBlt},
    {"pnlvlbody", Kw::PnLvlBody},
    {"pnlvlcont", Kw::PnLvlCont},
    {"pnlvl", Kw::PnLvl},
    {"pndec", Kw::PnDec},
    {"pnlcltr", Kw::PnLcLtr},
    {"pnucltr", Kw::PnUcLtr},
    {"pnlcrm", Kw::PnLcRm},
    {"pnucrm", Kw::PnUcRm},
    {"list", Kw::List},
    {"listlevel", Kw::ListLevel},
    {"listid", Kw::ListId},
    {"levelnfc", Kw::LevelNfc},
    {"levelnfcn", Kw::LevelNfc},
    {"par", Kw::Par},
    {"line", Kw::Line},
    {"tab", Kw::Tab},
    {"emdash", Kw::EmDash},
    {"endash", Kw::EnDash},
    {"bullet", Kw::Bullet},
    {"lquote", Kw::LQuote},
    {"rquote", Kw::RQuote},
    {"ldblquote", Kw::LDblQuote},
    {"rdblquote", Kw::RDblQuote},
    {"emspace", Kw::EmSpace},
    {"enspace", Kw::EnSpace},
    {"qmspace", Kw::QmSpace},
    {"zwj", Kw::Zwj},
    {"zwnj", Kw::Zwnj},
    {"ltrmark", Kw::Ltrmark},
    {"rtlmark", Kw::Rtlmark},
    {"page", Kw::Page},
    {"sect", Kw::Sect},
    {"cell", Kw::Cell},
    {"row", Kw::Row},
    {"nestcell", Kw::NestCell},
    {"nestrow", Kw::NestRow},
    {"u", Kw::U},
    {"uc", Kw::Uc},
    {"bin", Kw::Bin},
    {"ansicpg", Kw::AnsiCpg},
    {"ansi", Kw::Ansi},
    {"mac", Kw::Mac},
    {"pc", Kw::Pc},
    {"pca", Kw::Pca},
    {"deff", Kw::Deff},
    {"fcharset", Kw::FCharset},
    {"cpg", Kw::Cpg},
    {"red", Kw::Red},
    {"green", Kw::Green},
    {"blue", Kw::Blue},
    {"picw", Kw::PicW},
    {"pich", Kw::PicH},
    {"picwgoal", Kw::PicWGoal},
    {"pichgoal", Kw::PicHGoal},
    {"picscalex", Kw::PicScaleX},
    {"picscaley", Kw::PicScaleY},
    {"pngblip", Kw::PngBlip},
    {"jpegblip", Kw::JpegBlip},
    {"emfblip", Kw::EmfBlip},
    {"wmetafile", Kw::WMetafile},
    {"dibitmap", Kw::DiBitmap},
    {"wbitmap", Kw::WBitmap},
    {"macpict", Kw::MacPict},
    {"pmmetafile", Kw::PmMetafile},
};

using KeywordTable = std::vector<KeywordEntry>;

const KeywordTable& keywordTable() {
    static const KeywordTable table = [] {
        KeywordTable t(std::begin(kKeywords), std::end(kKeywords));
        for (std::string_view s : kSkipped)
            t.push_back({s, Kw::SkipDest});
        std::sort(t.begin(), t.end(),
                  [](const KeywordEntry& a, const KeywordEntry& b) { return a.name < b.name; });
        return t;
    }();
    return table;
}

Kw lookup(std::string_view name) {
    const KeywordTable& t = keywordTable();
    auto it =
        std::lower_bound(t.begin(), t.end(), name,
                         [](const KeywordEntry& e, std::string_view n) { return e.name < n; });
    return it != t.end() && it->name == name ? it->kw : Kw::Unknown;
}

bool isDestination(Kw kw) {
    switch (kw) {
    case Kw::FontTable:
    case Kw::ColorTable:
    case Kw::SkipDest:
    case Kw::Pict:
    case Kw::ShpPict:
    case Kw::NonShpPict:
    case Kw::PnText:
    case Kw::ListText:
    case Kw::Pn:
    case Kw::FldInst:
    case Kw::FldRslt:
    case Kw::Field:
    case Kw::ListTable:
    case Kw::ListOverrideTable:
    case Kw::Upr:
    case Kw::Ud:
    case Kw::ShpRslt:
        return true;
    default:
        return false;
    }
}

bool isFormatting(Kw kw) {
    return kw >= Kw::Plain && kw <= Kw::LevelNfc;
}

enum class Dest : std::uint8_t {
    Text,
    Skip,
    FontTable,
    ColorTable,
    Pict,
    PnText,
    Pn,
    FldInst,
    ListTable,
    ListOverrideTable,
    Upr
};

enum class PnLevel : std::uint8_t { Bullet, Body, Cont };

struct State {
    CharProps chars;
    ParaProps para;
    Dest dest = Dest::Text;
    Dest uprOuter = Dest::Text;
    PnLevel pnLevel = PnLevel::Bullet;
    ListKind pnStyle = ListKind::Decimal;
    int pnDepth = 0;
    int uc = 1;
};

int hexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

bool isLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

int clampInt(long long v, int lo, int hi) {
    return static_cast<int>(std::clamp<long long>(v, lo, hi));
}

ListKind kindForNfc(int nfc) {
    switch (nfc) {
    case 0:
        return ListKind::Decimal;
    case 1:
        return ListKind::UpperRoman;
    case 2:
        return ListKind::LowerRoman;
    case 3:
        return ListKind::UpperAlpha;
    case 4:
        return ListKind::LowerAlpha;
    default:
        return ListKind::Bullet;
    }
}

constexpr int kMaxIndent = 31680; // 22 inches, the largest page RTF knows
constexpr qsizetype kMaxCapture = 2048;

class Parser {
public:
    Parser(const QByteArray& rtf, Sink& sink, Tables& tables)
        : m_data(rtf.constData()), m_size(rtf.size()), m_sink(sink), m_tables(tables) {
        m_tables.colors.clear();
        m_tables.links.clear();
        m_tables.links.append(QString());
        m_stack.reserve(64);
    }

    void run(qsizetype start);

private:
    State& top() { return m_stack.back(); }

    void pushGroup();
    void popGroup();
    void controlWord();
    void textRun();
    void dispatch(Kw kw, bool hasParam, int param, std::string_view name);
    void setDestination(Kw kw);
    void skipGroup();

    void textBytes(const char* s, qsizetype len);
    void appendByte(char c) { textBytes(&c, 1); }
    void appendChar(char16_t c);
    void flushBytes();
    void flushText();
    void endParagraph();
    void commitFont();
    void flushFontBytes();
    int fontEntryCodePage() const;
    void commitColor();
    void emitPicture();
    void startHyperlink();
    int currentCodePage();
    ParaProps resolvedPara(const ParaProps& p) const;

    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
    Sink& m_sink;
    Tables& m_tables;
    ByteDecoder m_decoder;
    bool m_done = false;

    std::vector<State> m_stack;
    long long m_overflow = 0;     // groups opened beyond the depth limit
    long long m_overflowSkip = 0; // overflow level whose group is being skipped, 0 = none
    long long m_skipNest = 0;     // groups nested inside a skipped destination
    bool m_ignorable = false;     // a \* is waiting for its destination word
    int m_ucSkip = 0;             // fallback bytes after \uN still to skip
    int m_ansiCodePage = 1252;

    // pending text
    QByteArray m_bytes;
    int m_bytesCodePage = 0;
    QString m_text;
    CharProps m_textProps;
    int m_cpFont = std::numeric_limits<int>::min();
    int m_cpValue = 0;
    bool m_afterCell = false;

    // font and colour table entries being read
    int m_fontId = -1;
    int m_fontCharset = 0;
    int m_fontCpg = -1;
    QByteArray m_fontBytes;
    QString m_fontName;
    int m_red = 0, m_green = 0, m_blue = 0;
    bool m_colorSet = false;

    Picture m_pict;
    int m_hexHigh = -1;

    QString m_fldinst;
    QString m_listText;

    // list table: first-level number format by list id, list id by override
    QHash<int, ListKind> m_listKinds;
    QHash<int, int> m_overrides;
    int m_curListId = 0;
    int m_curListNfc = -1;
    int m_curLevel = -1;
    int m_curOverrideList = 0;
};

void Parser::run(qsizetype start) {
    m_pos = start;
    while (m_pos < m_size && !m_done) {
        const char c = m_data[m_pos];
        if (!m_stack.empty() && top().dest == Dest::Skip && m_overflow == 0) {
            skipGroup();
            continue;
        }
        if (m_overflowSkip != 0) {
            skipGroup();
            continue;
        }
        switch (c) {
        case '{':
            ++m_pos;
            pushGroup();
            break;
        case '}':
            ++m_pos;
            popGroup();
            break;
        case '\\':
            controlWord();
            break;
        case '\r':
        case '\n':
            ++m_pos;
            break;
        case '\t':
            ++m_pos;
            flushBytes();
            dispatch(Kw::Tab, false, 0, {});
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                ++m_pos;
                break;
            }
            textRun();
            break;
        }
    }
    flushBytes();
    flushText();
    if (m_stack.empty())
        m_sink.finish(ParaProps(), CharProps());
    else
        m_sink.finish(resolvedPara(m_stack.back().para), m_stack.back().chars);
}

// Skips the content of an unwanted group without keeping any state: only
// braces, escapes and \bin data matter here.
void Parser::skipGroup() {
    while (m_pos < m_size) {
        const char c = m_data[m_pos];
        if (c == '{') {
            ++m_pos;
            if (m_overflowSkip != 0)
                ++m_overflow;
            else
                ++m_skipNest;
        } else if (c == '}') {
            ++m_pos;
            if (m_overflowSkip != 0) {
                if (m_overflow == m_overflowSkip)
                    m_overflowSkip = 0;
                --m_overflow;
                if (m_overflowSkip == 0)
                    return;
            } else if (m_skipNest > 0) {
                --m_skipNest;
            } else {
                popGroup();
                return;
            }
        } else if (c == '\\') {
            ++m_pos;
            if (m_pos >= m_size)
                return;
            if (!isLetter(m_data[m_pos])) {
                ++m_pos; // an escaped brace or backslash is not structure
                continue;
            }
            const qsizetype nameStart = m_pos;
            while (m_pos < m_size && isLetter(m_data[m_pos]))
                ++m_pos;
            const bool isBin =
                m_pos - nameStart == 3 && std::string_view(m_data + nameStart, 3) == "bin";
            long long value = 0;
            bool neg = false;
            if (m_pos < m_size && m_data[m_pos] == '-') {
                neg = true;
                ++m_pos;
            }
            int digits = 0;
            while (m_pos < m_size && isDigit(m_data[m_pos])) {
                if (digits++ < 12)
                    value = value * 10 + (m_data[m_pos] - '0');
                ++m_pos;
            }
            if (m_pos < m_size && m_data[m_pos] == ' ')
                ++m_pos;
            if (isBin && !neg && value > 0)
                m_pos += std::min<long long>(value, m_size - m_pos);
        } else {
            ++m_pos;
        }
    }
}

void Parser::pushGroup() {
    flushBytes();
    m_ucSkip = 0;
    if (m_stack.size() >= static_cast<size_t>(kMaxGroupDepth) || m_overflow > 0) {
        // Too deep: keep the text flowing under the innermost kept state,
        // but stop following the formatting.
        ++m_overflow;
        return;
    }
    if (m_stack.empty())
        m_stack.emplace_back();
    else
        m_stack.push_back(m_stack.back());
}

void Parser::popGroup() {
    flushBytes();
    m_ucSkip = 0;
    m_ignorable = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.empty()) {
        m_done = true;
        return;
    }
    if (m_stack.size() == 1) {
        // The document's own group closes: nothing after it counts.
        m_done = true;
        return;
    }
    const State closing = m_stack.back();
    m_stack.pop_back();
    State& parent = m_stack.back();
    switch (closing.dest) {
    case Dest::FontTable:
        if (m_fontId >= 0 && (!m_fontBytes.isEmpty() || !m_fontName.isEmpty()))
            commitFont();
        m_fontId = -1;
        break;
    case Dest::Pict:
        if (parent.dest != Dest::Pict)
            emitPicture();
        break;
    case Dest::Pn:
        if (parent.dest != Dest::Pn) {
            switch (closing.pnLevel) {
            case PnLevel::Bullet:
                parent.para.list = ListKind::Bullet;
                break;
            case PnLevel::Body:
                parent.para.list = closing.pnStyle;
                break;
            case PnLevel::Cont:
                parent.para.list = ListKind::None;
                break;
            }
            parent.para.listLevel = closing.pnDepth;
        }
        break;
    default:
        break;
    }
}

void Parser::textRun() {
    const qsizetype start = m_pos;
    while (m_pos < m_size) {
        const char c = m_data[m_pos];
        if (c == '\\' || c == '{' || c == '}' || static_cast<unsigned char>(c) < 0x20)
            break;
        ++m_pos;
    }
    m_ignorable = false;
    textBytes(m_data + start, m_pos - start);
}

void Parser::controlWord() {
    ++m_pos; // the backslash
    if (m_pos >= m_size)
        return;
    const char c = m_data[m_pos];
    if (!isLetter(c)) {
        ++m_pos;
        if (m_ucSkip > 0 && c != '*') {
            --m_ucSkip;
            if (c == '\'') {
                for (int i = 0; i < 2 && m_pos < m_size && hexValue(m_data[m_pos]) >= 0; ++i)
                    ++m_pos;
            }
            return;
        }
        switch (c) {
        case '\'': {
            int value = 0;
            int n = 0;
            while (n < 2 && m_pos < m_size && hexValue(m_data[m_pos]) >= 0) {
                value = value * 16 + hexValue(m_data[m_pos]);
                ++m_pos;
                ++n;
            }
            if (n == 0)
                break;
            if (value >= 0x20) {
                appendByte(static_cast<char>(value));
            } else if (value == '\t') {
                flushBytes();
                appendChar(u'\t');
            }
            break;
        }
        case '*':
            m_ignorable = true;
            break;
        case '\\':
        case '{':
        case '}':
            flushBytes();
            appendChar(static_cast<char16_t>(c));
            break;
        case '~':
            flushBytes();
            appendChar(0x00A0);
            break;
        case '-':
            flushBytes();
            appendChar(0x00AD);
            break;
        case '_':
            flushBytes();
            appendChar(0x2011);
            break;
        case '\r':
        case '\n':
            flushBytes();
            dispatch(Kw::Par, false, 0, {});
            break;
        case '\t':
            flushBytes();
            dispatch(Kw::Tab, false, 0, {});
            break;
        default:
            break; // \: \| and unknown symbols carry no text
        }
        return;
    }

    // Control word: letters (the name, clamped), an optional signed number
    // (clamped), and an optional space that belongs to the word.
    const qsizetype nameStart = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    const qsizetype nameLen = std::min<qsizetype>(m_pos - nameStart, kMaxKeywordLength + 1);
    const std::string_view name(m_data + nameStart, static_cast<size_t>(nameLen));
    bool hasParam = false;
    bool negative = false;
    long long value = 0;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    int digits = 0;
    while (m_pos < m_size && isDigit(m_data[m_pos])) {
        hasParam = true;
        if (digits++ < 12)
            value = value * 10 + (m_data[m_pos] - '0');
        ++m_pos;
    }
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos;
    const int param = clampInt(negative ? -value : value, -std::numeric_limits<int>::max(),
                               std::numeric_limits<int>::max());
    const Kw kw = nameLen > kMaxKeywordLength ? Kw::Unknown : lookup(name);

    if (kw == Kw::Bin) {
        // Binary data is never text; take only what the file really holds.
        flushBytes();
        const qsizetype count =
            hasParam && param > 0 ? std::min<qsizetype>(param, m_size - m_pos) : 0;
        if (top().dest == Dest::Pict && m_overflow == 0)
            m_pict.data.append(m_data + m_pos, count);
        m_pos += count;
        if (m_ucSkip > 0)
            --m_ucSkip;
        return;
    }
    if (m_ucSkip > 0) {
        --m_ucSkip;
        return;
    }
    if (m_stack.empty())
        return;
    flushBytes();

    if (m_ignorable) {
        m_ignorable = false;
        if (!isDestination(kw)) {
            if (m_overflow > 0)
                m_overflowSkip = m_overflow;
            else
                top().dest = Dest::Skip;
            return;
        }
    }
    if (m_overflow > 0) {
        if (isDestination(kw)) {
            m_overflowSkip = m_overflow;
            return;
        }
        if (isFormatting(kw))
            return;
    }
    dispatch(kw, hasParam, param, name);
}

void Parser::setDestination(Kw kw) {
    State& s = top();
    switch (kw) {
    case Kw::FontTable:
        s.dest = Dest::FontTable;
        m_fontId = -1;
        break;
    case Kw::ColorTable:
        s.dest = Dest::ColorTable;
        m_red = m_green = m_blue = 0;
        m_colorSet = false;
        break;
    case Kw::SkipDest:
    case Kw::NonShpPict:
        s.dest = Dest::Skip;
        break;
    case Kw::Pict:
        if (s.dest != Dest::Text) {
            s.dest = Dest::Skip;
            break;
        }
        s.dest = Dest::Pict;
        m_pict = Picture();
        m_hexHigh = -1;
        break;
    case Kw::PnText:
    case Kw::ListText:
        if (s.dest == Dest::Text) {
            s.dest = Dest::PnText;
            m_listText.clear();
        } else {
            s.dest = Dest::Skip;
        }
        break;
    case Kw::Pn:
        if (s.dest == Dest::Text) {
            s.dest = Dest::Pn;
            s.pnLevel = PnLevel::Bullet;
            s.pnStyle = ListKind::Decimal;
            s.pnDepth = 0;
        } else if (s.dest != Dest::Pn) {
            s.dest = Dest::Skip;
        }
        break;
    case Kw::FldInst:
        s.dest = Dest::FldInst;
        m_fldinst.clear();
        break;
    case Kw::FldRslt:
        if (s.dest == Dest::Text || s.dest == Dest::Upr)
            startHyperlink();
        break;
    case Kw::ListTable:
        s.dest = Dest::ListTable;
        break;
    case Kw::ListOverrideTable:
        s.dest = Dest::ListOverrideTable;
        break;
    case Kw::Upr:
        // {\upr{ANSI text}{\*\ud{Unicode text}}}: only the Unicode half is read.
        s.uprOuter = s.dest;
        s.dest = Dest::Upr;
        break;
    case Kw::Ud:
        if (s.dest == Dest::Upr)
            s.dest = s.uprOuter;
        break;
    case Kw::Field:
    case Kw::ShpPict:
    case Kw::ShpRslt:
    default:
        break;
    }
}

void Parser::startHyperlink() {
    QString inst = m_fldinst.trimmed();
    if (!inst.startsWith(QLatin1String("HYPERLINK"), Qt::CaseInsensitive))
        return;
    inst = inst.mid(9).trimmed();
    QString target;
    // Switches such as \l or \o come before or after the address.
    while (!inst.isEmpty()) {
        if (inst.startsWith(QLatin1Char('"'))) {
            const qsizetype end = inst.indexOf(QLatin1Char('"'), 1);
            target = inst.mid(1, end < 0 ? -1 : end - 1);
            break;
        }
        const qsizetype space = inst.indexOf(QLatin1Char(' '));
        const QString token = inst.left(space < 0 ? inst.size() : space);
        if (!token.startsWith(QLatin1Char('\\'))) {
            target = token;
            break;
        }
        inst = space < 0 ? QString() : inst.mid(space + 1).trimmed();
    }
    if (target.isEmpty() || m_tables.links.size() > 100000)
        return;
    m_tables.links.append(target);
    top().chars.href = static_cast<int>(m_tables.links.size() - 1);
}

int Parser::currentCodePage() {
    const int font = top().chars.font;
    if (font != m_cpFont) {
        m_cpFont = font;
        auto it = m_tables.fonts.constFind(font < 0 ? m_tables.defaultFont : font);
        m_cpValue = it == m_tables.fonts.constEnd() ? 0 : it->codePage;
    }
    return m_cpValue ? m_cpValue : m_ansiCodePage;
}

void Parser::textBytes(const char* s, qsizetype len) {
    if (len <= 0 || m_stack.empty())
        return;
    if (m_ucSkip > 0) {
        const qsizetype skip = std::min<qsizetype>(m_ucSkip, len);
        m_ucSkip -= static_cast<int>(skip);
        s += skip;
        len -= skip;
        if (len == 0)
            return;
    }
    State& st = top();
    switch (st.dest) {
    case Dest::Text: {
        if (st.chars.hidden)
            return;
        const int cp = currentCodePage();
        if (!m_bytes.isEmpty() && cp != m_bytesCodePage)
            flushBytes();
        m_bytesCodePage = cp;
        m_bytes.append(s, len);
        break;
    }
    case Dest::FontTable:
        for (qsizetype i = 0; i < len; ++i) {
            if (s[i] == ';') {
                commitFont();
            } else if (m_fontBytes.size() < kMaxFontNameLength) {
                m_fontBytes.append(s[i]);
            }
        }
        break;
    case Dest::ColorTable:
        for (qsizetype i = 0; i < len; ++i) {
            if (s[i] == ';')
                commitColor();
        }
        break;
    case Dest::Pict:
        if (m_overflow > 0)
            return;
        for (qsizetype i = 0; i < len; ++i) {
            const int v = hexValue(s[i]);
            if (v < 0)
                continue;
            if (m_hexHigh < 0) {
                m_hexHigh = v;
            } else {
                m_pict.data.append(static_cast<char>(m_hexHigh * 16 + v));
                m_hexHigh = -1;
            }
        }
        break;
    case Dest::FldInst:
        if (m_fldinst.size() < kMaxCapture)
            m_decoder.decode(currentCodePage(), s, std::min<qsizetype>(len, kMaxCapture),
                             m_fldinst);
        break;
    case Dest::PnText:
        for (qsizetype i = 0; i < len && m_listText.size() < 32; ++i)
            m_listText.append(QChar(char16_t(static_cast<unsigned char>(s[i]))));
        break;
    default:
        break;
    }
}

void Parser::appendChar(char16_t c) {
    if (m_stack.empty())
        return;
    State& st = top();
    switch (st.dest) {
    case Dest::Text:
        if (st.chars.hidden)
            return;
        if (!m_text.isEmpty() && !(m_textProps == st.chars))
            flushText();
        if (m_text.isEmpty())
            m_textProps = st.chars;
        m_text.append(QChar(c));
        break;
    case Dest::FontTable:
        flushFontBytes();
        if (m_fontName.size() < kMaxFontNameLength)
            m_fontName.append(QChar(c));
        break;
    case Dest::FldInst:
        if (m_fldinst.size() < kMaxCapture)
            m_fldinst.append(QChar(c));
        break;
    case Dest::PnText:
        if (m_listText.size() < 32)
            m_listText.append(QChar(c));
        break;
    default:
        break;
    }
}

void Parser::flushBytes() {
    if (m_bytes.isEmpty())
        return;
    State& st = top();
    if (!m_text.isEmpty() && !(m_textProps == st.chars))
        flushText();
    if (m_text.isEmpty())
        m_textProps = st.chars;
    m_decoder.decode(m_bytesCodePage, m_bytes.constData(), m_bytes.size(), m_text);
    m_bytes.clear();
    m_afterCell = false;
}

void Parser::flushText() {
    if (m_text.isEmpty())
        return;
    // Control characters and those that would split the paragraph or stand
    // for an object or a frame in the document are not text here; a decoder
    // can still make them (ICU substitutes U+001A for unmapped bytes).
    QChar* data = m_text.data();
    qsizetype kept = 0;
    for (qsizetype i = 0; i < m_text.size(); ++i) {
        const char16_t ch = data[i].unicode();
        if ((ch < 0x20 && ch != u'\t') || ch == 0xFFFC || ch == 0xFDD0 || ch == 0xFDD1)
            continue;
        data[kept++] = ch == 0x2029 ? QChar(0x2028) : data[i];
    }
    m_text.truncate(kept);
    if (m_text.isEmpty())
        return;
    m_sink.text(m_text, m_textProps);
    m_text.clear();
}

ParaProps Parser::resolvedPara(const ParaProps& p) const {
    ParaProps r = p;
    // Writers put the number each item shows into its marker text; a first
    // number starts a new list even right after another one.
    QStringView marker = QStringView(m_listText).trimmed();
    qsizetype n = 0;
    while (n < marker.size() && marker[n].isLetterOrNumber())
        ++n;
    const QStringView number = marker.left(n);
    r.listRestart =
        number == u"1" || number == u"a" || number == u"A" || number == u"i" || number == u"I";
    if (r.list == ListKind::None && r.listOverride > 0) {
        const int listId = m_overrides.value(r.listOverride, 0);
        auto it = m_listKinds.constFind(listId);
        if (it != m_listKinds.constEnd()) {
            r.list = *it;
        } else {
            // No list table: guess from the marker text the writer left.
            const bool numbered = std::any_of(m_listText.begin(), m_listText.end(),
                                              [](QChar ch) { return ch.isDigit(); });
            r.list = numbered ? ListKind::Decimal : ListKind::Bullet;
        }
    }
    return r;
}

void Parser::endParagraph() {
    flushBytes();
    flushText();
    m_sink.paragraph(resolvedPara(top().para), top().chars);
    m_listText.clear();
    m_afterCell = false;
}

int Parser::fontEntryCodePage() const {
    return m_fontCpg >= 0 ? m_fontCpg : codePageForCharset(m_fontCharset);
}

// Font names are in the font's own code page; a Symbol font's name is not
// in Symbol encoding, though.
void Parser::flushFontBytes() {
    const int cp = fontEntryCodePage();
    if (m_fontName.size() < kMaxFontNameLength) {
        m_decoder.decode(cp == 42 ? 1252 : (cp ? cp : m_ansiCodePage), m_fontBytes.constData(),
                         m_fontBytes.size(), m_fontName);
        m_fontName.truncate(kMaxFontNameLength);
    }
    m_fontBytes.clear();
}

void Parser::commitFont() {
    if (m_fontId >= 0) {
        const int cp = fontEntryCodePage();
        flushFontBytes();
        FontInfo& info = m_tables.fonts[m_fontId];
        info.name = m_fontName.trimmed().left(kMaxFontNameLength);
        info.codePage = cp;
        m_cpFont = std::numeric_limits<int>::min();
    }
    m_fontBytes.clear();
    m_fontName.clear();
    m_fontCharset = 0;
    m_fontCpg = -1;
    m_fontId = -1;
}

void Parser::commitColor() {
    m_tables.colors.append(m_colorSet ? QColor(m_red, m_green, m_blue) : QColor());
    m_red = m_green = m_blue = 0;
    m_colorSet = false;
}

void Parser::emitPicture() {
    flushBytes();
    flushText();
    m_sink.picture(m_pict, top().chars);
    m_pict = Picture();
}

void Parser::dispatch(Kw kw, bool hasParam, int param, std::string_view name) {
    if (m_stack.empty())
        return;
    State& s = top();
    CharProps& c = s.chars;
    ParaProps& p = s.para;
    const bool on = !hasParam || param != 0;
    m_ignorable = false;
    if (isDestination(kw)) {
        setDestination(kw);
        return;
    }
    switch (kw) {
    case Kw::Plain: {
        const int href = c.href;
        c = CharProps();
        c.href = href;
        break;
    }
    case Kw::B:
        c.bold = on;
        break;
    case Kw::I:
        c.italic = on;
        break;
    case Kw::Ul:
        c.underline = on;
        break;
    case Kw::UlNone:
        c.underline = false;
        break;
    case Kw::Strike:
        c.strike = on;
        break;
    case Kw::Super:
        c.vertical = 1;
        break;
    case Kw::Sub:
        c.vertical = 2;
        break;
    case Kw::NoSuperSub:
        c.vertical = 0;
        break;
    case Kw::Up:
        c.vertical = on ? 1 : 0;
        break;
    case Kw::Dn:
        c.vertical = on ? 2 : 0;
        break;
    case Kw::Fs:
        c.halfPoints = hasParam ? clampInt(param, 2, 3276) : 24;
        break;
    case Kw::F:
        if (s.dest == Dest::FontTable) {
            if (m_fontId >= 0 && (!m_fontBytes.isEmpty() || !m_fontName.isEmpty()))
                commitFont();
            m_fontId = std::max(0, param);
            m_fontBytes.clear();
            m_fontName.clear();
            m_fontCharset = 0;
            m_fontCpg = -1;
        } else {
            c.font = std::max(0, param);
        }
        break;
    case Kw::Cf:
        c.color = std::max(0, param);
        break;
    case Kw::Highlight:
    case Kw::Cb:
        c.highlight = std::max(0, param);
        break;
    case Kw::Hidden:
    case Kw::Deleted:
        c.hidden = on;
        break;

    case Kw::Pard:
        p = ParaProps();
        break;
    case Kw::Ql:
        p.align = 0;
        break;
    case Kw::Qc:
        p.align = 1;
        break;
    case Kw::Qr:
        p.align = 2;
        break;
    case Kw::Qj:
        p.align = 3;
        break;
    case Kw::Fi:
        p.firstIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Kw::Li:
        p.leftIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Kw::Ri:
        p.rightIndent = clampInt(param, -kMaxIndent, kMaxIndent);
        break;
    case Kw::Sb:
        p.spaceBefore = clampInt(param, 0, kMaxIndent);
        break;
    case Kw::Sa:
        p.spaceAfter = clampInt(param, 0, kMaxIndent);
        break;
    case Kw::Ls:
        if (s.dest == Dest::ListOverrideTable) {
            if (m_overrides.size() < 100000)
                m_overrides.insert(param, m_curOverrideList);
        } else {
            p.listOverride = std::max(0, param);
        }
        break;
    case Kw::Ilvl:
        if (s.dest != Dest::Pn)
            p.listLevel = clampInt(param, 0, 8);
        break;
    case Kw::PnLvlBlt:
        s.pnLevel = PnLevel::Bullet;
        break;
    case Kw::PnLvlBody:
        s.pnLevel = PnLevel::Body;
        break;
    case Kw::PnLvlCont:
        s.pnLevel = PnLevel::Cont;
        break;
    case Kw::PnLvl:
        s.pnLevel = PnLevel::Body;
        s.pnDepth = clampInt(param - 1, 0, 8);
        break;
    case Kw::PnDec:
        s.pnStyle = ListKind::Decimal;
        break;
    case Kw::PnLcLtr:
        s.pnStyle = ListKind::LowerAlpha;
        break;
    case Kw::PnUcLtr:
        s.pnStyle = ListKind::UpperAlpha;
        break;
    case Kw::PnLcRm:
        s.pnStyle = ListKind::LowerRoman;
        break;
    case Kw::PnUcRm:
        s.pnStyle = ListKind::UpperRoman;
        break;
    case Kw::List:
        m_curListId = 0;
        m_curListNfc = -1;
        m_curLevel = -1;
        break;
    case Kw::ListLevel:
        ++m_curLevel;
        break;
    case Kw::LevelNfc:
        if (s.dest == Dest::ListTable && m_curLevel == 0) {
            m_curListNfc = param;
            if (m_curListId != 0 && m_listKinds.size() < 100000)
                m_listKinds.insert(m_curListId, kindForNfc(param));
        }
        break;
    case Kw::ListId:
        if (s.dest == Dest::ListOverrideTable) {
            m_curOverrideList = param;
        } else if (s.dest == Dest::ListTable) {
            m_curListId = param;
            if (m_curListNfc >= 0 && m_listKinds.size() < 100000)
                m_listKinds.insert(param, kindForNfc(m_curListNfc));
        }
        break;

    case Kw::Par:
    case Kw::Page:
    case Kw::Sect:
        if (s.dest == Dest::Text)
            endParagraph();
        break;
    case Kw::Row:
    case Kw::NestRow:
        if (s.dest == Dest::Text) {
            if (m_afterCell && m_text.endsWith(QLatin1Char('\t')))
                m_text.chop(1);
            endParagraph();
        }
        break;
    case Kw::Cell:
    case Kw::NestCell:
        appendChar(u'\t');
        m_afterCell = true;
        return;
    case Kw::Line:
        appendChar(0x2028);
        break;
    case Kw::Tab:
        appendChar(u'\t');
        break;
    case Kw::EmDash:
        appendChar(0x2014);
        break;
    case Kw::EnDash:
        appendChar(0x2013);
        break;
    case Kw::Bullet:
        appendChar(0x2022);
        break;
    case Kw::LQuote:
        appendChar(0x2018);
        break;
    case Kw::RQuote:
        appendChar(0x2019);
        break;
    case Kw::LDblQuote:
        appendChar(0x201C);
        break;
    case Kw::RDblQuote:
        appendChar(0x201D);
        break;
    case Kw::EmSpace:
        appendChar(0x2003);
        break;
    case Kw::EnSpace:
        appendChar(0x2002);
        break;
    case Kw::QmSpace:
        appendChar(0x2005);
        break;
    case Kw::Zwj:
        appendChar(0x200D);
        break;
    case Kw::Zwnj:
        appendChar(0x200C);
        break;
    case Kw::Ltrmark:
        appendChar(0x200E);
        break;
    case Kw::Rtlmark:
        appendChar(0x200F);
        break;

    case Kw::U:
        if (hasParam) {
            const int v = param < 0 ? param + 65536 : param;
            if (v >= 0x20 && v <= 0xFFFF && v != 0xFFFC && v != 0xFFFF)
                appendChar(static_cast<char16_t>(v));
            else if (v == '\t')
                appendChar(u'\t');
            m_ucSkip = s.uc;
            return;
        }
        break;
    case Kw::Uc:
        s.uc = clampInt(param, 0, 16);
        break;
    case Kw::AnsiCpg:
        if (param > 0 && param < 100000)
            m_ansiCodePage = param;
        m_cpFont = std::numeric_limits<int>::min();
        break;
    case Kw::Ansi:
        m_ansiCodePage = 1252;
        break;
    case Kw::Mac:
        m_ansiCodePage = 10000;
        break;
    case Kw::Pc:
        m_ansiCodePage = 437;
        break;
    case Kw::Pca:
        m_ansiCodePage = 850;
        break;
    case Kw::Deff:
        m_tables.defaultFont = std::max(0, param);
        m_cpFont = std::numeric_limits<int>::min();
        break;
    case Kw::FCharset:
        m_fontCharset = param;
        break;
    case Kw::Cpg:
        m_fontCpg = param > 0 && param < 100000 ? param : -1;
        break;
    case Kw::Red:
        m_red = clampInt(param, 0, 255);
        m_colorSet = true;
        break;
    case Kw::Green:
        m_green = clampInt(param, 0, 255);
        m_colorSet = true;
        break;
    case Kw::Blue:
        m_blue = clampInt(param, 0, 255);
        m_colorSet = true;
        break;

    case Kw::PicW:
        m_pict.picw = std::max(0, param);
        break;
    case Kw::PicH:
        m_pict.pich = std::max(0, param);
        break;
    case Kw::PicWGoal:
        m_pict.goalw = std::max(0, param);
        break;
    case Kw::PicHGoal:
        m_pict.goalh = std::max(0, param);
        break;
    case Kw::PicScaleX:
        m_pict.scalex = clampInt(param, 1, 10000);
        break;
    case Kw::PicScaleY:
        m_pict.scaley = clampInt(param, 1, 10000);
        break;
    case Kw::PngBlip:
    case Kw::JpegBlip:
    case Kw::EmfBlip:
    case Kw::WMetafile:
    case Kw::DiBitmap:
    case Kw::WBitmap:
    case Kw::MacPict:
    case Kw::PmMetafile:
        if (s.dest == Dest::Pict) {
            static constexpr std::pair<Kw, Picture::Kind> kinds[] = {
                {Kw::PngBlip, Picture::Kind::Png},  {Kw::JpegBlip, Picture::Kind::Jpeg},
                {Kw::EmfBlip, Picture::Kind::Emf},  {Kw::WMetafile, Picture::Kind::Wmf},
                {Kw::DiBitmap, Picture::Kind::Dib}, {Kw::WBitmap, Picture::Kind::Bitmap},
                {Kw::MacPict, Picture::Kind::Mac},  {Kw::PmMetafile, Picture::Kind::Os2}};
            for (const auto& [k, kind] : kinds) {
                if (k == kw)
                    m_pict.kind = kind;
            }
            m_pict.keyword = QByteArray(name.data(), static_cast<qsizetype>(name.size()));
            if (hasParam)
                m_pict.keyword += QByteArray::number(param);
        }
        break;
    default:
        break;
    }
}

} // namespace

bool parseRtf(const QByteArray& rtf, Sink& sink, Tables& tables) {
    qsizetype start = 0;
    while (start < rtf.size() && (rtf.at(start) == ' ' || rtf.at(start) == '\t' ||
                                  rtf.at(start) == '\r' || rtf.at(start) == '\n'))
        ++start;
    const QByteArrayView head =
        QByteArrayView(rtf).sliced(start, std::min<qsizetype>(5, rtf.size() - start));
    if (head != "{\\rtf" && head != "{\\urt")
        return false;
    Parser parser(rtf, sink, tables);
    parser.run(start);
    return true;
}

} // namespace richtext::detail
