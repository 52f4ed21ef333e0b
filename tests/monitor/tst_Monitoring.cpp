// Monitoring control over scripted cameras, without any window: which device
// each camera takes, which cameras open and close, the opened flags, the
// device refresh and the path of a frame to its slot.
#include "common/FrameSlots.h"
#include "monitor/MonitoringControl.h"
#include "monitor/capture/CameraCapture.h"
#include "settings/TGlobal.h"
#include "support/FakeCaptureBackend.h"
#include "support/FakeClock.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Monitoring control over scripted cameras, with its own settings file.
struct MonitoringRig
{
    MonitoringRig()
    {
        settings = std::make_unique<TGlobal>(sandbox.path() + "/Kamvist.ini");
        GlobalSettings = settings.get();
        MonitoringControl::Hooks hooks;
        hooks.layOutPanes = [this] { ++layouts; };
        hooks.blankPanes = [this](int camera) { blanked << camera; };
        hooks.afterStart = [this] { steps << "after start"; };
        hooks.beforeStop = [this] { steps << "before stop"; };
        monitoring.setHooks(hooks);
    }
    ~MonitoringRig() { GlobalSettings = nullptr; }

    QTemporaryDir sandbox;
    std::unique_ptr<TGlobal> settings;
    FakeCaptureBackend cameras;
    FakeClock clock;
    FrameSlots frameSlots;
    MonitoringControl monitoring{&cameras, frameSlots, clock};
    int layouts = 0;
    QList<int> blanked;
    QStringList steps;
};

// Red letters on the middle band: the "no signal" text.
bool showsNoSignal(const QImage &picture)
{
    const int y0 = picture.height() * 2 / 5;
    for (int y = y0; y < picture.height() * 3 / 5; ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 200 && c.green() < 120)
                return true;
        }
    return false;
}

} // namespace

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
    void failedCameraShowsNoSignalAndNextStartRetries();
    void startAndStopRunTheirStepsInOrder();
    void frameIsStampedForTheSlotOnly();
    void lostCameraIsMarkedAndComesBack_data();
    void lostCameraIsMarkedAndComesBack();
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
    MonitoringRig f;
    for (const QString &name : devices)
        f.cameras.addDevice(name);
    f.settings->strstsl = "4";
        f.monitoring.refreshDevices();
    f.monitoring.start();
    for (int camera = 1; camera <= 4; ++camera) {
        const int expected = boundDevices[camera - 1];
        QCOMPARE(f.monitoring.capture(camera).boundDeviceIndex(), expected);
        QCOMPARE(f.monitoring.cameraOpened(camera), expected >= 0);
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
    MonitoringRig f;
    for (const char *name : {"A", "B", "C", "D"})
        f.cameras.addDevice(name);
    f.settings->strstsl = count;
        f.monitoring.refreshDevices();
    f.monitoring.start();
    QVERIFY(f.monitoring.monitoringOn());
    for (int camera = 1; camera <= 4; ++camera) {
        QCOMPARE(f.monitoring.capture(camera).isRunning(), camera <= opened);
        QCOMPARE(f.monitoring.cameraOpened(camera), camera <= opened);
    }
    QCOMPARE(f.cameras.lastOpenedSize(), opened ? QSize(640, 480) : QSize());

    f.monitoring.stop();
    QVERIFY(!f.monitoring.monitoringOn());
    for (int camera = 1; camera <= 4; ++camera) {
        QVERIFY(!f.monitoring.capture(camera).isConnected());
        QCOMPARE(f.monitoring.cameraOpened(camera), camera <= opened); // flags outlive the close
    }
}

void MonitoringTest::secondCameraFailsWithOneDevice()
{
    MonitoringRig f;
    f.cameras.addDevice("Only camera");
    f.settings->strstsl = "2";
        f.monitoring.refreshDevices();
    f.monitoring.start();
    QVERIFY(f.monitoring.cameraOpened(1));
    QVERIFY(!f.monitoring.cameraOpened(2));
    QVERIFY(f.monitoring.capture(1).isRunning());
}

void MonitoringTest::noDeviceAtAllStillSwitchesTheButtons()
{
    MonitoringRig f;
    f.settings->strstsl = "4";
        f.monitoring.refreshDevices();
    QVERIFY(f.monitoring.deviceNames().isEmpty());
    QCOMPARE(f.monitoring.formatPosition(), -1);
    f.monitoring.start();
    QVERIFY(f.monitoring.monitoringOn());
    QCOMPARE(f.monitoring.sameNameCameras(), QString("0"));
    for (int camera = 1; camera <= 4; ++camera)
        QVERIFY(!f.monitoring.cameraOpened(camera));
    f.monitoring.stop();
    QVERIFY(!f.monitoring.monitoringOn());
}

void MonitoringTest::noFormatAtRefreshFailsEveryOpen()
{
    MonitoringRig f;
    f.cameras.addDevice("No formats", {});
    f.cameras.addDevice("Fine");
    f.settings->strstsl = "2";
        f.monitoring.refreshDevices();
    f.monitoring.start();
    QVERIFY(!f.monitoring.cameraOpened(1));
    QVERIFY(!f.monitoring.cameraOpened(2)); // camera 2 has formats, but the position is none
}

void MonitoringTest::refreshDoesNotStopARunningCamera1()
{
    MonitoringRig f;
    f.cameras.addDevice("Cam");
        f.monitoring.refreshDevices();
    QVERIFY(!f.monitoring.capture(1).isConnected()); // the refresh leaves an idle camera 1 closed
    f.monitoring.start();
    QVERIFY(f.monitoring.capture(1).isRunning());
    f.monitoring.refreshDevices();
    QVERIFY(f.monitoring.capture(1).isRunning());
    QCOMPARE(f.monitoring.formatPosition(), 0);
}

void MonitoringTest::failedCameraShowsNoSignalAndNextStartRetries()
{
    MonitoringRig f;
    const int device = f.cameras.addDevice("Cam");
    f.monitoring.refreshDevices();
    f.monitoring.start();
    f.cameras.session(device)->deliverFrame(Qt::red);
    QTRY_VERIFY(!f.frameSlots.slot(1).current().isNull());
    const QImage last = f.frameSlots.slot(1).current();

    f.cameras.session(device)->failWhileRunning();
    QTRY_VERIFY(!f.monitoring.capture(1).isRunning());
    QVERIFY(f.frameSlots.slot(1).current() != last);
    QVERIFY(showsNoSignal(f.frameSlots.slot(1).current()));

    const int sessionsBefore = f.cameras.openSessionCount();
    f.monitoring.stop();
    f.monitoring.start();
    QCOMPARE(f.cameras.openSessionCount(), sessionsBefore + 1);
    QVERIFY(f.monitoring.capture(1).isRunning());
}

void MonitoringTest::startAndStopRunTheirStepsInOrder()
{
    MonitoringRig f;
    f.cameras.addDevice("A");
    f.cameras.addDevice("B");
    f.settings->strstsl = "2";
    f.monitoring.refreshDevices();
    QList<bool> states;
    connect(&f.monitoring, &MonitoringControl::monitoringChanged, this, [&](bool on) {
        states << on;
        // Recording starts after the cameras opened and stops before they close.
        f.steps << QString("%1 with camera 1 %2").arg(on ? "on" : "off").arg(f.monitoring.capture(1).isRunning());
    });
    f.monitoring.start();
    QCOMPARE(f.layouts, 1);
    QCOMPARE(f.blanked, (QList<int>{1, 2}));
    QVERIFY(f.monitoring.capture(2).isRunning());
    f.monitoring.stop();
    QCOMPARE(states, (QList<bool>{true, false}));
    QCOMPARE(f.steps, (QStringList{"on with camera 1 0", "after start", "off with camera 1 1", "before stop"}));
    QVERIFY(!f.monitoring.capture(1).isConnected());
}

void MonitoringTest::frameIsStampedForTheSlotOnly()
{
    MonitoringRig f;
    const int device = f.cameras.addDevice("Cam");
    f.monitoring.refreshDevices();
    f.monitoring.start();
    QImage presented;
    connect(&f.monitoring, &MonitoringControl::framePresented, this,
            [&](int camera, const QImage &picture) { presented = camera == 1 ? picture : QImage(); });
    f.cameras.session(device)->deliverFrame(Qt::black);
    QTRY_VERIFY(!presented.isNull());
    const QImage stamped = f.frameSlots.slot(1).current();
    const auto whiteInCorner = [](const QImage &picture) {
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 120; ++x)
                if (picture.pixelColor(x, y).lightness() > 200)
                    return true;
        return false;
    };
    QVERIFY(whiteInCorner(stamped));
    QVERIFY(!whiteInCorner(presented));
}


void MonitoringTest::lostCameraIsMarkedAndComesBack_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("unplugged, back as another node") << "unplug";
    QTest::newRow("stops sending") << "stall";
}

// A camera that stops sending shows its last picture dimmed and marked, in its
// pane and its frame slot with a running time stamp, is retried by itself on the
// same physical device, and continues in the same capture object.
void MonitoringTest::lostCameraIsMarkedAndComesBack()
{
    QFETCH(QString, how);
    MonitoringRig f;
    f.cameras.addDevice("Cam A", {{"RGB", 640, 480}}, {}, "usb-1");
    const int device = f.cameras.addDevice("Cam B", {{"RGB", 640, 480}}, {}, "usb-2");
    f.settings->strstsl = "2";
    f.monitoring.setNoPictureTimeoutMs(500);
    f.monitoring.setRetryIntervalMs(100);
    f.monitoring.refreshDevices();
    f.monitoring.start();
    f.cameras.session(0)->deliverEvery(30); // camera 1 sends all along
    QSignalSpy lost(&f.monitoring, &MonitoringControl::cameraLost);
    QSignalSpy restored(&f.monitoring, &MonitoringControl::cameraRestored);
    f.cameras.session(device)->deliverFrame(Qt::blue);
    QTRY_COMPARE(f.frameSlots.slot(2).current().pixelColor(320, 400), QColor(Qt::blue));
    f.cameras.session(device)->deliverEvery(30);
    QTest::qWait(1000);
    QCOMPARE(lost.size(), 0); // a camera that sends is never lost

    if (how == "unplug")
        f.cameras.unplug(device);
    else
        f.cameras.session(device)->stall();
    QTRY_COMPARE(lost.size(), 1);
    QCOMPARE(lost[0][0].toInt(), 2);
    QCOMPARE(f.monitoring.lostCameras(), QList<int>{2});
    const QImage marked = f.frameSlots.slot(2).current();
    QVERIFY(showsNoSignal(marked));
    QVERIFY(marked.pixelColor(320, 400).blue() < 128); // the last picture, dimmed
    f.clock.moment = f.clock.moment.addSecs(1);
    QTRY_VERIFY(f.frameSlots.slot(2).current() != marked); // the stamp runs on

    // Back on the same port, under another index; the other camera is never touched.
    int back = device;
    if (how == "unplug") {
        f.cameras.addDevice("Cam C", {{"RGB", 640, 480}}, {}, "usb-3");
        back = f.cameras.replug("usb-2");
        QVERIFY(back != device);
    }
    QTRY_VERIFY(f.cameras.session(back) && f.monitoring.capture(2).isReconnecting());
    f.cameras.session(back)->deliverFrame(Qt::green);
    QTRY_COMPARE(restored.size(), 1);
    QTRY_COMPARE(f.frameSlots.slot(2).current().pixelColor(320, 400), QColor(Qt::green));
    f.cameras.session(back)->deliverEvery(30);
    QVERIFY(f.monitoring.lostCameras().isEmpty());
    QCOMPARE(f.monitoring.capture(2).boundDeviceIdentity(), QString("usb-2"));
    QVERIFY(!showsNoSignal(f.frameSlots.slot(2).current()));
    QCOMPARE(lost.size(), 1);
    f.monitoring.stop();
}

QTEST_MAIN(MonitoringTest)
#include "tst_Monitoring.moc"
