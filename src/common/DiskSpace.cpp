#include "common/DiskSpace.h"

#include <QDir>
#include <QFileInfo>
#include <sys/statvfs.h>

qint64 SystemDiskSpace::freeBytes(const QString &folder) const
{
    if (folder.isEmpty())
        return -1;
    QString existing = QFileInfo(folder).absoluteFilePath();
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).absolutePath();
        if (parent == existing)
            return -1;
        existing = parent;
    }
    struct statvfs stats {};
    if (::statvfs(QFile::encodeName(existing).constData(), &stats) != 0)
        return -1;
    return qint64(stats.f_bavail) * qint64(stats.f_frsize);
}
