// Camera loss: four virtual cameras recording; camera 3 is pulled and plugged
// in again, over and over. Prints the time from the pull to the "no signal"
// picture, from the re-plug to the first new picture, and the frames of each
// file against 30 a second of recording.
//
//   camera_loss_bench [--pulls N] [--out-ms MS] [--back-ms MS] [--keep DIR]
//   (under xvfb-run, or with -platform offscreen; no arguments needed)
#include "BenchProgram.h"
#include "ProcessStats.h"
#include "app/ProgramWindows.h"
#include "catalogue/CatalogueFile.h"
#include "common/Clock.h"
#include "common/DiskSpace.h"
#include "common/Prompter.h"
#include "monitor/MonitoringControl.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "monitor/capture/VirtualCameraBackend.h"
#include "record/RecordingChannel.h"
#include "settings/TGlobal.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

namespace {

int intOption(const QStringList &arguments, const QString &name, int fallback)
{
    const int at = arguments.indexOf(name);
    return at >= 0 && at + 1 < arguments.size() ? arguments[at + 1].toInt() : fallback;
}

void waitMs(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

void printSummary(const char *what, QList<double> ms)
{
    if (ms.isEmpty()) {
        std::printf("%s: no samples\n", what);
        return;
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%s: median %.0f ms, max %.0f ms over %lld\n", what, ms[ms.size() / 2], ms.last(),
                static_cast<long long>(ms.size()));
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = QApplication::arguments();
    const int pulls = intOption(arguments, "--pulls", 20);
    const int outMs = intOption(arguments, "--out-ms", 3000);
    const int backMs = intOption(arguments, "--back-ms", 4000);
    const int keepAt = arguments.indexOf("--keep");

    QTemporaryDir sandbox;
    const QString folder = keepAt >= 0 && keepAt + 1 < arguments.size()
        ? QDir(arguments[keepAt + 1]).absolutePath() + '/'
        : sandbox.path() + '/';
    QDir().mkpath(folder);
    BenchProgram bench(folder);
    Tfmain &window = bench.window();
    SystemCaptureBackend &cameras = bench.cameras;
    window.BitBtn10Click();
    MonitoringControl &monitoring = window.monitoring();

    QElapsedTimer sincePull;
    QElapsedTimer sinceReplug;
    QList<double> lossToOverlayMs;
    QList<double> replugToPictureMs;
    QObject::connect(&monitoring, &MonitoringControl::cameraLost, &app, [&](int camera) {
        if (camera == 3 && sincePull.isValid())
            lossToOverlayMs << sincePull.nsecsElapsed() / 1e6;
    });
    QObject::connect(&monitoring, &MonitoringControl::cameraRestored, &app, [&](int camera) {
        if (camera == 3 && sinceReplug.isValid())
            replugToPictureMs << sinceReplug.nsecsElapsed() / 1e6;
    });

    QElapsedTimer recording;
    recording.start();
    waitMs(3000);
    std::printf("4 virtual cameras recording; camera 3 pulled %d times for %d ms, %d ms between\n", pulls, outMs,
                backMs);
    std::fflush(stdout);
    for (int pull = 0; pull < pulls; ++pull) {
        sincePull.start();
        cameras.virtualCameras().unplug(3);
        waitMs(outMs);
        sinceReplug.start();
        cameras.virtualCameras().replug(3);
        waitMs(backMs);
    }
    const double recordedSeconds = recording.nsecsElapsed() / 1e9;
    QStringList files;
    for (int camera = 1; camera <= 4; ++camera)
        files << window.channel(camera).outputPath();
    window.BitBtn11Click();

    printSummary("pull to \"no signal\" picture", lossToOverlayMs);
    printSummary("re-plug to first new picture", replugToPictureMs);
    std::printf("losses seen %lld of %d, returns seen %lld of %d\n", static_cast<long long>(lossToOverlayMs.size()),
                pulls, static_cast<long long>(replugToPictureMs.size()), pulls);
    for (int camera = 1; camera <= 4; ++camera) {
        const int frames = countFrames(files[camera - 1]);
        const double expected = 30.0 * recordedSeconds;
        std::printf("camera %d: %d frames, 30 x %.1f s = %.0f (%+.2f %%)\n", camera, frames, recordedSeconds,
                    expected, 100.0 * (frames - expected) / expected);
    }
    std::printf("resident memory at the end: %.1f MiB\n", ProcessStats::residentMiB());
    return 0;
}
