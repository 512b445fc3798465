#include "mainwindow/naturalcompare.h"

namespace {

bool isDigit(QChar c) { return c.unicode() >= u'0' && c.unicode() <= u'9'; }

// The run of digits or of non-digits starting at pos.
QStringView chunkAt(const QString& s, qsizetype pos)
{
    const bool digits = isDigit(s[pos]);
    qsizetype end = pos + 1;
    while (end < s.size() && isDigit(s[end]) == digits)
        ++end;
    return QStringView(s).mid(pos, end - pos);
}

// Digit runs of any length: drop leading zeros, then the longer number is
// the greater, and equal lengths compare digit by digit.
int compareNumbers(QStringView a, QStringView b)
{
    while (a.size() > 1 && a.front() == u'0')
        a = a.mid(1);
    while (b.size() > 1 && b.front() == u'0')
        b = b.mid(1);
    if (a.size() != b.size())
        return a.size() < b.size() ? -1 : 1;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i])
            return a[i] < b[i] ? -1 : 1;
    }
    return 0;
}

} // namespace

int NaturalCompare(const QString& a, const QString& b)
{
    if (a == b)
        return 0;
    if (a.isEmpty())
        return -1;
    if (b.isEmpty())
        return 1;

    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        const QStringView ca = chunkAt(a, i);
        const QStringView cb = chunkAt(b, j);
        int result;
        if (isDigit(ca.front()) && isDigit(cb.front()))
            result = compareNumbers(ca, cb);
        else
            result = QString::localeAwareCompare(ca, cb);
        if (result != 0)
            return result < 0 ? -1 : 1;
        i += ca.size();
        j += cb.size();
    }
    return 0;
}
