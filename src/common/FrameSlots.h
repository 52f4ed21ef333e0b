#pragma once

#include <QImage>
#include <QMutex>
#include <QMutexLocker>
#include <array>

// Frame slot N holds camera N's latest finished (time-stamped) picture. The GUI
// thread publishes a new picture per frame; recording workers take copies from
// their own threads. QImage is implicitly shared, so a copy costs no pixels, and a
// published picture is never drawn on again (the GUI thread always publishes a
// fresh one), so readers never see a half-written frame.
class FrameSlot
{
public:
    void publish(const QImage &picture)
    {
        QMutexLocker lock(&mutex_);
        picture_ = picture;
    }

    QImage current() const
    {
        QMutexLocker lock(&mutex_);
        return picture_;
    }

private:
    mutable QMutex mutex_;
    QImage picture_; // empty until the camera's first frame
};

// The four frame slots, camera N at index N - 1.
class FrameSlots
{
public:
    FrameSlot &slot(int camera) { return slots_.at(camera - 1); }
    const FrameSlot &slot(int camera) const { return slots_.at(camera - 1); }

private:
    std::array<FrameSlot, 4> slots_;
};
