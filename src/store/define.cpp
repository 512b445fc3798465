#include "store/define.h"

#include <QDateTime>

#include <cmath>
#include <limits>

QString KindName(int code)
{
    switch (code) {
    case ekText:
        return QStringLiteral("Text");
    case ekRichText:
        return QStringLiteral("RichText");
    case ekMail:
        return QStringLiteral("eMail");
    case ekLink:
        return QStringLiteral("Hyperlink");
    default:
        return {};
    }
}

int KindFromName(const QString& name)
{
    for (int code = ekText; code <= ekLink; ++code) {
        if (name == KindName(code))
            return code;
    }
    return 0;
}

qint64 DateTimeToFileSeconds(TDateTime value)
{
    double exact = (value - UnixDateDelta) * 86400.0;
    // A day count holds a half second only approximately; snap to whole
    // microseconds first so that halves are recognised as halves.
    if (std::fabs(exact) < 9.0e9)
        exact = std::nearbyint(exact * 1.0e6) / 1.0e6;
    // nearbyint rounds in the current mode, which is to-nearest-even.
    const double seconds = std::nearbyint(exact);
    if (std::isnan(seconds))
        return 0;
    // Clamp so that absurd day counts cannot overflow the conversion.
    constexpr double lo = static_cast<double>(std::numeric_limits<qint64>::min());
    constexpr double hi = 9.2e18;
    if (seconds <= lo)
        return std::numeric_limits<qint64>::min();
    if (seconds >= hi)
        return static_cast<qint64>(hi);
    return static_cast<qint64>(seconds);
}

TDateTime FileSecondsToDateTime(qint64 seconds)
{
    return static_cast<double>(seconds) / 86400.0 + UnixDateDelta;
}

TDateTime NowDateTime()
{
    const QDateTime now = QDateTime::currentDateTime();
    static const QDate epoch(1899, 12, 30);
    const qint64 days = epoch.daysTo(now.date());
    const int msecs = now.time().msecsSinceStartOfDay();
    return static_cast<double>(days) + msecs / 86400000.0;
}

QString FolderLabel(const QString& caption, int id)
{
    return caption + QStringLiteral(" (") + QString::number(id) + QLatin1Char(')');
}

bool FolderIdFromLabel(const QString& label, int& id)
{
    if (!label.endsWith(QLatin1Char(')')))
        return false;
    const qsizetype open = label.lastIndexOf(QLatin1Char('('));
    if (open < 0)
        return false;
    const QStringView digits = QStringView(label).mid(open + 1, label.size() - open - 2);
    if (digits.isEmpty())
        return false;
    for (qsizetype i = 0; i < digits.size(); ++i) {
        const QChar c = digits[i];
        if (!(c.isDigit() && c.unicode() < 128) && !(i == 0 && c == QLatin1Char('-')))
            return false;
    }
    bool ok = false;
    const int value = digits.toInt(&ok);
    if (!ok)
        return false;
    id = value;
    return true;
}
