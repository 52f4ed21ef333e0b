#include "EncoderTestSupport.h"

#include "common/AppError.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>


namespace {

// Passes bytes to a real file until the budget is spent, then fails every
// write as a full disk would.
class FailingSink final : public OutputSink
{
public:
    FailingSink(std::unique_ptr<OutputSink> file, qint64 budgetBytes)
        : file_(std::move(file)), budgetBytes_(budgetBytes) {}

    int write(const uint8_t *data, int sizeBytes) override
    {
        if (sizeBytes > budgetBytes_)
            return -ENOSPC;
        budgetBytes_ -= sizeBytes;
        return file_->write(data, sizeBytes);
    }
    qint64 seek(qint64 offset, int whence) override { return file_->seek(offset, whence); }
    qint64 sizeBytes() override { return file_->sizeBytes(); }

private:
    std::unique_ptr<OutputSink> file_;
    qint64 budgetBytes_;
};

TerminateInfo terminateAt(const QSignalSpy &spy, int index)
{
    return spy.at(index).at(0).value<TerminateInfo>();
}

} // namespace

class FFEncoderTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void loadFailureAndNotLoadedErrors();
    void refusedTasksSayWhy_data();
    void refusedTasksSayWhy();
    void clearTasksWhileWorkingFails();
    void stopReturnsWithTheFileFinished();
    void stopRightAfterStartRepeatedly();
    void pausedTimeIsLeftOut();
    void writeErrorEndsOnlyThatRecording();
    void unopenableFileIsReported();

private:
    QTemporaryDir dir_;
};

void FFEncoderTest::initTestCase()
{
    QVERIFY(dir_.isValid());
    QString errorText;
    QVERIFY2(RecordingEncoder::loadLibraries(QStringLiteral("LibAV"), &errorText), qPrintable(errorText));
}

void FFEncoderTest::cleanup()
{
    RecordingEncoder::setLibraryProbe(nullptr);
    QString errorText;
    QVERIFY2(RecordingEncoder::loadLibraries(QStringLiteral("LibAV"), &errorText), qPrintable(errorText));
}

void FFEncoderTest::loadFailureAndNotLoadedErrors()
{
    RecordingEncoder::unloadLibraries();
    RecordingEncoder::setLibraryProbe([] { return QStringList{QStringLiteral("dvd muxer")}; });
    QString errorText;
    QVERIFY(!RecordingEncoder::loadLibraries(QStringLiteral("/opt/kamvist/LibAV"), &errorText));
    QVERIFY2(errorText.contains(QStringLiteral("dvd muxer")), qPrintable(errorText));
    QVERIFY(!RecordingEncoder::librariesLoaded());

    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    try {
        encoder.AddTask(adapter.identityText(), channelInputOptions(QStringLiteral("640x480")));
        QFAIL("AddTask accepted a task without libraries");
    } catch (const AppError &error) {
        QCOMPARE(error.text(), QStringLiteral("FFmpeg libraries not loaded."));
    }

    RecordingEncoder::setLibraryProbe(nullptr);
    QVERIFY(RecordingEncoder::loadLibraries(QStringLiteral("/opt/kamvist/LibAV"), &errorText));
    QVERIFY(RecordingEncoder::librariesLoaded());
}

void FFEncoderTest::refusedTasksSayWhy_data()
{
    QTest::addColumn<bool>("useAdapter");
    QTest::addColumn<QString>("inputOptions");
    QTest::addColumn<QString>("outputOptions");
    QTest::addColumn<QString>("namedInError");
    const QString input = channelInputOptions(QStringLiteral("640x480"));
    const QString output = channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"));
    QTest::newRow("no such adapter") << false << input << output << "424242";
    QTest::newRow("unknown input option") << true << input + " -loop 1" << output << "-loop";
    QTest::newRow("unknown output option") << true << input << output + " -preset fast" << "-preset";
    QTest::newRow("unknown encoder") << true << input << "-c:v nosuchcodec -f dvd" << "nosuchcodec";
    QTest::newRow("unknown container") << true << input << "-c:v mpeg2video -f nosuchmux" << "nosuchmux";
}

void FFEncoderTest::refusedTasksSayWhy()
{
    QFETCH(bool, useAdapter);
    QFETCH(QString, inputOptions);
    QFETCH(QString, outputOptions);
    QFETCH(QString, namedInError);

    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    const int taskIndex =
        encoder.AddTask(useAdapter ? adapter.identityText() : QStringLiteral("424242"), inputOptions);
    int result = taskIndex;
    if (taskIndex >= 0)
        result = encoder.SetOutput(taskIndex, dir_.filePath(QStringLiteral("refused.mpg")), outputOptions);
    QVERIFY(result < 0);
    QVERIFY2(encoder.lastErrorText().contains(namedInError), qPrintable(encoder.lastErrorText()));

    // As the channel does after a refused output: the task goes, nothing runs.
    encoder.RemoveTask(taskIndex);
    QCOMPARE(encoder.taskCount(), 0);
    QVERIFY_THROWS_EXCEPTION(AppError, encoder.Start());
    QVERIFY(!encoder.isWorking());
    QVERIFY(!QFile::exists(dir_.filePath(QStringLiteral("refused.mpg"))));
}

void FFEncoderTest::clearTasksWhileWorkingFails()
{
    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    const QString path = dir_.filePath(QStringLiteral("clear.mpg"));
    QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("320x240")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("320x240"))));
    QVERIFY(encoder.isWorking());
    try {
        encoder.ClearTasks();
        QFAIL("ClearTasks succeeded while working");
    } catch (const AppError &error) {
        QCOMPARE(error.text(), QStringLiteral("Cannot ClearTasks while working."));
    }
    encoder.Stop();
    QVERIFY(!encoder.isWorking());
    encoder.ClearTasks();
}

void FFEncoderTest::stopReturnsWithTheFileFinished()
{
    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    adapter.setFrameSource(movingPicture(QSize(800, 600)));
    QSignalSpy progressSpy(&encoder, &RecordingEncoder::progress);
    QSignalSpy terminateSpy(&encoder, &RecordingEncoder::terminated);
    const QString path = dir_.filePath(QStringLiteral("stop.mpg"));
    QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("640x480")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"))));
    QTest::qWait(1600);
    encoder.Stop();

    // The notices came before Stop returned, nothing ran since, and the
    // file already holds every frame the final notice counts.
    QCOMPARE(terminateSpy.count(), 2);
    QCOMPARE(terminateAt(terminateSpy, 0).taskIndex, 0);
    QVERIFY(!terminateAt(terminateSpy, 0).exceptionRaised);
    QVERIFY(terminateAt(terminateSpy, 1).taskIndex < 0);
    QVERIFY(!encoder.isWorking());

    QVERIFY(progressSpy.count() >= 3);
    const auto last = progressSpy.last().at(0).value<ProgressInfo>();
    const auto first = progressSpy.first().at(0).value<ProgressInfo>();
    QVERIFY(first.frameNumber < last.frameNumber);
    QVERIFY(last.currentSizeBytes > 0);
    QVERIFY(qAbs(last.currentTimeMs - last.frameNumber * 1000 / 30) <= 1);

    const ProbedVideo probed = probeVideo(path);
    QVERIFY2(probed.errors.isEmpty(), qPrintable(probed.errors));
    QCOMPARE(probed.frameCount(), last.frameNumber);
    QVERIFY(qAbs(probed.frameCount() - 48) <= 3);
}

void FFEncoderTest::stopRightAfterStartRepeatedly()
{
    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    adapter.setFrameSource(movingPicture(QSize(640, 480)));
    QSignalSpy progressSpy(&encoder, &RecordingEncoder::progress);
    for (int round = 0; round < 3; ++round) {
        const QString path = dir_.filePath(QStringLiteral("quick%1.mpg").arg(round));
        progressSpy.clear();
        QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("640x480")),
                               channelOutputOptions(QStringLiteral("1000"), QStringLiteral("640x480"))));
        encoder.Stop();
        QVERIFY(!encoder.isWorking());
        QVERIFY(!progressSpy.isEmpty());
        const ProbedVideo probed = probeVideo(path);
        QVERIFY2(probed.errors.isEmpty(), qPrintable(probed.errors));
        QVERIFY(probed.frameCount() >= 1);
        QCOMPARE(probed.frameCount(), progressSpy.last().at(0).value<ProgressInfo>().frameNumber);
        QCOMPARE(probed.width, 640);
    }
}

void FFEncoderTest::pausedTimeIsLeftOut()
{
    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    const QString path = dir_.filePath(QStringLiteral("paused.mpg"));
    QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("320x240")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("320x240"))));
    QTest::qWait(600);
    encoder.Pause();
    QTest::qWait(1500);
    encoder.Resume();
    QTest::qWait(600);
    encoder.Stop();
    // 1.2 s of recording, not 2.7 s of wall time.
    const ProbedVideo probed = probeVideo(path);
    QVERIFY2(qAbs(probed.frameCount() - 36) <= 6, qPrintable(QString::number(probed.frameCount())));
}

void FFEncoderTest::writeErrorEndsOnlyThatRecording()
{
    const QString failingPath = dir_.filePath(QStringLiteral("diskfull.mpg"));
    const QString otherPath = dir_.filePath(QStringLiteral("neighbour.mpg"));
    FrameInputAdapter adapter;
    adapter.setFrameSource(movingPicture(QSize(640, 480)));

    RecordingEncoder neighbour;
    QVERIFY(startRecording(neighbour, adapter, otherPath, channelInputOptions(QStringLiteral("320x240")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("320x240"))));

    RecordingEncoder failing;
    failing.setOutputSinkFactory([](const QString &path, QString *errorText) -> std::unique_ptr<OutputSink> {
        std::unique_ptr<OutputSink> file = FileSink::create(path, errorText);
        if (!file)
            return nullptr;
        return std::make_unique<FailingSink>(std::move(file), 300 * 1024);
    });
    QSignalSpy terminateSpy(&failing, &RecordingEncoder::terminated);
    QVERIFY(startRecording(failing, adapter, failingPath, channelInputOptions(QStringLiteral("640x480"), false),
                           channelOutputOptions(QStringLiteral("2700"), QStringLiteral("640x480"))));
    QTRY_COMPARE_WITH_TIMEOUT(terminateSpy.count(), 2, 20000);

    const TerminateInfo ending = terminateAt(terminateSpy, 0);
    QCOMPARE(ending.taskIndex, 0);
    QVERIFY(ending.exceptionRaised);
    QVERIFY2(ending.exceptionMessage.contains(failingPath), qPrintable(ending.exceptionMessage));
    QVERIFY2(ending.exceptionMessage.contains(QStringLiteral("No space left on device")),
             qPrintable(ending.exceptionMessage));
    QVERIFY(terminateAt(terminateSpy, 1).taskIndex < 0);
    QVERIFY(!terminateAt(terminateSpy, 1).exceptionRaised);
    QVERIFY(!failing.isWorking());

    const ProbedVideo written = probeVideo(failingPath);
    QVERIFY(QFileInfo(failingPath).size() <= 300 * 1024);
    QVERIFY2(written.frameCount() >= 10, qPrintable(QString::number(written.frameCount())));
    QCOMPARE(written.codecName, QStringLiteral("mpeg2video"));

    QVERIFY(neighbour.isWorking());
    neighbour.Stop();
    const ProbedVideo other = probeVideo(otherPath);
    QVERIFY2(other.errors.isEmpty(), qPrintable(other.errors));
    QVERIFY(other.frameCount() > 0);
}

void FFEncoderTest::unopenableFileIsReported()
{
    RecordingEncoder encoder;
    FrameInputAdapter adapter;
    QSignalSpy terminateSpy(&encoder, &RecordingEncoder::terminated);
    const QString path = dir_.filePath(QStringLiteral("no/such/folder/x.mpg"));
    QVERIFY(startRecording(encoder, adapter, path, channelInputOptions(QStringLiteral("320x240")),
                           channelOutputOptions(QStringLiteral("1000"), QStringLiteral("320x240"))));
    QTRY_COMPARE_WITH_TIMEOUT(terminateSpy.count(), 2, 5000);
    const TerminateInfo ending = terminateAt(terminateSpy, 0);
    QVERIFY(ending.exceptionRaised);
    QVERIFY2(ending.exceptionMessage.contains(path), qPrintable(ending.exceptionMessage));
    QVERIFY2(ending.exceptionMessage.contains(QStringLiteral("No such file or directory")),
             qPrintable(ending.exceptionMessage));
    QVERIFY(!encoder.isWorking());
}

QTEST_GUILESS_MAIN(FFEncoderTest)
#include "tst_ffencoder.moc"
