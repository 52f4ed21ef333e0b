#include "settings/dialog/SystemVolumeSource.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStorageInfo>
#include <algorithm>

namespace {

const QStringList networkTypes = {"nfs", "nfs4", "cifs", "smb3", "fuse.sshfs"};
// Mounts of the system itself; udisks puts removable media under /run/media
// on some distributions, so that one stays.
const QStringList systemMountPrefixes = {"/boot", "/snap", "/proc", "/sys", "/dev", "/run", "/var/lib"};

bool isUnder(const QString &path, const QString &folder)
{
    return path == folder || path.startsWith(folder + u'/');
}

bool isSaveTarget(const QStorageInfo &storage)
{
    const QString mountPoint = storage.rootPath();
    if (mountPoint == QStringLiteral("/"))
        return true;
    if (!isUnder(mountPoint, QStringLiteral("/run/media"))) {
        for (const QString &prefix : systemMountPrefixes) {
            if (isUnder(mountPoint, prefix))
                return false;
        }
    }
    const QString type = QString::fromLatin1(storage.fileSystemType());
    if (networkTypes.contains(type))
        return true;
    // Snap and image mounts sit on loop devices.
    const QString device = QString::fromLocal8Bit(storage.device());
    return device.startsWith(QStringLiteral("/dev/")) && !device.startsWith(QStringLiteral("/dev/loop"))
           && type != QStringLiteral("squashfs");
}

bool isRoot(const VolumeInfo &volume)
{
    return volume.mountPoint == QStringLiteral("/");
}

QString readFlag(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).trimmed();
}

} // namespace

bool VolumeInfo::isOptical() const
{
    const QString type = fileSystemType.toLower();
    return type == QStringLiteral("iso9660") || type == QStringLiteral("udf");
}

bool SystemVolumeSource::isRemovableDevice(const QString &deviceNode)
{
    // /dev/mapper/* and /dev/disk/by-* names are links to the kernel's name.
    const QString kernelName = QFileInfo(QFileInfo(deviceNode).canonicalFilePath()).fileName();
    if (kernelName.isEmpty())
        return false;
    const QString blockFolder = QFileInfo(QStringLiteral("/sys/class/block/") + kernelName).canonicalFilePath();
    if (blockFolder.isEmpty())
        return false;
    const QString ownFlag = readFlag(blockFolder + QStringLiteral("/removable"));
    if (!ownFlag.isEmpty())
        return ownFlag == QStringLiteral("1");
    // A partition has no flag of its own; its disk is the folder above it.
    return readFlag(QFileInfo(blockFolder).path() + QStringLiteral("/removable")) == QStringLiteral("1");
}

QList<VolumeInfo> SystemVolumeSource::volumes() const
{
    QList<VolumeInfo> found;
    for (const QStorageInfo &storage : QStorageInfo::mountedVolumes()) {
        if (!isSaveTarget(storage))
            continue;
        VolumeInfo volume;
        volume.mountPoint = storage.rootPath();
        volume.fileSystemType = QString::fromLatin1(storage.fileSystemType());
        volume.ready = storage.isReady() && QFileInfo(volume.mountPoint).isReadable();
        volume.removable = isRemovableDevice(QString::fromLocal8Bit(storage.device()));
        // A mount point mounted over twice is listed once.
        const bool known = std::any_of(found.cbegin(), found.cend(), [&](const VolumeInfo &v) {
            return v.mountPoint == volume.mountPoint;
        });
        if (!known)
            found.append(volume);
    }
    std::sort(found.begin(), found.end(), [](const VolumeInfo &a, const VolumeInfo &b) {
        if (isRoot(a) != isRoot(b))
            return isRoot(a);
        return a.mountPoint < b.mountPoint;
    });
    if (found.isEmpty() || !isRoot(found.first()))
        found.prepend({QStringLiteral("/"), QString(), true, false});
    return found;
}
