#pragma once

#include "monitor/capture/CaptureSession.h"

#include <atomic>
#include <memory>
#include <thread>

class FfmpegCaptureInput;
struct CaptureInputRequest;

// A session with its own capture thread: read, decode, convert, publish.
// Destroying the session stops the thread and waits for it.
class FfmpegCaptureSession final : public CaptureSession
{
    Q_OBJECT

public:
    // Opens the input first (throws AppError), then starts the thread.
    explicit FfmpegCaptureSession(const CaptureInputRequest &request,
                                  QObject *parent = nullptr);
    ~FfmpegCaptureSession() override;

    void stop() override;

private:
    void captureLoop(std::unique_ptr<FfmpegCaptureInput> input);

    std::atomic<bool> stopRequested_{false};
    std::thread thread_;
};
