#pragma once

#include "app/ProgramWindows.h"
#include "catalogue/Tdbhouse.h"
#include "monitor/capture/CameraCapture.h"
#include "support/FakeCaptureBackend.h"
#include "record/ui/ChannelForms.h"
#include "support/FakeClock.h"
#include "support/FakeDesktopOpener.h"
#include "support/FakeDiskSpace.h"
#include "support/FakePrompter.h"
#include "support/ProgramFolder.h"

#include <memory>

// A main window in a sandbox folder that stands in for the executable's folder:
// its own settings file, an empty catalogue, a fake clock and a scripted prompter.
struct MainWindowFixture : ProgramFolder
{
    explicit MainWindowFixture(bool withCatalogueFile = true) : ProgramFolder(withCatalogueFile)
    {
        services.prompter = &prompter;
        services.clock = &clock;
        services.executableFolder = folder;
        services.captureBackend = &cameras;
        services.showDeviceProperties = [this](CameraCapture &capture, QWidget *) {
            propertyDialogsShown << capture.boundDeviceIndex();
        };
        services.diskSpace = &disk;
        services.desktopOpener = &desktop;
        services.showSettingsDialog = [this](QWidget *) { ++settingsDialogsShown; };
        makeWindow();
    }

    // (Re)creates the windows in start-up order over the current services.
    void makeWindow()
    {
        program.reset();
        program = std::make_unique<ProgramWindows>(services);
        window = program->fmain.get();
        dbhouse = program->dbhouse.get();
    }

    ~MainWindowFixture()
    {
        program.reset();
    }

    FakePrompter prompter;
    FakeClock clock;
    FakeCaptureBackend cameras;
    FakeDiskSpace disk;
    FakeDesktopOpener desktop;
    int settingsDialogsShown = 0;
    QList<int> propertyDialogsShown; // device index of each property dialog shown
    MainWindowServices services;
    std::unique_ptr<ProgramWindows> program;
    Tfmain *window = nullptr;
    Tdbhouse *dbhouse = nullptr;
};
