#pragma once

#include "settings/dialog/VolumeSource.h"

// The file systems mounted on this machine that a user would save into: "/"
// first, then disks, removable media and network shares by mount point; the
// kernel's own file systems (proc, sysfs, tmpfs, ...) and system mounts such
// as /boot are left out.
class SystemVolumeSource final : public VolumeSource
{
public:
    QList<VolumeInfo> volumes() const override;

    // Whether /sys/block marks the disk under a device node removable; a
    // partition asks its whole disk.
    static bool isRemovableDevice(const QString &deviceNode);
};
