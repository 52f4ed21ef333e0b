#pragma once

#include <QString>
#include <array>

class TGlobal;

// One key of the settings file: its name, the value a missing key takes and
// the field of TGlobal that holds it.
struct SettingsKey
{
    const char *name;
    const char *defaultValue;
    QString TGlobal::*field;
};

// All 24 keys in the order in which they are read and written.
const std::array<SettingsKey, 24> &settingsKeys();
