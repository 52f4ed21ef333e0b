#include "FakeV4l2Io.h"

#include "common/AppError.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "monitor/capture/V4l2Backend.h"

#include <QTest>

namespace {

constexpr quint32 cameraCaps = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;

// A machine with two cameras of one model, one odd camera and three nodes
// that are not cameras, listed by the system in no particular order.
std::unique_ptr<FakeV4l2Io> typicalMachine()
{
    auto io = std::make_unique<FakeV4l2Io>();

    FakeV4l2Io::Node webcam;
    webcam.card = "HD Webcam";
    webcam.capabilities = cameraCaps | V4L2_CAP_META_CAPTURE | V4L2_CAP_DEVICE_CAPS;
    webcam.deviceCaps = cameraCaps;
    webcam.formats = {
        {V4L2_PIX_FMT_YUYV, "YUYV 4:2:2", {{640, 480}, {1280, 720}, {320, 240}, {800, 600}}, {}, {}},
        {V4L2_PIX_FMT_MJPEG, "Motion-JPEG", {}, {1920, 1080}, {}},
    };
    webcam.controls = {
        FakeV4l2Io::control(V4L2_CID_USER_CLASS, V4L2_CTRL_TYPE_CTRL_CLASS, "User Controls", 0, 0, 0, 0),
        FakeV4l2Io::control(V4L2_CID_BRIGHTNESS, V4L2_CTRL_TYPE_INTEGER, "Brightness", -64, 64, 0, 10),
        FakeV4l2Io::control(V4L2_CID_AUTO_WHITE_BALANCE, V4L2_CTRL_TYPE_BOOLEAN,
                            "White Balance, Automatic", 0, 1, 1, 1),
        FakeV4l2Io::control(V4L2_CID_POWER_LINE_FREQUENCY, V4L2_CTRL_TYPE_MENU,
                            "Power Line Frequency", 0, 2, 1, 2),
        FakeV4l2Io::control(V4L2_CID_HUE, V4L2_CTRL_TYPE_INTEGER, "Hue", 0, 10, 5, 5,
                            V4L2_CTRL_FLAG_DISABLED),
        FakeV4l2Io::control(V4L2_CID_GAIN, V4L2_CTRL_TYPE_INTEGER, "Gain", 0, 10, 5, 5,
                            V4L2_CTRL_FLAG_READ_ONLY),
        FakeV4l2Io::control(V4L2_CID_SHARPNESS, V4L2_CTRL_TYPE_INTEGER, "Sharpness", 0, 7, 3, 0),
        FakeV4l2Io::control(V4L2_CID_DO_WHITE_BALANCE, V4L2_CTRL_TYPE_BUTTON, "Do White Balance", 0, 0, 0, 0),
    };
    webcam.controls[3].menu = {{0, "Disabled"}, {2, "60 Hz"}};   // index 1 is a hole
    webcam.controls[6].readable = false;                          // write-only: shows its default
    io->nodes["/dev/video0"] = webcam;
    io->nodes["/dev/video10"] = webcam;

    FakeV4l2Io::Node metadata = webcam;   // the same camera's metadata node
    metadata.deviceCaps = V4L2_CAP_META_CAPTURE | V4L2_CAP_STREAMING;
    io->nodes["/dev/video1"] = metadata;

    FakeV4l2Io::Node odd;
    odd.card = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";   // fills the 32-byte field
    odd.formats = {{v4l2_fourcc('G', 'R', 'E', 'Y'), "", {}, {}, {752, 480}}};
    io->nodes["/dev/video2"] = odd;

    FakeV4l2Io::Node locked;
    locked.card = "Locked Cam";
    locked.openError = EACCES;
    io->nodes["/dev/video3"] = locked;

    FakeV4l2Io::Node output;
    output.card = "Loopback Out";
    output.capabilities = V4L2_CAP_VIDEO_OUTPUT | V4L2_CAP_STREAMING;
    io->nodes["/dev/video4"] = output;
    return io;
}

QList<QSize> largestSizes(const QList<VideoFormat> &formats)
{
    QList<QSize> sizes;
    for (const VideoFormat &format : formats)
        sizes << QSize(format.maxWidth, format.maxHeight);
    return sizes;
}

} // namespace

class V4l2BackendTest : public QObject
{
    Q_OBJECT

private slots:
    void listsCaptureNodesByCardNameInNodeOrder();
    void listsCamerasByUsbPort_data();
    void listsCamerasByUsbPort();
    void formatsComeInDeviceOrderWithTheirLargestSize();
    void controlsListAdjustableSettingsWithValues();
    void setControlWritesOrFailsClearly();
    void vanishedDeviceFailsWithAnError();
    void inputFormatChoice_data();
    void inputFormatChoice();
    void systemBackendListsCamerasBeforeVirtualOnes();
};

void V4l2BackendTest::listsCaptureNodesByCardNameInNodeOrder()
{
    auto io = typicalMachine();
    FakeV4l2Io *fake = io.get();
    V4l2Backend backend(std::move(io));

    QCOMPARE(backend.deviceNames(),
             QStringList({"HD Webcam", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", "HD Webcam"}));
    QCOMPARE(backend.nodePath(0), QString("/dev/video0"));
    QCOMPARE(backend.nodePath(1), QString("/dev/video2"));
    QCOMPARE(backend.nodePath(2), QString("/dev/video10"));
    QVERIFY(backend.deviceDescription(2).contains("/dev/video10"));
    QCOMPARE(fake->openDescriptors, 0);
}

// Rows give the nodes as "path=bus info" in the order the system lists them.
void V4l2BackendTest::listsCamerasByUsbPort_data()
{
    QTest::addColumn<QStringList>("nodes");
    QTest::addColumn<QStringList>("expectedPaths");
    QTest::addColumn<QStringList>("expectedIdentities");

    QTest::newRow("the port decides, not the node")
        << QStringList{"/dev/video0=usb-0000:00:14.0-3", "/dev/video2=usb-0000:00:14.0-1"}
        << QStringList{"/dev/video2", "/dev/video0"}
        << QStringList{"usb-0000:00:14.0-1", "usb-0000:00:14.0-3"};
    QTest::newRow("port 2 before port 10")
        << QStringList{"/dev/video0=usb-0000:00:14.0-10", "/dev/video4=usb-0000:00:14.0-2"}
        << QStringList{"/dev/video4", "/dev/video0"}
        << QStringList{"usb-0000:00:14.0-2", "usb-0000:00:14.0-10"};
    QTest::newRow("ports behind a hub")
        << QStringList{"/dev/video0=usb-0000:00:14.0-1.10", "/dev/video2=usb-0000:00:14.0-1.2",
                       "/dev/video4=usb-0000:00:14.0-1"}
        << QStringList{"/dev/video4", "/dev/video2", "/dev/video0"}
        << QStringList{"usb-0000:00:14.0-1", "usb-0000:00:14.0-1.2", "usb-0000:00:14.0-1.10"};
    QTest::newRow("two capture nodes of one camera, by node")
        << QStringList{"/dev/video10=usb-0000:00:14.0-5", "/dev/video4=usb-0000:00:14.0-5",
                       "/dev/video6=usb-0000:00:14.0-4"}
        << QStringList{"/dev/video6", "/dev/video4", "/dev/video10"}
        << QStringList{"usb-0000:00:14.0-4", "usb-0000:00:14.0-5", "usb-0000:00:14.0-5#2"};
    QTest::newRow("a node without bus info comes last")
        << QStringList{"/dev/video0=", "/dev/video3=platform:vivid-000"}
        << QStringList{"/dev/video3", "/dev/video0"}
        << QStringList{"platform:vivid-000", "/dev/video0"};
}

void V4l2BackendTest::listsCamerasByUsbPort()
{
    QFETCH(QStringList, nodes);
    QFETCH(QStringList, expectedPaths);
    QFETCH(QStringList, expectedIdentities);

    auto io = std::make_unique<FakeV4l2Io>();
    for (const QString &node : nodes) {
        FakeV4l2Io::Node camera;
        camera.card = "Cam";
        camera.busInfo = node.section('=', 1).toUtf8();
        io->nodes[node.section('=', 0, 0)] = camera;
    }
    V4l2Backend backend(std::move(io));

    QCOMPARE(backend.deviceNames().size(), nodes.size());
    QStringList paths;
    for (int index = 0; index < nodes.size(); ++index)
        paths << backend.nodePath(index);
    QCOMPARE(paths, expectedPaths);
    QCOMPARE(backend.deviceIdentities(), expectedIdentities);
}

void V4l2BackendTest::formatsComeInDeviceOrderWithTheirLargestSize()
{
    auto io = typicalMachine();
    FakeV4l2Io *fake = io.get();
    V4l2Backend backend(std::move(io));
    backend.deviceNames();

    const QList<VideoFormat> webcam = backend.formats(0);
    QCOMPARE(webcam.size(), 2);
    QCOMPARE(webcam[0].name, QString("YUYV 4:2:2"));
    QCOMPARE(webcam[1].name, QString("Motion-JPEG"));
    QCOMPARE(largestSizes(webcam), QList<QSize>({{1280, 720}, {1920, 1080}}));

    // No description and no size list: the fourcc names it, the driver's clamp sizes it.
    const QList<VideoFormat> odd = backend.formats(1);
    QCOMPARE(odd.size(), 1);
    QCOMPARE(odd[0].name, QString("GREY"));
    QCOMPARE(largestSizes(odd), QList<QSize>({{752, 480}}));
    QCOMPARE(fake->openDescriptors, 0);
}

void V4l2BackendTest::controlsListAdjustableSettingsWithValues()
{
    V4l2Backend backend(typicalMachine());
    const QList<DeviceControl> controls = backend.controls(0);

    QStringList names;
    for (const DeviceControl &control : controls)
        names << control.name;
    QCOMPARE(names, QStringList({"Brightness", "White Balance, Automatic",
                                 "Power Line Frequency", "Sharpness"}));

    QCOMPARE(controls[0].kind, DeviceControl::Kind::Integer);
    QCOMPARE(controls[0].minimum, -64);
    QCOMPARE(controls[0].maximum, 64);
    QCOMPARE(controls[0].value, 10);
    QCOMPARE(controls[1].kind, DeviceControl::Kind::Boolean);
    QCOMPARE(controls[1].value, 1);
    QCOMPARE(controls[2].kind, DeviceControl::Kind::Menu);
    QCOMPARE(controls[2].value, 2);
    QCOMPARE(controls[2].menuItems,
             (QList<QPair<int, QString>>{{0, "Disabled"}, {2, "60 Hz"}}));
    QCOMPARE(controls[3].value, 3);   // not readable: its default
    QVERIFY(backend.controls(1).isEmpty());
}

void V4l2BackendTest::setControlWritesOrFailsClearly()
{
    auto io = typicalMachine();
    FakeV4l2Io *fake = io.get();
    V4l2Backend backend(std::move(io));

    backend.setControl(0, V4L2_CID_BRIGHTNESS, -20);
    QCOMPARE(backend.controls(0)[0].value, -20);
    QVERIFY_THROWS_EXCEPTION(AppError, backend.setControl(0, V4L2_CID_BRIGHTNESS, 500));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.setControl(0, 0x12345678, 1));
    QCOMPARE(fake->openDescriptors, 0);
}

void V4l2BackendTest::vanishedDeviceFailsWithAnError()
{
    auto io = typicalMachine();
    FakeV4l2Io *fake = io.get();
    V4l2Backend backend(std::move(io));
    backend.deviceNames();
    fake->nodes.remove("/dev/video2");

    QVERIFY_THROWS_EXCEPTION(AppError, backend.formats(1));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.controls(1));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.setControl(1, V4L2_CID_BRIGHTNESS, 0));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.formats(3));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.formats(-1));
}

void V4l2BackendTest::inputFormatChoice_data()
{
    QTest::addColumn<QList<V4l2PixelFormat>>("formats");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<QString>("expected");

    const V4l2PixelFormat yuyv720{V4L2_PIX_FMT_YUYV, "YUYV", {1280, 720}};
    const V4l2PixelFormat mjpeg1080{V4L2_PIX_FMT_MJPEG, "MJPG", {1920, 1080}};
    const V4l2PixelFormat mjpeg480{V4L2_PIX_FMT_MJPEG, "MJPG", {640, 480}};
    const V4l2PixelFormat grey{v4l2_fourcc('G', 'R', 'E', 'Y'), "GREY", {752, 480}};

    QTest::newRow("both fit: mjpeg") << QList{yuyv720, mjpeg1080} << QSize(1280, 720) << "mjpeg";
    QTest::newRow("only yuyv") << QList{yuyv720} << QSize(640, 480) << "yuyv422";
    QTest::newRow("mjpeg too small") << QList{mjpeg480, yuyv720} << QSize(1280, 720) << "yuyv422";
    QTest::newRow("neither fits") << QList{mjpeg480} << QSize(1920, 1080) << "";
    QTest::newRow("other format") << QList{grey} << QSize(752, 480) << "";
    QTest::newRow("no formats") << QList<V4l2PixelFormat>() << QSize(640, 480) << "";
}

void V4l2BackendTest::inputFormatChoice()
{
    QFETCH(QList<V4l2PixelFormat>, formats);
    QFETCH(QSize, size);
    QFETCH(QString, expected);
    QCOMPARE(v4l2InputFormatFor(formats, size), expected);
}

void V4l2BackendTest::systemBackendListsCamerasBeforeVirtualOnes()
{
    SystemCaptureBackend backend(2, typicalMachine());
    QCOMPARE(backend.deviceNames(),
             QStringList({"HD Webcam", "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345", "HD Webcam",
                          "虚拟摄像头1", "虚拟摄像头2"}));
    QCOMPARE(backend.deviceIdentities(),
             QStringList({"/dev/video0", "/dev/video2", "/dev/video10", "virtual:1", "virtual:2"}));
    QCOMPARE(largestSizes(backend.formats(0)), QList<QSize>({{1280, 720}, {1920, 1080}}));
    QCOMPARE(largestSizes(backend.formats(4)),
             QList<QSize>({{640, 480}, {320, 240}, {1280, 960}}));
    QVERIFY(backend.controls(3).isEmpty());
    QCOMPARE(backend.controls(0).size(), 4);
    QVERIFY(backend.deviceDescription(4).contains("虚拟摄像头2"));
    QVERIFY_THROWS_EXCEPTION(AppError, backend.formats(5));

    SystemCaptureBackend noCameras(1, std::make_unique<FakeV4l2Io>());
    QCOMPARE(noCameras.deviceNames(), QStringList({"虚拟摄像头1"}));
}

QTEST_GUILESS_MAIN(V4l2BackendTest)
#include "V4l2BackendTest.moc"
