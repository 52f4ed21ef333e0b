#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>

class RecordingChannel;

// Recording start and stop for the cameras in use: every camera of the count
// whose opened flag is set gets a new file and records into it; stop finishes
// those files one after another. Decided from the settings and flags as they
// are at the moment of the call.
class RecordingControl
{
public:
    explicit RecordingControl(std::function<bool(int camera)> cameraOpened);

    // Channel k records camera k; camera 1's lives on the main window, the others on their forms.
    void setChannel(int camera, RecordingChannel *channel);
    bool hasChannel(int camera) const;
    // Throws AppError when the camera has no channel.
    RecordingChannel &channel(int camera) const;

    // "start保存视频": open and start the channel of each camera in use that opened.
    void start();
    // "stop视频": stop the channel of each camera in use that opened.
    void stop();

    // The files the channels are writing right now, as canonical paths.
    QStringList liveRecordingFiles() const;
    // "摄像头N录像: <file name>" for each channel that records.
    QStringList recordingStatus() const;

private:
    std::function<bool(int camera)> cameraOpened_;
    std::array<RecordingChannel *, 4> channels_{};
};
