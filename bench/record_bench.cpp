// Recording under load: four virtual cameras (three at 640x480, one at 320x240)
// recorded for 60 s while, in the same run, four ffmpeg processes encode the same
// test pattern with the same output options in real time (-re).
// Prints CPU seconds per recorded camera-minute for both and their ratio, the
// frames written per file against 30 x seconds, and the program's resident memory.
// The program also shows the four cameras live while it records, which the tool
// does not: a first stretch of monitoring alone measures that share, so the report
// gives the ratio for the whole program and for its recording alone.
//
//   record_bench [--seconds N]      (run under xvfb-run, or with -platform offscreen)
#include "BenchProgram.h"
#include "ProcessStats.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "app/ProgramWindows.h"
#include "catalogue/CatalogueFile.h"
#include "monitor/capture/CameraCapture.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "common/DiskSpace.h"
#include "record/RecordingChannel.h"
#include "settings/TGlobal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <memory>
#include <sys/resource.h>

namespace {

double childrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

QString sizeOf(int camera)
{
    return camera == 4 ? "320x240" : "640x480";
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = secondsOption(QApplication::arguments(), 60, 10);

    QTemporaryDir sandbox;
    BenchProgram bench(sandbox.path() + '/');
    const QString folder = bench.folder;
    TGlobal &settings = bench.settings;
    Tfmain &window = bench.window();

    // Monitoring alone first: what the live view costs without recording.
    settings.strsfbcsp = "0";
    window.BitBtn10Click();
    const int monitoringOnlySeconds = 20;
    const double monitoringCpuAtStart = ProcessStats::cpuSeconds();
    // exit(), not quit(): quit() would close the window and with it stop monitoring.
    QTimer::singleShot(monitoringOnlySeconds * 1000, &app, [] { QCoreApplication::exit(0); });
    app.exec();
    const double monitoringCpuPerSecond =
        (ProcessStats::cpuSeconds() - monitoringCpuAtStart) / monitoringOnlySeconds;
    settings.strsfbcsp = "1";

    // The command-line tool, same pattern source, same output options, real time.
    std::vector<std::unique_ptr<QProcess>> tools;
    for (int camera = 1; camera <= 4; ++camera) {
        auto tool = std::make_unique<QProcess>();
        QStringList arguments = {"-v", "error", "-y", "-re", "-f", "lavfi", "-i",
                                 QString("testsrc2=size=%1:rate=30").arg(sizeOf(camera)), "-t",
                                 QString::number(seconds)};
        arguments += window.channel(camera).outputOptions().split(' ');
        arguments << folder + QString("cli_%1.mpg").arg(camera);
        tool->start("ffmpeg", arguments);
        tools.push_back(std::move(tool));
    }

    const double cpuAtStart = ProcessStats::cpuSeconds();
    const double rssAtStart = ProcessStats::residentMiB();
    window.BitBtn5Click();
    QElapsedTimer wall;
    wall.start();
    double recordedSeconds = 0;
    double cpuOurs = 0;
    double rssAtEnd = 0;
    double rssSettled = 0;
    // The encoders' buffers are allocated in the first seconds; growth is measured from here.
    QTimer::singleShot(10000, &app, [&] { rssSettled = ProcessStats::residentMiB(); });
    QTimer::singleShot(seconds * 1000, &app, [&] {
        rssAtEnd = ProcessStats::residentMiB();
        recordedSeconds = double(wall.nsecsElapsed()) / 1e9;
        window.BitBtn11Click();
        cpuOurs = ProcessStats::cpuSeconds() - cpuAtStart;
        QCoreApplication::exit(0);
    });
    app.exec();
    for (auto &tool : tools)
        tool->waitForFinished(60000);
    const double cpuTools = childrenCpuSeconds();

    const double cameraMinutes = 4.0 * recordedSeconds / 60.0;
    const double cliCameraMinutes = 4.0 * seconds / 60.0;
    const double oursPerMinute = cpuOurs / cameraMinutes;
    const double recordingPerMinute = (cpuOurs - monitoringCpuPerSecond * recordedSeconds) / cameraMinutes;
    const double toolPerMinute = cpuTools / cliCameraMinutes;
    std::printf("recording 4 virtual cameras for %.1f s, ffmpeg -re for %d s\n", recordedSeconds, seconds);
    std::printf("live view alone: %.1f %% of one core\n", 100.0 * monitoringCpuPerSecond);
    std::printf("CPU per recorded camera-minute, ffmpeg: %.2f s\n", toolPerMinute);
    std::printf("CPU per recorded camera-minute, Kamvist with live view: %.2f s, ratio %.2f\n", oursPerMinute,
                oursPerMinute / toolPerMinute);
    std::printf("CPU per recorded camera-minute, Kamvist recording alone: %.2f s, ratio %.2f\n",
                recordingPerMinute, recordingPerMinute / toolPerMinute);
    for (int camera = 1; camera <= 4; ++camera) {
        const QString path = window.channel(camera).outputPath();
        const int frames = countFrames(path);
        const double expected = 30.0 * recordedSeconds;
        std::printf("camera %d (%s): %d frames written, 30 x seconds = %.0f (%+.2f %%)\n", camera,
                    qPrintable(sizeOf(camera)), frames, expected, 100.0 * (frames - expected) / expected);
    }
    std::printf("resident memory: %.1f MiB before recording, %.1f MiB after 10 s, %.1f MiB at the end (%+.1f MiB)\n",
                rssAtStart, rssSettled, rssAtEnd, rssAtEnd - rssSettled);
    return 0;
}
