#include "FakeV4l2Io.h"

#include "common/AppError.h"
#include "monitor/capture/CameraCapture.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "monitor/capture/VirtualCameraBackend.h"

#include <QSignalSpy>
#include <QTest>
#include <algorithm>

// Runs the real lavfi capture path: open, thread, decode, convert, mailbox.
class VirtualCameraTest : public QObject
{
    Q_OBJECT

private slots:
    void listsNamesAndFormats();
    void deliversMovingFramesOfTheCaptureSize();
    void camerasLookDifferent();
    void refusesSizesBeyondItsLargestFormat();
    void disconnectWhileFramesFlowDoesNotHang();
    void unpluggedCameraIsLostAndComesBackWhenReplugged();

private:
    static CapturedFrame firstFrame(CameraCapture &capture);
    static void runAt320x240(CameraCapture &capture, int position);
    static bool topLeftShowsTheColourBar(const QImage &picture);
};

// Polls the mailbox rather than waiting for a notice: a notice that came while
// the test waited for another camera announces a frame that is still there.
CapturedFrame VirtualCameraTest::firstFrame(CameraCapture &capture)
{
    CapturedFrame frame;
    QTest::qWaitFor([&] {
        frame = capture.takeLatestFrame();
        return !frame.image.isNull();
    }, 5000);
    return frame;
}

void VirtualCameraTest::listsNamesAndFormats()
{
    VirtualCameraBackend backend(3);
    QCOMPARE(backend.deviceNames(), QStringList({"虚拟摄像头1", "虚拟摄像头2", "虚拟摄像头3"}));
    const QList<VideoFormat> formats = backend.formats(2);
    QCOMPARE(formats.size(), 3);
    QCOMPARE(QSize(formats[0].maxWidth, formats[0].maxHeight), QSize(640, 480));
    QCOMPARE(QSize(formats[1].maxWidth, formats[1].maxHeight), QSize(320, 240));
    QCOMPARE(QSize(formats[2].maxWidth, formats[2].maxHeight), QSize(1280, 960));
    QVERIFY(backend.controls(0).isEmpty());
    QVERIFY_THROWS_EXCEPTION(AppError, backend.formats(3));
}

void VirtualCameraTest::deliversMovingFramesOfTheCaptureSize()
{
    VirtualCameraBackend backend(1);
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);
    capture.setSampleGrabbing(true);
    capture.connectDevice();
    capture.setCaptureSize(640, 480);
    capture.run();

    QList<CapturedFrame> frames;
    connect(&capture, &CameraCapture::frameReady, this,
            [&] { frames.append(capture.takeLatestFrame()); });
    QTRY_VERIFY_WITH_TIMEOUT(frames.size() >= 5, 5000);
    capture.disconnectDevice();

    for (const CapturedFrame &frame : frames) {
        QCOMPARE(frame.image.size(), QSize(640, 480));
        QCOMPARE(frame.image.format(), QImage::Format_RGB32);
        QCOMPARE(qAlpha(frame.image.pixel(320, 240)), 255);
    }
    QVERIFY(frames.last().sequence > frames.first().sequence);
    QVERIFY(frames.last().capturedAtNs > frames.first().capturedAtNs);
    QVERIFY(frames.first().image != frames.last().image);   // the pattern moves
    // The moving diagonal may cover the corner for a while, the pattern's clock box always would.
    QVERIFY2(std::any_of(frames.cbegin(), frames.cend(),
                         [](const CapturedFrame &frame) { return topLeftShowsTheColourBar(frame.image); }),
             "the pattern's own clock sits under the stamp");
}

// The top-left corner carries the program's time stamp, so the pattern must not
// draw its own clock box there: that corner shows the first colour bar.
bool VirtualCameraTest::topLeftShowsTheColourBar(const QImage &picture)
{
    const QRgb bar = picture.pixel(5, picture.height() / 2);
    int same = 0;
    int all = 0;
    for (int y = 0; y < 36; ++y) {
        for (int x = 0; x < 100; ++x, ++all)
            same += picture.pixel(x, y) == bar;
    }
    return same * 10 > all * 9;
}

// Binds the device at the position and runs it at 320x240.
void VirtualCameraTest::runAt320x240(CameraCapture &capture, int position)
{
    capture.selectInput(position, 0);
    capture.setSampleGrabbing(true);
    capture.connectDevice();
    capture.setCaptureSize(320, 240);
    capture.run();
}

void VirtualCameraTest::camerasLookDifferent()
{
    VirtualCameraBackend backend(2);
    CameraCapture first(&backend);
    CameraCapture second(&backend);
    runAt320x240(first, 0);
    runAt320x240(second, 1);
    const QImage a = firstFrame(first).image;
    const QImage b = firstFrame(second).image;
    QVERIFY(!a.isNull() && !b.isNull());
    // The still colour bars of the pattern, top left, differ by hue.
    QVERIFY(a.pixel(10, 10) != b.pixel(10, 10));
}

void VirtualCameraTest::refusesSizesBeyondItsLargestFormat()
{
    VirtualCameraBackend backend(1);
    QVERIFY_THROWS_EXCEPTION(AppError, backend.openSession(0, QSize(1920, 1080)));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.openSession(0, QSize(0, 0)));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.openSession(1, QSize(640, 480)));
}

void VirtualCameraTest::disconnectWhileFramesFlowDoesNotHang()
{
    VirtualCameraBackend backend(1);
    CameraCapture capture(&backend);
    capture.selectInput(0, 0);
    capture.setSampleGrabbing(true);
    for (int round = 0; round < 4; ++round) {
        capture.connectDevice();
        capture.setCaptureSize(640, 480);
        capture.run();
        QVERIFY(!firstFrame(capture).image.isNull());
        capture.disconnectDevice();   // a hang here is caught by the test's time limit
        QVERIFY(!capture.isRunning());
    }
    QTest::qWait(50);   // late notices of closed sessions go nowhere
}

void VirtualCameraTest::unpluggedCameraIsLostAndComesBackWhenReplugged()
{
    SystemCaptureBackend backend(2, std::make_unique<FakeV4l2Io>());
    CameraCapture first(&backend);
    CameraCapture second(&backend);
    for (auto [capture, position] : {std::pair{&first, 0}, std::pair{&second, 1}}) {
        runAt320x240(*capture, position);
        QVERIFY(!firstFrame(*capture).image.isNull());
    }
    QSignalSpy firstLost(&first, &CameraCapture::signalLost);
    QSignalSpy secondLost(&second, &CameraCapture::signalLost);
    QSignalSpy restored(&first, &CameraCapture::signalRestored);

    backend.virtualCameras().unplug(1);
    QVERIFY(firstLost.wait(5000));
    QVERIFY(first.isLost());
    QVERIFY(!first.tryReconnect());   // still out
    QCOMPARE(backend.deviceNames(), QStringList({"虚拟摄像头2"}));
    QCOMPARE(second.boundDeviceIndex(), 0);

    backend.virtualCameras().replug(1);
    QVERIFY(first.tryReconnect());
    QVERIFY(restored.wait(5000));
    QVERIFY(first.isRunning());
    QCOMPARE(first.boundDeviceIdentity(), QString("virtual:1"));
    QCOMPARE(firstFrame(first).image.size(), QSize(320, 240));
    QCOMPARE(firstLost.size(), 1);
    QCOMPARE(secondLost.size(), 0);
    QVERIFY(second.isRunning());
    QVERIFY(!firstFrame(second).image.isNull());   // it went on delivering all along
}

QTEST_GUILESS_MAIN(VirtualCameraTest)
#include "VirtualCameraTest.moc"
