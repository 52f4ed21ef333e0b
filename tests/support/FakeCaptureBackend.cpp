#include "support/FakeCaptureBackend.h"

#include "common/AppError.h"

FakeCaptureSession::FakeCaptureSession(QSize frameSize, QObject *parent)
    : CaptureSession(frameSize, parent)
{
    connect(&deliveryTimer_, &QTimer::timeout, this, [this] { deliverFrame(); });
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

void FakeCaptureSession::deliverEvery(int intervalMs)
{
    if (intervalMs > 0)
        deliveryTimer_.start(intervalMs);
    else
        deliveryTimer_.stop();
}

int FakeCaptureBackend::addDevice(const QString &name, const QList<VideoFormat> &formats,
                                  const QList<DeviceControl> &controls, const QString &identity)
{
    ++devicesAdded_;
    const QString given =
        identity.isEmpty() ? QStringLiteral("fake:%1").arg(devicesAdded_) : identity;
    devices_.append(Device{name, given, formats, controls, Failure::None, {}});
    return devices_.size() - 1;
}

void FakeCaptureBackend::removeAllDevices()
{
    devices_.clear();
    unplugged_.clear();
    devicesAdded_ = 0;
}

void FakeCaptureBackend::unplug(int deviceIndex)
{
    Device pulled = device(deviceIndex);
    devices_.removeAt(deviceIndex);
    if (pulled.session) {
        pulled.session->stall();
        pulled.session->failWhileRunning(QStringLiteral("设备已断开"));
    }
    pulled.session.clear();
    unplugged_.append(pulled);
}

int FakeCaptureBackend::replug(const QString &identity, int atIndex)
{
    for (int i = 0; i < unplugged_.size(); ++i) {
        if (unplugged_[i].identity != identity)
            continue;
        const int index = atIndex < 0 ? int(devices_.size()) : qMin(atIndex, int(devices_.size()));
        devices_.insert(index, unplugged_.takeAt(i));
        return index;
    }
    throw AppError(QStringLiteral("没有拔出的设备 %1").arg(identity));
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

QStringList FakeCaptureBackend::deviceIdentities()
{
    QStringList identities;
    for (const Device &each : devices_)
        identities << each.identity;
    return identities;
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
    session->deliverEvery(frameIntervalMs_);
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
