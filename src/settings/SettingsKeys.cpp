#include "settings/SettingsKeys.h"

#include "settings/TGlobal.h"

const std::array<SettingsKey, 24> &settingsKeys()
{
    static const std::array<SettingsKey, 24> keys{{
        {"server_name", "127.0.0.1", &TGlobal::server_name},
        {"strdrive", "", &TGlobal::strdrive},
        {"strw1", "640", &TGlobal::strw1},
        {"strh1", "480", &TGlobal::strh1},
        {"strkjqy", "0", &TGlobal::strkjqy},
        {"strjrjk", "1", &TGlobal::strjrjk},
        {"strzxh", "0", &TGlobal::strzxh},
        {"strqpxs", "0", &TGlobal::strqpxs},
        {"stremail", "", &TGlobal::stremail},
        {"strtell", "", &TGlobal::strtell},
        {"strqvklj", "", &TGlobal::strqvklj},
        {"strqyemail", "0", &TGlobal::strqyemail},
        {"strgs", "msvc", &TGlobal::strgs},
        {"strfbl", "1", &TGlobal::strfbl},
        {"strysbl", "10", &TGlobal::strysbl},
        {"strjrmm", "", &TGlobal::strjrmm},
        {"strsfbj", "0", &TGlobal::strsfbj},
        {"strsfbcsp", "1", &TGlobal::strsfbcsp},
        {"strjp", "0", &TGlobal::strjp},
        {"strstsl", "1", &TGlobal::strstsl},
        {"strbcpathz", "", &TGlobal::strbcpathz},
        {"strqxd", "1000", &TGlobal::strqxd},
        {"strdelz", "Y", &TGlobal::strdelz},
        {"strqyjkz", "N", &TGlobal::strqyjkz},
    }};
    return keys;
}
