#pragma once

#include <QString>

// The two XDG autostart folders the program's entry can go into.
struct AutostartFolders
{
    QString machineWide; // every user's logon
    QString user;        // this user's logon only

    // /etc/xdg/autostart and $XDG_CONFIG_HOME/autostart (~/.config/autostart).
    static AutostartFolders system();
};

// Starting the program at logon through an XDG autostart entry "Kamvist.desktop"
// that runs this executable. Failures are reported by the return value only:
// the operator is told nothing, as the setting itself is kept all the same.
class Autostart
{
public:
    static constexpr const char *entryFileName = "Kamvist.desktop";

    Autostart(AutostartFolders folders, QString executablePath);

    // Writes the entry into the machine-wide folder; where that folder cannot
    // be written (no root rights), into the user's folder instead. False when
    // neither took it.
    bool enable();
    // Removes the entry from both folders; a missing entry is no failure.
    // False when an entry is left behind.
    bool disable();

    // The whole desktop entry that runs executablePath.
    static QString desktopEntryText(const QString &executablePath);
    // executablePath as one argument of an Exec key, quoted and escaped the
    // way desktop entries require.
    static QString execValue(const QString &executablePath);

private:
    bool writeEntryInto(const QString &folder) const;

    AutostartFolders folders_;
    QString executablePath_;
};
