// The main window's snapshot, query-page and settings commands reach their
// subsystems: one scenario per subsystem through the window's own controls.
#include "catalogue/Tdbhouse.h"
#include "monitor/ui/DisplayArea.h"
#include "snapshot/ui/SnapshotGallery.h"
#include "support/FakeDatePicker.h"
#include "support/MainWindowFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QtTest>

class TfmainCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void snapshotsOfTheSelectedPane();
    void queryPlayAndDeleteOnTheQueryPage();
    void datePickerFillsTheFromDateAndMovesOn();
    void settingsMenuShowsTheDialog();
};

void TfmainCommandsTest::snapshotsOfTheSelectedPane()
{
    MainWindowFixture f;
    Tfmain &w = *f.window;
    QImage picture(64, 48, QImage::Format_RGB32);
    picture.fill(Qt::blue);
    w.frameSlots().slot(2).publish(picture);
    f.settings->strbcpathz = f.folder;
    QVERIFY(QDir(f.folder).mkdir("zpjpg"));

    w.BitBtn15->click(); // no pane selected: nothing
    QCOMPARE(w.ImageEnMView1->count(), 0);
    w.selectPane(42);
    w.BitBtn15->click();
    QCOMPARE(w.ImageEnMView1->count(), 1);
    QCOMPARE(QImage(f.folder + "zpjpg/20240312083005.bmp").size(), QSize(64, 48));

    // "返回" in the enlarged view clears the selection, so "抓拍" does nothing.
    w.BitBtn17Click();
    w.Panel2->SpeedButton10->click();
    w.BitBtn15->click();
    QCOMPARE(w.ImageEnMView1->count(), 1);

    // No snapshot folder: the entry stays and the operator reads why.
    f.settings->strbcpathz = f.folder + "other/";
    w.selectPane(22);
    w.BitBtn15->click();
    QCOMPARE(w.ImageEnMView1->count(), 2);
    QCOMPARE(f.prompter.shown.size(), 1);
    QVERIFY2(f.prompter.shown[0].text.contains(f.folder + "other/zpjpg/"), qPrintable(f.prompter.shown[0].text));

    w.BitBtn16->click();
    QCOMPARE(f.desktop.opened, QStringList{f.folder + "other/zpjpg"});
    QTest::mouseDClick(w.ImageEnMView1->viewport(), Qt::LeftButton);
    QCOMPARE(w.ImageEnMView1->count(), 0);
}

void TfmainCommandsTest::queryPlayAndDeleteOnTheQueryPage()
{
    MainWindowFixture f;
    f.window->show();
    const QDateTime day = f.clock.moment;
    QStringList files;
    for (int camera = 1; camera <= 2; ++camera) {
        const QString name = day.toString("yyyyMMddHHmmss") + QString("_%1.mpg").arg(camera);
        QFile file(f.folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        files << file.fileName();
        f.dbhouse->insertRecording(day, QDateTime(day.date(), QTime()), name, file.fileName(), camera);
    }

    f.window->pg1->setCurrentWidget(f.window->TabSheet2);
    QCOMPARE(f.window->DBGrid1->model()->rowCount(), 2);
    QCOMPARE(f.window->DBGrid1->model()->columnCount(), 4);

    f.window->ComboBox3->setCurrentText("2");
    f.window->SpeedButton12->click();
    QCOMPARE(f.window->DBGrid1->model()->rowCount(), 1);
    f.window->SpeedButton6->click();
    QCOMPARE(f.desktop.opened, QStringList{files[1]});

    f.prompter.yesAnswers = {true};
    f.window->SpeedButton8->click();
    QCOMPARE(f.prompter.shown.last().caption, QString("询问"));
    QVERIFY(!QFile::exists(files[1]));
    QVERIFY(QFile::exists(files[0]));
    QCOMPARE(f.window->DBGrid1->model()->rowCount(), 0);
}

void TfmainCommandsTest::datePickerFillsTheFromDateAndMovesOn()
{
    MainWindowFixture f;
    FakeDatePicker picker;
    picker.answer = QDate(2024, 2, 29);
    f.services.datePicker = &picker;
    f.makeWindow();
    f.window->show();
    f.window->pg1->setCurrentWidget(f.window->TabSheet2);
    f.window->activateWindow();
    f.window->Edit9->setFocus();
    QTRY_VERIFY(f.window->BitBtn13->isVisible());
    f.window->BitBtn13->click();
    QCOMPARE(picker.shown, 1);
    QCOMPARE(f.window->Edit9->text(), QString("2024-02-29"));
    QTRY_VERIFY(f.window->Edit10->hasFocus());
    QVERIFY(f.window->BitBtn14->isVisible());
}

void TfmainCommandsTest::settingsMenuShowsTheDialog()
{
    MainWindowFixture f;
    f.window->Saveframes1->trigger();
    QCOMPARE(f.settingsDialogsShown, 1);
}

QTEST_MAIN(TfmainCommandsTest)
#include "tst_TfmainCommands.moc"
