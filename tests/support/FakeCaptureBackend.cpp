#include "support/FakeCaptureBackend.h"

#include "common/AppError.h"

FakeCaptureSession::FakeCaptureSession(QSize frameSize, QObject *parent)
    : CaptureSession(frameSize, parent)
{
}

void FakeCaptureSession::deliverFrame(const QImage &picture)
{
    publishFrame(picture.convertToFormat(QImage::Format_RGB32));
}

void FakeCaptureSession::deliverFrame(QColor fill)
{
    QImage picture(frameSize(), QImage::Format_RGB32);
    picture.fill(fill);
    publishFrame(std::move(picture));
}

void FakeCaptureSession::failWhileRunning(const QString &reason)
{
    reportEnded(reason);
}

int FakeCaptureBackend::addDevice(const QString &name, const QList<VideoFormat> &formats,
                                  const QList<DeviceControl> &controls)
{
    devices_.append(Device{name, formats, controls, Failure::None, {}});
    return devices_.size() - 1;
}

void FakeCaptureBackend::removeAllDevices()
{
    devices_.clear();
}

void FakeCaptureBackend::setFailure(int deviceIndex, Failure failure)
{
    device(deviceIndex).failure = failure;
}

FakeCaptureSession *FakeCaptureBackend::session(int deviceIndex) const
{
    return device(deviceIndex).session.data();
}

int FakeCaptureBackend::controlValue(int deviceIndex, quint32 controlId) const
{
    for (const DeviceControl &control : device(deviceIndex).controls) {
        if (control.id == controlId)
            return control.value;
    }
    throw AppError(QStringLiteral("没有参数 %1").arg(controlId));
}

FakeCaptureBackend::Device &FakeCaptureBackend::device(int deviceIndex)
{
    if (deviceIndex < 0 || deviceIndex >= devices_.size())
        throw AppError(QStringLiteral("没有编号为 %1 的视频设备").arg(deviceIndex));
    return devices_[deviceIndex];
}

const FakeCaptureBackend::Device &FakeCaptureBackend::device(int deviceIndex) const
{
    return const_cast<FakeCaptureBackend *>(this)->device(deviceIndex);
}

QStringList FakeCaptureBackend::deviceNames()
{
    QStringList names;
    for (const Device &each : devices_)
        names << each.name;
    return names;
}

QList<VideoFormat> FakeCaptureBackend::formats(int deviceIndex)
{
    const Device &each = device(deviceIndex);
    if (each.failure == Failure::AtConnect)
        throw AppError(QStringLiteral("无法连接视频设备 %1").arg(each.name));
    return each.formats;
}

std::unique_ptr<CaptureSession> FakeCaptureBackend::openSession(int deviceIndex, QSize size)
{
    Device &each = device(deviceIndex);
    if (each.failure == Failure::AtRun)
        throw AppError(QStringLiteral("无法启动视频设备 %1").arg(each.name));
    auto session = std::make_unique<FakeCaptureSession>(size);
    each.session = session.get();
    ++openSessionCount_;
    lastOpenedSize_ = size;
    return session;
}

QList<DeviceControl> FakeCaptureBackend::controls(int deviceIndex)
{
    return device(deviceIndex).controls;
}

void FakeCaptureBackend::setControl(int deviceIndex, quint32 controlId, int value)
{
    if (refusesControlChanges_)
        throw AppError(QStringLiteral("设备拒绝了参数 %1").arg(controlId));
    for (DeviceControl &control : device(deviceIndex).controls) {
        if (control.id == controlId) {
            control.value = value;
            return;
        }
    }
    throw AppError(QStringLiteral("没有参数 %1").arg(controlId));
}

QString FakeCaptureBackend::deviceDescription(int deviceIndex)
{
    return QStringLiteral("模拟设备 %1").arg(device(deviceIndex).name);
}
