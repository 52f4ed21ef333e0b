#include "common/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"

#include <QBuffer>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The capture thread against inputs that end, never open, or differ in size.
class FfmpegCaptureSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void sourceThatEndsIsReportedOnceAndQuietly();
    void inputsThatCannotOpenThrow_data();
    void inputsThatCannotOpenThrow();
    void inputsThatCannotOpenInBackgroundEndTheSession_data();
    void inputsThatCannotOpenInBackgroundEndTheSession();
    void inputOpenedInBackgroundDeliversFrames();
    void picturesAreScaledToTheRequestedSize();
    void cameraPixelFormatsDecodeToTheRightColours_data();
    void cameraPixelFormatsDecodeToTheRightColours();
};

namespace {

CaptureInputRequest lavfi(const QString &graph, QSize frameSize)
{
    CaptureInputRequest request;
    request.inputFormatName = "lavfi";
    request.url = graph;
    request.frameSize = frameSize;
    return request;
}

// Three JPEG pictures back to back: what an MJPEG camera sends.
QByteArray mjpegStream(QColor colour, QSize size)
{
    QImage picture(size, QImage::Format_RGB32);
    picture.fill(colour);
    QByteArray stream;
    for (int i = 0; i < 3; ++i) {
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        picture.save(&buffer, "JPEG", 95);
        stream += buffer.data();
    }
    return stream;
}

// Packed 4:2:2 pictures of one colour (BT.601 studio range): what a YUYV camera sends.
QByteArray yuyvStream(int y, int u, int v, QSize size)
{
    const char pair[4] = {char(y), char(u), char(y), char(v)};
    const QByteArray pixelPair(pair, 4);
    return pixelPair.repeated(3 * size.width() * size.height() / 2);
}

bool near(QRgb actual, QColor expected, int tolerance)
{
    return qAbs(qRed(actual) - expected.red()) <= tolerance
           && qAbs(qGreen(actual) - expected.green()) <= tolerance
           && qAbs(qBlue(actual) - expected.blue()) <= tolerance && qAlpha(actual) == 255;
}

} // namespace

// Stands in for a camera unplugged while running: the stream stops with an error.
void FfmpegCaptureSessionTest::sourceThatEndsIsReportedOnceAndQuietly()
{
    FfmpegCaptureSession session(lavfi("testsrc2=size=64x48:rate=30:duration=0.2", {64, 48}));
    QSignalSpy ended(&session, &CaptureSession::ended);
    QVERIFY(ended.wait(5000));
    QVERIFY(session.hasEnded());
    QVERIFY(!ended.first().first().toString().isEmpty());
    QTest::qWait(50);
    QCOMPARE(ended.size(), 1);
    session.stop();
    session.stop();
}

void FfmpegCaptureSessionTest::inputsThatCannotOpenThrow_data()
{
    QTest::addColumn<QString>("inputFormat");
    QTest::addColumn<QString>("url");
    QTest::addColumn<QSize>("size");

    QTest::newRow("missing device node") << "video4linux2" << "/dev/video-none" << QSize(640, 480);
    QTest::newRow("unknown filter") << "lavfi" << "nosuchsource=size=64x48" << QSize(64, 48);
    QTest::newRow("unknown input format") << "nosuchdevice" << "x" << QSize(64, 48);
    QTest::newRow("empty size") << "lavfi" << "testsrc2=size=64x48" << QSize(0, 0);
}

void FfmpegCaptureSessionTest::inputsThatCannotOpenThrow()
{
    QFETCH(QString, inputFormat);
    QFETCH(QString, url);
    QFETCH(QSize, size);
    CaptureInputRequest request = lavfi(url, size);
    request.inputFormatName = inputFormat;
    QVERIFY_THROWS_EXCEPTION(AppError, FfmpegCaptureSession session(request));
}

void FfmpegCaptureSessionTest::inputsThatCannotOpenInBackgroundEndTheSession_data()
{
    inputsThatCannotOpenThrow_data();
}

// A reconnect opens without waiting: the failure comes back as the session's end.
void FfmpegCaptureSessionTest::inputsThatCannotOpenInBackgroundEndTheSession()
{
    QFETCH(QString, inputFormat);
    QFETCH(QString, url);
    QFETCH(QSize, size);
    CaptureInputRequest request = lavfi(url, size);
    request.inputFormatName = inputFormat;
    FfmpegCaptureSession session(request, FfmpegCaptureSession::Opening::InBackground);
    QSignalSpy ended(&session, &CaptureSession::ended);
    QVERIFY(ended.wait(5000));
    QVERIFY(!ended.first().first().toString().isEmpty());
    QCOMPARE(session.publishedFrameCount(), quint64(0));
}

void FfmpegCaptureSessionTest::inputOpenedInBackgroundDeliversFrames()
{
    FfmpegCaptureSession session(lavfi("testsrc2=size=64x48:rate=30", {64, 48}),
                                 FfmpegCaptureSession::Opening::InBackground);
    QSignalSpy ready(&session, &CaptureSession::frameReady);
    QVERIFY(ready.wait(5000));
    QCOMPARE(session.takeLatestFrame().image.size(), QSize(64, 48));
    QVERIFY(!session.hasEnded());
}

// A device may deliver another size than asked; the frames keep the asked one.
void FfmpegCaptureSessionTest::picturesAreScaledToTheRequestedSize()
{
    FfmpegCaptureSession session(lavfi("testsrc2=size=160x120:rate=30", {320, 240}));
    QSignalSpy ready(&session, &CaptureSession::frameReady);
    QVERIFY(ready.wait(5000));
    const CapturedFrame frame = session.takeLatestFrame();
    QCOMPARE(frame.image.size(), QSize(320, 240));
    // The source is not paced, so frames may have been replaced before this take.
    QVERIFY(frame.sequence >= 1);
}

// The packets a V4L2 camera hands over (MJPEG or YUYV), read from a file
// through the matching demuxer, must come out as the colour that went in,
// which catches swapped channels and wrong colour ranges.
void FfmpegCaptureSessionTest::cameraPixelFormatsDecodeToTheRightColours_data()
{
    QTest::addColumn<QString>("inputFormat");
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QColor>("expected");

    const QSize size(64, 48);
    QTest::newRow("mjpeg red") << "mjpeg" << mjpegStream(Qt::red, size) << QColor(Qt::red);
    QTest::newRow("mjpeg blue") << "mjpeg" << mjpegStream(Qt::blue, size) << QColor(Qt::blue);
    QTest::newRow("yuyv red") << "rawvideo" << yuyvStream(81, 90, 240, size) << QColor(255, 0, 0);
    QTest::newRow("yuyv green") << "rawvideo" << yuyvStream(145, 54, 34, size) << QColor(0, 255, 0);
}

void FfmpegCaptureSessionTest::cameraPixelFormatsDecodeToTheRightColours()
{
    QFETCH(QString, inputFormat);
    QFETCH(QByteArray, stream);
    QFETCH(QColor, expected);

    QTemporaryDir folder;
    QFile file(folder.filePath("camera.raw"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(stream);
    file.close();

    CaptureInputRequest request;
    request.inputFormatName = inputFormat;
    request.url = file.fileName();
    request.frameSize = QSize(64, 48);
    if (inputFormat == "rawvideo")
        request.options = {{"video_size", "64x48"}, {"pixel_format", "yuyv422"}};
    FfmpegCaptureSession session(request);
    QSignalSpy ready(&session, &CaptureSession::frameReady);
    QVERIFY(ready.wait(5000));
    const QImage picture = session.takeLatestFrame().image;
    QCOMPARE(picture.size(), QSize(64, 48));
    const QRgb centre = picture.pixel(32, 24);
    QVERIFY2(near(centre, expected, 12), qPrintable(QColor(centre).name()));
}

QTEST_GUILESS_MAIN(FfmpegCaptureSessionTest)
#include "FfmpegCaptureSessionTest.moc"
