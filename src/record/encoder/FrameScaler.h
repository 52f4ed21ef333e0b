#pragma once

#include "common/FfmpegHandles.h"

#include <QImage>

// Stretches a picture of any size over a whole encoder frame, converting it
// to the frame's pixel format in the same step. Lives on the worker thread.
class FrameScaler
{
public:
    // Fills the frame (already sized and allocated) from the picture; a null
    // picture gives a black frame.
    void fill(AVFrame *frame, const QImage &picture);

private:
    SwsContextPtr scaler_;
};
