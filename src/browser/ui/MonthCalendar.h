#pragma once

#include <QCalendarWidget>

// A month grid: weekday names over six weeks, the week starting on Sunday.
// Only the shown month's days are drawn and can be chosen; the cells before
// its first and after its last day stay empty. Arrow keys move within the month.
class MonthCalendar : public QCalendarWidget
{
    Q_OBJECT

public:
    explicit MonthCalendar(QWidget *parent = nullptr);

    // Shows day's month with day chosen; emits selectionChanged() once.
    void showDay(const QDate &day);

signals:
    // A double click anywhere on the grid, on a day or an empty cell.
    void doubleClicked();

protected:
    void paintCell(QPainter *painter, const QRect &rect, QDate date) const override;
    bool eventFilter(QObject *watched, QEvent *event) override;
};
