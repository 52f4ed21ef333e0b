#include "settings/dialog/FolderCreator.h"

#include <QFile>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

FolderCreator::Outcome SystemFolderCreator::create(const QString &path)
{
    // mkdir itself, not QDir::mkdir: only errno tells "already there" from a refusal.
    if (::mkdir(QFile::encodeName(path).constData(), 0777) == 0)
        return Outcome::Created;
    return errno == EEXIST ? Outcome::AlreadyExists : Outcome::Failed;
}

bool SystemFolderCreator::remove(const QString &path)
{
    return ::rmdir(QFile::encodeName(path).constData()) == 0;
}
