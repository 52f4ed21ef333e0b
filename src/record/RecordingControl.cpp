#include "record/RecordingControl.h"

#include "common/AppError.h"
#include "record/RecordingChannel.h"
#include "settings/CameraCount.h"
#include "settings/TGlobal.h"

#include <QFileInfo>

RecordingControl::RecordingControl(std::function<bool(int camera)> cameraOpened)
    : cameraOpened_(std::move(cameraOpened))
{
}

void RecordingControl::setChannel(int camera, RecordingChannel *channel)
{
    channels_.at(camera - 1) = channel;
}

bool RecordingControl::hasChannel(int camera) const
{
    return channels_.at(camera - 1) != nullptr;
}

RecordingChannel &RecordingControl::channel(int camera) const
{
    RecordingChannel *channel = channels_.at(camera - 1);
    if (!channel)
        throw AppError(QStringLiteral("摄像头%1的录像通道不可用").arg(camera));
    return *channel;
}

void RecordingControl::start()
{
    if (GlobalSettings->strsfbcsp != "1")
        return;
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera) {
        if (!cameraOpened_(camera))
            continue;
        channel(camera).btnOpenClick();
        channel(camera).btnStartClick();
    }
}

void RecordingControl::stop()
{
    if (GlobalSettings->strsfbcsp != "1")
        return;
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera) {
        if (cameraOpened_(camera))
            channel(camera).btnStopClick();
    }
}

QStringList RecordingControl::liveRecordingFiles() const
{
    QStringList live;
    for (const RecordingChannel *channel : channels_) {
        if (channel && channel->isRecording())
            live << QFileInfo(channel->outputPath()).canonicalFilePath();
    }
    return live;
}

QStringList RecordingControl::recordingStatus() const
{
    QStringList parts;
    for (const RecordingChannel *channel : channels_) {
        if (channel && channel->isRecording())
            parts << QStringLiteral("摄像头%1录像: %2")
                         .arg(channel->camera())
                         .arg(QFileInfo(channel->outputPath()).fileName());
    }
    return parts;
}
