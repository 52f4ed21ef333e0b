#pragma once

#include <QString>
#include <array>

// Display panes are coded 1 (one pane), 21 and 22 (two panes), 41 to 44 (four
// panes); the selected pane is the code of the pane clicked last, or 0.
namespace PaneCodes {

inline constexpr std::array<int, 7> all{1, 21, 22, 41, 42, 43, 44};

// The camera a pane code stands for, or 0 for no pane.
inline int cameraOfPane(int paneCode)
{
    switch (paneCode) {
    case 1: case 21: case 41: return 1;
    case 22: case 42: return 2;
    case 43: return 3;
    case 44: return 4;
    default: return 0;
    }
}

// The pane that shows a camera under a camera count ("1" to "4"), or 0 when none does.
inline int paneCodeFor(int camera, const QString &cameraCount)
{
    if (cameraCount == "1")
        return camera == 1 ? 1 : 0;
    if (cameraCount == "2")
        return camera == 1 ? 21 : camera == 2 ? 22 : 0;
    if (cameraCount == "3" || cameraCount == "4")
        return camera >= 1 && camera <= 4 ? 40 + camera : 0;
    return 0;
}

} // namespace PaneCodes
