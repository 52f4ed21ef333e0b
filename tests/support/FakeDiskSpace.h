#pragma once

#include "common/DiskSpace.h"

// Free space that the test sets.
class FakeDiskSpace final : public DiskSpace
{
public:
    qint64 freeBytes(const QString &folder) const override
    {
        askedFor = folder;
        return bytes;
    }
    qint64 bytes = qint64(100) << 30;
    mutable QString askedFor;
};
