#include "settings/IniStorage.h"

#include "common/AppError.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr QFileDevice::Permissions anyWrite =
    QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther;

// Read-only in the plain sense: nobody may write it, or this process may not.
// The permission bits are checked as well because root passes every access
// check, and a file or folder marked read-only must still not be replaced.
bool isReadOnly(const QFileInfo &info)
{
    return !info.isWritable() || (info.permissions() & anyWrite) == 0;
}

[[noreturn]] void refuseWrite(const QString &path)
{
    throw AppError("Unable to write to " + path);
}

} // namespace

std::optional<QByteArray> DiskIniStorage::readAll(const QString &path) const
{
    const QFileInfo info(path);
    if (!info.exists())
        return QByteArray();
    if (!info.isFile() || info.size() > maxFileBytes)
        return std::nullopt;

    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll();
}

void DiskIniStorage::writeAll(const QString &path, const QByteArray &bytes)
{
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || isReadOnly(info)))
        refuseWrite(path);
    // The new file is written beside the old one and renamed over it, so the
    // folder itself must take new files.
    const QFileInfo folder(info.absolutePath());
    if (!folder.isDir() || isReadOnly(folder))
        refuseWrite(path);

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        refuseWrite(path);
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        refuseWrite(path);
    }
    if (!file.commit())
        refuseWrite(path);
}
