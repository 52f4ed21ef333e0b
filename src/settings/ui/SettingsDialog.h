#pragma once

#include "settings/dialog/Autostart.h"

#include <QString>
#include <memory>

class DiskSpace;
class FolderCreator;
class Prompter;
class QWidget;
class VolumeSource;
struct FolderPickerMemory;

// What the settings dialog and its folder picker need from outside. The
// program wires the real ones (systemSettingsDialogServices); tests wire fakes
// and folders of their own.
struct SettingsDialogServices
{
    Prompter *prompter = nullptr;
    const DiskSpace *diskSpace = nullptr;
    std::shared_ptr<const VolumeSource> volumes;
    std::shared_ptr<FolderCreator> folderCreator;
    // Shared by every opening, so the picker starts where it was left.
    std::shared_ptr<FolderPickerMemory> pickerMemory;
    AutostartFolders autostartFolders;
    QString executablePath; // what the autostart entry runs
};

// The real services: the given prompter and disk space, the mounted volumes,
// the XDG autostart folders and this executable. Needs the application object.
SettingsDialogServices systemSettingsDialogServices(Prompter &prompter, const DiskSpace &diskSpace);

// Shows the settings dialog modally over parent; it reads and writes
// GlobalSettings and writes the settings file after each change.
void showSettingsDialog(const SettingsDialogServices &services, QWidget *parent);
