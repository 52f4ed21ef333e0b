#pragma once

#include "monitor/capture/CaptureSession.h"
#include "monitor/capture/CaptureTypes.h"

#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>

// The video input devices of the machine, by index in enumeration order.
// An index refers to the list returned by the latest deviceNames() call; an
// identity names the physical device itself and survives re-plugging.
// Failures are AppError with a text for the operator.
class CaptureBackend
{
public:
    virtual ~CaptureBackend() = default;

    // Enumerates the devices afresh. Friendly names, in enumeration order;
    // equal names are possible.
    virtual QStringList deviceNames() = 0;
    // The identities of the latest enumeration, index for index with its names,
    // all different: the USB port of a camera, "virtual:N" for a test pattern.
    // Does not enumerate again (only when there has been no enumeration yet).
    virtual QStringList deviceIdentities() = 0;
    // The device's capture formats in its own order, each with its largest size.
    virtual QList<VideoFormat> formats(int deviceIndex) = 0;
    // Starts capturing at the given size; frames arrive through the session.
    virtual std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) = 0;
    // The same without waiting for a device that is slow to start: an open that
    // fails later ends the session (ended()) instead of throwing. Throws only for
    // what is known at once (no such device, a size it cannot give).
    virtual std::unique_ptr<CaptureSession> openSessionInBackground(int deviceIndex, QSize size)
    {
        return openSession(deviceIndex, size);
    }
    // Adjustable settings of the device; none for a virtual camera.
    virtual QList<DeviceControl> controls(int deviceIndex) = 0;
    virtual void setControl(int deviceIndex, quint32 controlId, int value) = 0;
    // A line or two about the device for the property dialog.
    virtual QString deviceDescription(int deviceIndex) = 0;
};
