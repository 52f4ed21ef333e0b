#include "record/FileRotation.h"

#include "common/CommandGuard.h"

#include <QTimer>

FileRotation::FileRotation(QTimer &timer, Hooks hooks) : timer_(timer), hooks_(std::move(hooks))
{
}

void FileRotation::tick()
{
    timer_.stop();
    if (!hooks_.monitoringOn()) {
        timer_.start();
        return;
    }
    runQuietly([this] { hooks_.stopMonitoring(); });
    pausing_ = true;
    QTimer::singleShot(pauseMs_, this, [this] { finish(); });
}

void FileRotation::finish()
{
    pausing_ = false;
    if (hooks_.runEnding())
        return;
    if (!hooks_.monitoringOn() && hooks_.monitoringPageShown())
        runQuietly([this] { hooks_.startMonitoring(); });
    // Restarting counts the next 100 minutes from the end of this rotation.
    timer_.start();
}
