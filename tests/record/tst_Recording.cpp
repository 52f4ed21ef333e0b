// Recording: channel files and catalogue rows, recording control by the camera
// flags and the recording switch, rotation, failures the operator must hear of,
// and the disk space reclaim.
#include "common/DateText.h"
#include "monitor/capture/CameraCapture.h"
#include "record/RecordingChannel.h"
#include "record/encoder/RecordingEncoder.h"
#include "support/RecordingRig.h"

#include <QProcess>
#include <QtTest>

namespace {

struct Row { int iid; QString sj; QString drq; QString wjmc; QString strpath; int wjid; };

QList<Row> catalogueRows(RecordingRig &f)
{
    QList<Row> rows;
    f.dbhouse.queryDateRange(QDateTime(QDate(2000, 1, 1), QTime()), QDateTime(QDate(2100, 1, 1), QTime()),
                              std::nullopt);
    CatalogueQuery &q = f.dbhouse.qwjcx;
    for (q.first(); !q.atEnd(); q.next())
        rows.append({q.integerField("iid"), q.textField("sj"), q.textField("drq"), q.textField("wjmc"),
                     q.textField("strpath"), q.integerField("wjid")});
    q.close();
    return rows;
}

// Feeds each running camera (and one coming back after a loss) a frame of its
// own colour about 30 times a second, for `ms` milliseconds.
void monitorFor(RecordingRig &f, int ms)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < ms) {
        for (int camera = 1; camera <= 4; ++camera) {
            CameraCapture &c = f.monitoring.capture(camera);
            if (c.boundDeviceIndex() < 0 || !(c.isRunning() || c.isReconnecting()))
                continue; // unplugged, or not open
            if (FakeCaptureSession *session = f.cameras.session(c.boundDeviceIndex()))
                session->deliverFrame(QColor::fromHsv(camera * 80, 200, 200));
        }
        QTest::qWait(33);
    }
}

void addCameras(RecordingRig &f, int count)
{
    f.addCameras(count);
}

void startMonitoring(RecordingRig &f, const QString &count)
{
    f.settings->strstsl = count;
    f.settings->strbcpathz = f.folder;
    f.start();
}

// What ffprobe reads of a recording: "codec WxH frames", or the error.
QString probe(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-select_streams", "v", "-count_frames", "-show_entries",
                              "stream=codec_name,width,height,nb_read_frames", "-of", "csv=p=0", path});
    ffprobe.waitForFinished(30000);
    return QString::fromUtf8(ffprobe.readAllStandardOutput() + ffprobe.readAllStandardError()).trimmed();
}

int probedFrames(const QString &path)
{
    return probe(path).section(',', 3, 3).toInt();
}

} // namespace

class RecordingTest : public QObject
{
    Q_OBJECT
private slots:
    void openNamesTheFileAndWritesItsRow_data();
    void openNamesTheFileAndWritesItsRow();
    void monitoringRecordsEveryOpenedCameraIntoPlayableFiles();
    void onlyCamerasThatOpenedRecord();
    void recordingSwitchOffRecordsNothing_data();
    void recordingSwitchOffRecordsNothing();
    void rotationStartsNewFilesAndRows();
    void settingsMenuLeavesRecordingRunning();
    void catalogueFailureReachesTheOperatorAndSkipsTheEncoder();
    void libraryLoadFailureReachesTheOperator();
    void writeFailureWhileRecordingIsReported();
    void startFailuresAreReportedAfterTheStart();
    void freeSpaceRoundsHalvesToEven_data();
    void freeSpaceRoundsHalvesToEven();
    void reclaimDeletesTheOldestFiveWhenLow_data();
    void reclaimDeletesTheOldestFiveWhenLow();
    void reclaimDeletesOnlyRecordingFiles();
    void reclaimMatchesTheSchemeAtTheEndOfTheName_data();
    void reclaimMatchesTheSchemeAtTheEndOfTheName();
    void reclaimKeepsTheFilesCamerasRecordInto();
    void operatorCommandsDuringTheRotationPause_data();
    void operatorCommandsDuringTheRotationPause();
    void rotationEndsWithTheRun();
    void lostCameraIsRecordedAsLostInTheSameFile();
    void rotationWhileMonitoringIsOffOnlyRestartsItsTimer();
};

void RecordingTest::openNamesTheFileAndWritesItsRow_data()
{
    QTest::addColumn<int>("camera");
    QTest::addColumn<QString>("saveFolder"); // relative to the sandbox
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("wjmc");
    QTest::newRow("camera 3") << 3 << "rec/" << "rec/20240312083005_3.mpg" << "20240312083005_3.mpg";
    QTest::newRow("camera 1") << 1 << "rec/" << "rec/20240312083005_1.mpg" << "20240312083005_1.mpg";
    // No trailing "/": the folder name runs into the digits, the file lands in the parent.
    QTest::newRow("folder without slash") << 1 << "rec" << "rec20240312083005_1.mpg" << "rec20240312083005_1.mpg";
}

void RecordingTest::openNamesTheFileAndWritesItsRow()
{
    QFETCH(int, camera);
    QFETCH(QString, saveFolder);
    QFETCH(QString, path);
    QFETCH(QString, wjmc);
    RecordingRig f;
    f.settings->strbcpathz = f.folder + saveFolder;
    RecordingChannel &channel = f.channel(camera);
    channel.btnOpenClick();
    QCOMPARE(channel.outputPath(), f.folder + path);
    QVERIFY(channel.panelState().startEnabled);
    const QList<Row> rows = catalogueRows(f);
    QCOMPARE(rows.size(), 1);
    QCOMPARE(rows[0].wjmc, wjmc);
    QCOMPARE(rows[0].strpath, f.folder + path);
    QCOMPARE(rows[0].wjid, camera);
    QCOMPARE(rows[0].sj, QString("2024-03-12 08:30:05"));
    QCOMPARE(rows[0].drq, QString("2024-03-12 00:00:00"));
    QCOMPARE(channel.outputOptions(),
             QString("-c:v libx264 -c:a libmp3lame -b:v 1000k -target pal-dvd -pix_fmt yuv420p -r 30/1 -s %1 -vsync -1")
                 .arg(camera == 4 ? "320x240" : "640x480"));
}

void RecordingTest::monitoringRecordsEveryOpenedCameraIntoPlayableFiles()
{
    RecordingRig f;
    addCameras(f, 4);
    startMonitoring(f, "4");
    for (int camera = 1; camera <= 4; ++camera)
        QVERIFY(f.channel(camera).isRecording());
    QVERIFY2(f.recording.recordingStatus().contains("摄像头4录像: 20240312083005_4.mpg"),
             qPrintable(f.recording.recordingStatus().join(", ")));
    monitorFor(f, 2000);
    f.stop();
    QVERIFY(f.prompter.shown.isEmpty());
    QVERIFY(f.recording.recordingStatus().isEmpty());

    const QList<Row> rows = catalogueRows(f);
    QCOMPARE(rows.size(), 4);
    for (const Row &row : rows) {
        QCOMPARE(row.strpath, f.folder + row.wjmc);
        QVERIFY(row.wjmc.endsWith(QString("_%1.mpg").arg(row.wjid)));
        QVERIFY(!f.channel(row.wjid).isRecording());
        const QString size = row.wjid == 4 ? "320,240" : "640,480";
        const QString probed = probe(row.strpath);
        QVERIFY2(probed.startsWith("mpeg2video," + size + ","), qPrintable(probed));
        QVERIFY2(qAbs(probedFrames(row.strpath) - 60) <= 8, qPrintable(probed));
    }
}

void RecordingTest::onlyCamerasThatOpenedRecord()
{
    RecordingRig f;
    addCameras(f, 3);
    f.cameras.setFailure(1, FakeCaptureBackend::Failure::AtRun);
    startMonitoring(f, "3");
    QVERIFY(f.monitoring.cameraOpened(1) && !f.monitoring.cameraOpened(2) && f.monitoring.cameraOpened(3));
    QVERIFY(f.channel(1).isRecording());
    QVERIFY(!f.channel(2).isRecording());
    QVERIFY(f.channel(3).isRecording());
    QVERIFY(!f.channel(4).isRecording());
    f.stop();
    QList<int> cameras;
    for (const Row &row : catalogueRows(f))
        cameras << row.wjid;
    QCOMPARE(cameras, (QList<int>{1, 3}));
}

void RecordingTest::recordingSwitchOffRecordsNothing_data()
{
    QTest::addColumn<QString>("strsfbcsp");
    QTest::addColumn<QString>("strstsl");
    QTest::newRow("switch 0") << "0" << "2";
    QTest::newRow("switch empty") << "" << "2";
    QTest::newRow("count outside 1-4") << "1" << "6";
}

void RecordingTest::recordingSwitchOffRecordsNothing()
{
    QFETCH(QString, strsfbcsp);
    QFETCH(QString, strstsl);
    RecordingRig f;
    addCameras(f, 2);
    f.settings->strsfbcsp = strsfbcsp;
    startMonitoring(f, strstsl);
    QVERIFY(f.monitoring.monitoringOn());
    for (int camera = 1; camera <= 4; ++camera)
        QVERIFY(!f.channel(camera).isRecording());
    QVERIFY(f.recording.recordingStatus().isEmpty());
    f.stop();
    QVERIFY(catalogueRows(f).isEmpty());
}

void RecordingTest::rotationStartsNewFilesAndRows()
{
    RecordingRig f;
    addCameras(f, 2);
    startMonitoring(f, "2");
    monitorFor(f, 1000);
    f.clock.moment = f.clock.moment.addSecs(100 * 60);
    f.rotation.setPauseMs(200);
    f.rotation.tick();
    QVERIFY(!f.monitoring.monitoringOn()); // the pause
    QTRY_VERIFY(f.monitoring.monitoringOn());
    QVERIFY(f.txstwo.isActive());
    monitorFor(f, 1000);
    f.stop();

    const QList<Row> rows = catalogueRows(f);
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[0].wjmc, QString("20240312083005_1.mpg"));
    QCOMPARE(rows[1].wjmc, QString("20240312083005_2.mpg"));
    QCOMPARE(rows[2].wjmc, QString("20240312101005_1.mpg"));
    QCOMPARE(rows[3].wjmc, QString("20240312101005_2.mpg"));
    for (const Row &row : rows)
        QVERIFY2(probedFrames(row.strpath) >= 20, qPrintable(row.wjmc + ": " + probe(row.strpath)));
}

void RecordingTest::settingsMenuLeavesRecordingRunning()
{
    RecordingRig f;
    addCameras(f, 1);
    startMonitoring(f, "1");
    const QString file = f.channel(1).outputPath();
    monitorFor(f, 500);
    // What the settings menu does around its dialog while monitoring is on.
    f.monitoring.closeCamerasForCount();
    f.monitoring.openCamerasForCount();
    QVERIFY(f.channel(1).isRecording());
    QCOMPARE(f.channel(1).outputPath(), file);
    monitorFor(f, 500);
    f.stop();
    QCOMPARE(catalogueRows(f).size(), 1);
    QVERIFY2(probedFrames(file) >= 20, qPrintable(probe(file)));
}

void RecordingTest::catalogueFailureReachesTheOperatorAndSkipsTheEncoder()
{
    RecordingRig f(false); // no catalogue file beside the program
    addCameras(f, 1);
    startMonitoring(f, "1");
    QVERIFY(f.monitoring.monitoringOn());
    QVERIFY(f.monitoring.capture(1).isRunning()); // monitoring works without the catalogue
    QVERIFY(!f.channel(1).isRecording());
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::Critical);
    QVERIFY2(f.prompter.shown[0].text.contains("dzxcb.db"), qPrintable(f.prompter.shown[0].text));
}

void RecordingTest::libraryLoadFailureReachesTheOperator()
{
    RecordingEncoder::unloadLibraries();
    RecordingEncoder::setLibraryProbe([] { return QStringList{"mpeg2video encoder"}; });
    RecordingRig f;
    addCameras(f, 2);
    startMonitoring(f, "2");
    RecordingEncoder::setLibraryProbe(nullptr);
    RecordingEncoder::unloadLibraries();

    QVERIFY(f.monitoring.monitoringOn());
    QVERIFY(catalogueRows(f).isEmpty());
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].text, QString("FFmpeg libraries not loaded."));
}

void RecordingTest::writeFailureWhileRecordingIsReported()
{
    RecordingRig f;
    addCameras(f, 2);
    // Camera 2's disk "fills up" after 200 kB.
    class FullDisk final : public OutputSink
    {
    public:
        explicit FullDisk(std::unique_ptr<OutputSink> file) : file_(std::move(file)) {}
        int write(const uint8_t *data, int size) override
        {
            if (written_ + size > 200000)
                return -ENOSPC;
            written_ += size;
            return file_->write(data, size);
        }
        qint64 seek(qint64 offset, int whence) override { return file_->seek(offset, whence); }
        qint64 sizeBytes() override { return file_->sizeBytes(); }

    private:
        std::unique_ptr<OutputSink> file_;
        qint64 written_ = 0;
    };
    f.channel(2).FFEncoder.setOutputSinkFactory([](const QString &path, QString *error) {
        std::unique_ptr<OutputSink> file = FileSink::create(path, error);
        return file ? std::unique_ptr<OutputSink>(new FullDisk(std::move(file))) : nullptr;
    });
    startMonitoring(f, "2");
    QTRY_VERIFY_WITH_TIMEOUT(!f.channel(2).isRecording(), 20000);
    QTRY_COMPARE(f.prompter.shown.size(), 1);
    const QString expected = QStringLiteral("录像文件 %1 写入中断: ").arg(f.channel(2).outputPath());
    QVERIFY2(f.prompter.shown[0].text.startsWith(expected), qPrintable(f.prompter.shown[0].text));
    QVERIFY2(f.prompter.shown[0].text.contains("No space left"), qPrintable(f.prompter.shown[0].text));
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::Warning);
    QVERIFY(f.channel(1).isRecording()); // the other camera goes on
    f.stop();
    const QString failed = f.channel(2).outputPath();
    QVERIFY2(probedFrames(failed) > 0, qPrintable(probe(failed)));
}

void RecordingTest::startFailuresAreReportedAfterTheStart()
{
    RecordingRig f;
    addCameras(f, 2);
    // A bit rate the encoder cannot read: each start fails at once.
    f.settings->strqxd = "fast";
    startMonitoring(f, "2");
    QVERIFY(f.monitoring.monitoringOn());
    // The boxes wait until the start has gone through every camera.
    QVERIFY(f.prompter.shown.isEmpty());
    QTRY_COMPARE(f.prompter.shown.size(), 2);
    QVERIFY2(f.prompter.shown[0].text.contains("摄像头1") && f.prompter.shown[0].text.contains("fast"),
             qPrintable(f.prompter.shown[0].text));
    QVERIFY2(f.prompter.shown[1].text.contains("摄像头2"), qPrintable(f.prompter.shown[1].text));
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::Warning);
    f.stop();

    // A save folder that does not exist: the file cannot be made, and that is said too.
    f.prompter.shown.clear();
    f.settings->strqxd = "1000";
    f.settings->strbcpathz = f.folder + "missing/";
    f.start();
    QTRY_COMPARE(f.prompter.shown.size(), 2);
    QVERIFY2(f.prompter.shown[0].text.startsWith(QStringLiteral("录像文件 %1missing/").arg(f.folder)),
             qPrintable(f.prompter.shown[0].text));
    QVERIFY2(f.prompter.shown[0].text.contains(QStringLiteral("无法开始录像")), qPrintable(f.prompter.shown[0].text));
    QVERIFY(!f.channel(1).isRecording() && !f.channel(2).isRecording());
    f.stop();
}

void RecordingTest::freeSpaceRoundsHalvesToEven_data()
{
    QTest::addColumn<qint64>("bytes");
    QTest::addColumn<double>("gib");
    const qint64 gib = qint64(1) << 30;
    QTest::newRow("2.04") << qint64(2.04 * gib) << 2.0;
    QTest::newRow("2.06") << qint64(2.06 * gib) << 2.1;
    QTest::newRow("exactly 2") << 2 * gib << 2.0;
    QTest::newRow("2.25: half to even, down") << qint64(2.25 * gib) << 2.2;
    QTest::newRow("2.75: half to even, up") << qint64(2.75 * gib) << 2.8;
}

void RecordingTest::freeSpaceRoundsHalvesToEven()
{
    QFETCH(qint64, bytes);
    QFETCH(double, gib);
    QCOMPARE(DiskReclaim::roundedFreeGiB(bytes), gib);
}

void RecordingTest::reclaimDeletesTheOldestFiveWhenLow_data()
{
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QString>("strdelz");
    QTest::addColumn<int>("recordings");
    QTest::addColumn<int>("deleted");
    const qint64 gib = qint64(1) << 30;
    QTest::newRow("2.04 GiB: five go") << qint64(2.04 * gib) << "Y" << 7 << 5;
    QTest::newRow("exactly 2 GiB: five go") << 2 * gib << "Y" << 7 << 5;
    QTest::newRow("2.06 GiB: nothing") << qint64(2.06 * gib) << "Y" << 7 << 0;
    QTest::newRow("three rows: all three go") << qint64(1) << "Y" << 3 << 3;
    QTest::newRow("switched off") << qint64(1) << "N" << 7 << 0;
    QTest::newRow("free space unknown") << qint64(-1) << "Y" << 7 << 0;
}

void RecordingTest::reclaimDeletesTheOldestFiveWhenLow()
{
    QFETCH(qint64, freeBytes);
    QFETCH(QString, strdelz);
    QFETCH(int, recordings);
    QFETCH(int, deleted);
    RecordingRig f;
    f.settings->strbcpathz = f.folder;
    f.settings->strdelz = strdelz;
    f.disk.bytes = freeBytes;
    QStringList files;
    for (int i = 0; i < recordings; ++i) {
        // Cameras and times out of order: only the row order decides.
        const QString name = QString("202403%1").arg(20 - i, 2, 10, QChar('0')) + QString("083005_%1.mpg").arg(4 - i % 4);
        QFile file(f.folder + name);
        QVERIFY(file.open(QIODevice::WriteOnly));
        files << file.fileName();
        f.dbhouse.insertRecording(f.clock.moment, QDateTime(f.clock.moment.date(), QTime()), name,
                                   file.fileName(), 4 - i % 4);
    }
    f.reclaim.tick();
    QVERIFY(f.typdel.isActive());
    for (int i = 0; i < recordings; ++i)
        QCOMPARE(QFile::exists(files[i]), i >= deleted);
    const QList<Row> rows = catalogueRows(f);
    QCOMPARE(rows.size(), recordings - deleted);
    if (!rows.isEmpty())
        QCOMPARE(rows.first().strpath, files[deleted]);
    if (strdelz == "Y")
        QCOMPARE(f.disk.askedFor, f.folder);
}

void RecordingTest::reclaimDeletesOnlyRecordingFiles()
{
    RecordingRig f;
    f.disk.bytes = 0;
    QDir(f.folder).mkdir("keep");
    const QString precious = f.folder + "keep/precious.txt";
    QFile(precious).open(QIODevice::WriteOnly);
    const QString link = f.folder + "20240312083005_1.mpg";
    QVERIFY(QFile::link(precious, link));
    const QString folderNamedLikeARecording = f.folder + "20240312083006_2.mpg";
    QVERIFY(QDir(f.folder).mkdir("20240312083006_2.mpg"));
    const QString missing = f.folder + "20240312083007_3.mpg";
    const auto insert = [&f](const QString &path) {
        f.dbhouse.insertRecording(f.clock.moment, QDateTime(f.clock.moment.date(), QTime()),
                                   QFileInfo(path).fileName(), path, 1);
    };
    for (const QString &path : {precious, link, folderNamedLikeARecording, missing})
        insert(path);
    f.reclaim.tick();
    QVERIFY(catalogueRows(f).isEmpty()); // every row goes
    QVERIFY(QFile::exists(precious));    // but no file that is not a recording
    QVERIFY(QFileInfo(link).isSymLink());
    QVERIFY(QFileInfo(folderNamedLikeARecording).isDir());
}

void RecordingTest::reclaimMatchesTheSchemeAtTheEndOfTheName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("deleted");
    QTest::newRow("save folder with a trailing slash") << "20240312083005_1.mpg" << true;
    QTest::newRow("save folder without one: prefix before the time") << "rec20240312083005_4.mpg" << true;
    QTest::newRow("camera 5") << "20240312083005_5.mpg" << false;
    QTest::newRow("13 digits") << "2024031208300_1.mpg" << false;
    QTest::newRow("other extension after it") << "20240312083005_1.mpg.bak" << false;
    QTest::newRow("upper-case extension") << "20240312083005_1.MPG" << false;
    QTest::newRow("text between time and camera") << "20240312083005x_1.mpg" << false;
}

void RecordingTest::reclaimMatchesTheSchemeAtTheEndOfTheName()
{
    QFETCH(QString, name);
    QFETCH(bool, deleted);
    RecordingRig f;
    f.disk.bytes = 0;
    const QString path = f.folder + name;
    QVERIFY(QFile(path).open(QIODevice::WriteOnly));
    f.dbhouse.insertRecording(f.clock.moment, QDateTime(f.clock.moment.date(), QTime()), name, path, 1);
    f.reclaim.tick();
    QCOMPARE(QFile::exists(path), !deleted);
    QVERIFY(catalogueRows(f).isEmpty());
}

// The five oldest rows include the files the cameras are recording into right
// now: those files stay and play to the end, only their rows go.
void RecordingTest::reclaimKeepsTheFilesCamerasRecordInto()
{
    RecordingRig f;
    addCameras(f, 4);
    const QString older = f.folder + "20240311083005_1.mpg";
    QVERIFY(QFile(older).open(QIODevice::WriteOnly));
    f.dbhouse.insertRecording(f.clock.moment.addDays(-1), QDateTime(f.clock.moment.date().addDays(-1), QTime()),
                               QFileInfo(older).fileName(), older, 1);
    startMonitoring(f, "4");
    monitorFor(f, 700);
    QStringList live;
    QList<qint64> sizes;
    for (int camera = 1; camera <= 4; ++camera) {
        QVERIFY(f.channel(camera).isRecording());
        live << f.channel(camera).outputPath();
    }
    QCOMPARE(catalogueRows(f).size(), 5);

    f.disk.bytes = 0;
    f.reclaim.tick();
    QVERIFY(!QFile::exists(older));
    QVERIFY(catalogueRows(f).isEmpty());
    for (const QString &path : live) {
        QVERIFY2(QFile::exists(path), qPrintable(path));
        sizes << QFileInfo(path).size();
    }
    monitorFor(f, 1500);
    f.stop();
    for (int i = 0; i < live.size(); ++i) {
        QVERIFY2(QFileInfo(live[i]).size() > sizes[i], qPrintable(live[i]));
        QVERIFY2(probedFrames(live[i]) >= 45, qPrintable(live[i] + ": " + probe(live[i])));
    }
}

void RecordingTest::operatorCommandsDuringTheRotationPause_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("monitoringAfter");
    QTest::addColumn<int>("rows");
    QTest::newRow("开启监控 pressed") << "start" << true << 4;
    QTest::newRow("视频查询 chosen") << "query page" << false << 2;
    QTest::newRow("视频查询 and back to 视频监控") << "query page and back" << true << 4;
}

// The pause between stop and start leaves the window usable; whatever the
// operator does in it, the rotation must not start monitoring a second time.
void RecordingTest::operatorCommandsDuringTheRotationPause()
{
    QFETCH(QString, command);
    QFETCH(bool, monitoringAfter);
    QFETCH(int, rows);
    RecordingRig f;
    addCameras(f, 2);
    startMonitoring(f, "2");
    monitorFor(f, 500);
    f.clock.moment = f.clock.moment.addSecs(100 * 60);
    f.rotation.setPauseMs(400);
    QTimer::singleShot(100, &f.rotation, [&f, command] {
        QVERIFY(f.rotation.pausing());
        if (command == "start") {
            f.start();
        } else {
            // The query page stops monitoring; coming back starts it.
            f.monitoringPageShown = false;
            f.stop();
            if (command == "query page and back") {
                f.monitoringPageShown = true;
                f.start();
            }
        }
    });
    f.rotation.tick();
    QTest::qWait(800);
    QTRY_VERIFY(f.txstwo.isActive());
    monitorFor(f, 700);

    QCOMPARE(f.monitoring.monitoringOn(), monitoringAfter);
    for (int camera = 1; camera <= 2; ++camera)
        QCOMPARE(f.channel(camera).isRecording(), monitoringAfter);
    QVERIFY2(f.prompter.shown.isEmpty(), qPrintable(f.prompter.shown.value(0).text));
    f.stop();
    const QList<Row> written = catalogueRows(f);
    QCOMPARE(written.size(), rows);
    for (const Row &row : written)
        QVERIFY2(probedFrames(row.strpath) >= 10, qPrintable(row.wjmc + ": " + probe(row.strpath)));
}

// The run ends in the pause (window closed, tray exit): nothing starts again.
void RecordingTest::rotationEndsWithTheRun()
{
    RecordingRig f;
    addCameras(f, 1);
    startMonitoring(f, "1");
    f.rotation.setPauseMs(200);
    f.rotation.tick();
    f.runEnding = true;
    QTRY_VERIFY(!f.rotation.pausing());
    QVERIFY(!f.monitoring.monitoringOn());
    QVERIFY(!f.channel(1).isRecording());
    QVERIFY(!f.txstwo.isActive());
    QCOMPARE(catalogueRows(f).size(), 1);
}

void RecordingTest::rotationWhileMonitoringIsOffOnlyRestartsItsTimer()
{
    RecordingRig f;
    addCameras(f, 1);
    f.rotation.tick();
    QVERIFY(!f.rotation.pausing());
    QVERIFY(f.txstwo.isActive());
    QCOMPARE(f.txstwo.interval(), 100 * 60 * 1000);
    QVERIFY(!f.monitoring.monitoringOn());
    QVERIFY(catalogueRows(f).isEmpty());
}

namespace {

// One frame of a recording at a moment, decoded by the ffmpeg tool.
QImage frameAt(const QString &path, double seconds, const QString &scratch)
{
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-ss", QString::number(seconds), "-i", path, "-frames:v", "1", "-y", scratch});
    ffmpeg.waitForFinished(30000);
    return QImage(scratch);
}

// Red letters across the middle: the "no signal" marker.
bool showsNoSignal(const QImage &picture)
{
    for (int y = picture.height() * 2 / 5; y < picture.height() * 3 / 5; ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() > 150 && c.red() > c.green() + 60 && c.red() > c.blue() + 30)
                return true;
        }
    return false;
}

} // namespace

// Camera 3 unplugged and plugged in again while four cameras record: its file
// goes on at its pace with the loss marked, and it continues in the same file.
void RecordingTest::lostCameraIsRecordedAsLostInTheSameFile()
{
    RecordingRig f;
    addCameras(f, 4);
    f.monitoring.setRetryIntervalMs(200);
    startMonitoring(f, "4");
    const QString file3 = f.channel(3).outputPath();
    monitorFor(f, 1000);
    const QString identity = f.monitoring.capture(3).boundDeviceIdentity();
    f.cameras.unplug(f.monitoring.capture(3).boundDeviceIndex());
    QTRY_COMPARE(f.monitoring.lostCameras(), QList<int>{3});
    monitorFor(f, 1500);
    f.cameras.replug(identity);
    QTRY_VERIFY(f.monitoring.capture(3).isReconnecting());
    monitorFor(f, 300);
    QTRY_VERIFY(f.monitoring.lostCameras().isEmpty());
    monitorFor(f, 700);
    QCOMPARE(f.channel(3).outputPath(), file3);
    QVERIFY(f.channel(3).isRecording());
    f.stop();
    QVERIFY(f.prompter.shown.isEmpty());

    const int frames1 = probedFrames(f.channel(1).outputPath());
    const int frames3 = probedFrames(file3);
    QVERIFY2(qAbs(frames3 - frames1) <= 6, qPrintable(QString("%1 against %2").arg(frames3).arg(frames1)));
    const QString scratch = f.folder + "frame.png";
    // Every tenth of a second of camera 3's file: a picture, then the marked loss, then pictures again.
    QString timeline;
    for (double t = 0; t < frames3 / 30.0; t += 0.1)
        timeline += showsNoSignal(frameAt(file3, t, scratch)) ? 'X' : '.';
    QVERIFY2(QRegularExpression("^\\.{3,}X{10,}\\.{3,}$").match(timeline).hasMatch(), qPrintable(timeline));
    QVERIFY(!showsNoSignal(frameAt(f.channel(2).outputPath(), 1.8, scratch)));
}

QTEST_MAIN(RecordingTest)
#include "tst_Recording.moc"
