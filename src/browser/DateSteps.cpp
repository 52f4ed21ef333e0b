#include "browser/DateSteps.h"

#include <algorithm>

namespace {

int monthsFor(DateStep step)
{
    switch (step) {
    case DateStep::PriorYear: return -12;
    case DateStep::NextYear: return 12;
    case DateStep::PriorMonth: return -1;
    case DateStep::NextMonth: return 1;
    }
    return 0;
}

}  // namespace

QDate steppedDate(const QDate &day, DateStep step)
{
    if (!day.isValid())
        return {};
    // Months counted from year 0 so that the division below never meets a negative number.
    const int monthIndex = day.year() * 12 + (day.month() - 1) + monthsFor(step);
    const int year = monthIndex / 12;
    const int month = monthIndex % 12 + 1;
    const int lastDay = QDate(year, month, 1).daysInMonth();
    return QDate(year, month, std::min(day.day(), lastDay));
}
