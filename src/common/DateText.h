#pragma once

#include <QDateTime>
#include <QString>

// Dates and times are written and read in one fixed form throughout the program:
// "yyyy-MM-dd" for dates and "H:mm:ss" for times.
namespace DateText {

inline const QString dateFormat = QStringLiteral("yyyy-MM-dd");
inline const QString timeFormat = QStringLiteral("H:mm:ss");

inline QString fromDate(const QDate &date) { return date.toString(dateFormat); }

// A date and time as text: the date alone at midnight, otherwise date, one blank, time.
inline QString fromDateTime(const QDateTime &moment)
{
    const QString date = fromDate(moment.date());
    if (moment.time() == QTime(0, 0, 0))
        return date;
    return date + ' ' + moment.time().toString(timeFormat);
}

// Reads "yyyy-MM-dd" optionally followed by one blank and "H:mm:ss";
// an invalid QDateTime when the text is neither.
inline QDateTime toDateTime(const QString &text)
{
    const QString trimmed = text.trimmed();
    const int blank = trimmed.indexOf(' ');
    const QDate date = QDate::fromString(blank < 0 ? trimmed : trimmed.left(blank), dateFormat);
    if (!date.isValid())
        return {};
    if (blank < 0)
        return QDateTime(date, QTime(0, 0, 0));
    const QTime time = QTime::fromString(trimmed.mid(blank + 1).trimmed(), timeFormat);
    return time.isValid() ? QDateTime(date, time) : QDateTime();
}

} // namespace DateText
