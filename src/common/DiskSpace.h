#pragma once

#include <QString>
#include <QtGlobal>

// Seam for the free space of the file system that holds a folder.
class DiskSpace
{
public:
    virtual ~DiskSpace() = default;
    // Bytes available to this program, or a negative number when unknown.
    virtual qint64 freeBytes(const QString &folder) const = 0;
};

// The real one: statvfs on the folder, or on its nearest existing parent when
// the folder does not exist yet.
class SystemDiskSpace final : public DiskSpace
{
public:
    qint64 freeBytes(const QString &folder) const override;
};
