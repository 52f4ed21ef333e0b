#pragma once

#include "settings/TGlobal.h"

// The save folder (strbcpathz); an empty one becomes the executable's folder
// (with its trailing "/") and stays so in the settings.
inline QString saveFolderOrDefault(TGlobal &settings, const QString &executableFolder)
{
    if (settings.strbcpathz.isEmpty())
        settings.strbcpathz = executableFolder;
    return settings.strbcpathz;
}
