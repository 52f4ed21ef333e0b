#include "monitor/capture/SystemCaptureBackend.h"

SystemCaptureBackend::SystemCaptureBackend(int virtualCameraCount, std::unique_ptr<V4l2Io> io)
    : cameras_(std::move(io))
    , virtualCameras_(virtualCameraCount)
{
}

QStringList SystemCaptureBackend::deviceNames()
{
    const QStringList cameras = cameras_.deviceNames();
    cameraCount_ = cameras.size();
    enumerated_ = true;
    return cameras + virtualCameras_.deviceNames();
}

QStringList SystemCaptureBackend::deviceIdentities()
{
    if (!enumerated_)
        deviceNames();
    return cameras_.deviceIdentities() + virtualCameras_.deviceIdentities();
}

CaptureBackend &SystemCaptureBackend::route(int *deviceIndex)
{
    if (!enumerated_)
        deviceNames();
    if (*deviceIndex < cameraCount_)
        return cameras_;
    *deviceIndex -= cameraCount_;
    return virtualCameras_;
}

QList<VideoFormat> SystemCaptureBackend::formats(int deviceIndex)
{
    return route(&deviceIndex).formats(deviceIndex);
}

std::unique_ptr<CaptureSession> SystemCaptureBackend::openSession(int deviceIndex, QSize size)
{
    return route(&deviceIndex).openSession(deviceIndex, size);
}

std::unique_ptr<CaptureSession> SystemCaptureBackend::openSessionInBackground(int deviceIndex,
                                                                              QSize size)
{
    return route(&deviceIndex).openSessionInBackground(deviceIndex, size);
}

QList<DeviceControl> SystemCaptureBackend::controls(int deviceIndex)
{
    return route(&deviceIndex).controls(deviceIndex);
}

void SystemCaptureBackend::setControl(int deviceIndex, quint32 controlId, int value)
{
    route(&deviceIndex).setControl(deviceIndex, controlId, value);
}

QString SystemCaptureBackend::deviceDescription(int deviceIndex)
{
    return route(&deviceIndex).deviceDescription(deviceIndex);
}
