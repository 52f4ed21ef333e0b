#include "EncoderTestSupport.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>

namespace {

const QString testPattern = QStringLiteral("testsrc2=size=640x480:rate=30");
constexpr int referenceFrames = 600;  // 20 s at 30 frames a second

// Pictures decoded by the ffmpeg tool from a lavfi source, read one frame at
// a time from its standard output (on whatever thread asks).
class ToolDecodedPictures
{
public:
    ToolDecodedPictures(const QString &lavfiSource, QSize frameSize, int frameCount)
        : frameSize_(frameSize)
    {
        const QString command = QStringLiteral("ffmpeg -v error -f lavfi -i %1 -frames:v %2 "
                                               "-f rawvideo -pix_fmt bgra -")
                                    .arg(lavfiSource)
                                    .arg(frameCount);
        pipe_.reset(popen(command.toLocal8Bit().constData(), "r"));
    }
    bool isOpen() const { return pipe_ != nullptr; }

    // The next picture; after the last one, the last one again.
    QImage next()
    {
        QImage picture(frameSize_, QImage::Format_RGB32);
        const size_t pictureBytes = size_t(picture.sizeInBytes());
        if (std::fread(picture.bits(), 1, pictureBytes, pipe_.get()) == pictureBytes)
            last_ = picture;
        return last_;
    }

private:
    struct PipeClose {
        void operator()(FILE *pipe) const { pclose(pipe); }
    };
    QSize frameSize_;
    std::unique_ptr<FILE, PipeClose> pipe_;
    QImage last_;
};

QStringList outputArguments(const QString &options)
{
    return options.split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

} // namespace

class EncoderRecordingsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void matchesWhatTheCommandLineToolWrites();
    void realTimeRecordingKeepsWallClockLength_data();
    void realTimeRecordingKeepsWallClockLength();
    void killedProgramLeavesPlayableFile();

private:
    QTemporaryDir dir_;
};

void EncoderRecordingsTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString errorText;
    QVERIFY2(RecordingEncoder::loadLibraries(QStringLiteral("LibAV"), &errorText), qPrintable(errorText));
}

void EncoderRecordingsTest::matchesWhatTheCommandLineToolWrites()
{
    const QString options = channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"))
        + QStringLiteral(" -frames:v %1").arg(referenceFrames);
    const QString referencePath = dir_.filePath(QStringLiteral("tool.mpg"));
    const QString ourPath = dir_.filePath(QStringLiteral("ours.mpg"));

    // Both encodes run side by side, each on its own core.
    QProcess tool;
    tool.start(QStringLiteral("ffmpeg"),
               QStringList{"-v", "error", "-y", "-f", "lavfi", "-i", testPattern}
                   + outputArguments(options) + QStringList{referencePath});

    ToolDecodedPictures pictures(testPattern, QSize(640, 480), referenceFrames);
    QVERIFY(pictures.isOpen());
    FrameInputAdapter adapter;
    adapter.setFrameSource([&pictures] { return pictures.next(); });
    RecordingEncoder encoder;
    QSignalSpy terminateSpy(&encoder, &RecordingEncoder::terminated);
    QVERIFY(startRecording(encoder, adapter, ourPath,
                           channelInputOptions(QStringLiteral("640x480"), false), options));
    QTRY_COMPARE_WITH_TIMEOUT(terminateSpy.count(), 2, 60000);
    QVERIFY(!terminateSpy.first().at(0).value<TerminateInfo>().exceptionRaised);
    QVERIFY(tool.state() == QProcess::NotRunning || tool.waitForFinished(60000));
    QCOMPARE(tool.exitCode(), 0);

    const ProbedVideo reference = probeVideo(referencePath);
    const ProbedVideo ours = probeVideo(ourPath);
    QVERIFY2(ours.errors.isEmpty(), qPrintable(ours.errors));
    QCOMPARE(reference.frameCount(), referenceFrames);
    QCOMPARE(ours.frameCount(), referenceFrames);
    QCOMPARE(ours.formatName, reference.formatName);
    QCOMPARE(ours.videoStreams, 1);
    QCOMPARE(ours.audioStreams, reference.audioStreams);
    QCOMPARE(ours.audioStreams, 0);
    QCOMPARE(ours.codecName, reference.codecName);
    QCOMPARE(ours.codecName, QStringLiteral("mpeg2video"));
    QCOMPARE(ours.width, reference.width);
    QCOMPARE(ours.height, reference.height);
    QCOMPARE(ours.frameRate, reference.frameRate);
    QCOMPARE(ours.frameRate, QStringLiteral("30/1"));
    QCOMPARE(ours.pixelFormat, reference.pixelFormat);
    QCOMPARE(ours.gopLength(), reference.gopLength());
    QCOMPARE(ours.gopLength(), 15);
    QVERIFY(!ours.pictureTypes.contains(QLatin1Char('B')));
    qInfo("overall bit rate: ours %lld bit/s, the tool's %lld bit/s", ours.bitRateBps,
          reference.bitRateBps);
    const double bitRateRatio = double(ours.bitRateBps) / double(reference.bitRateBps);
    QVERIFY2(bitRateRatio > 0.85 && bitRateRatio < 1.15,
             qPrintable(QStringLiteral("ours %1 bit/s, the tool's %2 bit/s")
                            .arg(ours.bitRateBps)
                            .arg(reference.bitRateBps)));
}

void EncoderRecordingsTest::realTimeRecordingKeepsWallClockLength_data()
{
    using Source = std::function<QImage()>;
    QTest::addColumn<Source>("source");
    QTest::newRow("camera never delivers") << Source([] { return QImage(); });
    QTest::newRow("picture changes slowly") << Source([] {
        static QElapsedTimer clock;
        if (!clock.isValid())
            clock.start();
        QImage picture(320, 240, QImage::Format_RGB32);
        picture.fill(QColor::fromHsv(int(clock.elapsed() / 400 * 40) % 360, 255, 255));
        return picture;
    });
    QTest::newRow("source answers slowly") << Source([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(90));
        QImage picture(640, 480, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        return picture;
    });
}

void EncoderRecordingsTest::realTimeRecordingKeepsWallClockLength()
{
    QFETCH(std::function<QImage()>, source);
    const QString path = dir_.filePath(QStringLiteral("paced-%1.mpg").arg(QTest::currentDataTag()));
    FrameInputAdapter adapter;
    adapter.setFrameSource(source);
    RecordingEncoder encoder;
    QElapsedTimer wallClock;
    wallClock.start();
    QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("640x480")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"))));
    QTest::qWait(4000);
    const double wallSec = wallClock.elapsed() / 1000.0;
    encoder.Stop();

    const ProbedVideo probed = probeVideo(path);
    QVERIFY2(probed.errors.isEmpty(), qPrintable(probed.errors));
    const double expectedFrames = 30 * wallSec;
    QVERIFY2(qAbs(probed.frameCount() - expectedFrames) <= 0.01 * expectedFrames,
             qPrintable(QStringLiteral("%1 frames in %2 s").arg(probed.frameCount()).arg(wallSec)));
    QVERIFY2(qAbs(probed.durationSec - wallSec) <= 0.5,
             qPrintable(QStringLiteral("%1 s long after %2 s").arg(probed.durationSec).arg(wallSec)));
}

void EncoderRecordingsTest::killedProgramLeavesPlayableFile()
{
    const QString path = dir_.filePath(QStringLiteral("killed.mpg"));
    QProcess recorder;
    recorder.start(QStringLiteral(RECORD_HELPER_PATH), {path});
    QVERIFY(recorder.waitForStarted());
    QByteArray output;
    QTRY_VERIFY_WITH_TIMEOUT((output += recorder.readAllStandardOutput()).contains("recording"), 5000);
    QTest::qWait(4000);
    output += recorder.readAllStandardOutput();
    const QList<QByteArray> reported = output.trimmed().split('\n');
    const int framesReported = reported.last().toInt();
    recorder.kill();  // SIGKILL: no trailer, no clean-up
    QVERIFY(recorder.waitForFinished(5000));
    QCOMPARE(recorder.exitStatus(), QProcess::CrashExit);

    const ProbedVideo probed = probeVideo(path);
    QCOMPARE(probed.codecName, QStringLiteral("mpeg2video"));
    // At most the last two seconds may be missing.
    QVERIFY2(framesReported >= 90, qPrintable(QString::number(framesReported)));
    QVERIFY2(probed.frameCount() >= framesReported - 60,
             qPrintable(QStringLiteral("%1 of %2 frames").arg(probed.frameCount()).arg(framesReported)));
}

QTEST_GUILESS_MAIN(EncoderRecordingsTest)
#include "tst_encoder_recordings.moc"
