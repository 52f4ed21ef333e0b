#include "monitor/capture/FfmpegCaptureSession.h"

#include "common/AppError.h"

#include <chrono>

namespace {

// How long a non-blocking device is left alone when it has no frame yet;
// a few milliseconds against a frame period of 33 ms.
constexpr std::chrono::milliseconds noFramePollInterval{4};

} // namespace

FfmpegCaptureSession::FfmpegCaptureSession(const CaptureInputRequest &request, Opening opening,
                                           QObject *parent)
    : CaptureSession(request.frameSize, parent)
{
    std::promise<void> opened;
    std::future<void> openResult = opened.get_future();
    thread_ = std::thread([this, request, opening, opened = std::move(opened)]() mutable {
        captureThread(request, opening, std::move(opened));
    });
    if (opening == Opening::InBackground)
        return;
    try {
        openResult.get();
    } catch (...) {
        thread_.join();   // the thread has already left after a failed open
        throw;
    }
}

FfmpegCaptureSession::~FfmpegCaptureSession()
{
    stop();
}

void FfmpegCaptureSession::stop()
{
    stopRequested_ = true;
    if (thread_.joinable())
        thread_.join();
}

void FfmpegCaptureSession::captureThread(const CaptureInputRequest &request, Opening opening,
                                         std::promise<void> opened)
{
    std::unique_ptr<FfmpegCaptureInput> input;
    try {
        input = FfmpegCaptureInput::open(request, &stopRequested_);
    } catch (const std::exception &error) {
        // A waiting constructor rethrows the error; nobody waits for a background open.
        if (opening == Opening::InBackground && !stopRequested_) {
            const auto *appError = dynamic_cast<const AppError *>(&error);
            reportEnded(appError ? appError->text() : QString::fromLocal8Bit(error.what()));
        }
        opened.set_exception(std::current_exception());
        return;
    }
    opened.set_value();
    captureLoop(*input);
}   // the input is released here, on its own thread

void FfmpegCaptureSession::captureLoop(FfmpegCaptureInput &input)
{
    QImage picture;
    QString failure;
    while (!stopRequested_) {
        switch (input.readFrame(&picture, &failure)) {
        case FfmpegCaptureInput::ReadResult::Frame:
            publishFrame(std::move(picture));
            picture = QImage();
            break;
        case FfmpegCaptureInput::ReadResult::NoFrameYet:
            std::this_thread::sleep_for(noFramePollInterval);
            break;
        case FfmpegCaptureInput::ReadResult::Failed:
            if (!stopRequested_)
                reportEnded(failure);
            return;
        }
    }
}
