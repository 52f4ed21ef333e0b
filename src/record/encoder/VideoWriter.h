#pragma once

#include "common/FfmpegHandles.h"
#include "record/encoder/EncoderOptions.h"
#include "record/encoder/OutputSink.h"

#include <QtGlobal>

#include <memory>

// One video-only output file: encoder, muxer and the sink behind them, set up
// and used in the order of FFmpeg's muxing example. Every failure throws
// AppError with FFmpeg's text for it. Used on one thread only.
class VideoWriter
{
public:
    // The options must already name a frame size and rate.
    VideoWriter(const QString &path, const OutputOptions &options, std::unique_ptr<OutputSink> sink);
    ~VideoWriter();
    VideoWriter(const VideoWriter &) = delete;
    VideoWriter &operator=(const VideoWriter &) = delete;

    // The frame to fill before writeFrame; writable once this returns.
    AVFrame *nextFrame();
    // Encodes the frame as frame number frameIndex (its time is frameIndex / rate).
    void writeFrame(qint64 frameIndex);
    // Hands everything buffered so far to the sink.
    void flushToSink();
    // Drains the encoder and writes the trailer; the file is complete after it.
    void finish();
    qint64 sizeBytes() const;

private:
    void writePendingPackets();

    std::unique_ptr<OutputSink> sink_;
    OutputFormatContextPtr formatContext_;
    AVStream *stream_ = nullptr;  // owned by formatContext_
    CodecContextPtr codecContext_;
    FramePtr frame_;
    PacketPtr packet_;
    IoContextPtr ioContext_;
};
