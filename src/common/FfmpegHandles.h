#pragma once

// One owner per FFmpeg object: unique_ptr with the matching free function.
// Shared by the capture threads and the recording encoder.

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/error.h>
#include <libavutil/frame.h>
#include <libavutil/mem.h>
#include <libswscale/swscale.h>
}

#include <QString>

#include <memory>

struct InputFormatContextCloser
{
    void operator()(AVFormatContext *context) const { avformat_close_input(&context); }
};
// An output format context; its AVIOContext is owned separately.
struct OutputFormatContextFreer
{
    void operator()(AVFormatContext *context) const
    {
        context->pb = nullptr;
        avformat_free_context(context);
    }
};
// A custom AVIOContext: FFmpeg may have replaced its buffer, so free the
// current one, then the context.
struct IoContextFreer
{
    void operator()(AVIOContext *io) const
    {
        av_freep(&io->buffer);
        avio_context_free(&io);
    }
};
struct CodecContextFreer
{
    void operator()(AVCodecContext *context) const { avcodec_free_context(&context); }
};
struct FrameFreer
{
    void operator()(AVFrame *frame) const { av_frame_free(&frame); }
};
struct PacketFreer
{
    void operator()(AVPacket *packet) const { av_packet_free(&packet); }
};
struct SwsContextFreer
{
    void operator()(SwsContext *context) const { sws_freeContext(context); }
};
struct DictionaryFreer
{
    void operator()(AVDictionary *dictionary) const { av_dict_free(&dictionary); }
};

using InputFormatContextPtr = std::unique_ptr<AVFormatContext, InputFormatContextCloser>;
using OutputFormatContextPtr = std::unique_ptr<AVFormatContext, OutputFormatContextFreer>;
using IoContextPtr = std::unique_ptr<AVIOContext, IoContextFreer>;
using CodecContextPtr = std::unique_ptr<AVCodecContext, CodecContextFreer>;
using FramePtr = std::unique_ptr<AVFrame, FrameFreer>;
using PacketPtr = std::unique_ptr<AVPacket, PacketFreer>;
using SwsContextPtr = std::unique_ptr<SwsContext, SwsContextFreer>;
using DictionaryPtr = std::unique_ptr<AVDictionary, DictionaryFreer>;

// The text FFmpeg gives for one of its error codes ("No space left on device").
inline QString ffmpegErrorText(int errorCode)
{
    char text[AV_ERROR_MAX_STRING_SIZE] = {};
    av_strerror(errorCode, text, sizeof text);
    return QString::fromUtf8(text);
}
