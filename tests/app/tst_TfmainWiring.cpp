// Monitoring and recording on the main window: the handlers reach their
// controllers, the buttons follow monitoring, the status line, auto start and
// the rotation's pause against the page switch.
#include "common/DateText.h"
#include "monitor/capture/CameraCapture.h"
#include "record/RecordingChannel.h"
#include "support/MainWindowFixture.h"

#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>

namespace {

void addCameras(MainWindowFixture &f, int count)
{
    for (int i = 1; i <= count; ++i)
        f.cameras.addDevice(QString("Cam %1").arg(i));
}

void startMonitoring(MainWindowFixture &f, const QString &count)
{
    f.settings->strstsl = count;
    f.settings->strbcpathz = f.folder;
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10->click();
}

void deliverFrames(MainWindowFixture &f, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        for (int camera = 1; camera <= 4; ++camera) {
            CameraCapture &c = f.window->capture(camera);
            if (c.isRunning())
                f.cameras.session(c.boundDeviceIndex())->deliverFrame(QColor::fromHsv(camera * 80, 200, 200));
        }
        QTest::qWait(33);
    }
}

int catalogueRowCount(MainWindowFixture &f)
{
    f.dbhouse->queryDateRange(QDateTime(QDate(2000, 1, 1), QTime()), QDateTime(QDate(2100, 1, 1), QTime()),
                              std::nullopt);
    int rows = 0;
    for (f.dbhouse->qwjcx.first(); !f.dbhouse->qwjcx.atEnd(); f.dbhouse->qwjcx.next())
        ++rows;
    f.dbhouse->qwjcx.close();
    return rows;
}

} // namespace

class TfmainWiringTest : public QObject
{
    Q_OBJECT
private slots:
    void buttonsAndStatusLineFollowMonitoring();
    void settingsButtonsShowTheDeviceDialog();
    void settingsMenuReopensCamerasOnlyWhileMonitoring();
    void autoStartShowsItsErrors();
    void queryPageChosenInTheRotationPause();
};

void TfmainWiringTest::buttonsAndStatusLineFollowMonitoring()
{
    MainWindowFixture f;
    addCameras(f, 2);
    startMonitoring(f, "2");
    QVERIFY(!f.window->BitBtn10->isEnabled() && f.window->BitBtn11->isEnabled());
    QCOMPARE(f.window->statusLineText(),
             QString("监控中    摄像头1录像: 20240312083005_1.mpg    摄像头2录像: 20240312083005_2.mpg"));
    f.window->BitBtn11->click();
    QVERIFY(f.window->BitBtn10->isEnabled() && !f.window->BitBtn11->isEnabled());
    QCOMPARE(f.window->statusLineText(), QString("监控已关闭"));
    f.settings->strsfbcsp = "0";
    f.window->BitBtn10->click();
    QCOMPARE(f.window->statusLineText(), QString("监控中    未录像"));
    QTRY_COMPARE(f.window->statusLine->text(), QString("监控中    未录像"));
}

void TfmainWiringTest::settingsButtonsShowTheDeviceDialog()
{
    MainWindowFixture f;
    f.cameras.addDevice("A");
    f.cameras.addDevice("B");
    f.window->show();
    f.window->FormActivate();
    f.window->Button4Click();
    f.window->Button6Click(); // camera 4 has no device: nothing is shown
    QCOMPARE(f.propertyDialogsShown, QList<int>{1});
    QVERIFY(f.window->capture(2).isConnected());
    QVERIFY(!f.window->capture(2).isRunning());
}

void TfmainWiringTest::settingsMenuReopensCamerasOnlyWhileMonitoring()
{
    MainWindowFixture f;
    f.cameras.addDevice("A");
    f.cameras.addDevice("B");
    f.settings->strstsl = "2";
    f.window->show();
    f.window->FormActivate();

    f.window->Saveframes1Click();
    QVERIFY(!f.window->capture(1).isConnected()); // monitoring off: nothing opens

    f.window->BitBtn10Click();
    const int sessionsBefore = f.cameras.openSessionCount();
    f.window->Saveframes1Click();
    QVERIFY(f.window->monitoringOn());
    QCOMPARE(f.cameras.openSessionCount(), sessionsBefore + 2); // both cameras closed and opened again
    QVERIFY(f.window->capture(1).isRunning() && f.window->capture(2).isRunning());
}

// Start at logon with no catalogue: monitoring starts, and the operator is told
// that nothing is being recorded.
void TfmainWiringTest::autoStartShowsItsErrors()
{
    MainWindowFixture f(false);
    addCameras(f, 1);
    f.settings->strqyjkz = "Y";
    f.settings->strstsl = "1";
    f.settings->strbcpathz = f.folder;
    f.window->Timer1->setInterval(10);
    f.window->show();
    QTRY_VERIFY(f.window->monitoringOn());
    QTRY_COMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::Critical);
    QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("数据库")), qPrintable(f.prompter.shown[0].text));
    QVERIFY(!f.window->channel(1).isRecording());
}

// The query page chosen in the pause: monitoring stays off, nothing records under it.
void TfmainWiringTest::queryPageChosenInTheRotationPause()
{
    MainWindowFixture f;
    addCameras(f, 2);
    startMonitoring(f, "2");
    deliverFrames(f, 300);
    f.window->setRotationPauseMs(400);
    QTimer::singleShot(100, f.window, [&f] { f.window->pg1->setCurrentWidget(f.window->TabSheet2); });
    f.window->TxstwoTimer();
    QTest::qWait(800);
    QVERIFY(f.window->Txstwo->isActive());
    QVERIFY(!f.window->monitoringOn());
    QVERIFY(!f.window->channel(1).isRecording() && !f.window->channel(2).isRecording());
    QVERIFY(f.prompter.shown.isEmpty());
    QCOMPARE(catalogueRowCount(f), 2);
}

QTEST_MAIN(TfmainWiringTest)
#include "tst_TfmainWiring.moc"
