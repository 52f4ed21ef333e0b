#pragma once

#include "catalogue/Tdbhouse.h"
#include "common/CommandGuard.h"
#include "common/FrameSlots.h"
#include "monitor/MonitoringControl.h"
#include "monitor/capture/CameraCapture.h"
#include "record/DiskReclaim.h"
#include "record/FileRotation.h"
#include "record/RecordingChannel.h"
#include "record/RecordingControl.h"
#include "settings/TGlobal.h"
#include "support/FakeCaptureBackend.h"
#include "support/FakeClock.h"
#include "support/FakeDiskSpace.h"
#include "support/FakePrompter.h"
#include "support/ProgramFolder.h"

#include <QTimer>
#include <array>
#include <memory>

// Monitoring and recording as the program wires them, without any window: a
// sandbox folder standing in for the executable's folder with its settings
// file and catalogue, scripted cameras, the four recording channels, the
// rotation and the reclaim with their timers.
struct RecordingRig : ProgramFolder
{
    explicit RecordingRig(bool withCatalogueFile = true) : ProgramFolder(withCatalogueFile)
    {
        settings->strbcpathz = folder;
        dbhouse.openCatalogue(folder);

        for (int camera = 1; camera <= 4; ++camera) {
            RecordingChannel::Setup setup;
            setup.camera = camera;
            setup.frameSize = RecordingChannel::frameSizeFor(camera);
            setup.frameSlot = &frameSlots.slot(camera);
            setup.prompter = &prompter;
            setup.clock = &clock;
            setup.executableFolder = folder;
            channels[camera - 1] = std::make_unique<RecordingChannel>(setup);
            channels[camera - 1]->setCatalogue(&dbhouse);
            recording.setChannel(camera, channels[camera - 1].get());
        }
        MonitoringControl::Hooks hooks;
        hooks.afterStart = [this] { recording.start(); };
        hooks.beforeStop = [this] { recording.stop(); };
        monitoring.setHooks(hooks);

        txstwo.setInterval(FileRotation::intervalMs);
        typdel.setInterval(DiskReclaim::intervalMs);
        reclaim.setCatalogue(&dbhouse);
    }

    ~RecordingRig()
    {
        for (auto &channel : channels)
            channel.reset();
    }

    // Adds devices "Cam 1".."Cam N" and reads the device list.
    void addCameras(int count)
    {
        for (int i = 1; i <= count; ++i)
            cameras.addDevice(QString("Cam %1").arg(i));
        monitoring.refreshDevices();
    }

    // Monitoring start and stop as operator commands: a failure becomes a message box.
    void start() { runGuarded(prompter, [this] { monitoring.start(); }); }
    void stop() { runGuarded(prompter, [this] { monitoring.stop(); }); }

    RecordingChannel &channel(int camera) { return *channels.at(camera - 1); }

    FakePrompter prompter;
    FakeClock clock;
    FakeCaptureBackend cameras;
    FakeDiskSpace disk;
    Tdbhouse dbhouse;
    FrameSlots frameSlots;
    MonitoringControl monitoring{&cameras, frameSlots, clock};
    std::array<std::unique_ptr<RecordingChannel>, 4> channels;
    RecordingControl recording{[this](int camera) { return monitoring.cameraOpened(camera); }};
    QTimer txstwo;
    QTimer typdel;
    bool monitoringPageShown = true;
    bool runEnding = false;
    FileRotation rotation{txstwo, FileRotation::Hooks{[this] { return monitoring.monitoringOn(); },
                                                     [this] { monitoring.stop(); },
                                                     [this] { monitoring.start(); },
                                                     [this] { return monitoringPageShown; },
                                                     [this] { return runEnding; }}};
    DiskReclaim reclaim{typdel, &disk, [this] { return recording.liveRecordingFiles(); }};
};
