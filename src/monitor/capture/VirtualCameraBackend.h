#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <atomic>
#include <memory>

// Test-pattern cameras "虚拟摄像头1".."虚拟摄像头N", captured through the
// "lavfi" input so they take the same read-decode-convert path as a real
// camera, paced at 30 frames a second. Each has its own hue.
//
// Tests and benchmarks can pull a camera and plug it in again, as an operator
// would a USB camera: while it is out it is not listed and cannot be opened,
// and its running capture fails with a read error.
class VirtualCameraBackend final : public CaptureBackend
{
public:
    explicit VirtualCameraBackend(int cameraCount);

    // The cameras plugged in, by number.
    QStringList deviceNames() override;
    // "virtual:N" for camera N, whatever its index.
    QStringList deviceIdentities() override;
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    std::unique_ptr<CaptureSession> openSessionInBackground(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

    // Camera cameraNumber (1..N, as in its name) is pulled: its running capture
    // ends with a read error, opens fail, and the next enumeration leaves it out.
    // Any thread may be capturing it; call this on the thread that owns the backend.
    void unplug(int cameraNumber);
    // Plugs it in again: listed and openable from the next enumeration on.
    void replug(int cameraNumber);

    // The filter graph of camera number cameraIndex + 1 at that size.
    static QString filterGraph(int cameraIndex, QSize size);

private:
    struct Camera
    {
        // Shared with the sessions of this plug-in; a new flag after each replug.
        std::shared_ptr<std::atomic<bool>> unplugged = std::make_shared<std::atomic<bool>>(false);
    };

    // The camera number behind an index of the latest enumeration; throws AppError.
    int cameraNumber(int deviceIndex);
    Camera &camera(int cameraNumber);
    std::unique_ptr<CaptureSession> startSession(int deviceIndex, QSize size, bool inBackground);

    QList<Camera> cameras_;
    QList<int> listedNumbers_;   // the latest enumeration
    bool enumerated_ = false;
};
