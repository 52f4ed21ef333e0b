#include "record/encoder/FrameScaler.h"

#include "common/AppError.h"

extern "C" {
#include <libavutil/imgutils.h>
}

namespace {

// The FFmpeg layout of a picture as QImage stores it, or NONE when the
// picture has to be converted first.
AVPixelFormat pixelFormatOf(QImage::Format format)
{
    switch (format) {
    case QImage::Format_RGB32:
    case QImage::Format_ARGB32:
    case QImage::Format_ARGB32_Premultiplied:
        // 0xAARRGGBB words: B, G, R, A in memory on a little-endian machine.
        return Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? AV_PIX_FMT_BGRA : AV_PIX_FMT_ARGB;
    case QImage::Format_RGB888:
        return AV_PIX_FMT_RGB24;
    case QImage::Format_BGR888:
        return AV_PIX_FMT_BGR24;
    case QImage::Format_Grayscale8:
        return AV_PIX_FMT_GRAY8;
    default:
        return AV_PIX_FMT_NONE;
    }
}

void fillBlack(AVFrame *frame)
{
    const auto format = static_cast<AVPixelFormat>(frame->format);
    ptrdiff_t lineSizes[4] = {};
    for (int plane = 0; plane < 4; ++plane)
        lineSizes[plane] = frame->linesize[plane];
    av_image_fill_black(frame->data, lineSizes, format, AVCOL_RANGE_MPEG, frame->width,
                        frame->height);
}

// At the same size only the colour conversion runs, and the fast path does it
// as well as the others; a size change gets proper bilinear filtering.
int scalingFlags(QSize source, const AVFrame *frame)
{
    return source == QSize(frame->width, frame->height) ? SWS_FAST_BILINEAR : SWS_BILINEAR;
}

} // namespace

void FrameScaler::fill(AVFrame *frame, const QImage &picture)
{
    if (picture.isNull()) {
        fillBlack(frame);
        return;
    }
    QImage source = picture;
    AVPixelFormat sourceFormat = pixelFormatOf(source.format());
    if (sourceFormat == AV_PIX_FMT_NONE) {
        source = picture.convertToFormat(QImage::Format_RGB32);
        sourceFormat = pixelFormatOf(source.format());
    }
    scaler_.reset(sws_getCachedContext(scaler_.release(), source.width(), source.height(),
                                       sourceFormat, frame->width, frame->height,
                                       static_cast<AVPixelFormat>(frame->format), scalingFlags(source.size(), frame),
                                       nullptr, nullptr, nullptr));
    if (!scaler_)
        throw AppError(QStringLiteral("Cannot scale a %1x%2 picture to %3x%4")
                           .arg(source.width())
                           .arg(source.height())
                           .arg(frame->width)
                           .arg(frame->height));
    const uint8_t *sourcePlanes[1] = {source.constBits()};
    const int sourceLineSizes[1] = {static_cast<int>(source.bytesPerLine())};
    sws_scale(scaler_.get(), sourcePlanes, sourceLineSizes, 0, source.height(), frame->data,
              frame->linesize);
}
