#include "dialogs/datetext.h"

#include <QLocale>
#include <QStringList>
#include <QTimeZone>

QString DateText(const QDate& date) {
    return QLocale().toString(date, QLocale::ShortFormat);
}

QString TimeText(const QTime& time) {
    // The long time format of a desktop locale ends in "t" (the zone name);
    // a time of day shown here has no zone.
    QString format = QLocale().timeFormat(QLocale::LongFormat);
    format.remove(QLatin1Char('t'));
    return QLocale().toString(time, format.trimmed());
}

QDateTime DayCountToDateTime(TDateTime value) {
    // The file seconds count local wall-clock time from 1970; read back as
    // UTC they give the same wall-clock fields without any zone shift.
    return QDateTime::fromSecsSinceEpoch(DateTimeToFileSeconds(value), QTimeZone::utc());
}

QString DateTimeText(TDateTime value) {
    const QDateTime dt = DayCountToDateTime(value);
    if (dt.time() == QTime(0, 0))
        return DateText(dt.date());
    return DateText(dt.date()) + QLatin1Char(' ') + TimeText(dt.time());
}

QString FormatText(const QString& format, const QStringList& arguments) {
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format.at(i);
        if (c == QLatin1Char('%') && i + 1 < format.size()) {
            const QChar f = format.at(i + 1);
            if (f == QLatin1Char('%')) {
                result += QLatin1Char('%');
                ++i;
                continue;
            }
            if (f == QLatin1Char('s') || f == QLatin1Char('S')) {
                if (next < arguments.size())
                    result += arguments.at(next);
                ++next;
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}
