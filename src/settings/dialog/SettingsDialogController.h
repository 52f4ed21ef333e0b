#pragma once

#include <QString>
#include <QStringList>
#include <functional>

class Autostart;
class DiskSpace;
class Prompter;
class TGlobal;

// The settings dialog without its widgets: what each control shows, and the
// handlers that apply one setting at a time and write the settings file.
// Every handler shows a failure (a settings file that cannot be written) in
// an error box and ends; the dialog stays usable.
class SettingsDialogController
{
public:
    // Shows the folder picker modally; returns the folder picked, empty when none.
    using FolderPick = std::function<QString()>;

    // The camera counts of ComboBox1 and the bit rates of rb1 to rb4, in order.
    static const QStringList &cameraCounts();
    static const QStringList &qualityBitRates();

    SettingsDialogController(TGlobal &settings, Prompter &prompter, const DiskSpace &diskSpace,
                             Autostart &autostart, FolderPick pickFolder);

    // What the controls show.
    QString saveFolderText() const { return saveFolderText_; }   // Edit1
    QString freeSpaceText() const { return freeSpaceText_; }     // Edit8
    bool recordingChecked() const { return recordingChecked_; }  // cbsp
    int cameraCountIndex() const { return cameraCountIndex_; }   // ComboBox1, -1 for none
    int qualityIndex() const { return qualityIndex_; }           // rb1..rb4 as 0..3
    bool overwriteChecked() const { return overwriteChecked_; }  // cbdel
    bool autostartChecked() const { return autostartChecked_; }  // cbqd

    // The operator's changes to the controls. A check box whose state changes
    // runs its click handler, as it does when FormShow sets it.
    void setRecordingChecked(bool checked);
    void setCameraCountIndex(int index);
    void setQualityIndex(int index);
    void setOverwriteChecked(bool checked);
    void setAutostartChecked(bool checked);

    // Fills every control from the settings.
    void FormShow();
    // Picks the save folder with the folder picker and saves it.
    void BitBtn5Click();
    // Saves the save folder shown and confirms.
    void BitBtn1Click();
    // Applies the recording switch silently.
    void cbspClick();
    // Saves the recording switch and confirms.
    void BitBtn2Click();
    // Saves the camera count and confirms.
    void BitBtn3Click();
    // Saves the quality and confirms.
    void BitBtn4Click();
    // Applies cyclic overwriting silently.
    void cbdelClick();
    // Applies the start at logon.
    void BitBtn6Click();

private:
    void applyRecordingSwitch();
    void confirm(const QString &text);

    TGlobal &settings_;
    Prompter &prompter_;
    const DiskSpace &diskSpace_;
    Autostart &autostart_;
    FolderPick pickFolder_;

    QString saveFolderText_;
    QString freeSpaceText_ = QStringLiteral("0");
    bool recordingChecked_ = false;
    int cameraCountIndex_ = -1;
    int qualityIndex_ = 0;
    bool overwriteChecked_ = false;
    bool autostartChecked_ = false;
};
