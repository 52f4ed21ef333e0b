#include "monitor/capture/VirtualCameraBackend.h"

#include "common/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"

namespace {

constexpr int framesPerSecond = 30;
constexpr int largestWidth = 1280;
constexpr int largestHeight = 960;
constexpr int hueStepDegrees = 90;

} // namespace

VirtualCameraBackend::VirtualCameraBackend(int cameraCount)
    : cameraCount_(qMax(0, cameraCount))
{
}

QStringList VirtualCameraBackend::deviceNames()
{
    QStringList names;
    for (int number = 1; number <= cameraCount_; ++number)
        names << QStringLiteral("虚拟摄像头%1").arg(number);
    return names;
}

void VirtualCameraBackend::checkIndex(int deviceIndex) const
{
    if (deviceIndex < 0 || deviceIndex >= cameraCount_)
        throw AppError(QStringLiteral("没有编号为 %1 的虚拟摄像头").arg(deviceIndex + 1));
}

QList<VideoFormat> VirtualCameraBackend::formats(int deviceIndex)
{
    checkIndex(deviceIndex);
    const QString name = QStringLiteral("RGB");
    return {{name, 640, 480}, {name, 320, 240}, {name, largestWidth, largestHeight}};
}

QString VirtualCameraBackend::filterGraph(int deviceIndex, QSize size)
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
        .arg(deviceIndex * hueStepDegrees % 360);
}

std::unique_ptr<CaptureSession> VirtualCameraBackend::openSession(int deviceIndex, QSize size)
{
    checkIndex(deviceIndex);
    // Like a real device, a virtual camera gives no picture beyond its largest format.
    if (size.width() <= 0 || size.height() <= 0 || size.width() > largestWidth
        || size.height() > largestHeight)
        throw AppError(QStringLiteral("虚拟摄像头不支持分辨率 %1x%2")
                           .arg(size.width())
                           .arg(size.height()));
    CaptureInputRequest request;
    request.inputFormatName = QStringLiteral("lavfi");
    request.url = filterGraph(deviceIndex, size);
    request.frameSize = size;
    return std::make_unique<FfmpegCaptureSession>(request);
}

QList<DeviceControl> VirtualCameraBackend::controls(int deviceIndex)
{
    checkIndex(deviceIndex);
    return {};
}

void VirtualCameraBackend::setControl(int deviceIndex, quint32, int)
{
    checkIndex(deviceIndex);
    throw AppError(QStringLiteral("虚拟摄像头没有可调整的参数"));
}

QString VirtualCameraBackend::deviceDescription(int deviceIndex)
{
    checkIndex(deviceIndex);
    return QStringLiteral("虚拟摄像头%1：测试图案，每秒 %2 帧")
        .arg(deviceIndex + 1)
        .arg(framesPerSecond);
}
