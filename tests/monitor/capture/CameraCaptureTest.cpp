#include "common/AppError.h"
#include "monitor/capture/CameraCapture.h"
#include "support/FakeCaptureBackend.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace {

// Binds the first device, with frames announced, and runs it.
void startFirstDevice(CameraCapture &capture)
{
    capture.selectInput(0, 0);
    capture.setSampleGrabbing(true);
    capture.connectDevice();
    capture.run();
}

} // namespace

class CameraCaptureTest : public QObject
{
    Q_OBJECT

private slots:
    void selectInputBindsByNameAndInstance_data();
    void selectInputBindsByNameAndInstance();
    void connectReadsTheBoundDevicesFormats();
    void connectFailsWithoutBoundDeviceOrWhenDeviceRefuses();
    void runUsesCaptureSizeAndFailsWhenDeviceRefuses();
    void framesAreAnnouncedOnlyWithSampleGrabbing();
    void failureWhileRunningIsReportedOnce();
    void disconnectFromInsideAFrameHandlerIsSafe();
    void disconnectIsHarmlessWhenNotConnected();
    void lossIsReportedOnceWhicheverWayPicturesStop_data();
    void lossIsReportedOnceWhicheverWayPicturesStop();
    void picturesNobodyTakesDoNotCountAsLoss();
    void reconnectFollowsTheCamerasIdentity_data();
    void reconnectFollowsTheCamerasIdentity();
    void failedReconnectLeavesTheCameraLostQuietly_data();
    void failedReconnectLeavesTheCameraLostQuietly();
    void disconnectEndsTheLoss();
};

void CameraCaptureTest::selectInputBindsByNameAndInstance_data()
{
    QTest::addColumn<QStringList>("devices");
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("instance");
    QTest::addColumn<int>("expectedIndex");

    const QStringList sameName{"USB 视频设备", "USB 视频设备", "USB 视频设备", "USB 视频设备"};
    const QStringList distinct{"Cam A", "Cam B", "Cam C"};
    const QStringList mixed{"Cam A", "Cam B", "Cam A", "Cam B"};

    QTest::newRow("same names, first") << sameName << 0 << 0 << 0;
    QTest::newRow("same names, fourth") << sameName << 0 << 3 << 3;
    QTest::newRow("same names, instance beyond") << sameName << 0 << 4 << -1;
    QTest::newRow("distinct, third by position") << distinct << 2 << 0 << 2;
    QTest::newRow("distinct, second instance of unique name") << distinct << 0 << 1 << -1;
    QTest::newRow("mixed, second Cam B") << mixed << 1 << 1 << 3;
    QTest::newRow("mixed, position names a later duplicate") << mixed << 2 << 0 << 0;
    QTest::newRow("position beyond list") << distinct << 3 << 0 << -1;
    QTest::newRow("negative position") << distinct << -1 << 0 << -1;
    QTest::newRow("negative instance") << distinct << 0 << -1 << -1;
    QTest::newRow("no devices") << QStringList() << 0 << 0 << -1;
}

void CameraCaptureTest::selectInputBindsByNameAndInstance()
{
    QFETCH(QStringList, devices);
    QFETCH(int, position);
    QFETCH(int, instance);
    QFETCH(int, expectedIndex);

    FakeCaptureBackend backend;
    for (const QString &name : devices)
        backend.addDevice(name);
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);
    capture.selectInput(position, instance);
    QCOMPARE(capture.boundDeviceIndex(), expectedIndex);
}

void CameraCaptureTest::connectReadsTheBoundDevicesFormats()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A", {{"MJPG", 1280, 720}});
    backend.addDevice("Cam B", {{"YUYV", 640, 480}, {"MJPG", 1920, 1080}});
    CameraCapture capture(&backend);
    capture.selectInput(1, 0);
    capture.setSampleGrabbing(true);

    QVERIFY(!capture.isConnected());
    QVERIFY(capture.videoFormats().isEmpty());
    capture.connectDevice();
    QVERIFY(capture.isConnected());
    QCOMPARE(capture.videoFormats().size(), 2);
    QCOMPARE(capture.videoFormats()[1].name, QString("MJPG"));
    QCOMPARE(capture.videoFormats()[1].maxWidth, 1920);

    capture.disconnectDevice();
    QVERIFY(!capture.isConnected());
    QVERIFY(capture.videoFormats().isEmpty());
}

void CameraCaptureTest::connectFailsWithoutBoundDeviceOrWhenDeviceRefuses()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A");
    CameraCapture capture(&backend);

    capture.selectInput(5, 0);
    QVERIFY_THROWS_EXCEPTION(AppError, capture.connectDevice());
    QVERIFY(!capture.isConnected());

    backend.setFailure(0, FakeCaptureBackend::Failure::AtConnect);
    capture.selectInput(0, 0);
    QVERIFY_THROWS_EXCEPTION(AppError, capture.connectDevice());
    QVERIFY(!capture.isConnected());

    CameraCapture withoutBackend;
    withoutBackend.selectInput(0, 0);
    QVERIFY_THROWS_EXCEPTION(AppError, withoutBackend.connectDevice());
}

void CameraCaptureTest::runUsesCaptureSizeAndFailsWhenDeviceRefuses()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A", {{"MJPG", 1280, 720}});
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);

    QVERIFY_THROWS_EXCEPTION(AppError, capture.setCaptureSize(640, 480));   // not connected
    QVERIFY_THROWS_EXCEPTION(AppError, capture.run());
    capture.connectDevice();
    QVERIFY_THROWS_EXCEPTION(AppError, capture.setCaptureSize(0, 480));

    capture.setCaptureSize(320, 240);
    capture.run();
    QVERIFY(capture.isRunning());
    QCOMPARE(backend.lastOpenedSize(), QSize(320, 240));
    capture.run();   // already running: no second session
    QCOMPARE(backend.openSessionCount(), 1);

    capture.disconnectDevice();
    QVERIFY(!capture.isRunning());
    QTRY_COMPARE(backend.session(0), nullptr);   // released once the event loop ran

    backend.setFailure(0, FakeCaptureBackend::Failure::AtRun);
    capture.connectDevice();
    QVERIFY_THROWS_EXCEPTION(AppError, capture.run());
    QVERIFY(!capture.isRunning());
    QVERIFY(capture.isConnected());
}

void CameraCaptureTest::framesAreAnnouncedOnlyWithSampleGrabbing()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A", {{"RGB", 64, 48}});
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);
    capture.connectDevice();
    capture.run();
    QSignalSpy frames(&capture, &CameraCapture::frameReady);

    backend.session(0)->deliverFrame(Qt::red);
    QTest::qWait(20);
    QCOMPARE(frames.size(), 0);

    capture.setSampleGrabbing(true);
    backend.session(0)->deliverFrame(Qt::blue);
    QTRY_COMPARE(frames.size(), 1);
    const CapturedFrame frame = capture.takeLatestFrame();
    QCOMPARE(frame.image.size(), QSize(64, 48));
    QCOMPARE(frame.image.format(), QImage::Format_RGB32);
    QCOMPARE(frame.image.pixelColor(0, 0), QColor(Qt::blue));
    QVERIFY(capture.takeLatestFrame().image.isNull());
}

void CameraCaptureTest::failureWhileRunningIsReportedOnce()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A");
    CameraCapture capture(&backend);
    startFirstDevice(capture);
    QSignalSpy ended(&capture, &CameraCapture::signalLost);
    QSignalSpy restored(&capture, &CameraCapture::signalRestored);

    FakeCaptureSession *session = backend.session(0);
    session->failWhileRunning("gone");
    session->failWhileRunning("gone again");
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(ended.first().first().toString(), QString("gone"));
    QVERIFY(!capture.isRunning());
    QVERIFY(capture.isLost());
    QVERIFY(capture.isConnected());
    QTest::qWait(20);
    QCOMPARE(ended.size(), 1);

    // The camera can be started again after the failure.
    capture.run();
    QVERIFY(capture.isRunning());
    QVERIFY(!capture.isLost());
    QCOMPARE(restored.size(), 1);
    QCOMPARE(backend.openSessionCount(), 2);
}

// The main window may close a camera from its frame handler; the session that
// is emitting must not be destroyed under its own feet.
void CameraCaptureTest::disconnectFromInsideAFrameHandlerIsSafe()
{
    FakeCaptureBackend backend;
    backend.addDevice("Cam A");
    CameraCapture capture(&backend);
    startFirstDevice(capture);
    int handled = 0;
    connect(&capture, &CameraCapture::frameReady, this, [&] {
        ++handled;
        capture.disconnectDevice();
    });

    backend.session(0)->deliverFrame();
    QTRY_COMPARE(handled, 1);
    QTRY_COMPARE(backend.session(0), nullptr);
    QVERIFY(!capture.isConnected());
}

void CameraCaptureTest::disconnectIsHarmlessWhenNotConnected()
{
    FakeCaptureBackend backend;
    CameraCapture capture(&backend);
    capture.disconnectDevice();
    capture.disconnectDevice();
    QVERIFY(!capture.isConnected());
    QVERIFY(capture.takeLatestFrame().image.isNull());
}

namespace {

constexpr int shortTimeoutMs = 100;

// A backend with two cameras of one model in ports A and B and another camera;
// the capture runs the one in port B at 320x240 and watches with a short timeout.
struct LossFixture
{
    FakeCaptureBackend backend;
    CameraCapture capture{&backend};

    LossFixture()
    {
        backend.addDevice("Cam", {{"RGB", 640, 480}}, {}, "usb-A");
        backend.addDevice("Cam", {{"RGB", 640, 480}}, {}, "usb-B");
        backend.addDevice("Other", {{"RGB", 640, 480}}, {}, "usb-C");
        capture.setNoPictureTimeoutMs(shortTimeoutMs);
        capture.selectInput(0, 1);
        capture.setSampleGrabbing(true);
        capture.connectDevice();
        capture.setCaptureSize(320, 240);
        capture.run();
    }

    // Pulls camera B and waits until the capture has noticed.
    bool loseCameraB()
    {
        QSignalSpy lost(&capture, &CameraCapture::signalLost);
        backend.unplug(1);
        return lost.wait(5000) && capture.isLost();
    }
};

} // namespace

void CameraCaptureTest::lossIsReportedOnceWhicheverWayPicturesStop_data()
{
    QTest::addColumn<bool>("captureEnds");
    QTest::newRow("the capture ends") << true;
    QTest::newRow("the pictures stop") << false;
}

void CameraCaptureTest::lossIsReportedOnceWhicheverWayPicturesStop()
{
    QFETCH(bool, captureEnds);
    LossFixture f;
    QSignalSpy lost(&f.capture, &CameraCapture::signalLost);
    QSignalSpy frames(&f.capture, &CameraCapture::frameReady);
    QPointer<FakeCaptureSession> session = f.backend.session(1);
    session->deliverFrame();
    QTRY_COMPARE(frames.size(), 1);
    f.capture.takeLatestFrame();

    if (captureEnds)
        session->failWhileRunning("read error");
    // else: the session simply delivers nothing more

    QTRY_COMPARE(lost.size(), 1);
    QVERIFY(f.capture.isLost());
    QVERIFY(!f.capture.isRunning());
    QVERIFY(f.capture.isConnected());
    QCOMPARE(f.capture.boundDeviceIdentity(), QString("usb-B"));
    QTRY_VERIFY(session.isNull());   // the session is released
    QTest::qWait(3 * shortTimeoutMs);
    QCOMPARE(lost.size(), 1);
}

// The main window may be slow to take a frame: the mailbox then announces no
// newer ones, but the camera still delivers and is not lost.
void CameraCaptureTest::picturesNobodyTakesDoNotCountAsLoss()
{
    LossFixture f;
    QSignalSpy lost(&f.capture, &CameraCapture::signalLost);
    f.backend.session(1)->deliverEvery(10);
    QTest::qWait(5 * shortTimeoutMs);
    QCOMPARE(lost.size(), 0);
    QVERIFY(f.capture.isRunning());
}

void CameraCaptureTest::reconnectFollowsTheCamerasIdentity_data()
{
    QTest::addColumn<QString>("arriving");   // the identity of the camera plugged in, if any
    QTest::addColumn<bool>("reconnects");

    QTest::newRow("back under another index") << "usb-B" << true;
    QTest::newRow("a camera of the same name in another port") << "usb-D" << false;
    QTest::newRow("not back") << "" << false;
}

void CameraCaptureTest::reconnectFollowsTheCamerasIdentity()
{
    QFETCH(QString, arriving);
    QFETCH(bool, reconnects);
    LossFixture f;
    CameraCapture other(&f.backend);
    other.selectInput(2, 0);
    QVERIFY(f.loseCameraB());
    QSignalSpy restored(&f.capture, &CameraCapture::signalRestored);
    QSignalSpy frames(&f.capture, &CameraCapture::frameReady);

    if (arriving == "usb-B")
        f.backend.replug(arriving, 0);
    else if (!arriving.isEmpty())
        f.backend.addDevice("Cam", {{"RGB", 640, 480}}, {}, arriving);

    QCOMPARE(f.capture.tryReconnect(), reconnects);
    // Indices moved; every capture still finds its own camera.
    QCOMPARE(other.boundDeviceIndex(), int(f.backend.deviceNames().indexOf("Other")));
    if (!reconnects) {
        QVERIFY(f.capture.isLost());
        QCOMPARE(f.backend.openSessionCount(), 1);
        return;
    }
    QCOMPARE(f.capture.boundDeviceIndex(), 0);
    QVERIFY(f.capture.isReconnecting());
    QVERIFY(!f.capture.tryReconnect());   // one attempt at a time
    QCOMPARE(f.backend.lastOpenedSize(), QSize(320, 240));

    f.backend.session(0)->deliverFrame(Qt::green);
    QTRY_COMPARE(restored.size(), 1);
    QTRY_COMPARE(frames.size(), 1);
    QVERIFY(f.capture.isRunning());
    QVERIFY(!f.capture.isLost());
    QCOMPARE(f.capture.takeLatestFrame().image.pixelColor(0, 0), QColor(Qt::green));
}

void CameraCaptureTest::failedReconnectLeavesTheCameraLostQuietly_data()
{
    QTest::addColumn<QString>("attempt");
    QTest::newRow("refuses to start") << "refuses";
    QTest::newRow("starts, then fails") << "fails";
    QTest::newRow("starts, sends nothing") << "silent";
}

void CameraCaptureTest::failedReconnectLeavesTheCameraLostQuietly()
{
    QFETCH(QString, attempt);
    LossFixture f;
    QVERIFY(f.loseCameraB());
    QSignalSpy lost(&f.capture, &CameraCapture::signalLost);
    QSignalSpy restored(&f.capture, &CameraCapture::signalRestored);
    const int index = f.backend.replug("usb-B");

    if (attempt == "refuses") {
        f.backend.setFailure(index, FakeCaptureBackend::Failure::AtRun);
        QVERIFY(!f.capture.tryReconnect());
    } else {
        QVERIFY(f.capture.tryReconnect());
        if (attempt == "fails")
            f.backend.session(index)->failWhileRunning("still broken");
        QTRY_VERIFY(!f.capture.isReconnecting());
    }
    QVERIFY(f.capture.isLost());
    QCOMPARE(lost.size(), 0);
    QCOMPARE(restored.size(), 0);

    // The next try can still bring it back.
    f.backend.setFailure(index, FakeCaptureBackend::Failure::None);
    QVERIFY(f.capture.tryReconnect());
    f.backend.session(index)->deliverFrame();
    QTRY_COMPARE(restored.size(), 1);
    QVERIFY(f.capture.isRunning());
}

// Monitoring stop closes a lost camera, even in the middle of an attempt.
void CameraCaptureTest::disconnectEndsTheLoss()
{
    LossFixture f;
    QVERIFY(f.loseCameraB());
    const int index = f.backend.replug("usb-B");
    QVERIFY(f.capture.tryReconnect());
    QPointer<FakeCaptureSession> attempt = f.backend.session(index);
    QSignalSpy restored(&f.capture, &CameraCapture::signalRestored);

    f.capture.disconnectDevice();
    QVERIFY(!f.capture.isLost());
    QVERIFY(!f.capture.isReconnecting());
    QVERIFY(!f.capture.tryReconnect());
    QTRY_VERIFY(attempt.isNull());
    QCOMPARE(restored.size(), 0);

    // The next monitoring start opens it as usual.
    f.capture.connectDevice();
    f.capture.run();
    QVERIFY(f.capture.isRunning());
}

QTEST_GUILESS_MAIN(CameraCaptureTest)
#include "CameraCaptureTest.moc"
