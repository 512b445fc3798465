#include "platform/inifile.h"

#include "platform/windows1252.h"

#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <sys/stat.h>

namespace {

// What identifies one state of the file on disk: an atomic replacement
// changes the inode, an edit in place the size or the time stamps.
struct FileStamp {
    bool exists = false;
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    timespec mtime{};
    timespec ctime{};

    static FileStamp of(const struct stat& st) {
        FileStamp s;
        s.exists = true;
        s.dev = st.st_dev;
        s.ino = st.st_ino;
        s.size = st.st_size;
        s.mtime = st.st_mtim;
        s.ctime = st.st_ctim;
        return s;
    }

    friend bool operator==(const FileStamp& a, const FileStamp& b) {
        if (!a.exists || !b.exists)
            return a.exists == b.exists;
        return a.dev == b.dev && a.ino == b.ino && a.size == b.size &&
               a.mtime.tv_sec == b.mtime.tv_sec && a.mtime.tv_nsec == b.mtime.tv_nsec &&
               a.ctime.tv_sec == b.ctime.tv_sec && a.ctime.tv_nsec == b.ctime.tv_nsec;
    }
};

FileStamp stampOf(const QString& path, bool* isRegular = nullptr) {
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    if (isRegular)
        *isRegular = S_ISREG(st.st_mode);
    return FileStamp::of(st);
}

bool isBlank(QChar c) {
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\v' || u == u'\f';
}

QStringView trimmed(QStringView s) {
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.sliced(b, e - b);
}

bool sameName(QStringView a, QStringView b) {
    // Case folding keeps the length, so a length check rules most lines out cheaply.
    return a.size() == b.size() && a.compare(b, Qt::CaseInsensitive) == 0;
}

// One line of the text: [begin, end) is its text, [end, next) its line end
// (LF, CR LF, a lone CR, or nothing at the end of the file).
struct Line {
    qsizetype begin = 0;
    qsizetype end = 0;
    qsizetype next = 0;
};

class LineReader {
public:
    LineReader(QStringView text, qsizetype from = 0, qsizetype to = -1)
        : m_text(text), m_pos(from), m_to(to < 0 ? text.size() : to) {}

    bool next(Line& line) {
        if (m_pos >= m_to)
            return false;
        // The next LF and CR are searched with Qt's vectorised indexOf, and
        // each search is reused until the reader has passed its result.
        m_lf = nextOf(u'\n', m_lf);
        m_cr = nextOf(u'\r', m_cr);
        const qsizetype e = std::min(m_lf, m_cr);
        qsizetype n = e;
        if (n < m_to)
            n += (m_text[n] == u'\r' && n + 1 < m_to && m_text[n + 1] == u'\n') ? 2 : 1;
        line = {m_pos, e, n};
        m_pos = n;
        return true;
    }

private:
    qsizetype nextOf(char16_t c, qsizetype cached) const {
        if (cached >= m_pos)
            return cached;
        const qsizetype i = m_text.first(m_to).indexOf(QChar(c), m_pos);
        return i < 0 ? m_to : i;
    }

    QStringView m_text;
    qsizetype m_pos;
    qsizetype m_to;
    qsizetype m_lf = -1;
    qsizetype m_cr = -1;
};

enum class Kind { Blank, Comment, Header, Entry, Other };

struct Parsed {
    Kind kind = Kind::Blank;
    QStringView name;  // section name (Header) or key (Entry)
    QStringView value; // Entry: the trimmed text after the first "="
};

Parsed classify(QStringView line) {
    Parsed p;
    const QStringView t = trimmed(line);
    if (t.isEmpty())
        return p;
    if (t.front() == u';') {
        p.kind = Kind::Comment;
        return p;
    }
    if (t.front() == u'[') {
        const qsizetype close = t.indexOf(u']');
        if (close > 0) {
            p.kind = Kind::Header;
            p.name = trimmed(t.sliced(1, close - 1));
            return p;
        }
    }
    const qsizetype eq = line.indexOf(u'=');
    if (eq < 0) {
        p.kind = Kind::Other;
        return p;
    }
    p.kind = Kind::Entry;
    p.name = trimmed(line.first(eq));
    p.value = trimmed(line.sliced(eq + 1));
    return p;
}

// Where a section's lines are, and where a key appended to it goes.
struct Span {
    bool found = false;
    qsizetype bodyBegin = 0;
    qsizetype bodyEnd = 0;
    qsizetype appendAt = 0;          // after the last non-blank line of the section
    bool appendNeedsLineEnd = false; // that line ends the file without a line end
};

// The first section of that name; the empty name is the part before the
// first section header.
Span findSection(QStringView text, QStringView name) {
    Span span;
    bool inside = name.isEmpty();
    span.found = inside;
    LineReader reader(text);
    Line line;
    while (reader.next(line)) {
        const QStringView raw = text.sliced(line.begin, line.end - line.begin);
        qsizetype first = 0;
        while (first < raw.size() && isBlank(raw[first]))
            ++first;
        if (first == raw.size())
            continue; // blank
        // Only a line starting with "[" can be a header: skip the full parse otherwise.
        const Parsed p = raw[first] == u'[' ? classify(raw) : Parsed{Kind::Other, {}, {}};
        if (p.kind == Kind::Header) {
            if (inside) {
                span.bodyEnd = line.begin;
                return span;
            }
            if (sameName(p.name, name)) {
                inside = span.found = true;
                span.bodyBegin = span.appendAt = line.next;
                span.appendNeedsLineEnd = line.next == line.end;
            }
            continue;
        }
        if (inside) {
            span.appendAt = line.next;
            span.appendNeedsLineEnd = line.next == line.end;
        }
    }
    if (inside)
        span.bodyEnd = text.size();
    return span;
}

// Calls f(line, parsed) for every key=value line of the span until f
// returns false.
template <typename F> void forEachEntry(QStringView text, const Span& span, F f) {
    LineReader reader(text, span.bodyBegin, span.bodyEnd);
    Line line;
    while (reader.next(line)) {
        const Parsed p = classify(text.sliced(line.begin, line.end - line.begin));
        if (p.kind == Kind::Entry && !f(line, p))
            return;
    }
}

bool findEntry(QStringView text, const Span& span, QStringView key, Line& found, Parsed& parsed) {
    bool ok = false;
    forEachEntry(text, span, [&](const Line& line, const Parsed& p) {
        if (!sameName(p.name, key))
            return true;
        found = line;
        parsed = p;
        ok = true;
        return false;
    });
    return ok;
}

// The file's own line end (its first one), LF for a file without any.
QString lineEndOf(QStringView text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n')
            return QStringLiteral("\n");
        if (text[i] == u'\r')
            return i + 1 < text.size() && text[i + 1] == u'\n' ? QStringLiteral("\r\n")
                                                               : QStringLiteral("\r");
    }
    return QStringLiteral("\n");
}

// A value as the Windows functions hand it back: up to a NUL, at most 2047
// characters, never ending in half a surrogate pair.
QStringView limited(QStringView v) {
    const qsizetype nul = v.indexOf(QChar(u'\0'));
    if (nul >= 0)
        v = v.first(nul);
    if (v.size() > TIniFile::MaxValueLength) {
        v = v.first(TIniFile::MaxValueLength);
        if (v.back().isHighSurrogate())
            v.chop(1);
    }
    return v;
}

QString sanitizedName(const QString& name) {
    QString s = name;
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    if (nul >= 0)
        s.truncate(nul);
    s.remove(QChar(u'\r'));
    s.remove(QChar(u'\n'));
    return trimmed(s).toString();
}

QString sanitizedValue(const QString& value) {
    QString s = value;
    const qsizetype nul = s.indexOf(QChar(u'\0'));
    if (nul >= 0)
        s.truncate(nul);
    s.replace(QChar(u'\r'), QChar(u' '));
    s.replace(QChar(u'\n'), QChar(u' '));
    return s;
}

int hexDigit(char16_t c) {
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

} // namespace

struct TIniFile::Content {
    enum class State { Missing, Loaded, Unreadable };
    State state = State::Missing;
    QString text;
    FileStamp stamp;
};

TIniFile::TIniFile(const QString& fileName) : m_fileName(fileName) {}

TIniFile::~TIniFile() = default;

const TIniFile::Content& TIniFile::content() const {
    bool regular = false;
    const FileStamp now = stampOf(m_fileName, &regular);
    if (m_cache && m_cache->stamp == now)
        return *m_cache;

    auto c = std::make_unique<Content>();
    c->stamp = now;
    if (now.exists) {
        c->state = Content::State::Unreadable;
        QFile file(m_fileName);
        // Only a regular file is read: a FIFO or device would block or never end.
        if (regular && now.size <= MaxFileSize && file.open(QIODevice::ReadOnly)) {
            struct stat st;
            if (::fstat(file.handle(), &st) == 0)
                c->stamp = FileStamp::of(st);
            // read(n) would allocate all n bytes at once: read what is there.
            const QByteArray bytes = file.readAll();
            if (bytes.size() <= MaxFileSize && file.error() == QFileDevice::NoError) {
                c->text = DecodeTextFile(bytes);
                c->state = Content::State::Loaded;
            }
        }
    }
    m_cache = std::move(c);
    return *m_cache;
}

void TIniFile::raiseWriteError() const {
    throw EIniFileException(QStringLiteral("In ") + m_fileName +
                            QStringLiteral(" kann nicht geschrieben werden"));
}

void TIniFile::store(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    QSaveFile file(m_fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        m_cache.reset();
        raiseWriteError();
    }
    auto c = std::make_unique<Content>();
    c->state = Content::State::Loaded;
    c->text = text;
    c->stamp = stampOf(m_fileName);
    m_cache = std::move(c);
}

QString TIniFile::ReadString(const QString& section, const QString& key, const QString& def) const {
    const QString& text = content().text;
    const Span span = findSection(text, trimmed(section));
    Line line;
    Parsed p;
    if (!span.found || !findEntry(text, span, trimmed(key), line, p))
        return def;
    QStringView v = p.value;
    const qsizetype nul = v.indexOf(QChar(u'\0'));
    if (nul >= 0)
        v = trimmed(v.first(nul));
    if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
        v = v.sliced(1, v.size() - 2);
    return limited(v).toString();
}

bool TIniFile::ParseInteger(QStringView text, int& value) {
    QStringView s = trimmed(text);
    bool negative = false;
    if (!s.isEmpty() && (s.front() == u'-' || s.front() == u'+')) {
        negative = s.front() == u'-';
        s = s.sliced(1);
    }
    quint64 v = 0;
    if (s.startsWith(u'$') || s.startsWith(u"0x") || s.startsWith(u"0X")) {
        s = s.sliced(s.front() == u'$' ? 1 : 2);
        if (s.isEmpty())
            return false;
        for (QChar c : s) {
            const int d = hexDigit(c.unicode());
            if (d < 0)
                return false;
            v = v * 16 + d;
            if (v > 0xFFFFFFFFu)
                return false;
        }
        const quint32 bits = negative ? 0u - static_cast<quint32>(v) : static_cast<quint32>(v);
        value = static_cast<int>(bits);
        return true;
    }
    if (s.isEmpty())
        return false;
    const quint64 limit = negative ? 2147483648u : 2147483647u;
    for (QChar c : s) {
        if (c < u'0' || c > u'9')
            return false;
        v = v * 10 + (c.unicode() - u'0');
        if (v > limit)
            return false;
    }
    value = negative ? static_cast<int>(-static_cast<qint64>(v)) : static_cast<int>(v);
    return true;
}

int TIniFile::ReadInteger(const QString& section, const QString& key, int def) const {
    int v = 0;
    return ParseInteger(ReadString(section, key, QString()), v) ? v : def;
}

bool TIniFile::ReadBool(const QString& section, const QString& key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QStringList TIniFile::ReadSection(const QString& section) const {
    QStringList keys;
    const QString& text = content().text;
    const Span span = findSection(text, trimmed(section));
    if (span.found) {
        forEachEntry(text, span, [&](const Line&, const Parsed& p) {
            keys.append(p.name.toString());
            return true;
        });
    }
    return keys;
}

QList<TIniEntry> TIniFile::ReadSectionEntries(const QString& section) const {
    QList<TIniEntry> entries;
    const QString& text = content().text;
    const Span span = findSection(text, trimmed(section));
    if (span.found) {
        forEachEntry(text, span, [&](const Line&, const Parsed& p) {
            entries.append({p.name.toString(), limited(p.value).toString()});
            return true;
        });
    }
    return entries;
}

QStringList TIniFile::ReadSections() const {
    QStringList names;
    const QString& text = content().text;
    LineReader reader(text);
    Line line;
    while (reader.next(line)) {
        const Parsed p = classify(QStringView(text).sliced(line.begin, line.end - line.begin));
        if (p.kind == Kind::Header)
            names.append(p.name.toString());
    }
    return names;
}

bool TIniFile::SectionExists(const QString& section) const {
    const QStringView name = trimmed(section);
    return !name.isEmpty() && findSection(content().text, name).found;
}

bool TIniFile::ValueExists(const QString& section, const QString& key) const {
    const QString& text = content().text;
    const Span span = findSection(text, trimmed(section));
    Line line;
    Parsed p;
    return span.found && findEntry(text, span, trimmed(key), line, p);
}

void TIniFile::WriteString(const QString& section, const QString& key, const QString& value) {
    const Content& c = content();
    if (c.state == Content::State::Unreadable)
        raiseWriteError(); // writing would destroy what could not be read

    QString text = c.text;
    const QString sec = sanitizedName(section);
    const QString k = sanitizedName(key);
    const QString v = sanitizedValue(value);
    const QString eol = lineEndOf(text);

    const Span span = findSection(text, sec);
    if (span.found) {
        Line line;
        Parsed p;
        if (findEntry(text, span, k, line, p)) {
            // Keep the key as it is spelled in the file.
            const QString newLine = p.name.toString() + QLatin1Char('=') + v;
            text.replace(line.begin, line.end - line.begin, newLine);
        } else {
            QString add = span.appendNeedsLineEnd ? eol : QString();
            add += k + QLatin1Char('=') + v + eol;
            text.insert(span.appendAt, add);
        }
    } else {
        QString add;
        if (!text.isEmpty()) {
            if (!text.endsWith(QLatin1Char('\n')) && !text.endsWith(QLatin1Char('\r')))
                add += eol;
            // Keep one blank line between sections.
            Line last, line;
            LineReader reader(text);
            while (reader.next(line))
                last = line;
            if (classify(QStringView(text).sliced(last.begin, last.end - last.begin)).kind !=
                Kind::Blank)
                add += eol;
        }
        add += QLatin1Char('[') + sec + QLatin1Char(']') + eol + k + QLatin1Char('=') + v + eol;
        text += add;
    }
    store(text);
}

void TIniFile::WriteInteger(const QString& section, const QString& key, int value) {
    WriteString(section, key, QString::number(value));
}

void TIniFile::WriteBool(const QString& section, const QString& key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

void TIniFile::DeleteKey(const QString& section, const QString& key) {
    const Content& c = content();
    if (c.state == Content::State::Missing)
        return;
    if (c.state == Content::State::Unreadable)
        raiseWriteError();
    const Span span = findSection(c.text, trimmed(section));
    Line line;
    Parsed p;
    if (!span.found || !findEntry(c.text, span, trimmed(key), line, p))
        return;
    QString text = c.text;
    text.remove(line.begin, line.next - line.begin);
    store(text);
}
