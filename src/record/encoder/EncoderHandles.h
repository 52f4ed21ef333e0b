#pragma once

// One owner type per FFmpeg object the encoder creates, each freed with its
// own free function.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <memory>

struct CodecContextFree {
    void operator()(AVCodecContext *context) const { avcodec_free_context(&context); }
};
struct FrameFree {
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketFree {
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct ScalerFree {
    void operator()(SwsContext *scaler) const { sws_freeContext(scaler); }
};
// An output format context; its AVIOContext is owned separately.
struct OutputFormatContextFree {
    void operator()(AVFormatContext *context) const
    {
        context->pb = nullptr;
        avformat_free_context(context);
    }
};
// A custom AVIOContext: FFmpeg may have replaced its buffer, so free the
// current one, then the context.
struct IoContextFree {
    void operator()(AVIOContext *io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct DictionaryFree {
    void operator()(AVDictionary *dictionary) const { av_dict_free(&dictionary); }
};

using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFree>;
using FramePtr = std::unique_ptr<AVFrame, FrameFree>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFree>;
using ScalerPtr = std::unique_ptr<SwsContext, ScalerFree>;
using OutputFormatContextPtr = std::unique_ptr<AVFormatContext, OutputFormatContextFree>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextFree>;
