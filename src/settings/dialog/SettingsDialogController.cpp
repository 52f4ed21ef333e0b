#include "settings/dialog/SettingsDialogController.h"

#include "common/CommandGuard.h"
#include "common/DiskSpace.h"
#include "common/Prompter.h"
#include "settings/TGlobal.h"
#include "settings/dialog/Autostart.h"
#include "settings/dialog/FreeSpaceText.h"

#include <QCoreApplication>
#include <QDir>

const QStringList &SettingsDialogController::cameraCounts()
{
    static const QStringList counts = {"1", "2", "3", "4"};
    return counts;
}

const QStringList &SettingsDialogController::qualityBitRates()
{
    static const QStringList bitRates = {"1000", "1500", "2000", "2700"};
    return bitRates;
}

SettingsDialogController::SettingsDialogController(TGlobal &settings, Prompter &prompter,
                                                   const DiskSpace &diskSpace, Autostart &autostart,
                                                   FolderPick pickFolder)
    : settings_(settings), prompter_(prompter), diskSpace_(diskSpace), autostart_(autostart),
      pickFolder_(std::move(pickFolder))
{
}

void SettingsDialogController::setRecordingChecked(bool checked)
{
    if (checked == recordingChecked_)
        return;
    recordingChecked_ = checked;
    cbspClick();
}

void SettingsDialogController::setCameraCountIndex(int index)
{
    cameraCountIndex_ = (index >= 0 && index < cameraCounts().size()) ? index : -1;
}

void SettingsDialogController::setQualityIndex(int index)
{
    if (index >= 0 && index < qualityBitRates().size())
        qualityIndex_ = index;
}

void SettingsDialogController::setOverwriteChecked(bool checked)
{
    if (checked == overwriteChecked_)
        return;
    overwriteChecked_ = checked;
    cbdelClick();
}

void SettingsDialogController::setAutostartChecked(bool checked)
{
    autostartChecked_ = checked;
}

// Fills the controls in a fixed order; ticking cbsp and cbdel runs their click
// handlers, which write the settings file.
void SettingsDialogController::FormShow()
{
    saveFolderText_ = settings_.strbcpathz;

    // A relative or empty save folder names no file system; the display keeps "0".
    if (QDir::isAbsolutePath(settings_.strbcpathz))
        freeSpaceText_ = freeSpaceGiBText(diskSpace_.freeBytes(settings_.strbcpathz));

    setRecordingChecked(settings_.strsfbcsp == QStringLiteral("1"));

    if (settings_.strstsl.isEmpty())
        settings_.strstsl = QStringLiteral("1");
    setCameraCountIndex(int(cameraCounts().indexOf(settings_.strstsl)));

    const qsizetype quality = qualityBitRates().indexOf(settings_.strqxd);
    setQualityIndex(quality >= 0 ? int(quality) : 0);

    setOverwriteChecked(settings_.strdelz == QStringLiteral("Y"));
    setAutostartChecked(settings_.strqyjkz == QStringLiteral("Y"));
}

// "选择目录": the picked folder becomes the save folder and is saved at once.
void SettingsDialogController::BitBtn5Click()
{
    QString picked;
    // The picker's own failures are dropped; the save folder then stays.
    runQuietly([&] { picked = pickFolder_(); });
    if (picked.isEmpty())
        return;
    // The root comes back as "/" already; every other folder without the "/".
    saveFolderText_ = picked.endsWith(u'/') ? picked : picked + u'/';
    runGuarded(prompter_, [&] {
        settings_.strbcpathz = saveFolderText_;
        settings_.SaveSettings();
    });
}

// "保存" of the folder group: saves the save folder shown.
void SettingsDialogController::BitBtn1Click()
{
    runGuarded(prompter_, [&] {
        settings_.strbcpathz = saveFolderText_;
        settings_.SaveSettings();
        confirm(QStringLiteral("保存成功！"));
    });
}

// cbsp changed: the recording switch is saved without a message.
void SettingsDialogController::cbspClick()
{
    runGuarded(prompter_, [&] { applyRecordingSwitch(); });
}

// "保存" of the recording group: saves the recording switch and confirms.
void SettingsDialogController::BitBtn2Click()
{
    runGuarded(prompter_, [&] {
        applyRecordingSwitch();
        confirm(QStringLiteral("设置成功"));
    });
}

// "保存" of the camera group: saves the count shown, empty when none is selected.
void SettingsDialogController::BitBtn3Click()
{
    runGuarded(prompter_, [&] {
        settings_.strstsl = cameraCountIndex_ >= 0 ? cameraCounts()[cameraCountIndex_] : QString();
        settings_.SaveSettings();
        confirm(QStringLiteral("设置成功！"));
    });
}

// "保存" of the quality group: saves the bit rate of the selected quality and confirms.
void SettingsDialogController::BitBtn4Click()
{
    runGuarded(prompter_, [&] {
        settings_.strqxd = qualityBitRates()[qualityIndex_];
        settings_.SaveSettings();
        confirm(QStringLiteral("设置成功"));
    });
}

// cbdel changed: cyclic overwriting is saved without a message.
void SettingsDialogController::cbdelClick()
{
    runGuarded(prompter_, [&] {
        settings_.strdelz = overwriteChecked_ ? QStringLiteral("Y") : QStringLiteral("N");
        settings_.SaveSettings();
    });
}

// "保存" of the auto-start group. Ticked: the autostart entry is written and
// the setting changes in memory only, without a message; it reaches the file
// with the next save. Cleared: the entry goes, the setting is saved and confirmed.
// Autostart failures are dropped: the setting changes all the same.
void SettingsDialogController::BitBtn6Click()
{
    runGuarded(prompter_, [&] {
        if (autostartChecked_) {
            settings_.strqyjkz = QStringLiteral("Y");
            autostart_.enable();
            return;
        }
        settings_.strqyjkz = QStringLiteral("N");
        autostart_.disable();
        settings_.SaveSettings();
        confirm(QStringLiteral("设置成功"));
    });
}

void SettingsDialogController::applyRecordingSwitch()
{
    settings_.strsfbcsp = recordingChecked_ ? QStringLiteral("1") : QStringLiteral("0");
    settings_.SaveSettings();
}

// A plain message box with the program's name as its caption.
void SettingsDialogController::confirm(const QString &text)
{
    prompter_.message(text, QCoreApplication::applicationName(), Prompter::Icon::None);
}
