#include "monitor/capture/FfmpegCaptureInput.h"

#include "common/AppError.h"
#include "common/SteadyClock.h"

extern "C" {
#include <libavdevice/avdevice.h>
}

#include <mutex>

namespace {

void registerDevicesOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { avdevice_register_all(); });
}

AppError openError(const CaptureInputRequest &request, const QString &reason)
{
    return AppError(QStringLiteral("无法打开视频设备 %1：%2").arg(request.url, reason));
}

} // namespace

FfmpegCaptureInput::FfmpegCaptureInput(QSize frameSize, const std::atomic<bool> *stopRequested)
    : stopRequested_(stopRequested)
    , converter_(frameSize)
{
}

FfmpegCaptureInput::~FfmpegCaptureInput() = default;

int FfmpegCaptureInput::interruptCallback(void *opaque)
{
    auto *input = static_cast<FfmpegCaptureInput *>(opaque);
    if (input->stopRequested_ && input->stopRequested_->load())
        return 1;
    const qint64 deadlineNs = input->openDeadlineNs_.load();
    return deadlineNs != 0 && steadyNowNs() > deadlineNs ? 1 : 0;
}

std::unique_ptr<FfmpegCaptureInput> FfmpegCaptureInput::open(const CaptureInputRequest &request,
                                                             const std::atomic<bool> *stopRequested)
{
    registerDevicesOnce();
    if (request.frameSize.width() <= 0 || request.frameSize.height() <= 0)
        throw openError(request, QStringLiteral("无效的分辨率"));

    const QByteArray formatName = request.inputFormatName.toUtf8();
    const AVInputFormat *inputFormat = av_find_input_format(formatName.constData());
    if (!inputFormat)
        throw openError(request, QStringLiteral("缺少输入格式 %1").arg(request.inputFormatName));

    std::unique_ptr<FfmpegCaptureInput> input(
        new FfmpegCaptureInput(request.frameSize, stopRequested));
    input->unplugged_ = request.unplugged;

    AVFormatContext *rawContext = avformat_alloc_context();
    if (!rawContext)
        throw openError(request, ffmpegErrorText(AVERROR(ENOMEM)));
    rawContext->interrupt_callback.callback = &FfmpegCaptureInput::interruptCallback;
    rawContext->interrupt_callback.opaque = input.get();
    if (request.nonBlocking)
        rawContext->flags |= AVFMT_FLAG_NONBLOCK;

    AVDictionary *rawOptions = nullptr;
    for (const auto &[key, value] : request.options)
        av_dict_set(&rawOptions, key.toUtf8().constData(), value.toUtf8().constData(), 0);
    DictionaryPtr options(rawOptions);

    input->openDeadlineNs_ = steadyNowNs() + qint64(request.openTimeoutMs) * 1000000;
    const QByteArray url = request.url.toUtf8();
    rawOptions = options.release();
    // On failure avformat_open_input frees the context itself.
    int result = avformat_open_input(&rawContext, url.constData(), inputFormat, &rawOptions);
    options.reset(rawOptions);
    input->openDeadlineNs_ = 0;
    if (result < 0)
        throw openError(request, ffmpegErrorText(result));
    input->format_.reset(rawContext);

    // Devices describe their stream at open; probing would read (and wait for) frames.
    result = av_find_best_stream(rawContext, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
    if (result < 0)
        throw openError(request, QStringLiteral("没有视频流"));
    input->videoStreamIndex_ = result;

    const AVCodecParameters *parameters = rawContext->streams[result]->codecpar;
    const AVCodec *codec = avcodec_find_decoder(parameters->codec_id);
    if (!codec)
        throw openError(request, QStringLiteral("没有 %1 解码器")
                                     .arg(QString::fromUtf8(avcodec_get_name(parameters->codec_id))));
    input->decoder_.reset(avcodec_alloc_context3(codec));
    input->frame_.reset(av_frame_alloc());
    input->packet_.reset(av_packet_alloc());
    if (!input->decoder_ || !input->frame_ || !input->packet_)
        throw openError(request, ffmpegErrorText(AVERROR(ENOMEM)));
    result = avcodec_parameters_to_context(input->decoder_.get(), parameters);
    if (result >= 0) {
        // One picture at a time: decoder threads would only add latency.
        input->decoder_->thread_count = 1;
        result = avcodec_open2(input->decoder_.get(), codec, nullptr);
    }
    if (result < 0)
        throw openError(request, ffmpegErrorText(result));
    return input;
}

FfmpegCaptureInput::ReadResult FfmpegCaptureInput::readFrame(QImage *picture, QString *failure)
{
    if (unplugged_ && unplugged_->load()) {
        *failure = ffmpegErrorText(AVERROR(ENODEV));
        return ReadResult::Failed;
    }
    for (;;) {
        int result = avcodec_receive_frame(decoder_.get(), frame_.get());
        if (result == 0) {
            *picture = converter_.convert(*frame_);
            av_frame_unref(frame_.get());
            if (!picture->isNull())
                return ReadResult::Frame;
            continue;
        }
        if (result == AVERROR_EOF) {
            *failure = ffmpegErrorText(result);
            return ReadResult::Failed;
        }
        // EAGAIN, or a picture the decoder rejected: read on.

        result = av_read_frame(format_.get(), packet_.get());
        // A short or flagged buffer from the device is a lost picture, not a lost device.
        if (result == AVERROR(EAGAIN) || result == AVERROR_INVALIDDATA)
            return ReadResult::NoFrameYet;
        if (result < 0) {
            *failure = ffmpegErrorText(result);
            return ReadResult::Failed;
        }
        if (packet_->stream_index == videoStreamIndex_ && packet_->size > 0) {
            // A damaged picture (a broken MJPEG frame, say) is skipped, not fatal.
            avcodec_send_packet(decoder_.get(), packet_.get());
        }
        av_packet_unref(packet_.get());
    }
}
