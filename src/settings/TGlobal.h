#pragma once

#include "settings/IniStorage.h"

#include <QString>
#include <memory>

// The program's settings: one text field per key of the settings file beside
// the executable, named after its key. Values are held exactly as read; the
// code that uses a value compares it as a whole string ("1", "Y", ...).
class TGlobal
{
public:
    // Settings file beside the running executable; needs the application
    // object. Loads the settings.
    TGlobal();
    // Settings file at iniFileName, read and written through storage. Loads
    // the settings.
    explicit TGlobal(const QString &iniFileName,
                     std::shared_ptr<IniStorage> storage = std::make_shared<DiskIniStorage>());

    // No save here: a save can throw, and a destructor must not. The program
    // entry calls SaveSettings itself at the end of the run.
    ~TGlobal() = default;

    // The executable's folder + its file name less its last extension + ".ini".
    static QString iniFileNameFor(const QString &executablePath);

    // Reads all keys from the file, each with its default when missing.
    void LoadSettings();
    // Writes all keys to the file, one at a time; when a write is refused the
    // AppError propagates and the keys after that one are not written.
    void SaveSettings();

    QString IniFileName;

    QString server_name;
    QString strdrive;
    QString strw1;
    QString strh1;
    QString strkjqy;
    QString strjrjk;
    QString strzxh;
    QString strqpxs;
    QString stremail;
    QString strtell;
    QString strqvklj;
    QString strqyemail;
    QString strgs;
    QString strfbl;
    QString strysbl;
    QString strjrmm;
    QString strsfbj;
    QString strsfbcsp;   // "1": recording follows monitoring
    QString strjp;
    QString strstsl;     // camera count, "1" to "4"
    QString strbcpathz;  // save folder, ends with "/"
    QString strqxd;      // video bit rate in kbit/s
    QString strdelz;     // "Y": delete the oldest recordings when the disk runs low
    QString strqyjkz;    // "Y": start monitoring by itself after start-up

private:
    std::shared_ptr<IniStorage> storage_;
};

// The one settings object of the program, set by the program entry before the
// first window is made; nullptr until then.
extern TGlobal *GlobalSettings;
