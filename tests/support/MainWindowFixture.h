#pragma once

#include "app/Tfmain.h"
#include "catalogue/CatalogueFile.h"
#include "catalogue/Tdbhouse.h"
#include "monitor/capture/CameraCapture.h"
#include "monitor/capture/FakeCaptureBackend.h"
#include "settings/TGlobal.h"
#include "support/FakeClock.h"
#include "support/FakePrompter.h"

#include <QTemporaryDir>
#include <memory>

// A main window in a sandbox folder that stands in for the executable's folder:
// its own settings file, an empty catalogue, a fake clock and a scripted prompter.
struct MainWindowFixture
{
    explicit MainWindowFixture(bool withCatalogueFile = true)
    {
        folder = sandbox.path() + '/';
        if (withCatalogueFile)
            createCatalogueFile(folder + "dat/dzxcb.db");
        settings = std::make_unique<TGlobal>(folder + "Kamvist.ini");
        GlobalSettings = settings.get();
        services.prompter = &prompter;
        services.clock = &clock;
        services.executableFolder = folder;
        services.captureBackend = &cameras;
        services.showDeviceProperties = [this](CameraCapture &capture, QWidget *) {
            propertyDialogsShown << capture.boundDeviceIndex();
        };
        window = std::make_unique<Tfmain>(services);
        dbhouse = std::make_unique<Tdbhouse>();
        window->setCatalogue(dbhouse.get());
    }

    ~MainWindowFixture()
    {
        window.reset();
        dbhouse.reset();
        GlobalSettings = nullptr;
    }

    QTemporaryDir sandbox;
    QString folder;
    FakePrompter prompter;
    FakeClock clock;
    FakeCaptureBackend cameras;
    QList<int> propertyDialogsShown; // device index of each property dialog shown
    MainWindowServices services;
    std::unique_ptr<TGlobal> settings;
    std::unique_ptr<Tfmain> window;
    std::unique_ptr<Tdbhouse> dbhouse;
};
