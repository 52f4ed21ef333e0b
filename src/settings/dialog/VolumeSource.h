#pragma once

#include <QList>
#include <QString>

// One mounted file system as the folder picker lists it.
struct VolumeInfo
{
    QString mountPoint;     // "/" is the volume the picker falls back to
    QString fileSystemType; // "ext4", "vfat", "iso9660", ...
    bool ready = true;      // its mount point can be read
    bool removable = false; // on a device the kernel marks removable

    // CD and DVD file systems: read-only by nature.
    bool isOptical() const;
};

// Seam for the mounted volumes, so the picker's checks run on made-up ones in tests.
class VolumeSource
{
public:
    virtual ~VolumeSource() = default;
    virtual QList<VolumeInfo> volumes() const = 0;
};
