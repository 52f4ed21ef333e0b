// Monitoring control over scripted cameras: which device each camera takes,
// which cameras open and close, the opened flags, and the device refresh.
#include "monitor/DisplayArea.h"
#include "monitor/ImageView.h"
#include "monitor/capture/CameraCapture.h"
#include "support/MainWindowFixture.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>

class MonitoringTest : public QObject
{
    Q_OBJECT
private slots:
    void camerasTakeDevicesByTheSameNameRule_data();
    void camerasTakeDevicesByTheSameNameRule();
    void camerasOpenAndCloseForTheCount_data();
    void camerasOpenAndCloseForTheCount();
    void secondCameraFailsWithOneDevice();
    void noDeviceAtAllStillSwitchesTheButtons();
    void noFormatAtRefreshFailsEveryOpen();
    void refreshDoesNotStopARunningCamera1();
    void failedCameraKeepsItsLastPictureAndNextStartRetries();
    void settingsButtonsShowTheDeviceDialog();
    void settingsMenuReopensCamerasOnlyWhileMonitoring();
};

void MonitoringTest::camerasTakeDevicesByTheSameNameRule_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<QList<int>>("boundDevices"); // for cameras 1..4, -1 = none
    QTest::newRow("different names: N-th device")
        << QStringList{"Cam A", "Cam B", "Cam C", "Cam D"} << QList<int>{0, 1, 2, 3};
    QTest::newRow("same model with the marker: n-th of that name")
        << QStringList{"USB 视频设备", "USB 视频设备", "USB 视频设备", "USB 视频设备"} << QList<int>{0, 1, 2, 3};
    QTest::newRow("marker test ignores ASCII case")
        << QStringList{"usb 视频设备 #1", "Other", "usb 视频设备 #1", "usb 视频设备 #1"} << QList<int>{0, 2, 3, -1};
    QTest::newRow("same name without the marker: cameras 1 and 2 share the first")
        << QStringList{"Webcam", "Webcam"} << QList<int>{0, 0, -1, -1};
}

void MonitoringTest::camerasTakeDevicesByTheSameNameRule()
{
    QFETCH(QStringList, devices);
    QFETCH(QList<int>, boundDevices);
    MainWindowFixture f;
    for (const QString &name : devices)
        f.cameras.addDevice(name);
    f.settings->strstsl = "4";
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    for (int camera = 1; camera <= 4; ++camera) {
        const int expected = boundDevices[camera - 1];
        QCOMPARE(f.window->capture(camera).boundDeviceIndex(), expected);
        QCOMPARE(f.window->cameraOpened(camera), expected >= 0);
    }
}

void MonitoringTest::camerasOpenAndCloseForTheCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("opened");
    QTest::newRow("1") << "1" << 1;
    QTest::newRow("3") << "3" << 3;
    QTest::newRow("4") << "4" << 4;
    QTest::newRow("0 opens none") << "0" << 0;
    QTest::newRow("5 opens none") << "5" << 0;
    QTest::newRow("empty opens none") << "" << 0;
}

void MonitoringTest::camerasOpenAndCloseForTheCount()
{
    QFETCH(QString, count);
    QFETCH(int, opened);
    MainWindowFixture f;
    for (const char *name : {"A", "B", "C", "D"})
        f.cameras.addDevice(name);
    f.settings->strstsl = count;
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    QVERIFY(f.window->monitoringOn());
    for (int camera = 1; camera <= 4; ++camera) {
        QCOMPARE(f.window->capture(camera).isRunning(), camera <= opened);
        QCOMPARE(f.window->cameraOpened(camera), camera <= opened);
    }
    QCOMPARE(f.cameras.lastOpenedSize(), opened ? QSize(640, 480) : QSize());

    f.window->BitBtn11Click();
    QVERIFY(!f.window->monitoringOn());
    for (int camera = 1; camera <= 4; ++camera) {
        QVERIFY(!f.window->capture(camera).isConnected());
        QCOMPARE(f.window->cameraOpened(camera), camera <= opened); // flags outlive the close
    }
}

void MonitoringTest::secondCameraFailsWithOneDevice()
{
    MainWindowFixture f;
    f.cameras.addDevice("Only camera");
    f.settings->strstsl = "2";
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    QVERIFY(f.window->cameraOpened(1));
    QVERIFY(!f.window->cameraOpened(2));
    QVERIFY(f.window->capture(1).isRunning());
    QVERIFY(f.prompter.shown.isEmpty());
}

void MonitoringTest::noDeviceAtAllStillSwitchesTheButtons()
{
    MainWindowFixture f;
    f.settings->strstsl = "4";
    f.window->show();
    f.window->FormActivate();
    QCOMPARE(f.window->ComboBox1->count(), 0);
    QCOMPARE(f.window->ListBox1->currentRow(), -1);
    f.window->BitBtn10Click();
    QVERIFY(f.window->monitoringOn());
    QCOMPARE(f.window->sameNameCameras(), QString("0"));
    for (int camera = 1; camera <= 4; ++camera)
        QVERIFY(!f.window->cameraOpened(camera));
    f.window->BitBtn11Click();
    QVERIFY(!f.window->monitoringOn());
}

void MonitoringTest::noFormatAtRefreshFailsEveryOpen()
{
    MainWindowFixture f;
    f.cameras.addDevice("No formats", {});
    f.cameras.addDevice("Fine");
    f.settings->strstsl = "2";
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    QVERIFY(!f.window->cameraOpened(1));
    QVERIFY(!f.window->cameraOpened(2)); // camera 2 has formats, but the position is none
}

void MonitoringTest::refreshDoesNotStopARunningCamera1()
{
    MainWindowFixture f;
    f.cameras.addDevice("Cam");
    f.window->show();
    f.window->FormActivate();
    QVERIFY(!f.window->capture(1).isConnected()); // the refresh leaves an idle camera 1 closed
    f.window->BitBtn10Click();
    QVERIFY(f.window->capture(1).isRunning());
    f.window->FormActivate();
    QVERIFY(f.window->capture(1).isRunning());
    QCOMPARE(f.window->ListBox1->currentRow(), 0);
}

void MonitoringTest::failedCameraKeepsItsLastPictureAndNextStartRetries()
{
    MainWindowFixture f;
    const int device = f.cameras.addDevice("Cam");
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    f.cameras.session(device)->deliverFrame(Qt::red);
    QTRY_VERIFY(!f.window->frameSlots().slot(1).current().isNull());
    const QImage last = f.window->frameSlots().slot(1).current();

    f.cameras.session(device)->failWhileRunning();
    QTRY_VERIFY(!f.window->capture(1).isRunning());
    QCOMPARE(f.window->frameSlots().slot(1).current(), last);
    QVERIFY(!f.window->displayArea()->pane(1)->picture().isNull());
    QVERIFY(f.prompter.shown.isEmpty());

    const int sessionsBefore = f.cameras.openSessionCount();
    f.window->BitBtn11Click();
    f.window->BitBtn10Click();
    QCOMPARE(f.cameras.openSessionCount(), sessionsBefore + 1);
    QVERIFY(f.window->capture(1).isRunning());
}

void MonitoringTest::settingsButtonsShowTheDeviceDialog()
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

void MonitoringTest::settingsMenuReopensCamerasOnlyWhileMonitoring()
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

QTEST_MAIN(MonitoringTest)
#include "tst_Monitoring.moc"
