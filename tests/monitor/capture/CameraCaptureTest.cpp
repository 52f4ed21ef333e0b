#include "common/AppError.h"
#include "monitor/capture/CameraCapture.h"
#include "support/FakeCaptureBackend.h"

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
    QSignalSpy ended(&capture, &CameraCapture::captureEnded);

    FakeCaptureSession *session = backend.session(0);
    session->failWhileRunning("gone");
    session->failWhileRunning("gone again");
    QTRY_COMPARE(ended.size(), 1);
    QCOMPARE(ended.first().first().toString(), QString("gone"));
    QVERIFY(!capture.isRunning());
    QVERIFY(capture.isConnected());
    QTest::qWait(20);
    QCOMPARE(ended.size(), 1);

    // The camera can be started again after the failure.
    capture.run();
    QVERIFY(capture.isRunning());
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

QTEST_GUILESS_MAIN(CameraCaptureTest)
#include "CameraCaptureTest.moc"
