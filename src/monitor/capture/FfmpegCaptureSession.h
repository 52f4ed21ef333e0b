#pragma once

#include "monitor/capture/CaptureSession.h"
#include "monitor/capture/FfmpegCaptureInput.h"

#include <atomic>
#include <future>
#include <thread>

// A session with its own capture thread: open, read, decode, convert, publish.
// The thread opens the input itself, so it is the only one that ever touches it.
// Destroying the session stops the thread and waits for it.
class FfmpegCaptureSession final : public CaptureSession
{
    Q_OBJECT

public:
    enum class Opening {
        Wait,           // the constructor returns once the input is open, or throws AppError
        InBackground,   // the constructor returns at once; a failed open ends the session
    };

    explicit FfmpegCaptureSession(const CaptureInputRequest &request,
                                  Opening opening = Opening::Wait, QObject *parent = nullptr);
    ~FfmpegCaptureSession() override;

    void stop() override;

private:
    void captureThread(const CaptureInputRequest &request, Opening opening,
                       std::promise<void> opened);
    void captureLoop(FfmpegCaptureInput &input);

    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
};
