#pragma once

#include "monitor/capture/V4l2Io.h"

#include <QHash>
#include <QList>
#include <QMap>
#include <QSize>

#include <linux/videodev2.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

// Scripted V4L2 nodes answering the ioctls the backend asks.
class FakeV4l2Io final : public V4l2Io
{
public:
    struct Format
    {
        quint32 fourcc = 0;
        QByteArray description;
        QList<QSize> discreteSizes;   // used when stepwiseMax is empty
        QSize stepwiseMax;
        QSize clampedByTryFormat;     // answer to VIDIOC_TRY_FMT when there is no size list
    };
    struct Control
    {
        v4l2_queryctrl query{};
        QMap<int, QByteArray> menu;   // index -> label; missing indices are holes
        int value = 0;
        bool readable = true;
    };
    struct Node
    {
        int openError = 0;
        quint32 capabilities = V4L2_CAP_VIDEO_CAPTURE | V4L2_CAP_STREAMING;
        quint32 deviceCaps = 0;
        QByteArray card;
        QByteArray driver = "uvcvideo";
        QByteArray busInfo;           // the USB port, "usb-0000:00:14.0-3"
        QList<Format> formats;
        QList<Control> controls;
    };

    QMap<QString, Node> nodes;    // by path
    int openDescriptors = 0;

    // Copies text into a fixed V4L2 field the way drivers do: NUL only if it fits.
    static void copyText(unsigned char *field, size_t size, const QByteArray &text)
    {
        std::memset(field, 0, size);
        std::memcpy(field, text.constData(), std::min(size, size_t(text.size())));
    }

    static Control control(quint32 id, quint32 type, const char *name, int minimum, int maximum,
                           int defaultValue, int value, quint32 flags = 0)
    {
        Control result;
        result.query.id = id;
        result.query.type = type;
        copyText(result.query.name, sizeof result.query.name, name);
        result.query.minimum = minimum;
        result.query.maximum = maximum;
        result.query.step = 1;
        result.query.default_value = defaultValue;
        result.query.flags = flags;
        result.value = value;
        return result;
    }

    QStringList videoNodePaths() override { return QStringList(nodes.keys()); }

    int open(const QString &path) override
    {
        if (!nodes.contains(path))
            return -ENOENT;
        if (nodes[path].openError)
            return -nodes[path].openError;
        const int fd = nextFd_++;
        openFds_[fd] = path;
        ++openDescriptors;
        return fd;
    }

    void close(int fd) override
    {
        if (openFds_.remove(fd))
            --openDescriptors;
    }

    int ioctl(int fd, unsigned long request, void *argument) override
    {
        if (!openFds_.contains(fd))
            return EBADF;
        Node &node = nodes[openFds_[fd]];
        switch (request) {
        case VIDIOC_QUERYCAP: return queryCapability(node, static_cast<v4l2_capability *>(argument));
        case VIDIOC_ENUM_FMT: return enumFormat(node, static_cast<v4l2_fmtdesc *>(argument));
        case VIDIOC_ENUM_FRAMESIZES:
            return enumFrameSize(node, static_cast<v4l2_frmsizeenum *>(argument));
        case VIDIOC_TRY_FMT: return tryFormat(node, static_cast<v4l2_format *>(argument));
        case VIDIOC_QUERYCTRL: return queryControl(node, static_cast<v4l2_queryctrl *>(argument));
        case VIDIOC_QUERYMENU: return queryMenu(node, static_cast<v4l2_querymenu *>(argument));
        case VIDIOC_G_CTRL: return getControl(node, static_cast<v4l2_control *>(argument));
        case VIDIOC_S_CTRL: return setControl(node, static_cast<v4l2_control *>(argument));
        default: return ENOTTY;
        }
    }

private:
    static int queryCapability(const Node &node, v4l2_capability *capability)
    {
        *capability = v4l2_capability{};
        copyText(capability->card, sizeof capability->card, node.card);   // a 32-byte card name has no NUL
        copyText(capability->driver, sizeof capability->driver, node.driver);
        copyText(capability->bus_info, sizeof capability->bus_info, node.busInfo);
        capability->capabilities = node.capabilities;
        capability->device_caps = node.deviceCaps;
        return 0;
    }

    static int enumFormat(const Node &node, v4l2_fmtdesc *description)
    {
        if (description->type != V4L2_BUF_TYPE_VIDEO_CAPTURE
            || description->index >= quint32(node.formats.size()))
            return EINVAL;
        const Format &format = node.formats[int(description->index)];
        description->pixelformat = format.fourcc;
        copyText(description->description, sizeof description->description, format.description);
        return 0;
    }

    static const Format *findFormat(const Node &node, quint32 fourcc)
    {
        for (const Format &format : node.formats) {
            if (format.fourcc == fourcc)
                return &format;
        }
        return nullptr;
    }

    static int enumFrameSize(const Node &node, v4l2_frmsizeenum *size)
    {
        const Format *format = findFormat(node, size->pixel_format);
        if (!format)
            return EINVAL;
        if (format->stepwiseMax.isValid()) {
            if (size->index != 0)
                return EINVAL;
            size->type = V4L2_FRMSIZE_TYPE_STEPWISE;
            size->stepwise = {16, quint32(format->stepwiseMax.width()), 16,
                              16, quint32(format->stepwiseMax.height()), 16};
            return 0;
        }
        if (size->index >= quint32(format->discreteSizes.size()))
            return EINVAL;
        size->type = V4L2_FRMSIZE_TYPE_DISCRETE;
        const QSize discrete = format->discreteSizes[int(size->index)];
        size->discrete = {quint32(discrete.width()), quint32(discrete.height())};
        return 0;
    }

    static int tryFormat(const Node &node, v4l2_format *requested)
    {
        const Format *format = findFormat(node, requested->fmt.pix.pixelformat);
        if (!format || !format->clampedByTryFormat.isValid())
            return EINVAL;
        requested->fmt.pix.width = quint32(format->clampedByTryFormat.width());
        requested->fmt.pix.height = quint32(format->clampedByTryFormat.height());
        return 0;
    }

    static Control *findControl(Node &node, quint32 id)
    {
        for (Control &control : node.controls) {
            if (control.query.id == id)
                return &control;
        }
        return nullptr;
    }

    static int queryControl(const Node &node, v4l2_queryctrl *query)
    {
        if (!(query->id & V4L2_CTRL_FLAG_NEXT_CTRL))
            return EINVAL;   // only the "next control" walk is scripted
        const quint32 after = query->id & ~V4L2_CTRL_FLAG_NEXT_CTRL;
        const Control *next = nullptr;
        for (const Control &control : node.controls) {
            if (control.query.id > after && (!next || control.query.id < next->query.id))
                next = &control;
        }
        if (!next)
            return EINVAL;
        *query = next->query;
        return 0;
    }

    static int queryMenu(Node &node, v4l2_querymenu *item)
    {
        const Control *control = findControl(node, item->id);
        if (!control || !control->menu.contains(int(item->index)))
            return EINVAL;
        const QByteArray label = control->menu[int(item->index)];
        if (control->query.type == V4L2_CTRL_TYPE_INTEGER_MENU)
            item->value = label.toLongLong();
        else
            copyText(item->name, sizeof item->name, label);
        return 0;
    }

    static int getControl(Node &node, v4l2_control *value)
    {
        const Control *control = findControl(node, value->id);
        if (!control || !control->readable)
            return EACCES;
        value->value = control->value;
        return 0;
    }

    static int setControl(Node &node, v4l2_control *value)
    {
        Control *control = findControl(node, value->id);
        if (!control)
            return EINVAL;
        if (value->value < control->query.minimum || value->value > control->query.maximum)
            return ERANGE;
        control->value = value->value;
        return 0;
    }

    QHash<int, QString> openFds_;
    int nextFd_ = 3;
};
