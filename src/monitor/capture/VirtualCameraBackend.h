#pragma once

#include "monitor/capture/CaptureBackend.h"

// Test-pattern cameras "虚拟摄像头1".."虚拟摄像头N", captured through the
// "lavfi" input so they take the same read-decode-convert path as a real
// camera, paced at 30 frames a second. Each has its own hue.
class VirtualCameraBackend final : public CaptureBackend
{
public:
    explicit VirtualCameraBackend(int cameraCount);

    QStringList deviceNames() override;
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

    // The filter graph camera deviceIndex runs at that size.
    static QString filterGraph(int deviceIndex, QSize size);

private:
    void checkIndex(int deviceIndex) const;

    int cameraCount_;
};
