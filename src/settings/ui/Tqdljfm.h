#pragma once

#include <QDialog>
#include <QIcon>

class FolderCreator;
class FolderPickerController;
class Prompter;
class QComboBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class VolumeSource;
struct FolderPickerMemory;

// The folder picker "确定路径": a volume list, the folder list (a double click
// opens a folder), the files of the open folder, and the buttons to make a
// folder, hand the open folder back, or go back without one.
class Tqdljfm : public QDialog
{
    Q_OBJECT

public:
    static constexpr int clientWidth = 614;
    static constexpr int clientHeight = 412;

    explicit Tqdljfm(FolderPickerController &controller, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    // Puts the controller's volume, folders and files into the lists.
    void showState();
    // Opens the folder of a double-clicked line of the folder list.
    void openListedFolder(QListWidgetItem *item);

    FolderPickerController &controller_;
    QIcon folderIcon_;

    QComboBox *DriveComboBox1 = nullptr;
    QListWidget *DirectoryListBox1 = nullptr;
    QListWidget *FileListBox1 = nullptr;
    QLabel *Label1 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    QPushButton *BitBtn4 = nullptr;
};

// Shows the folder picker modally over parent, starting on the folder opened
// last time; returns the folder handed back with "确定", or empty.
QString pickFolder(const VolumeSource &volumes, FolderCreator &folderCreator, Prompter &prompter,
                   FolderPickerMemory &memory, QWidget *parent);
