#include "browser/ui/TBrDateForm.h"

#include "browser/DateSteps.h"
#include "browser/ui/MonthCalendar.h"
#include "common/Clock.h"

#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// "宋体", or the Chinese face the desktop has in its place.
QFont formFont(bool bold)
{
    QFont font;
    font.setFamilies({QStringLiteral("宋体"), QStringLiteral("SimSun"), QStringLiteral("WenQuanYi Zen Hei"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(12);
    font.setBold(bold);
    return font;
}

}  // namespace

TBrDateForm::TBrDateForm(const Clock &clock, QWidget *owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("BrDateForm"));
    setWindowTitle(QStringLiteral("选择日期"));
    setFont(formFont(true));
    setFixedSize(formWidth, formHeight);
    buildControls();
    Calendar->showDay(clock.now().date());

    // Centred on the screen; a position set here keeps QDialog from centring on the owner.
    if (const QScreen *screen = owner ? owner->screen() : QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(formWidth / 2, formHeight / 2));
}

void TBrDateForm::buildControls()
{
    const QFont controlFont = formFont(false);
    const auto makeLabel = [&](const char *name, const QString &text) {
        auto *label = new QLabel(text, this);
        label->setObjectName(QString::fromLatin1(name));
        label->setFont(controlFont);
        return label;
    };
    const auto makeButton = [&](const char *name, const QString &caption) {
        auto *button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        button->setFont(controlFont);
        button->setAutoDefault(false);
        return button;
    };

    nf = makeLabel("nf", {});
    Label1 = makeLabel("Label1", QStringLiteral("年"));
    yf = makeLabel("yf", {});
    Label3 = makeLabel("Label3", QStringLiteral("月"));
    rq = makeLabel("rq", {});
    Label5 = makeLabel("Label5", QStringLiteral("日"));
    auto *dateRow = new QHBoxLayout;
    for (QLabel *label : {nf, Label1, yf, Label3, rq, Label5})
        dateRow->addWidget(label);
    dateRow->addStretch(1);

    auto *bevel = new QFrame(this);
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setLineWidth(2);
    Calendar = new MonthCalendar(bevel);
    Calendar->setObjectName(QStringLiteral("Calendar"));
    Calendar->setFont(controlFont);
    auto *bevelLayout = new QVBoxLayout(bevel);
    bevelLayout->setContentsMargins(3, 3, 3, 3);
    bevelLayout->addWidget(Calendar);

    prioryear = makeButton("prioryear", QStringLiteral("上年&P"));
    nextyear = makeButton("nextyear", QStringLiteral("下年&N"));
    PrevMonthBtn = makeButton("PrevMonthBtn", QStringLiteral("上月&S"));
    NextMonthBtn = makeButton("NextMonthBtn", QStringLiteral("下月&X"));
    OKBtn = makeButton("OKBtn", QStringLiteral("确定&Y"));
    cancelBtn = makeButton("cancelBtn", QStringLiteral("关闭&C "));
    OKBtn->setDefault(true);
    auto *buttons = new QVBoxLayout;
    for (QPushButton *button : {prioryear, nextyear, PrevMonthBtn, NextMonthBtn, OKBtn, cancelBtn})
        buttons->addWidget(button);
    buttons->addStretch(1);

    auto *body = new QHBoxLayout;
    body->addWidget(bevel, 1);
    body->addLayout(buttons);
    auto *form = new QVBoxLayout(this);
    form->addLayout(dateRow);
    form->addLayout(body, 1);

    connect(Calendar, &QCalendarWidget::selectionChanged, this, &TBrDateForm::CalendarChange);
    connect(Calendar, &MonthCalendar::doubleClicked, this, &TBrDateForm::CalendarDblClick);
    // Enter on the grid: the grid keeps the key to itself and reports it as activated.
    connect(Calendar, &QCalendarWidget::activated, this, &QDialog::accept);
    connect(prioryear, &QPushButton::clicked, this, &TBrDateForm::prioryearClick);
    connect(nextyear, &QPushButton::clicked, this, &TBrDateForm::nextyearClick);
    connect(PrevMonthBtn, &QPushButton::clicked, this, &TBrDateForm::PrevMonthBtnClick);
    connect(NextMonthBtn, &QPushButton::clicked, this, &TBrDateForm::NextMonthBtnClick);
    connect(OKBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelBtn, &QPushButton::clicked, this, &TBrDateForm::cancelBtnClick);
}

QDate TBrDateForm::chosenDate() const
{
    return Calendar->selectedDate();
}

void TBrDateForm::FormShow()
{
    Calendar->setFocus();
}

void TBrDateForm::FormActivate()
{
    CalendarChange();
}

void TBrDateForm::CalendarChange()
{
    const QDate day = chosenDate();
    nf->setText(QString::number(day.year()));
    yf->setText(QString::number(day.month()));
    rq->setText(QString::number(day.day()));
}

void TBrDateForm::CalendarDblClick()
{
    accept();
}

void TBrDateForm::stepTo(const QDate &day)
{
    Calendar->showDay(day);
}

void TBrDateForm::prioryearClick()
{
    stepTo(steppedDate(chosenDate(), DateStep::PriorYear));
}

void TBrDateForm::nextyearClick()
{
    stepTo(steppedDate(chosenDate(), DateStep::NextYear));
}

void TBrDateForm::PrevMonthBtnClick()
{
    stepTo(steppedDate(chosenDate(), DateStep::PriorMonth));
}

void TBrDateForm::NextMonthBtnClick()
{
    stepTo(steppedDate(chosenDate(), DateStep::NextMonth));
}

void TBrDateForm::cancelBtnClick()
{
    reject();
}

void TBrDateForm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

bool TBrDateForm::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        FormActivate();
    return QDialog::event(event);
}

void TBrDateForm::keyPressEvent(QKeyEvent *event)
{
    // Enter that reaches the form itself: OK takes the focus, then the default button closes.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        OKBtn->setFocus();
    QDialog::keyPressEvent(event);
}
