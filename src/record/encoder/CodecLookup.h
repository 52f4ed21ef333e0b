#pragma once

#include <QString>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
}

// The video encoder an output uses: the one named by "-c:v", else the
// container's default; nullptr when there is none or it is not a video encoder.
inline const AVCodec *findVideoEncoder(const QString &codecName, const AVOutputFormat *container)
{
    const AVCodec *codec = codecName.isEmpty() ? avcodec_find_encoder(container->video_codec)
                                               : avcodec_find_encoder_by_name(codecName.toUtf8().constData());
    return codec && codec->type == AVMEDIA_TYPE_VIDEO ? codec : nullptr;
}
