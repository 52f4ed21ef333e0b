#pragma once

#include "monitor/capture/CaptureBackend.h"
#include "monitor/capture/V4l2Backend.h"
#include "monitor/capture/VirtualCameraBackend.h"

// The program's backend: the machine's cameras first, then the virtual ones.
class SystemCaptureBackend final : public CaptureBackend
{
public:
    explicit SystemCaptureBackend(int virtualCameraCount,
                                  std::unique_ptr<V4l2Io> io = std::make_unique<SystemV4l2Io>());

    QStringList deviceNames() override;
    QStringList deviceIdentities() override;
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    std::unique_ptr<CaptureSession> openSessionInBackground(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

    // For tests and benchmarks that pull and plug in a virtual camera.
    VirtualCameraBackend &virtualCameras() { return virtualCameras_; }

private:
    // The backend serving deviceIndex, with the index rewritten to its own.
    CaptureBackend &route(int *deviceIndex);

    V4l2Backend cameras_;
    VirtualCameraBackend virtualCameras_;
    int cameraCount_ = 0;
    bool enumerated_ = false;
};
