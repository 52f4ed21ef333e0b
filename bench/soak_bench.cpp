// Soak: four virtual cameras recorded for a long stretch with the file rotation
// shortened (every 30 s instead of 100 minutes), to show that nothing builds up
// from one rotation to the next. After each rotation it prints resident memory,
// open file descriptors and threads; at the end, the growth from the first to
// the last rotation, files and catalogue rows per rotation, and whether every
// file plays to the end.
//
//   soak_bench [--minutes N] [--rotation-seconds S]   (under xvfb-run, or -platform offscreen)
#include "BenchProgram.h"
#include "ProcessStats.h"
#include "app/ProgramWindows.h"
#include "catalogue/CatalogueFile.h"
#include "catalogue/CatalogueQuery.h"
#include "common/Clock.h"
#include "common/DiskSpace.h"
#include "common/Prompter.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "record/RecordingChannel.h"
#include "settings/TGlobal.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

int intOption(const QStringList &arguments, const QString &name, int fallback, int minimum)
{
    const int at = arguments.indexOf(name);
    if (at < 0 || at + 1 >= arguments.size())
        return fallback;
    return std::max(minimum, arguments[at + 1].toInt());
}

int openDescriptors()
{
    return int(QDir("/proc/self/fd").entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::System).size());
}

int threadCount()
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("Threads:"))
            return line.mid(8).trimmed().toInt();
    }
    return -1;
}

struct Sample
{
    double residentMiB = 0;
    int descriptors = 0;
    int threads = 0;
};

Sample sample()
{
    return {ProcessStats::residentMiB(), openDescriptors(), threadCount()};
}

// Frames ffprobe decodes from the file, and whatever it complained about.
QPair<int, QString> probe(const QString &path)
{
    QProcess ffprobe;
    ffprobe.start("ffprobe", {"-v", "error", "-select_streams", "v", "-count_frames", "-show_entries",
                              "stream=nb_read_frames", "-of", "csv=p=0", path});
    ffprobe.waitForFinished(120000);
    const int frames = ffprobe.readAllStandardOutput().trimmed().split(',').value(0).toInt();
    return {frames, QString::fromUtf8(ffprobe.readAllStandardError()).trimmed()};
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int minutes = intOption(arguments, "--minutes", 30, 1);
    const int rotationSeconds = intOption(arguments, "--rotation-seconds", 30, 5);

    QTemporaryDir sandbox;
    BenchProgram bench(sandbox.path() + '/');
    const QString folder = bench.folder;
    Tfmain &window = bench.window();
    PrintingPrompter &prompter = bench.prompter;
    ProgramWindows &program = *bench.program;
    window.Txstwo->setInterval(rotationSeconds * 1000);
    window.Txstwo->start();
    window.BitBtn10Click();

    QList<Sample> afterRotation;
    QString lastFile = window.channel(1).outputPath();
    QElapsedTimer wall;
    wall.start();
    std::printf("4 virtual cameras, rotation every %d s, for %d min\n", rotationSeconds, minutes);
    std::printf("rotation  resident MiB  descriptors  threads\n");
    std::fflush(stdout);
    // A new file on camera 1 means a rotation has just restarted monitoring;
    // the sample waits a few seconds for the new encoders to settle.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, &app, [&] {
        const QString file = window.channel(1).outputPath();
        if (file == lastFile || !window.monitoringOn())
            return;
        lastFile = file;
        QTimer::singleShot(5000, &app, [&] {
            if (!window.monitoringOn())
                return; // the end of the run, not a rotation
            afterRotation << sample();
            const Sample &s = afterRotation.last();
            std::printf("%8lld  %12.1f  %11d  %7d\n", static_cast<long long>(afterRotation.size()), s.residentMiB,
                        s.descriptors, s.threads);
            std::fflush(stdout);
        });
    });
    watch.start(250);
    QTimer::singleShot(minutes * 60 * 1000, &app, [&] {
        window.BitBtn11Click();
        QCoreApplication::exit(0);
    });
    app.exec();
    watch.stop();

    // Rows come in groups of four, cameras 1 to 4, one group per start of monitoring.
    program.dbhouse->queryDateRange(QDateTime(QDate(2000, 1, 1), QTime()), QDateTime(QDate(2100, 1, 1), QTime()),
                                    std::nullopt);
    CatalogueQuery &listed = program.dbhouse->qwjcx;
    QStringList paths;
    bool groupsOfFour = true;
    for (listed.first(); !listed.atEnd(); listed.next()) {
        groupsOfFour = groupsOfFour && listed.integerField("wjid") == paths.size() % 4 + 1;
        paths << listed.textField("strpath");
    }
    listed.close();
    const int filesOnDisk = int(QDir(folder).entryList({"*.mpg"}, QDir::Files).size());
    int playable = 0;
    int shortest = -1;
    for (const QString &path : paths) {
        const auto [frames, complaint] = probe(path);
        if (frames > 0 && complaint.isEmpty())
            ++playable;
        else
            std::printf("not playable: %s (%d frames) %s\n", qPrintable(path), frames, qPrintable(complaint));
        shortest = shortest < 0 ? frames : std::min(shortest, frames);
    }

    const int rotations = int(afterRotation.size());
    std::printf("\n%d rotations in %.1f min; %d catalogue rows, %d files on disk, rows in groups of cameras 1-4: %s\n",
                rotations, double(wall.elapsed()) / 60000.0, int(paths.size()), filesOnDisk,
                groupsOfFour ? "yes" : "no");
    std::printf("per camera per start of monitoring: %.2f rows, %.2f files (1 expected)\n",
                double(paths.size()) / (4.0 * (rotations + 1)), double(filesOnDisk) / (4.0 * (rotations + 1)));
    std::printf("playable files: %d of %d, shortest %d frames\n", playable, int(paths.size()), shortest);
    if (rotations >= 2) {
        const Sample &first = afterRotation.first();
        const Sample &last = afterRotation.last();
        const double perTen = (last.residentMiB - first.residentMiB) * 10.0 / (rotations - 1);
        std::printf("from rotation 1 to %d: resident %+.1f MiB (%+.2f MiB per 10 rotations), descriptors %+d, "
                    "threads %+d\n",
                    rotations, last.residentMiB - first.residentMiB, perTen, last.descriptors - first.descriptors,
                    last.threads - first.threads);
    }
    std::printf("message boxes: %d\n", prompter.messages);
    return 0;
}
