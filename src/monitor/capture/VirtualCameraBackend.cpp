#include "monitor/capture/VirtualCameraBackend.h"

#include "common/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"

namespace {

constexpr int framesPerSecond = 30;
constexpr int largestWidth = 1280;
constexpr int largestHeight = 960;
constexpr int hueStepDegrees = 90;

QString cameraName(int cameraNumber)
{
    return QStringLiteral("虚拟摄像头%1").arg(cameraNumber);
}

} // namespace

VirtualCameraBackend::VirtualCameraBackend(int cameraCount)
    : cameras_(qMax(0, cameraCount))
{
}

QStringList VirtualCameraBackend::deviceNames()
{
    listedNumbers_.clear();
    enumerated_ = true;
    QStringList names;
    for (int number = 1; number <= cameras_.size(); ++number) {
        if (camera(number).unplugged->load())
            continue;
        listedNumbers_ << number;
        names << cameraName(number);
    }
    return names;
}

QStringList VirtualCameraBackend::deviceIdentities()
{
    if (!enumerated_)
        deviceNames();
    QStringList identities;
    for (int number : listedNumbers_)
        identities << QStringLiteral("virtual:%1").arg(number);
    return identities;
}

VirtualCameraBackend::Camera &VirtualCameraBackend::camera(int cameraNumber)
{
    if (cameraNumber < 1 || cameraNumber > cameras_.size())
        throw AppError(QStringLiteral("没有编号为 %1 的虚拟摄像头").arg(cameraNumber));
    return cameras_[cameraNumber - 1];
}

int VirtualCameraBackend::cameraNumber(int deviceIndex)
{
    if (!enumerated_)
        deviceNames();
    if (deviceIndex < 0 || deviceIndex >= listedNumbers_.size())
        throw AppError(QStringLiteral("没有编号为 %1 的虚拟摄像头").arg(deviceIndex + 1));
    return listedNumbers_[deviceIndex];
}

void VirtualCameraBackend::unplug(int cameraNumber)
{
    camera(cameraNumber).unplugged->store(true);
}

void VirtualCameraBackend::replug(int cameraNumber)
{
    Camera &pulled = camera(cameraNumber);
    if (pulled.unplugged->load())
        pulled.unplugged = std::make_shared<std::atomic<bool>>(false);
}

QList<VideoFormat> VirtualCameraBackend::formats(int deviceIndex)
{
    cameraNumber(deviceIndex);
    const QString name = QStringLiteral("RGB");
    return {{name, 640, 480}, {name, 320, 240}, {name, largestWidth, largestHeight}};
}

QString VirtualCameraBackend::filterGraph(int cameraIndex, QSize size)
{
    // The pattern draws its own clock box in the top-left corner, where the
    // program stamps the date and time: make the pattern a quarter taller and
    // crop that strip off, so a recording shows one clock only.
    const int patternHeight = size.height() + size.height() / 4;
    return QStringLiteral("testsrc2=size=%1x%2:rate=%3,crop=%1:%4:0:%5,hue=h=%6,realtime")
        .arg(size.width())
        .arg(patternHeight)
        .arg(framesPerSecond)
        .arg(size.height())
        .arg(patternHeight - size.height())
        .arg(cameraIndex * hueStepDegrees % 360);
}

std::unique_ptr<CaptureSession> VirtualCameraBackend::startSession(int deviceIndex, QSize size,
                                                                   bool inBackground)
{
    const int number = cameraNumber(deviceIndex);
    const Camera &device = camera(number);
    if (device.unplugged->load())
        throw AppError(QStringLiteral("无法打开视频设备 %1：设备已断开").arg(cameraName(number)));
    // Like a real device, a virtual camera gives no picture beyond its largest format.
    if (size.width() <= 0 || size.height() <= 0 || size.width() > largestWidth
        || size.height() > largestHeight)
        throw AppError(QStringLiteral("虚拟摄像头不支持分辨率 %1x%2")
                           .arg(size.width())
                           .arg(size.height()));
    CaptureInputRequest request;
    request.inputFormatName = QStringLiteral("lavfi");
    request.url = filterGraph(number - 1, size);
    request.frameSize = size;
    request.unplugged = device.unplugged;
    return std::make_unique<FfmpegCaptureSession>(
        request, inBackground ? FfmpegCaptureSession::Opening::InBackground
                              : FfmpegCaptureSession::Opening::Wait);
}

std::unique_ptr<CaptureSession> VirtualCameraBackend::openSession(int deviceIndex, QSize size)
{
    return startSession(deviceIndex, size, false);
}

std::unique_ptr<CaptureSession> VirtualCameraBackend::openSessionInBackground(int deviceIndex,
                                                                              QSize size)
{
    return startSession(deviceIndex, size, true);
}

QList<DeviceControl> VirtualCameraBackend::controls(int deviceIndex)
{
    cameraNumber(deviceIndex);
    return {};
}

void VirtualCameraBackend::setControl(int deviceIndex, quint32, int)
{
    cameraNumber(deviceIndex);
    throw AppError(QStringLiteral("虚拟摄像头没有可调整的参数"));
}

QString VirtualCameraBackend::deviceDescription(int deviceIndex)
{
    return QStringLiteral("%1：测试图案，每秒 %2 帧")
        .arg(cameraName(cameraNumber(deviceIndex)))
        .arg(framesPerSecond);
}
