#include "settings/dialog/FolderPickerController.h"

#include "common/Prompter.h"
#include "settings/dialog/FolderCreator.h"
#include "settings/dialog/FolderPickerMemory.h"

#include <QDir>
#include <QFileInfo>

namespace {

const QString rootFolder = QStringLiteral("/");
const QString warningCaption = QStringLiteral("软件提示");
const QString opticalMessage = QStringLiteral("光盘是只读的存储器，不能保存!");
const QString notReadyMessage = QStringLiteral("驱动器内没有磁盘!");
const QString unwritableMessage = QStringLiteral("软盘不可写，请检查软盘是否写保护!");
// The folder whose creation tests a removable volume for writing.
const QString probeFolderName = QStringLiteral("data");

bool isUnder(const QString &path, const QString &folder)
{
    if (folder == rootFolder)
        return path.startsWith(rootFolder);
    return path == folder || path.startsWith(folder + u'/');
}

bool isOpenable(const QString &folder)
{
    const QFileInfo info(folder);
    return info.isDir() && info.isReadable() && info.isExecutable();
}

// Absolute and clean: no "." or "..", no trailing "/" except for "/" itself.
QString normalised(const QString &folder)
{
    return QDir::cleanPath(QDir(rootFolder).absoluteFilePath(folder));
}

QString nearestOpenableFolder(const QString &folder)
{
    QString candidate = normalised(folder.isEmpty() ? QDir::currentPath() : folder);
    while (!isOpenable(candidate) && candidate != rootFolder)
        candidate = QFileInfo(candidate).path();
    return candidate;
}

} // namespace

FolderPickerController::FolderPickerController(const VolumeSource &volumeSource,
                                               FolderCreator &folderCreator, Prompter &prompter,
                                               FolderPickerMemory &memory)
    : volumes_(volumeSource.volumes()), folderCreator_(folderCreator), prompter_(prompter),
      memory_(memory)
{
    open(nearestOpenableFolder(memory_.lastOpenedFolder));
}

QList<FolderListEntry> FolderPickerController::folderListEntries() const
{
    const QString top = currentVolume_ >= 0 ? normalised(volumes_[currentVolume_].mountPoint) : rootFolder;
    QStringList chain;
    for (QString folder = openFolder_; ; folder = QFileInfo(folder).path()) {
        chain.prepend(folder);
        if (folder == top || folder == rootFolder)
            break;
    }

    QList<FolderListEntry> entries;
    int depth = 0;
    for (const QString &folder : chain) {
        const QString name = folder == top ? folder : QFileInfo(folder).fileName();
        entries.append({folder, name, depth++, folder == openFolder_});
    }
    const QStringList subfolders = QDir(openFolder_).entryList(
        QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
    for (const QString &name : subfolders)
        entries.append({QDir(openFolder_).filePath(name), name, depth, false});
    return entries;
}

QStringList FolderPickerController::fileNames() const
{
    return QDir(openFolder_).entryList(QDir::Files, QDir::Name | QDir::IgnoreCase | QDir::LocaleAware);
}

void FolderPickerController::FormShow()
{
    pickedFolder_.clear();
}

void FolderPickerController::DriveComboBox1Change(int volumeIndex)
{
    if (volumeIndex < 0 || volumeIndex >= volumes_.size())
        return;
    const VolumeInfo volume = volumes_[volumeIndex];
    if (!volume.ready || !isOpenable(volume.mountPoint)) {
        refuseVolume(notReadyMessage);
        return;
    }
    if (volume.isOptical()) {
        refuseVolume(opticalMessage);
        return;
    }
    if (volume.removable && !acceptsWrites(volume)) {
        refuseVolume(unwritableMessage);
        return;
    }
    open(normalised(volume.mountPoint));
}

void FolderPickerController::enterFolder(const QString &path)
{
    const QString folder = normalised(path);
    if (isOpenable(folder))
        open(folder);
}

void FolderPickerController::BitBtn1Click()
{
    const std::optional<QString> name =
        prompter_.input(QStringLiteral("新建文件夹"), QStringLiteral("新文件夹名称："), QString());
    if (!name || name->isEmpty())
        return;
    // A full path typed by the operator is used as it is; a failure changes nothing.
    folderCreator_.create(QDir(openFolder_).filePath(*name));
}

void FolderPickerController::BitBtn3Click()
{
    pickedFolder_ = openFolder_;
}

void FolderPickerController::open(const QString &folder)
{
    openFolder_ = folder;
    currentVolume_ = volumeIndexFor(folder);
    memory_.lastOpenedFolder = folder;
}

void FolderPickerController::refuseVolume(const QString &message)
{
    open(rootFolder);
    prompter_.message(message, warningCaption, Prompter::Icon::Critical);
}

// A removable volume must take a new folder. One that already has the test
// folder is taken on trust, and that folder is left where it is.
bool FolderPickerController::acceptsWrites(const VolumeInfo &volume)
{
    const QString probe = QDir(volume.mountPoint).filePath(probeFolderName);
    switch (folderCreator_.create(probe)) {
    case FolderCreator::Outcome::AlreadyExists:
        return true;
    case FolderCreator::Outcome::Created:
        return folderCreator_.remove(probe);
    case FolderCreator::Outcome::Failed:
        break;
    }
    return false;
}

// The listed volume with the longest mount point that holds the folder.
int FolderPickerController::volumeIndexFor(const QString &folder) const
{
    int best = -1;
    for (int i = 0; i < volumes_.size(); ++i) {
        const QString mountPoint = normalised(volumes_[i].mountPoint);
        if (isUnder(folder, mountPoint)
            && (best < 0 || mountPoint.size() > normalised(volumes_[best].mountPoint).size()))
            best = i;
    }
    return best;
}
