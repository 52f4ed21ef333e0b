// Program entry: options, the settings object, the windows in their order, the
// message loop, and at the end the settings file.
#include "common/AppError.h"
#include "common/Clock.h"
#include "app/ProgramOptions.h"
#include "app/QtPrompter.h"
#include "app/ProgramWindows.h"
#include "app/UnixSignals.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "monitor/capture/ui/DevicePropertyDialog.h"
#include "common/DesktopOpener.h"
#include "common/DiskSpace.h"
#include "settings/ui/SettingsDialog.h"
#include "settings/TGlobal.h"

#include <QApplication>
#include <QDir>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// Without a display Qt would abort with a stack of platform-plugin messages.
bool hasDisplayOrPlatform(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0)
            return true;
    }
    for (const char *variable : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) {
        const char *value = std::getenv(variable);
        if (value && *value)
            return true;
    }
    return false;
}

void printLine(FILE *stream, const QString &text)
{
    std::fprintf(stream, "%s\n", text.toLocal8Bit().constData());
}

} // namespace

int main(int argc, char **argv)
{
    QStringList commandLine;
    for (int i = 1; i < argc; ++i)
        commandLine << QString::fromLocal8Bit(argv[i]);
    const ProgramOptions options = ProgramOptions::parseCommandLine(commandLine);
    if (!options.error.isEmpty()) {
        printLine(stderr, "Kamvist: " + options.error);
        return 2;
    }
    if (options.showHelp) {
        std::fputs(ProgramOptions::helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (!hasDisplayOrPlatform(argc, argv)) {
        printLine(stderr, "Kamvist needs a desktop: start it in a graphical session, or under xvfb-run.");
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName("Kamvist");
    QApplication::setQuitOnLastWindowClosed(false);
    const QString executableFolder = QDir(QApplication::applicationDirPath()).absolutePath() + '/';
    auto settings = std::make_unique<TGlobal>();
    GlobalSettings = settings.get();

    QtPrompter prompter;
    SystemClock clock;
    MainWindowServices services;
    services.prompter = &prompter;
    services.clock = &clock;
    services.executableFolder = executableFolder;
    SystemCaptureBackend captureBackend(options.virtualCameras);
    services.captureBackend = &captureBackend;
    services.showDeviceProperties = showDevicePropertyDialog;
    SystemDiskSpace diskSpace;
    services.diskSpace = &diskSpace;
    SystemDesktopOpener desktopOpener;
    services.desktopOpener = &desktopOpener;
    const SettingsDialogServices settingsDialog = systemSettingsDialogServices(prompter, diskSpace);
    services.showSettingsDialog = [&settingsDialog](QWidget *parent) { showSettingsDialog(settingsDialog, parent); };

    auto windows = std::make_unique<ProgramWindows>(services);
    Tfmain *fmain = windows->fmain.get();
    prompter.setParent(fmain);

    UnixSignals unixSignals;
    QObject::connect(&unixSignals, &UnixSignals::terminationRequested, fmain, [fmain] { fmain->close(); });
    QObject::connect(fmain, &Tfmain::closed, &app, [] { QCoreApplication::exit(0); });

    fmain->show();
    const int loopResult = app.exec();

    try {
        GlobalSettings->SaveSettings();
    } catch (const AppError &e) {
        printLine(stderr, "Kamvist: " + e.text());
    }

    // Recordings still running (a tray exit leaves them running) are finished here.
    windows.reset();
    GlobalSettings = nullptr;
    return loopResult;
}
