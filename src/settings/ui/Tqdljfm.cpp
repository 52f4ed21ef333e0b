#include "settings/ui/Tqdljfm.h"

#include "settings/dialog/FolderPickerController.h"
#include "settings/ui/DialogFont.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Where a folder list line keeps the full path of its folder.
constexpr int folderPathRole = Qt::UserRole;
constexpr int indentPerLevel = 2;

QPushButton *makeButton(const QString &objectName, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

} // namespace

Tqdljfm::Tqdljfm(FolderPickerController &controller, QWidget *parent)
    : QDialog(parent), controller_(controller)
{
    setObjectName("qdljfm");
    setWindowTitle(QStringLiteral("确定路径"));
    setFont(dialogFont());
    setFixedSize(clientWidth, clientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    DriveComboBox1 = new QComboBox;
    DriveComboBox1->setObjectName("DriveComboBox1");
    for (const VolumeInfo &volume : controller_.volumes())
        DriveComboBox1->addItem(volume.mountPoint);

    DirectoryListBox1 = new QListWidget;
    DirectoryListBox1->setObjectName("DirectoryListBox1");
    folderIcon_ = style()->standardIcon(QStyle::SP_DirIcon);

    FileListBox1 = new QListWidget;
    FileListBox1->setObjectName("FileListBox1");
    FileListBox1->setSelectionMode(QAbstractItemView::NoSelection);
    FileListBox1->setFocusPolicy(Qt::NoFocus);

    Label1 = new QLabel(QStringLiteral("提示：双击左上边的目录可选中目录！"));
    Label1->setObjectName("Label1");
    Label1->setFont(dialogFont(14, true));
    Label1->setStyleSheet(QStringLiteral("color: red;"));

    BitBtn1 = makeButton("BitBtn1", QStringLiteral("新建文件夹"));
    BitBtn3 = makeButton("BitBtn3", QStringLiteral("确定"));
    BitBtn4 = makeButton("BitBtn4", QStringLiteral("返回"));

    auto *lists = new QGridLayout;
    lists->addWidget(DriveComboBox1, 0, 0);
    lists->addWidget(DirectoryListBox1, 1, 0);
    lists->addWidget(FileListBox1, 0, 1, 2, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn3);
    buttons->addWidget(BitBtn4);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addWidget(Label1);
    layout->addLayout(buttons);

    connect(DriveComboBox1, &QComboBox::activated, this, [this](int index) {
        controller_.DriveComboBox1Change(index);
        showState();
    });
    connect(DirectoryListBox1, &QListWidget::itemDoubleClicked, this, &Tqdljfm::openListedFolder);
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        controller_.BitBtn1Click();
        showState();
    });
    connect(BitBtn3, &QPushButton::clicked, this, [this] {
        controller_.BitBtn3Click();
        accept();
    });
    connect(BitBtn4, &QPushButton::clicked, this, &QDialog::reject);

    showState();
}

// Each showing starts with nothing picked.
void Tqdljfm::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    controller_.FormShow();
}

void Tqdljfm::openListedFolder(QListWidgetItem *item)
{
    controller_.enterFolder(item->data(folderPathRole).toString());
    showState();
}

void Tqdljfm::showState()
{
    {
        const QSignalBlocker block(DriveComboBox1);
        DriveComboBox1->setCurrentIndex(controller_.currentVolumeIndex());
    }

    DirectoryListBox1->clear();
    for (const FolderListEntry &entry : controller_.folderListEntries()) {
        const QString indent(entry.depth * indentPerLevel, u' ');
        auto *item = new QListWidgetItem(folderIcon_, indent + entry.name, DirectoryListBox1);
        item->setData(folderPathRole, entry.path);
        if (entry.isOpenFolder) {
            QFont bold = item->font();
            bold.setBold(true);
            item->setFont(bold);
            DirectoryListBox1->setCurrentItem(item);
        }
    }

    FileListBox1->clear();
    FileListBox1->addItems(controller_.fileNames());
}

QString pickFolder(const VolumeSource &volumes, FolderCreator &folderCreator, Prompter &prompter,
                   FolderPickerMemory &memory, QWidget *parent)
{
    FolderPickerController controller(volumes, folderCreator, prompter, memory);
    Tqdljfm dialog(controller, parent);
    dialog.exec();
    return controller.pickedFolder();
}
