#pragma once

extern "C" {
#include <libavutil/rational.h>
}

#include <QtGlobal>

#include <chrono>

// Frame times of a constant-rate recording: frame k is due k / rate after
// the start. Whole nanoseconds keep 100 minutes at 30000/1001 exact enough.
class FramePacer
{
public:
    explicit FramePacer(AVRational frameRate) : frameRate_(frameRate) {}

    std::chrono::nanoseconds dueTimeOf(qint64 frameIndex) const
    {
        return std::chrono::nanoseconds(frameIndex * frameRate_.den * nanosPerSecond
                                        / frameRate_.num);
    }

    // How many frames are due once this much time has passed: frame 0 is due
    // at once, so never less than one.
    qint64 framesDueBy(std::chrono::nanoseconds elapsed) const
    {
        if (elapsed.count() < 0)
            return 1;
        return elapsed.count() * frameRate_.num / (frameRate_.den * nanosPerSecond) + 1;
    }

private:
    static constexpr qint64 nanosPerSecond = 1000000000;
    AVRational frameRate_;
};
