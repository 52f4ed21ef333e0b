#pragma once

#include <QDate>
#include <QDialog>

class Clock;
class MonthCalendar;
class QLabel;
class QPushButton;

// The date picker: a month grid opened on today, buttons for a year or a
// month back and forward, OK and close. Modal; hands back the chosen day.
class TBrDateForm : public QDialog
{
    Q_OBJECT

public:
    explicit TBrDateForm(const Clock &clock, QWidget *owner = nullptr);

    // The day chosen on the grid; read after exec() returned Accepted.
    QDate chosenDate() const;

    // Showing: the grid takes the keyboard focus.
    void FormShow();
    // Becoming the active window: the labels show the chosen day.
    void FormActivate();
    // The chosen day changed: the labels follow it.
    void CalendarChange();
    // Double click on the grid: close with OK and the day chosen so far.
    void CalendarDblClick();
    // "上年": the same day one year back.
    void prioryearClick();
    // "下年": the same day one year forward.
    void nextyearClick();
    // "上月": the same day one month back, or that month's last day.
    void PrevMonthBtnClick();
    // "下月": the same day one month forward, or that month's last day.
    void NextMonthBtnClick();
    // "关闭": close without a date.
    void cancelBtnClick();

    static constexpr int formWidth = 436;
    static constexpr int formHeight = 264;

    QLabel *nf = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *yf = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *rq = nullptr;
    QLabel *Label5 = nullptr;
    MonthCalendar *Calendar = nullptr;
    QPushButton *prioryear = nullptr;
    QPushButton *nextyear = nullptr;
    QPushButton *PrevMonthBtn = nullptr;
    QPushButton *NextMonthBtn = nullptr;
    QPushButton *OKBtn = nullptr;
    QPushButton *cancelBtn = nullptr;

protected:
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildControls();
    void stepTo(const QDate &day);
};
