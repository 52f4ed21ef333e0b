#include "record/encoder/VideoWriter.h"

#include "record/encoder/CodecLookup.h"

#include "common/AppError.h"
#include "common/FfmpegHandles.h"

#include <QFile>

#include <cstring>

namespace {

constexpr int ioBufferBytes = 32 * 1024;
// The ffmpeg tool's default -muxdelay of 0.7 s, which the program stream
// muxer uses to place its packs.
constexpr int muxMaxDelayUs = 700000;

void check(int result, const char *step)
{
    if (result < 0)
        throw AppError(QStringLiteral("%1: %2").arg(QLatin1String(step), ffmpegErrorText(result)));
}

int writeToSink(void *opaque, uint8_t *data, int sizeBytes)
{
    const int result = static_cast<OutputSink *>(opaque)->write(data, sizeBytes);
    return result < 0 ? result : sizeBytes;
}

int64_t seekInSink(void *opaque, int64_t offset, int whence)
{
    auto *sink = static_cast<OutputSink *>(opaque);
    if (whence & AVSEEK_SIZE)
        return sink->sizeBytes();
    return sink->seek(offset, whence & ~AVSEEK_FORCE);
}

const AVCodec *videoEncoderOf(const OutputOptions &options, const AVOutputFormat *container)
{
    const AVCodec *codec = findVideoEncoder(options.videoCodec, container);
    if (!codec)
        throw AppError(QStringLiteral("no video encoder \"%1\"").arg(options.videoCodec));
    return codec;
}

} // namespace

VideoWriter::VideoWriter(const QString &path, const OutputOptions &options,
                         std::unique_ptr<OutputSink> sink)
    : sink_(std::move(sink))
{
    const QByteArray nativePath = QFile::encodeName(path);
    const QByteArray containerName = options.container.toUtf8();
    AVFormatContext *formatContext = nullptr;
    check(avformat_alloc_output_context2(&formatContext, nullptr,
                                         containerName.isEmpty() ? nullptr : containerName.constData(),
                                         nativePath.constData()),
          "cannot choose the container");
    formatContext_.reset(formatContext);

    const AVCodec *codec = videoEncoderOf(options, formatContext_->oformat);
    stream_ = avformat_new_stream(formatContext_.get(), nullptr);
    if (!stream_)
        throw AppError(QStringLiteral("cannot add the video stream"));
    codecContext_.reset(avcodec_alloc_context3(codec));
    if (!codecContext_)
        throw AppError(QStringLiteral("cannot allocate the video encoder"));

    AVCodecContext *codecContext = codecContext_.get();
    codecContext->width = options.frameSize.width();
    codecContext->height = options.frameSize.height();
    codecContext->framerate = options.frameRate;
    codecContext->time_base = av_inv_q(options.frameRate);
    codecContext->sample_aspect_ratio = AVRational{1, 1};
    codecContext->pix_fmt = options.pixelFormat != AV_PIX_FMT_NONE ? options.pixelFormat
        : codec->pix_fmts                                          ? codec->pix_fmts[0]
                                                                   : AV_PIX_FMT_YUV420P;
    if (options.videoBitRateBps)
        codecContext->bit_rate = *options.videoBitRateBps;
    if (options.gopSizeFrames)
        codecContext->gop_size = static_cast<int>(*options.gopSizeFrames);
    if (options.maxRateBps)
        codecContext->rc_max_rate = *options.maxRateBps;
    if (options.minRateBps)
        codecContext->rc_min_rate = *options.minRateBps;
    if (options.bufferSizeBits)
        codecContext->rc_buffer_size = static_cast<int>(*options.bufferSizeBits);
    if (formatContext_->oformat->flags & AVFMT_GLOBALHEADER)
        codecContext->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
    check(avcodec_open2(codecContext, codec, nullptr), "cannot open the video encoder");
    check(avcodec_parameters_from_context(stream_->codecpar, codecContext),
          "cannot describe the video stream");
    // The encoder's buffer size and rates reach the muxer this way; the
    // program stream muxer sizes its buffer from them.
    for (int index = 0; index < codecContext->nb_coded_side_data; ++index) {
        const AVPacketSideData &sideData = codecContext->coded_side_data[index];
        uint8_t *copy = av_stream_new_side_data(stream_, sideData.type, sideData.size);
        if (!copy)
            throw AppError(QStringLiteral("out of memory"));
        memcpy(copy, sideData.data, sideData.size);
    }
    stream_->time_base = codecContext->time_base;
    stream_->avg_frame_rate = options.frameRate;

    frame_.reset(av_frame_alloc());
    packet_.reset(av_packet_alloc());
    if (!frame_ || !packet_)
        throw AppError(QStringLiteral("out of memory"));
    frame_->format = codecContext->pix_fmt;
    frame_->width = codecContext->width;
    frame_->height = codecContext->height;
    check(av_frame_get_buffer(frame_.get(), 0), "cannot allocate a frame");

    auto *ioBuffer = static_cast<unsigned char *>(av_malloc(ioBufferBytes));
    if (!ioBuffer)
        throw AppError(QStringLiteral("out of memory"));
    ioContext_.reset(avio_alloc_context(ioBuffer, ioBufferBytes, 1, sink_.get(), nullptr,
                                        writeToSink, seekInSink));
    if (!ioContext_) {
        av_free(ioBuffer);
        throw AppError(QStringLiteral("out of memory"));
    }
    formatContext_->pb = ioContext_.get();
    formatContext_->max_delay = muxMaxDelayUs;

    AVDictionary *muxerOptions = nullptr;
    if (options.packetSizeBytes)
        av_dict_set_int(&muxerOptions, "packetsize", *options.packetSizeBytes, 0);
    if (options.muxRateBps)
        av_dict_set_int(&muxerOptions, "muxrate", *options.muxRateBps, 0);
    const int headerResult = avformat_write_header(formatContext_.get(), &muxerOptions);
    const AVDictionaryEntry *unused = av_dict_get(muxerOptions, "", nullptr, AV_DICT_IGNORE_SUFFIX);
    const QString unusedName = unused ? QString::fromUtf8(unused->key) : QString();
    av_dict_free(&muxerOptions);
    check(headerResult, "cannot write the header");
    if (!unusedName.isEmpty())
        throw AppError(QStringLiteral("the %1 container has no option %2")
                           .arg(QLatin1String(formatContext_->oformat->name), unusedName));
}

VideoWriter::~VideoWriter()
{
    // The muxer must not outlive the I/O context it writes through.
    if (formatContext_)
        formatContext_->pb = nullptr;
}

AVFrame *VideoWriter::nextFrame()
{
    // The encoder may still hold the previous picture.
    check(av_frame_make_writable(frame_.get()), "cannot reuse the frame");
    return frame_.get();
}

void VideoWriter::writeFrame(qint64 frameIndex)
{
    frame_->pts = frameIndex;
    check(avcodec_send_frame(codecContext_.get(), frame_.get()), "cannot encode a frame");
    writePendingPackets();
}

void VideoWriter::writePendingPackets()
{
    while (true) {
        const int result = avcodec_receive_packet(codecContext_.get(), packet_.get());
        if (result == AVERROR(EAGAIN) || result == AVERROR_EOF)
            return;
        check(result, "cannot encode a frame");
        av_packet_rescale_ts(packet_.get(), codecContext_->time_base, stream_->time_base);
        packet_->stream_index = stream_->index;
        const int writeResult = av_interleaved_write_frame(formatContext_.get(), packet_.get());
        if (writeResult < 0)
            throw AppError(ffmpegErrorText(writeResult));
    }
}

void VideoWriter::flushToSink()
{
    avio_flush(ioContext_.get());
    if (ioContext_->error < 0)
        throw AppError(ffmpegErrorText(ioContext_->error));
}

void VideoWriter::finish()
{
    check(avcodec_send_frame(codecContext_.get(), nullptr), "cannot flush the encoder");
    writePendingPackets();
    const int trailerResult = av_write_trailer(formatContext_.get());
    if (trailerResult < 0)
        throw AppError(ffmpegErrorText(trailerResult));
    flushToSink();
}

qint64 VideoWriter::sizeBytes() const
{
    return avio_tell(ioContext_.get());
}
