#include "monitor/capture/V4l2Queries.h"

#include <linux/videodev2.h>

#include <cstring>

namespace v4l2 {

namespace {

// The largest size the driver can deliver in fourcc; discrete lists are
// searched, stepwise and continuous ranges give their maximum at once.
QSize largestFrameSize(V4l2Fd &fd, quint32 fourcc)
{
    QSize largest;
    v4l2_frmsizeenum size{};
    size.pixel_format = fourcc;
    for (size.index = 0; fd.ioctl(VIDIOC_ENUM_FRAMESIZES, &size) == 0; ++size.index) {
        if (size.type != V4L2_FRMSIZE_TYPE_DISCRETE)
            return QSize(int(size.stepwise.max_width), int(size.stepwise.max_height));
        const QSize candidate(int(size.discrete.width), int(size.discrete.height));
        if (qint64(candidate.width()) * candidate.height()
            > qint64(largest.width()) * largest.height())
            largest = candidate;
    }
    if (largest.isValid())
        return largest;

    // No size list: ask for an outsized picture and let the driver clamp it.
    v4l2_format format{};
    format.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    format.fmt.pix.pixelformat = fourcc;
    format.fmt.pix.width = 16384;
    format.fmt.pix.height = 16384;
    format.fmt.pix.field = V4L2_FIELD_ANY;
    if (fd.ioctl(VIDIOC_TRY_FMT, &format) == 0)
        return QSize(int(format.fmt.pix.width), int(format.fmt.pix.height));
    return {};
}

QString fourccText(quint32 fourcc)
{
    QString text;
    for (int shift = 0; shift < 32; shift += 8)
        text += QChar(char((fourcc >> shift) & 0xff));
    return text.trimmed();
}

QList<QPair<int, QString>> menuItems(V4l2Fd &fd, const v4l2_queryctrl &control)
{
    QList<QPair<int, QString>> items;
    for (int index = control.minimum; index <= control.maximum; ++index) {
        v4l2_querymenu item{};
        item.id = control.id;
        item.index = quint32(index);
        if (fd.ioctl(VIDIOC_QUERYMENU, &item) != 0)
            continue;   // drivers leave holes in menus
        const QString label = control.type == V4L2_CTRL_TYPE_INTEGER_MENU
                                  ? QString::number(item.value)
                                  : fieldText(item.name, sizeof item.name);
        items.append({index, label});
    }
    return items;
}

} // namespace

QString fieldText(const unsigned char *field, size_t size)
{
    const char *text = reinterpret_cast<const char *>(field);
    return QString::fromUtf8(text, qsizetype(strnlen(text, size))).trimmed();
}

QList<V4l2PixelFormat> capturePixelFormats(V4l2Fd &fd)
{
    QList<V4l2PixelFormat> formats;
    v4l2_fmtdesc description{};
    description.type = V4L2_BUF_TYPE_VIDEO_CAPTURE;
    for (description.index = 0; fd.ioctl(VIDIOC_ENUM_FMT, &description) == 0;
         ++description.index) {
        V4l2PixelFormat format;
        format.fourcc = description.pixelformat;
        format.description = fieldText(description.description, sizeof description.description);
        if (format.description.isEmpty())
            format.description = fourccText(format.fourcc);
        format.largestSize = largestFrameSize(fd, format.fourcc);
        formats.append(format);
    }
    return formats;
}

QList<DeviceControl> adjustableControls(V4l2Fd &fd)
{
    QList<DeviceControl> controls;
    v4l2_queryctrl query{};
    query.id = V4L2_CTRL_FLAG_NEXT_CTRL;
    quint32 previousId = 0;
    // Ids come in rising order; a driver that repeats one would loop forever.
    while (fd.ioctl(VIDIOC_QUERYCTRL, &query) == 0 && query.id > previousId) {
        previousId = query.id;
        const quint32 nextId = query.id | V4L2_CTRL_FLAG_NEXT_CTRL;
        const bool adjustable =
            !(query.flags & (V4L2_CTRL_FLAG_DISABLED | V4L2_CTRL_FLAG_READ_ONLY));
        DeviceControl control;
        control.id = query.id;
        control.name = fieldText(query.name, sizeof query.name);
        control.minimum = query.minimum;
        control.maximum = query.maximum;
        control.step = qMax(1, query.step);
        control.defaultValue = query.default_value;
        bool known = true;
        switch (query.type) {
        case V4L2_CTRL_TYPE_INTEGER: control.kind = DeviceControl::Kind::Integer; break;
        case V4L2_CTRL_TYPE_BOOLEAN: control.kind = DeviceControl::Kind::Boolean; break;
        case V4L2_CTRL_TYPE_MENU:
        case V4L2_CTRL_TYPE_INTEGER_MENU:
            control.kind = DeviceControl::Kind::Menu;
            control.menuItems = menuItems(fd, query);
            break;
        default: known = false; break;   // buttons, class headers, strings, 64-bit values
        }
        if (adjustable && known) {
            v4l2_control current{};
            current.id = query.id;
            control.value = fd.ioctl(VIDIOC_G_CTRL, &current) == 0 ? current.value
                                                                   : query.default_value;
            controls.append(control);
        }
        query = v4l2_queryctrl{};
        query.id = nextId;
    }
    return controls;
}

} // namespace v4l2
