#include "browser/ui/MonthCalendar.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QPainter>
#include <QSignalBlocker>

MonthCalendar::MonthCalendar(QWidget *parent)
    : QCalendarWidget(parent)
{
    setFirstDayOfWeek(Qt::Sunday);
    setHorizontalHeaderFormat(QCalendarWidget::ShortDayNames);
    setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    // The dialog's own buttons step months and years; typing a date is not offered.
    setNavigationBarVisible(false);
    setDateEditEnabled(false);
    setGridVisible(true);
    if (auto *grid = findChild<QAbstractItemView *>())
        grid->viewport()->installEventFilter(this);
}

void MonthCalendar::showDay(const QDate &day)
{
    if (!day.isValid())
        return;
    {
        // The range keeps clicks and arrow keys inside the shown month.
        const QSignalBlocker quiet(this);
        setDateRange(QDate(day.year(), day.month(), 1), QDate(day.year(), day.month(), day.daysInMonth()));
        setSelectedDate(day);
        setCurrentPage(day.year(), day.month());
    }
    emit selectionChanged();
}

void MonthCalendar::paintCell(QPainter *painter, const QRect &rect, QDate date) const
{
    if (date.year() == yearShown() && date.month() == monthShown()) {
        QCalendarWidget::paintCell(painter, rect, date);
        return;
    }
    painter->fillRect(rect, palette().color(QPalette::Base));
}

bool MonthCalendar::eventFilter(QObject *watched, QEvent *event)
{
    // The first click of a double click has already chosen its day, when it hit one.
    if (event->type() == QEvent::MouseButtonDblClick) {
        emit doubleClicked();
        return true;
    }
    return QCalendarWidget::eventFilter(watched, event);
}
