#include "settings/dialog/Autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

constexpr QFileDevice::Permissions anyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// A folder nobody may write counts as unwritable even for root, who passes
// every access check; the same rule the settings file follows.
bool isWritableFolder(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() && (info.permissions() & anyWrite) != 0;
}

// Characters that force an Exec argument into double quotes.
bool needsQuoting(const QString &argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    for (const QChar c : argument) {
        if (reserved.contains(c))
            return true;
    }
    return argument.isEmpty();
}

} // namespace

AutostartFolders AutostartFolders::system()
{
    // GenericConfigLocation is $XDG_CONFIG_HOME, or ~/.config when it is unset.
    return {QStringLiteral("/etc/xdg/autostart"),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                + QStringLiteral("/autostart")};
}

Autostart::Autostart(AutostartFolders folders, QString executablePath)
    : folders_(std::move(folders)), executablePath_(std::move(executablePath))
{
}

bool Autostart::enable()
{
    return writeEntryInto(folders_.machineWide) || writeEntryInto(folders_.user);
}

bool Autostart::disable()
{
    bool allGone = true;
    for (const QString &folder : {folders_.machineWide, folders_.user}) {
        const QString entry = QDir(folder).filePath(QString::fromLatin1(entryFileName));
        if (QFileInfo(entry).exists() || QFileInfo(entry).isSymLink())
            allGone = QFile::remove(entry) && allGone;
    }
    return allGone;
}

QString Autostart::execValue(const QString &executablePath)
{
    // A literal "%" would start a field code.
    QString argument = executablePath;
    argument.replace(u'%', QStringLiteral("%%"));
    if (needsQuoting(argument)) {
        QString quoted;
        for (const QChar c : argument) {
            if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
                quoted += u'\\';
            quoted += c;
        }
        argument = u'"' + quoted + u'"';
    }
    // The string escapes of the file format come on top of the quoting, so a
    // backslash inside quotes ends up written four times.
    QString value;
    for (const QChar c : argument) {
        switch (c.unicode()) {
        case '\\': value += QStringLiteral("\\\\"); break;
        case '\n': value += QStringLiteral("\\n"); break;
        case '\t': value += QStringLiteral("\\t"); break;
        case '\r': value += QStringLiteral("\\r"); break;
        default: value += c;
        }
    }
    return value;
}

QString Autostart::desktopEntryText(const QString &executablePath)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Kamvist\n"
                          "Comment=Starts video surveillance at logon\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(execValue(executablePath));
}

bool Autostart::writeEntryInto(const QString &folder) const
{
    if (folder.isEmpty() || !QDir().mkpath(folder) || !isWritableFolder(folder))
        return false;
    QSaveFile file(QDir(folder).filePath(QString::fromLatin1(entryFileName)));
    if (!file.open(QIODevice::WriteOnly))
        return false;
    const QByteArray bytes = desktopEntryText(executablePath_).toUtf8();
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    if (!file.commit())
        return false;
    QFile::setPermissions(file.fileName(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                              | QFileDevice::ReadGroup | QFileDevice::ReadOther);
    return true;
}
