#pragma once

#include "store/define.h"

#include <QDateTime>
#include <QString>

// Date and time texts of the dialogs, in the user's formats: the short date
// format and the long time format (without a time-zone name, which the
// desktop's long format may carry).
QString DateText(const QDate& date);
QString TimeText(const QTime& time);

// The wall-clock date and time of a day count (local time, as stored).
QDateTime DayCountToDateTime(TDateTime value);

// "date time", or the date alone when the time is exactly midnight.
QString DateTimeText(TDateTime value);

// Fills the "%s" of a language text one argument after the other; "%%" is a
// percent sign. Anything else stays as typed, so a faulty language text can
// never break the window that shows it.
QString FormatText(const QString& format, const QStringList& arguments);
