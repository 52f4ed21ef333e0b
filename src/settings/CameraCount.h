#pragma once

#include <QString>

// Cameras 1 to the count are in use for a camera count (strstsl) of "1" to
// "4", compared as text; any other text puts no camera in use.
inline int camerasInUse(const QString &cameraCount)
{
    if (cameraCount == "1" || cameraCount == "2" || cameraCount == "3" || cameraCount == "4")
        return cameraCount.toInt();
    return 0;
}
