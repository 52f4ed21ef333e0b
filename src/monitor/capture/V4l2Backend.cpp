#include "monitor/capture/V4l2Backend.h"

#include "common/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"
#include "monitor/capture/V4l2Queries.h"

#include <QRegularExpression>

#include <linux/videodev2.h>

#include <algorithm>
#include <cstring>

namespace {

// /dev/video2 before /dev/video10.
int nodeNumber(const QString &path)
{
    static const QRegularExpression trailingDigits(QStringLiteral("(\\d+)$"));
    const QRegularExpressionMatch match = trailingDigits.match(path);
    return match.hasMatch() ? match.captured(1).toInt() : -1;
}

bool capturesVideo(const v4l2_capability &capability)
{
    // A node's own capabilities; the physical device's may include other nodes'.
    const quint32 caps = (capability.capabilities & V4L2_CAP_DEVICE_CAPS)
                             ? capability.device_caps
                             : capability.capabilities;
    return (caps & V4L2_CAP_VIDEO_CAPTURE) && (caps & V4L2_CAP_STREAMING);
}

QString errnoText(int error)
{
    return QString::fromLocal8Bit(strerror(error));
}

} // namespace

QString v4l2InputFormatFor(const QList<V4l2PixelFormat> &formats, QSize size)
{
    const auto offers = [&](quint32 fourcc) {
        return std::any_of(formats.begin(), formats.end(), [&](const V4l2PixelFormat &format) {
            return format.fourcc == fourcc && format.largestSize.width() >= size.width()
                   && format.largestSize.height() >= size.height();
        });
    };
    if (offers(V4L2_PIX_FMT_MJPEG))
        return QStringLiteral("mjpeg");
    if (offers(V4L2_PIX_FMT_YUYV))
        return QStringLiteral("yuyv422");
    return {};
}

V4l2Backend::V4l2Backend(std::unique_ptr<V4l2Io> io)
    : io_(std::move(io))
{
}

QStringList V4l2Backend::deviceNames()
{
    QStringList paths = io_->videoNodePaths();
    std::sort(paths.begin(), paths.end(), [](const QString &a, const QString &b) {
        return nodeNumber(a) != nodeNumber(b) ? nodeNumber(a) < nodeNumber(b) : a < b;
    });

    nodes_.clear();
    enumerated_ = true;
    QStringList names;
    for (const QString &path : paths) {
        V4l2Fd fd(*io_, path);
        v4l2_capability capability{};
        if (!fd.isOpen() || fd.ioctl(VIDIOC_QUERYCAP, &capability) != 0
            || !capturesVideo(capability))
            continue;   // busy, vanished, or not a camera (metadata, output, radio)
        Node found{path, v4l2::fieldText(capability.card, sizeof capability.card),
                   v4l2::fieldText(capability.driver, sizeof capability.driver),
                   v4l2::fieldText(capability.bus_info, sizeof capability.bus_info)};
        nodes_.append(found);
        names << found.card;
    }
    return names;
}

const V4l2Backend::Node &V4l2Backend::node(int deviceIndex)
{
    if (!enumerated_)
        deviceNames();
    if (deviceIndex < 0 || deviceIndex >= nodes_.size())
        throw AppError(QStringLiteral("没有编号为 %1 的视频设备").arg(deviceIndex));
    return nodes_[deviceIndex];
}

QString V4l2Backend::nodePath(int deviceIndex)
{
    return node(deviceIndex).path;
}

QList<V4l2PixelFormat> V4l2Backend::pixelFormats(int deviceIndex)
{
    const Node &device = node(deviceIndex);
    V4l2Fd fd(*io_, device.path);
    if (!fd.isOpen())
        throw AppError(QStringLiteral("无法打开视频设备 %1（%2）：%3")
                           .arg(device.card, device.path, errnoText(fd.openError())));
    return v4l2::capturePixelFormats(fd);
}

QList<VideoFormat> V4l2Backend::formats(int deviceIndex)
{
    QList<VideoFormat> formats;
    for (const V4l2PixelFormat &format : pixelFormats(deviceIndex))
        formats.append({format.description, format.largestSize.width(),
                        format.largestSize.height()});
    return formats;
}

std::unique_ptr<CaptureSession> V4l2Backend::openSession(int deviceIndex, QSize size)
{
    const QString inputFormat = v4l2InputFormatFor(pixelFormats(deviceIndex), size);
    CaptureInputRequest request;
    request.inputFormatName = QStringLiteral("video4linux2");
    request.url = nodePath(deviceIndex);
    request.frameSize = size;
    request.options.append({QStringLiteral("video_size"),
                            QStringLiteral("%1x%2").arg(size.width()).arg(size.height())});
    if (!inputFormat.isEmpty())
        request.options.append({QStringLiteral("input_format"), inputFormat});
    // A camera that stops sending must not hold the thread in a read it cannot leave.
    request.nonBlocking = true;
    return std::make_unique<FfmpegCaptureSession>(request);
}

QList<DeviceControl> V4l2Backend::controls(int deviceIndex)
{
    const Node &device = node(deviceIndex);
    V4l2Fd fd(*io_, device.path);
    if (!fd.isOpen())
        throw AppError(QStringLiteral("无法打开视频设备 %1：%2")
                           .arg(device.card, errnoText(fd.openError())));
    return v4l2::adjustableControls(fd);
}

void V4l2Backend::setControl(int deviceIndex, quint32 controlId, int value)
{
    const Node &device = node(deviceIndex);
    V4l2Fd fd(*io_, device.path);
    v4l2_control control{};
    control.id = controlId;
    control.value = value;
    const int error = fd.isOpen() ? fd.ioctl(VIDIOC_S_CTRL, &control) : fd.openError();
    if (error != 0)
        throw AppError(QStringLiteral("无法设置视频设备 %1 的参数：%2")
                           .arg(device.card, errnoText(error)));
}

QString V4l2Backend::deviceDescription(int deviceIndex)
{
    const Node &device = node(deviceIndex);
    return QStringLiteral("%1\n%2（驱动 %3，%4）")
        .arg(device.card, device.path, device.driver, device.busInfo);
}
