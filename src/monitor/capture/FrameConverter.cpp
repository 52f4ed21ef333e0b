#include "monitor/capture/FrameConverter.h"

namespace {

// MJPEG decodes to the old full-range "yuvj" formats, which swscale accepts only
// with a warning; use the plain format and say that the range is full.
AVPixelFormat withoutFullRangeAlias(AVPixelFormat format, bool *fullRange)
{
    *fullRange = true;
    switch (format) {
    case AV_PIX_FMT_YUVJ420P: return AV_PIX_FMT_YUV420P;
    case AV_PIX_FMT_YUVJ422P: return AV_PIX_FMT_YUV422P;
    case AV_PIX_FMT_YUVJ444P: return AV_PIX_FMT_YUV444P;
    case AV_PIX_FMT_YUVJ440P: return AV_PIX_FMT_YUV440P;
    case AV_PIX_FMT_YUVJ411P: return AV_PIX_FMT_YUV411P;
    default: break;
    }
    *fullRange = false;
    return format;
}

} // namespace

FrameConverter::FrameConverter(QSize outputSize)
    : outputSize_(outputSize)
{
}

QImage FrameConverter::convert(const AVFrame &frame)
{
    if (frame.width <= 0 || frame.height <= 0 || frame.format < 0)
        return {};

    if (!scaler_ || frame.width != sourceWidth_ || frame.height != sourceHeight_
        || frame.format != sourceFormat_) {
        bool fullRange = false;
        const AVPixelFormat source =
            withoutFullRangeAlias(static_cast<AVPixelFormat>(frame.format), &fullRange);
        if (frame.color_range == AVCOL_RANGE_JPEG)
            fullRange = true;
        scaler_.reset(sws_getContext(frame.width, frame.height, source,
                                     outputSize_.width(), outputSize_.height(), AV_PIX_FMT_RGB32,
                                     SWS_BILINEAR, nullptr, nullptr, nullptr));
        if (!scaler_)
            return {};
        const int *coefficients = sws_getCoefficients(SWS_CS_DEFAULT);
        sws_setColorspaceDetails(scaler_.get(), coefficients, fullRange ? 1 : 0,
                                 coefficients, 1, 0, 1 << 16, 1 << 16);
        sourceWidth_ = frame.width;
        sourceHeight_ = frame.height;
        sourceFormat_ = frame.format;
    }

    // AV_PIX_FMT_RGB32 is 0xAARRGGBB in native order, the layout of Format_RGB32.
    QImage image(outputSize_, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t *destination[4] = {image.bits(), nullptr, nullptr, nullptr};
    int destinationStride[4] = {static_cast<int>(image.bytesPerLine()), 0, 0, 0};
    const int rows = sws_scale(scaler_.get(), frame.data, frame.linesize, 0, frame.height,
                               destination, destinationStride);
    if (rows <= 0)
        return {};
    return image;
}
