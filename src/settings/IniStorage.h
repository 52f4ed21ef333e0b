#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Disk access of the settings file, behind a seam so that tests can refuse a
// write at a chosen moment.
class IniStorage
{
public:
    virtual ~IniStorage() = default;

    // The whole file; an empty array for a missing file, nullopt when the file
    // exists but cannot be read (a folder, no read permission, far too big).
    virtual std::optional<QByteArray> readAll(const QString &path) const = 0;

    // Replaces the whole file. Throws AppError("Unable to write to <path>")
    // when the write is refused; the old file is then left as it was.
    virtual void writeAll(const QString &path, const QByteArray &bytes) = 0;
};

// The real file system. Writes go to a temporary file that replaces the old
// one only when complete, so a crash mid-write never leaves half a file.
class DiskIniStorage final : public IniStorage
{
public:
    // A settings file larger than this is not ours; reading it whole would
    // only waste memory, so it is treated as unreadable.
    static constexpr qint64 maxFileBytes = 64 * 1024 * 1024;

    std::optional<QByteArray> readAll(const QString &path) const override;
    void writeAll(const QString &path, const QByteArray &bytes) override;
};
