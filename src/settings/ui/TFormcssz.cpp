#include "settings/ui/TFormcssz.h"

#include "settings/dialog/SettingsDialogController.h"
#include "settings/ui/DialogFont.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

namespace {

QGroupBox *makeGroup(const QString &caption, QLayout *content)
{
    auto *group = new QGroupBox(caption);
    group->setLayout(content);
    return group;
}

QLineEdit *makeReadOnlyField(const QString &objectName)
{
    auto *field = new QLineEdit;
    field->setObjectName(objectName);
    field->setReadOnly(true);
    return field;
}

} // namespace

TFormcssz::TFormcssz(SettingsDialogController &controller, QWidget *parent)
    : QDialog(parent), controller_(controller)
{
    setObjectName("Formcssz");
    setWindowTitle(QStringLiteral("参数设置"));
    setFont(dialogFont());
    setFixedSize(clientWidth, clientHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    auto *leftColumn = new QVBoxLayout;
    leftColumn->addWidget(makeFolderGroup());
    leftColumn->addWidget(makeFreeSpaceGroup());
    leftColumn->addWidget(makeRecordingGroup());
    leftColumn->addWidget(makeCameraGroup());
    leftColumn->addStretch();

    auto *rightColumn = new QVBoxLayout;
    rightColumn->addWidget(makeQualityGroup());
    rightColumn->addWidget(makeOverwriteGroup());
    rightColumn->addWidget(makeAutostartGroup());
    rightColumn->addStretch();

    auto *note = new QLabel(QStringLiteral("提示：设置好参数后，退出软件再进入参数生效！"));
    note->setObjectName("noteLabel");
    note->setFont(dialogFont(12, true));
    note->setStyleSheet(QStringLiteral("color: red;"));

    BitBtn7 = makeButton("BitBtn7", QStringLiteral("返回"));
    BitBtn7->setFont(dialogFont(14, true));
    // "返回" closes the dialog; its caller destroys it.
    connect(BitBtn7, &QPushButton::clicked, this, &QDialog::reject);

    auto *bottomRow = new QHBoxLayout;
    bottomRow->addWidget(note);
    bottomRow->addStretch();
    bottomRow->addWidget(BitBtn7);

    auto *columns = new QHBoxLayout;
    columns->addLayout(leftColumn, 1);
    columns->addLayout(rightColumn, 1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addLayout(bottomRow);

    connect(BitBtn5, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn5Click); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn1Click); });
    connect(cbsp, &QCheckBox::clicked, this, [this](bool checked) {
        controller_.setRecordingChecked(checked);
        showState();
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn2Click); });
    connect(ComboBox1, &QComboBox::activated, this,
            [this](int index) { controller_.setCameraCountIndex(index); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn3Click); });
    for (int i = 0; i < int(qualityButtons.size()); ++i)
        connect(qualityButtons[i], &QRadioButton::clicked, this, [this, i] { controller_.setQualityIndex(i); });
    connect(BitBtn4, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn4Click); });
    connect(cbdel, &QCheckBox::clicked, this, [this](bool checked) {
        controller_.setOverwriteChecked(checked);
        showState();
    });
    connect(cbqd, &QCheckBox::clicked, this, [this](bool checked) { controller_.setAutostartChecked(checked); });
    connect(BitBtn6, &QPushButton::clicked, this, [this] { run(&SettingsDialogController::BitBtn6Click); });
}

// The controls are filled once, when the dialog first appears.
void TFormcssz::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    controller_.FormShow();
    showState();
}

QGroupBox *TFormcssz::makeFolderGroup()
{
    Edit1 = makeReadOnlyField("Edit1");
    BitBtn5 = makeButton("BitBtn5", QStringLiteral("选择目录"));
    BitBtn1 = makeButton("BitBtn1", QStringLiteral("保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("视频保存目录")));
    row->addWidget(Edit1, 1);
    row->addWidget(BitBtn5);
    row->addWidget(BitBtn1);
    return makeGroup(QStringLiteral("监控视频文件保存目录"), row);
}

QGroupBox *TFormcssz::makeFreeSpaceGroup()
{
    Edit8 = makeReadOnlyField("Edit8");
    Edit8->setText(QStringLiteral("0"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("磁盘余空间")));
    row->addWidget(Edit8, 1);
    row->addWidget(new QLabel(QStringLiteral("GB")));
    return makeGroup(QStringLiteral("视频文件保存硬盘剩余空间"), row);
}

QGroupBox *TFormcssz::makeRecordingGroup()
{
    cbsp = new QCheckBox(QStringLiteral("启用保存监控视频文件"));
    cbsp->setObjectName("cbsp");
    BitBtn2 = makeButton("BitBtn2", QStringLiteral("保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(cbsp, 1);
    row->addWidget(BitBtn2);
    return makeGroup(QStringLiteral("是否保存视频文件(更改设置后监控软件重启后生效)"), row);
}

QGroupBox *TFormcssz::makeCameraGroup()
{
    ComboBox1 = new QComboBox;
    ComboBox1->setObjectName("ComboBox1");
    ComboBox1->addItems(SettingsDialogController::cameraCounts());
    BitBtn3 = makeButton("BitBtn3", QStringLiteral("保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(new QLabel(QStringLiteral("摄像头数量")));
    row->addWidget(ComboBox1, 1);
    row->addWidget(BitBtn3);
    return makeGroup(QStringLiteral("摄像头数量设置"), row);
}

QGroupBox *TFormcssz::makeQualityGroup()
{
    const std::array<QString, 4> captions = {QStringLiteral("标准"), QStringLiteral("较清楚"),
                                             QStringLiteral("清楚"), QStringLiteral("高清")};
    auto *row = new QHBoxLayout;
    for (int i = 0; i < int(qualityButtons.size()); ++i) {
        qualityButtons[i] = new QRadioButton(captions[i]);
        qualityButtons[i]->setObjectName(QStringLiteral("rb%1").arg(i + 1));
        row->addWidget(qualityButtons[i]);
    }
    qualityButtons[0]->setChecked(true);
    BitBtn4 = makeButton("BitBtn4", QStringLiteral("保存"));
    row->addStretch();
    row->addWidget(BitBtn4);
    return makeGroup(QStringLiteral("监控视频保存清晰度设置(清晰度越高文件越大)"), row);
}

QGroupBox *TFormcssz::makeOverwriteGroup()
{
    cbdel = new QCheckBox(QStringLiteral("启用当保存监控视频文件所在硬盘小于2GB时,覆盖以前的记录继续保存"));
    cbdel->setObjectName("cbdel");
    auto *row = new QHBoxLayout;
    row->addWidget(cbdel);
    return makeGroup(QStringLiteral("启用循环保存监控视频记录"), row);
}

QGroupBox *TFormcssz::makeAutostartGroup()
{
    cbqd = new QCheckBox(QStringLiteral("开机自动运行软件并自动启用监控"));
    cbqd->setObjectName("cbqd");
    BitBtn6 = makeButton("BitBtn6", QStringLiteral("保存"));
    auto *row = new QHBoxLayout;
    row->addWidget(cbqd, 1);
    row->addWidget(BitBtn6);
    return makeGroup(
        QStringLiteral("软件开启自动运行(自动运行要修改注册码有些杀毒软件会阻止请点允许和信任)"), row);
}

QPushButton *TFormcssz::makeButton(const QString &objectName, const QString &caption)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

template <typename Handler>
void TFormcssz::run(Handler handler)
{
    (controller_.*handler)();
    showState();
}

void TFormcssz::showState()
{
    const QSignalBlocker blockCbsp(cbsp);
    const QSignalBlocker blockCbdel(cbdel);
    Edit1->setText(controller_.saveFolderText());
    Edit8->setText(controller_.freeSpaceText());
    cbsp->setChecked(controller_.recordingChecked());
    ComboBox1->setCurrentIndex(controller_.cameraCountIndex());
    qualityButtons[controller_.qualityIndex()]->setChecked(true);
    cbdel->setChecked(controller_.overwriteChecked());
    cbqd->setChecked(controller_.autostartChecked());
}
