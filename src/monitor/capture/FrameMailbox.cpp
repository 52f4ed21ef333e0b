#include "monitor/capture/FrameMailbox.h"

#include <QMutexLocker>

FrameMailbox::FrameMailbox(Notify notify)
    : notify_(std::move(notify))
{
}

void FrameMailbox::post(CapturedFrame frame)
{
    bool wasEmpty = false;
    {
        QMutexLocker lock(&mutex_);
        wasEmpty = !slot_.has_value();
        if (!wasEmpty)
            ++droppedFrames_;
        slot_ = std::move(frame);
    }
    // Notify outside the lock: the callback posts an event and must not hold up a take.
    if (wasEmpty && notify_)
        notify_();
}

std::optional<CapturedFrame> FrameMailbox::take()
{
    QMutexLocker lock(&mutex_);
    std::optional<CapturedFrame> frame = std::move(slot_);
    slot_.reset();
    return frame;
}

quint64 FrameMailbox::droppedFrameCount() const
{
    QMutexLocker lock(&mutex_);
    return droppedFrames_;
}
