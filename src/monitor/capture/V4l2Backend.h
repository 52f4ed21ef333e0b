#pragma once

#include "monitor/capture/CaptureBackend.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/V4l2Io.h"

#include <QSize>

#include <memory>

// One pixel format of a V4L2 device with its largest frame size.
struct V4l2PixelFormat
{
    quint32 fourcc = 0;
    QString description;
    QSize largestSize;
};

// The libavdevice "input_format" for capturing at size: MJPEG where the device
// gives it that large, else YUYV, else "" (leave the choice to the library).
QString v4l2InputFormatFor(const QList<V4l2PixelFormat> &formats, QSize size);

// Real cameras: /dev/video* nodes that capture video, named by their card name,
// captured through libavdevice's "video4linux2" input. They are listed in the
// order of their USB port (the bus info), so a camera keeps its number while it
// stays in its socket, whichever node the system gives it.
class V4l2Backend final : public CaptureBackend
{
public:
    explicit V4l2Backend(std::unique_ptr<V4l2Io> io = std::make_unique<SystemV4l2Io>());

    QStringList deviceNames() override;
    // The bus info ("usb-0000:00:14.0-3"); a second capture node of the same
    // device gets "#2" added, and so on; a node without bus info, its path.
    QStringList deviceIdentities() override;
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    std::unique_ptr<CaptureSession> openSessionInBackground(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

    // The node behind a device index of the latest enumeration.
    QString nodePath(int deviceIndex);
    QList<V4l2PixelFormat> pixelFormats(int deviceIndex);

private:
    struct Node
    {
        QString path;
        QString card;
        QString driver;
        QString busInfo;
        QString identity;
    };

    const Node &node(int deviceIndex);
    CaptureInputRequest captureRequest(int deviceIndex, QSize size);

    std::unique_ptr<V4l2Io> io_;
    QList<Node> nodes_;
    bool enumerated_ = false;
};
