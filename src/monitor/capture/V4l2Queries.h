#pragma once

#include "monitor/capture/CaptureTypes.h"
#include "monitor/capture/V4l2Backend.h"
#include "monitor/capture/V4l2Io.h"

// What an open V4L2 node says about itself, asked through V4l2Io.
namespace v4l2 {

// The node's capture formats in the driver's order, each with its largest size.
QList<V4l2PixelFormat> capturePixelFormats(V4l2Fd &fd);

// Integer, boolean and menu controls that can be changed, with current values.
QList<DeviceControl> adjustableControls(V4l2Fd &fd);

// A fixed-size text field of a V4L2 structure, which need not end in a NUL.
QString fieldText(const unsigned char *field, size_t size);

} // namespace v4l2
