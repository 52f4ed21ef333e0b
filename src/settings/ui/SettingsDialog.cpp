#include "settings/ui/SettingsDialog.h"

#include "settings/TGlobal.h"
#include "settings/dialog/FolderCreator.h"
#include "settings/dialog/FolderPickerMemory.h"
#include "settings/dialog/SettingsDialogController.h"
#include "settings/dialog/SystemVolumeSource.h"
#include "settings/ui/TFormcssz.h"
#include "settings/ui/Tqdljfm.h"

#include <QCoreApplication>

SettingsDialogServices systemSettingsDialogServices(Prompter &prompter, const DiskSpace &diskSpace)
{
    SettingsDialogServices services;
    services.prompter = &prompter;
    services.diskSpace = &diskSpace;
    services.volumes = std::make_shared<SystemVolumeSource>();
    services.folderCreator = std::make_shared<SystemFolderCreator>();
    services.pickerMemory = std::make_shared<FolderPickerMemory>();
    services.autostartFolders = AutostartFolders::system();
    services.executablePath = QCoreApplication::applicationFilePath();
    return services;
}

void showSettingsDialog(const SettingsDialogServices &services, QWidget *parent)
{
    Autostart autostart(services.autostartFolders, services.executablePath);
    QWidget *pickerOwner = parent;
    SettingsDialogController controller(
        *GlobalSettings, *services.prompter, *services.diskSpace, autostart, [&] {
            return pickFolder(*services.volumes, *services.folderCreator, *services.prompter,
                              *services.pickerMemory, pickerOwner);
        });
    TFormcssz dialog(controller, parent);
    pickerOwner = &dialog;
    dialog.exec();
}
