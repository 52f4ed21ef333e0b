#pragma once

#include "monitor/capture/CaptureTypes.h"

#include <QMutex>

#include <functional>
#include <optional>

// Latest-value hand-over from one producer thread to one consumer.
// The producer never waits for the consumer: a newer frame replaces an unread
// one (counted as dropped), and the consumer is notified only when the slot
// turns from empty to full, so at most one notification is ever outstanding
// and each one finds a frame waiting.
class FrameMailbox
{
public:
    using Notify = std::function<void()>;

    explicit FrameMailbox(Notify notify);

    // Producer side, any thread.
    void post(CapturedFrame frame);

    // Consumer side: the newest frame, or nothing when none arrived since the last take.
    std::optional<CapturedFrame> take();

    quint64 droppedFrameCount() const;

private:
    Notify notify_;
    mutable QMutex mutex_;
    std::optional<CapturedFrame> slot_;   // full exactly while a notification is pending
    quint64 droppedFrames_ = 0;
};
