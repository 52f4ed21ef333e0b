#pragma once

#include <QDate>

// The date picker's year and month buttons.
enum class DateStep { PriorYear, NextYear, PriorMonth, NextMonth };

// The day one step away: the same day of the new month, or that month's last
// day when it is shorter (31 March back -> 28/29 February; 29 February one
// year on -> 28 February). An invalid date stays invalid.
QDate steppedDate(const QDate &day, DateStep step);
