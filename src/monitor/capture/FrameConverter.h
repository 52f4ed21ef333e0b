#pragma once

#include "common/FfmpegHandles.h"

#include <QImage>
#include <QSize>

// Turns decoded frames of any pixel format and size into QImage Format_RGB32
// at one fixed output size. The scaler is rebuilt only when the input changes.
class FrameConverter
{
public:
    explicit FrameConverter(QSize outputSize);

    // A null image when the frame cannot be converted.
    QImage convert(const AVFrame &frame);

private:
    QSize outputSize_;
    SwsContextPtr scaler_;
    int sourceWidth_ = 0;
    int sourceHeight_ = 0;
    int sourceFormat_ = AV_PIX_FMT_NONE;
};
