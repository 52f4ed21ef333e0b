#pragma once

#include "settings/dialog/VolumeSource.h"

#include <QList>
#include <QString>
#include <QStringList>

class FolderCreator;
class Prompter;
struct FolderPickerMemory;

// One line of the folder list: the folders from the volume's mount point down
// to the open folder, then the open folder's subfolders.
struct FolderListEntry
{
    QString path;
    QString name;
    int depth = 0;
    bool isOpenFolder = false;
};

// The folder picker without its widgets: the volume list, the open folder, the
// refusal of volumes that cannot take recordings, new folders and the folder
// handed back.
class FolderPickerController
{
public:
    // Starts on the folder memory names (or its nearest existing parent).
    FolderPickerController(const VolumeSource &volumeSource, FolderCreator &folderCreator,
                           Prompter &prompter, FolderPickerMemory &memory);

    const QList<VolumeInfo> &volumes() const { return volumes_; }
    // The volume that holds the open folder; -1 when none listed does.
    int currentVolumeIndex() const { return currentVolume_; }
    QString openFolder() const { return openFolder_; }
    QList<FolderListEntry> folderListEntries() const;
    QStringList fileNames() const;
    // Set by "确定": the open folder as a full path, without a trailing "/"
    // except for "/" itself. Empty otherwise.
    QString pickedFolder() const { return pickedFolder_; }

    // Empties the picked folder when the picker is shown.
    void FormShow();
    // Opens the chosen volume, or refuses it with a message and goes back to "/".
    void DriveComboBox1Change(int volumeIndex);
    // Opens a folder of the folder list (a double click); a folder that cannot
    // be read is not opened.
    void enterFolder(const QString &path);
    // Asks for a name and creates that folder inside the open folder.
    void BitBtn1Click();
    // Hands back the open folder.
    void BitBtn3Click();

private:
    void open(const QString &folder);
    void refuseVolume(const QString &message);
    bool acceptsWrites(const VolumeInfo &volume);
    int volumeIndexFor(const QString &folder) const;

    QList<VolumeInfo> volumes_;
    FolderCreator &folderCreator_;
    Prompter &prompter_;
    FolderPickerMemory &memory_;
    int currentVolume_ = -1;
    QString openFolder_;
    QString pickedFolder_;
};
