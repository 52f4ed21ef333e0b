#include "record/ChannelForms.h"

#include "app/Tfmain.h"

// Camera 4 records at the smaller size.
static QString recordingSizeFor(int camera)
{
    return camera == 4 ? QStringLiteral("320x240") : QStringLiteral("640x480");
}

ChannelForm::ChannelForm(int camera, const MainWindowServices &services, FrameSlot &frameSlot)
{
    RecordingChannel::Setup setup;
    setup.camera = camera;
    setup.frameSize = recordingSizeFor(camera);
    setup.frameSlot = &frameSlot;
    setup.prompter = services.prompter;
    setup.clock = services.clock;
    setup.executableFolder = services.executableFolder;
    channel_ = std::make_unique<RecordingChannel>(setup, this);
}

ChannelForm::~ChannelForm() = default;
