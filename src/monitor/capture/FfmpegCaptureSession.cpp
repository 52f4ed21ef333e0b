#include "monitor/capture/FfmpegCaptureSession.h"

#include "monitor/capture/FfmpegCaptureInput.h"

#include <chrono>

namespace {

// How long a non-blocking device is left alone when it has no frame yet;
// a few milliseconds against a frame period of 33 ms.
constexpr std::chrono::milliseconds noFramePollInterval{4};

} // namespace

FfmpegCaptureSession::FfmpegCaptureSession(const CaptureInputRequest &request, QObject *parent)
    : CaptureSession(request.frameSize, parent)
{
    std::unique_ptr<FfmpegCaptureInput> input =
        FfmpegCaptureInput::open(request, &stopRequested_);
    thread_ = std::thread([this, owned = std::move(input)]() mutable {
        captureLoop(std::move(owned));
    });
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

void FfmpegCaptureSession::captureLoop(std::unique_ptr<FfmpegCaptureInput> input)
{
    QImage picture;
    QString failure;
    while (!stopRequested_) {
        switch (input->readFrame(&picture, &failure)) {
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
            return;   // the input is released here, on its own thread
        }
    }
}
