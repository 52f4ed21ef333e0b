// Live monitoring under load: four virtual 640x480 cameras in the 2x2 layout.
// Prints frames painted per second per pane, capture-to-pane latency (median and
// p95), the process's CPU use, and resident memory at the start and the end.
//
//   monitor_bench [--seconds N]      (run under xvfb-run, or with -platform offscreen)
#include "ProcessStats.h"
#include "common/SteadyClock.h"
#include "common/Clock.h"
#include "monitor/ui/DisplayArea.h"
#include "monitor/ui/ImageView.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "settings/TGlobal.h"
#include "app/QtPrompter.h"
#include "app/ProgramWindows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double percentile(std::vector<double> values, double fraction)
{
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t index = std::min(values.size() - 1, size_t(fraction * double(values.size() - 1) + 0.5));
    return values[index];
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int seconds = secondsOption(QApplication::arguments(), 30, 5);

    QTemporaryDir sandbox;
    TGlobal settings(sandbox.filePath("Kamvist.ini"));
    GlobalSettings = &settings;
    settings.strstsl = "4";
    settings.strsfbcsp = "0"; // monitoring only: no recording in this measurement

    QtPrompter prompter;
    SystemClock clock;
    SystemCaptureBackend cameras(4);
    MainWindowServices services;
    services.prompter = &prompter;
    services.clock = &clock;
    services.executableFolder = sandbox.path() + '/';
    services.captureBackend = &cameras;
    ProgramWindows program(services);
    Tfmain &window = *program.fmain;
    window.show();
    window.FormActivate();

    const int paneCodes[] = {41, 42, 43, 44};
    std::vector<double> latenciesMs;
    latenciesMs.reserve(size_t(seconds) * 4 * 32);
    bool measuring = false;
    for (int code : paneCodes) {
        QObject::connect(window.displayArea()->pane(code), &ImageView::picturePainted, &app,
                         [&](qint64 stampNs) {
                             if (measuring && stampNs > 0)
                                 latenciesMs.push_back(double(steadyNowNs() - stampNs) / 1e6);
                         });
    }

    window.BitBtn10Click();
    // Two seconds of warm-up, then the measured stretch.
    quint64 paintedAtStart[4] = {};
    double cpuAtStart = 0;
    double rssAtStart = 0;
    QElapsedTimer wall;
    QTimer::singleShot(2000, &app, [&] {
        for (int i = 0; i < 4; ++i)
            paintedAtStart[i] = window.displayArea()->pane(paneCodes[i])->paintedFrames();
        cpuAtStart = ProcessStats::cpuSeconds();
        rssAtStart = ProcessStats::residentMiB();
        wall.start();
        measuring = true;
        QTimer::singleShot(seconds * 1000, &app, [] { QCoreApplication::exit(0); });
    });
    app.exec();

    const double elapsed = double(wall.nsecsElapsed()) / 1e9;
    const double cpu = ProcessStats::cpuSeconds() - cpuAtStart;
    const double rssAtEnd = ProcessStats::residentMiB();
    window.BitBtn11Click();

    std::printf("monitoring, 4 virtual cameras at 640x480, %.1f s measured\n", elapsed);
    for (int i = 0; i < 4; ++i) {
        const quint64 painted = window.displayArea()->pane(paneCodes[i])->paintedFrames() - paintedAtStart[i];
        std::printf("pane %d: %.1f frames/s\n", paneCodes[i], double(painted) / elapsed);
    }
    std::printf("capture-to-pane latency: median %.1f ms, p95 %.1f ms (%zu frames)\n",
                percentile(latenciesMs, 0.5), percentile(latenciesMs, 0.95), latenciesMs.size());
    std::printf("process CPU: %.1f %% of one core\n", 100.0 * cpu / elapsed);
    std::printf("resident memory: %.1f MiB at start, %.1f MiB at end (%+.1f MiB)\n", rssAtStart, rssAtEnd,
                rssAtEnd - rssAtStart);
    GlobalSettings = nullptr;
    return 0;
}
