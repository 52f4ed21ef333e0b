#pragma once

#include <QtGlobal>
#include <chrono>

// Nanoseconds on the monotonic clock: for time stamps of frames and deadlines,
// never for dates (the wall clock is the Clock seam).
inline qint64 steadyNowNs()
{
    using namespace std::chrono;
    return duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count();
}
