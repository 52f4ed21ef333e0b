// The date picker's steps and dialog, and the result grid's set-up.

#include "browser/DateSteps.h"
#include "browser/ui/DateFormPicker.h"
#include "browser/ui/MonthCalendar.h"
#include "browser/ui/RecordingGrid.h"
#include "browser/ui/TBrDateForm.h"
#include "catalogue/CatalogueFile.h"
#include "catalogue/Tdbhouse.h"
#include "support/FakeClock.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

QTableView *gridOf(MonthCalendar *calendar)
{
    return calendar->findChild<QTableView *>();
}

// The grid cell (row 1..6 under the weekday row, column 0..6 from Sunday) of March 2024.
QPoint cellCentre(MonthCalendar *calendar, int row, int column)
{
    QTableView *grid = gridOf(calendar);
    return grid->visualRect(grid->model()->index(row, column)).center();
}

QString labels(const TBrDateForm &form)
{
    return form.nf->text() + form.Label1->text() + form.yf->text() + form.Label3->text() + form.rq->text()
        + form.Label5->text();
}

}  // namespace

class BrowserUiTest : public QObject
{
    Q_OBJECT

private slots:
    void dateSteps_data();
    void dateSteps();
    void dateFormLooksAsItShould();
    void dateFormButtonsStepAndLabelsFollow();
    void dateFormCloses_data();
    void dateFormCloses();
    void emptyCellsCannotBeChosen();
    void pickerOpensOnTodayEachTime();
    void gridShowsColumnsAndFollowsCurrentRow();
};

void BrowserUiTest::dateSteps_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<DateStep>("step");
    QTest::addColumn<QDate>("expected");

    QTest::newRow("31 March back, leap year") << QDate(2024, 3, 31) << DateStep::PriorMonth << QDate(2024, 2, 29);
    QTest::newRow("31 March back, other year") << QDate(2023, 3, 31) << DateStep::PriorMonth << QDate(2023, 2, 28);
    QTest::newRow("31 January forward, leap year") << QDate(2024, 1, 31) << DateStep::NextMonth << QDate(2024, 2, 29);
    QTest::newRow("31 January forward, other year") << QDate(2025, 1, 31) << DateStep::NextMonth << QDate(2025, 2, 28);
    QTest::newRow("January back across the year") << QDate(2024, 1, 17) << DateStep::PriorMonth << QDate(2023, 12, 17);
    QTest::newRow("December forward across the year") << QDate(2023, 12, 31) << DateStep::NextMonth << QDate(2024, 1, 31);
    QTest::newRow("31 May forward to a 30-day month") << QDate(2024, 5, 31) << DateStep::NextMonth << QDate(2024, 6, 30);
    QTest::newRow("29 February one year on") << QDate(2024, 2, 29) << DateStep::NextYear << QDate(2025, 2, 28);
    QTest::newRow("29 February one year back") << QDate(2024, 2, 29) << DateStep::PriorYear << QDate(2023, 2, 28);
    QTest::newRow("28 February into a leap year") << QDate(2023, 2, 28) << DateStep::NextYear << QDate(2024, 2, 28);
    QTest::newRow("an ordinary day one year back") << QDate(2024, 3, 12) << DateStep::PriorYear << QDate(2023, 3, 12);
}

void BrowserUiTest::dateSteps()
{
    QFETCH(QDate, from);
    QFETCH(DateStep, step);
    QFETCH(QDate, expected);
    QCOMPARE(steppedDate(from, step), expected);
}

void BrowserUiTest::dateFormLooksAsItShould()
{
    FakeClock clock;  // 2024-03-12
    TBrDateForm form(clock);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));

    QCOMPARE(form.windowTitle(), QStringLiteral("选择日期"));
    QCOMPARE(form.size(), QSize(436, 264));
    QVERIFY(!(form.windowFlags() & (Qt::WindowCloseButtonHint | Qt::WindowSystemMenuHint
                                    | Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
    QStringList captions;
    for (QPushButton *button : {form.prioryear, form.nextyear, form.PrevMonthBtn, form.NextMonthBtn, form.OKBtn,
                                form.cancelBtn})
        captions << button->text();
    QCOMPARE(captions, (QStringList{"上年&P", "下年&N", "上月&S", "下月&X", "确定&Y", "关闭&C "}));
    QVERIFY(form.OKBtn->isDefault());
    QCOMPARE(labels(form), QStringLiteral("2024年3月12日"));
    QCOMPARE(form.chosenDate(), QDate(2024, 3, 12));
    QVERIFY(gridOf(form.Calendar)->hasFocus());

    // Weekday names over six weeks, Sunday first; 1 March 2024 is a Friday.
    QAbstractItemModel *cells = gridOf(form.Calendar)->model();
    QCOMPARE(cells->rowCount(), 7);
    QCOMPARE(cells->columnCount(), 7);
    QCOMPARE(cells->data(cells->index(0, 0)).toString(), QLocale().dayName(7, QLocale::ShortFormat));
    QCOMPARE(cells->data(cells->index(1, 5)).toInt(), 1);
}

void BrowserUiTest::dateFormButtonsStepAndLabelsFollow()
{
    FakeClock clock(QDateTime(QDate(2024, 3, 31), QTime(23, 0)));
    TBrDateForm form(clock);
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QTest::mouseClick(form.PrevMonthBtn, Qt::LeftButton);
    QCOMPARE(labels(form), QStringLiteral("2024年2月29日"));
    QTest::mouseClick(form.nextyear, Qt::LeftButton);
    QCOMPARE(labels(form), QStringLiteral("2025年2月28日"));
    QTest::keyClick(&form, Qt::Key_X, Qt::AltModifier);  // "下月&X", an animated click
    QTRY_COMPARE(labels(form), QStringLiteral("2025年3月28日"));
    for (int month = 0; month < 3; ++month)
        QTest::mouseClick(form.PrevMonthBtn, Qt::LeftButton);
    QCOMPARE(labels(form), QStringLiteral("2024年12月28日"));
    QCOMPARE(form.Calendar->monthShown(), 12);
    QCOMPARE(form.Calendar->yearShown(), 2024);
}

void BrowserUiTest::dateFormCloses_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("expectedResult");
    QTest::addColumn<QDate>("expectedDate");

    QTest::newRow("Enter on the grid") << "enter grid" << int(QDialog::Accepted) << QDate(2024, 3, 12);
    QTest::newRow("Enter on a step button") << "enter button" << int(QDialog::Accepted) << QDate(2024, 3, 12);
    QTest::newRow("Esc") << "esc" << int(QDialog::Rejected) << QDate(2024, 3, 12);
    QTest::newRow("close button") << "cancel" << int(QDialog::Rejected) << QDate(2024, 3, 12);
    QTest::newRow("double click on a day") << "dblclick day" << int(QDialog::Accepted) << QDate(2024, 3, 20);
    QTest::newRow("double click on an empty cell") << "dblclick empty" << int(QDialog::Accepted)
                                                   << QDate(2024, 3, 12);
}

void BrowserUiTest::dateFormCloses()
{
    QFETCH(QString, how);
    QFETCH(int, expectedResult);
    QFETCH(QDate, expectedDate);

    FakeClock clock;  // 2024-03-12
    TBrDateForm form(clock);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *viewport = gridOf(form.Calendar)->viewport();
    if (how == "enter grid") {
        QTest::keyClick(gridOf(form.Calendar), Qt::Key_Return);
    } else if (how == "enter button") {
        form.prioryear->setFocus();
        QTest::keyClick(form.prioryear, Qt::Key_Return);
        expectedDate = form.chosenDate();  // Enter did not click the step button
    } else if (how == "esc") {
        QTest::keyClick(&form, Qt::Key_Escape);
    } else if (how == "cancel") {
        QTest::mouseClick(form.cancelBtn, Qt::LeftButton);
    } else if (how == "dblclick day") {
        const QPoint day20 = cellCentre(form.Calendar, 4, 3);  // Wednesday of the fourth week
        QTest::mouseClick(viewport, Qt::LeftButton, {}, day20);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, day20);
    } else {
        const QPoint feb25 = cellCentre(form.Calendar, 1, 0);
        QTest::mouseClick(viewport, Qt::LeftButton, {}, feb25);
        QTest::mouseDClick(viewport, Qt::LeftButton, {}, feb25);
    }
    QVERIFY(!form.isVisible());
    QCOMPARE(form.result(), expectedResult);
    QCOMPARE(form.chosenDate(), expectedDate);
}

void BrowserUiTest::emptyCellsCannotBeChosen()
{
    FakeClock clock;  // 2024-03-12
    TBrDateForm form(clock);
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QTableView *grid = gridOf(form.Calendar);
    // Before 1 March (Friday) and after 31 March (Sunday of the sixth row).
    for (const auto &[row, column] : {std::pair{1, 0}, std::pair{1, 4}, std::pair{6, 1}, std::pair{6, 6}}) {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(form.Calendar, row, column));
        QCOMPARE(form.chosenDate(), QDate(2024, 3, 12));
    }
    // Arrow keys stay inside the month.
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(form.Calendar, 1, 5));
    QCOMPARE(form.chosenDate(), QDate(2024, 3, 1));
    QTest::keyClick(grid, Qt::Key_Left);
    QTest::keyClick(grid, Qt::Key_Up);
    QCOMPARE(form.chosenDate(), QDate(2024, 3, 1));
    QCOMPARE(labels(form), QStringLiteral("2024年3月1日"));
    QVERIFY(form.isVisible());
}

void BrowserUiTest::pickerOpensOnTodayEachTime()
{
    FakeClock clock;  // 2024-03-12
    QWidget owner;
    DateFormPicker picker(clock, &owner);
    const auto answerWith = [](int key) {
        QTimer::singleShot(0, [key] {
            if (auto *form = qobject_cast<TBrDateForm *>(QApplication::activeModalWidget())) {
                if (key == Qt::Key_Return)
                    form->nextyearClick();  // choose another day first
                QTest::keyClick(form, Qt::Key(key));
            }
        });
    };
    answerWith(Qt::Key_Return);
    QCOMPARE(picker.pickDate(), std::optional<QDate>(QDate(2025, 3, 12)));
    answerWith(Qt::Key_Escape);
    QCOMPARE(picker.pickDate(), std::nullopt);
    // The second opening started on today again, not on last time's 2025.
    answerWith(Qt::Key_Return);
    QCOMPARE(picker.pickDate(), std::optional<QDate>(QDate(2025, 3, 12)));
}

void BrowserUiTest::gridShowsColumnsAndFollowsCurrentRow()
{
    QTemporaryDir dir;
    QVERIFY(createCatalogueFile(Tdbhouse::catalogueFilePath(dir.path())));
    Tdbhouse house;
    house.openCatalogue(dir.path());
    for (int hour = 8; hour < 12; ++hour) {
        const QDateTime moment(QDate(2024, 3, 5), QTime(hour, 0));
        const QString name = moment.toString("yyyyMMddHHmmss") + "_1.mpg";
        house.insertRecording(moment, QDateTime(moment.date(), QTime(0, 0)), name, "/rec/" + name, 1);
    }
    QTableView grid;
    int ctrlDeletes = 0;
    setUpRecordingGrid(grid, house.qwjcx_s, [&ctrlDeletes] { ++ctrlDeletes; });
    grid.resize(1000, 300);
    grid.show();
    QVERIFY(QTest::qWaitForWindowExposed(&grid));

    const auto widths = [&grid] {
        QList<int> px;
        for (int column = 0; column < 4; ++column)
            px << grid.columnWidth(column);
        return px;
    };
    QCOMPARE(widths(), (QList<int>{71, 180, 206, 459}));
    QVERIFY(grid.verticalHeader()->isVisible());
    QCOMPARE(grid.selectionBehavior(), QAbstractItemView::SelectRows);
    QCOMPARE(grid.editTriggers(), QAbstractItemView::NoEditTriggers);

    house.queryDateRange(QDateTime(QDate(2024, 3, 5), QTime(0, 0)), QDateTime(QDate(2024, 3, 5), QTime(0, 0)),
                         std::nullopt);
    QCOMPARE(grid.currentIndex().row(), 0);  // the list's current row is highlighted at once
    QCOMPARE(widths(), (QList<int>{71, 180, 206, 459}));

    // A click on a row makes it the list's current row, and back.
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(grid.model()->index(2, 1)).center());
    QCOMPARE(house.qwjcx.currentRow(), 2);
    house.qwjcx.setCurrentRow(3);
    QCOMPARE(grid.currentIndex().row(), 3);

    // A dragged width survives the next query.
    grid.setColumnWidth(3, 300);
    house.queryDateRange(QDateTime(QDate(2024, 3, 5), QTime(0, 0)), QDateTime(QDate(2024, 3, 5), QTime(0, 0)),
                         std::nullopt);
    QCOMPARE(widths(), (QList<int>{71, 180, 206, 300}));
    QCOMPARE(grid.currentIndex().row(), 0);

    grid.setFocus();
    QTest::keyClick(&grid, Qt::Key_Delete, Qt::ControlModifier);
    QCOMPARE(ctrlDeletes, 1);
    // Dropping the current row from the list moves the highlight with it.
    house.qwjcx.setCurrentRow(3);
    house.qwjcx.removeCurrentRow();
    QCOMPARE(grid.model()->rowCount(), 3);
    QCOMPARE(grid.currentIndex().row(), 2);
}

QTEST_MAIN(BrowserUiTest)
#include "tst_browser_ui.moc"
