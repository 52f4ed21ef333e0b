#include "app/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"

#include <QSignalSpy>
#include <QTest>

// The capture thread against inputs that end, never open, or differ in size.
class FfmpegCaptureSessionTest : public QObject
{
    Q_OBJECT

private slots:
    void sourceThatEndsIsReportedOnceAndQuietly();
    void inputsThatCannotOpenThrow_data();
    void inputsThatCannotOpenThrow();
    void picturesAreScaledToTheRequestedSize();
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

// A device may deliver another size than asked; the frames keep the asked one.
void FfmpegCaptureSessionTest::picturesAreScaledToTheRequestedSize()
{
    FfmpegCaptureSession session(lavfi("testsrc2=size=160x120:rate=30", {320, 240}));
    QSignalSpy ready(&session, &CaptureSession::frameReady);
    QVERIFY(ready.wait(5000));
    const CapturedFrame frame = session.takeLatestFrame();
    QCOMPARE(frame.image.size(), QSize(320, 240));
    QCOMPARE(frame.sequence, quint64(1));
}

QTEST_GUILESS_MAIN(FfmpegCaptureSessionTest)
#include "FfmpegCaptureSessionTest.moc"
