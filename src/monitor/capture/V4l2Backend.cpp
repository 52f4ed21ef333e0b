#include "monitor/capture/V4l2Backend.h"

#include "common/AppError.h"
#include "monitor/capture/FfmpegCaptureInput.h"
#include "monitor/capture/FfmpegCaptureSession.h"
#include "monitor/capture/V4l2Queries.h"

#include <QHash>

#include <linux/videodev2.h>

#include <algorithm>
#include <cstring>

namespace {

// A run of digits without its leading zeros ("007" -> "7", "000" -> "0").
QStringView significantDigits(QStringView digits)
{
    while (digits.size() > 1 && digits.front() == u'0')
        digits = digits.mid(1);
    return digits;
}

// Text order in which runs of digits compare as numbers: port 2 before port 10,
// /dev/video2 before /dev/video10.
bool naturalLess(const QString &a, const QString &b)
{
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (!a[i].isDigit() || !b[j].isDigit()) {
            if (a[i] != b[j])
                return a[i] < b[j];
            ++i;
            ++j;
            continue;
        }
        const qsizetype startA = i;
        const qsizetype startB = j;
        while (i < a.size() && a[i].isDigit())
            ++i;
        while (j < b.size() && b[j].isDigit())
            ++j;
        const QStringView numberA = significantDigits(QStringView(a).mid(startA, i - startA));
        const QStringView numberB = significantDigits(QStringView(b).mid(startB, j - startB));
        if (numberA.size() != numberB.size())
            return numberA.size() < numberB.size();
        if (numberA != numberB)
            return numberA < numberB;
    }
    return a.size() - i < b.size() - j;
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
    nodes_.clear();
    enumerated_ = true;
    for (const QString &path : io_->videoNodePaths()) {
        V4l2Fd fd(*io_, path);
        v4l2_capability capability{};
        if (!fd.isOpen() || fd.ioctl(VIDIOC_QUERYCAP, &capability) != 0
            || !capturesVideo(capability))
            continue;   // busy, vanished, or not a camera (metadata, output, radio)
        nodes_.append(Node{path, v4l2::fieldText(capability.card, sizeof capability.card),
                           v4l2::fieldText(capability.driver, sizeof capability.driver),
                           v4l2::fieldText(capability.bus_info, sizeof capability.bus_info),
                           {}});
    }

    // By USB port, then by node; nodes that name no port come last.
    std::sort(nodes_.begin(), nodes_.end(), [](const Node &a, const Node &b) {
        if (a.busInfo.isEmpty() != b.busInfo.isEmpty())
            return b.busInfo.isEmpty();
        if (a.busInfo != b.busInfo)
            return naturalLess(a.busInfo, b.busInfo);
        return naturalLess(a.path, b.path);
    });

    QStringList names;
    QHash<QString, int> nodesOnPort;
    for (Node &each : nodes_) {
        if (each.busInfo.isEmpty()) {
            each.identity = each.path;
        } else {
            const int ordinal = ++nodesOnPort[each.busInfo];
            each.identity = ordinal == 1 ? each.busInfo
                                         : QStringLiteral("%1#%2").arg(each.busInfo).arg(ordinal);
        }
        names << each.card;
    }
    return names;
}

QStringList V4l2Backend::deviceIdentities()
{
    if (!enumerated_)
        deviceNames();
    QStringList identities;
    for (const Node &each : nodes_)
        identities << each.identity;
    return identities;
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

CaptureInputRequest V4l2Backend::captureRequest(int deviceIndex, QSize size)
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
    return request;
}

std::unique_ptr<CaptureSession> V4l2Backend::openSession(int deviceIndex, QSize size)
{
    return std::make_unique<FfmpegCaptureSession>(captureRequest(deviceIndex, size));
}

// Starting a camera's stream can take a good part of a second; the capture
// thread does it while the caller goes on.
std::unique_ptr<CaptureSession> V4l2Backend::openSessionInBackground(int deviceIndex, QSize size)
{
    return std::make_unique<FfmpegCaptureSession>(captureRequest(deviceIndex, size),
                                                  FfmpegCaptureSession::Opening::InBackground);
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
