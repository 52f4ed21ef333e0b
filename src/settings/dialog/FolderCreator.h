#pragma once

#include <QString>

// Seam for making and removing one folder, so tests can play a disk that
// refuses writes (root passes every permission check on a real one).
class FolderCreator
{
public:
    enum class Outcome { Created, AlreadyExists, Failed };

    virtual ~FolderCreator() = default;
    // Creates one folder; its parent must exist.
    virtual Outcome create(const QString &path) = 0;
    // Removes one empty folder; false when it is still there.
    virtual bool remove(const QString &path) = 0;
};

// The real file system.
class SystemFolderCreator final : public FolderCreator
{
public:
    Outcome create(const QString &path) override;
    bool remove(const QString &path) override;
};
