#include "settings/TGlobal.h"
#include "settings/dialog/FolderCreator.h"
#include "settings/dialog/FolderPickerController.h"
#include "settings/dialog/FolderPickerMemory.h"
#include "settings/dialog/SettingsDialogController.h"
#include "settings/ui/SettingsDialog.h"
#include "settings/ui/TFormcssz.h"
#include "settings/ui/Tqdljfm.h"
#include "support/FakeDiskSpace.h"
#include "support/FakePrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

class OneVolume final : public VolumeSource
{
public:
    QList<VolumeInfo> volumes() const override { return {{"/", "ext4", true, false}}; }
};

template <typename Widget>
QString captionOf(QWidget *dialog, const QString &objectName)
{
    auto *widget = dialog->findChild<Widget *>(objectName);
    return widget ? widget->text() : "<missing " + objectName + ">";
}

} // namespace

class TestSettingsDialogs : public QObject
{
    Q_OBJECT

private slots:
    void settingsDialogShowsEveryControl_data();
    void settingsDialogShowsEveryControl();
    void settingsDialogShowsTheSettingsAndPassesClicksOn();
    void folderPickerShowsItsControlsAndHandsBackTheOpenFolder();
    void showSettingsDialogOpensOverGlobalSettings();
};

void TestSettingsDialogs::settingsDialogShowsEveryControl_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");

    QTest::newRow("BitBtn5") << "BitBtn5" << "选择目录";
    QTest::newRow("BitBtn1") << "BitBtn1" << "保存";
    QTest::newRow("cbsp") << "cbsp" << "启用保存监控视频文件";
    QTest::newRow("BitBtn2") << "BitBtn2" << "保存";
    QTest::newRow("BitBtn3") << "BitBtn3" << "保存";
    QTest::newRow("rb1") << "rb1" << "标准";
    QTest::newRow("rb2") << "rb2" << "较清楚";
    QTest::newRow("rb3") << "rb3" << "清楚";
    QTest::newRow("rb4") << "rb4" << "高清";
    QTest::newRow("BitBtn4") << "BitBtn4" << "保存";
    QTest::newRow("cbdel") << "cbdel" << "启用当保存监控视频文件所在硬盘小于2GB时,覆盖以前的记录继续保存";
    QTest::newRow("cbqd") << "cbqd" << "开机自动运行软件并自动启用监控";
    QTest::newRow("BitBtn6") << "BitBtn6" << "保存";
    QTest::newRow("BitBtn7") << "BitBtn7" << "返回";
}

void TestSettingsDialogs::settingsDialogShowsEveryControl()
{
    QTemporaryDir sandbox;
    TGlobal settings(sandbox.filePath("Kamvist.ini"));
    FakePrompter prompter;
    FakeDiskSpace diskSpace;
    Autostart autostart({sandbox.filePath("m"), sandbox.filePath("u")}, "/opt/k/Kamvist");
    SettingsDialogController controller(settings, prompter, diskSpace, autostart, [] { return QString(); });
    TFormcssz dialog(controller);

    QCOMPARE(dialog.windowTitle(), "参数设置");
    QCOMPARE(dialog.size(), QSize(1160, 653));
    QFETCH(QString, objectName);
    QTEST(captionOf<QAbstractButton>(&dialog, objectName), "caption");

    QStringList groups;
    for (const QGroupBox *group : dialog.findChildren<QGroupBox *>())
        groups << group->title();
    QCOMPARE(groups, (QStringList{"监控视频文件保存目录", "视频文件保存硬盘剩余空间",
                                  "是否保存视频文件(更改设置后监控软件重启后生效)", "摄像头数量设置",
                                  "监控视频保存清晰度设置(清晰度越高文件越大)", "启用循环保存监控视频记录",
                                  "软件开启自动运行(自动运行要修改注册码有些杀毒软件会阻止请点允许和信任)"}));
    QVERIFY(dialog.findChild<QLineEdit *>("Edit1")->isReadOnly());
    QCOMPARE(captionOf<QLineEdit>(&dialog, "Edit8"), "0");
    QCOMPARE(captionOf<QLabel>(&dialog, "noteLabel"), "提示：设置好参数后，退出软件再进入参数生效！");
    QVERIFY(dialog.findChild<QRadioButton *>("rb1")->isChecked());
    QCOMPARE(dialog.findChild<QComboBox *>("ComboBox1")->count(), 4);
    QCOMPARE(dialog.font().family(), "WenQuanYi Zen Hei");
}

void TestSettingsDialogs::settingsDialogShowsTheSettingsAndPassesClicksOn()
{
    QTemporaryDir sandbox;
    TGlobal settings(sandbox.filePath("Kamvist.ini"));
    settings.strbcpathz = "/srv/cams/";
    settings.strstsl = "3";
    settings.strqxd = "2000";
    settings.strqyjkz = "Y";
    FakePrompter prompter;
    FakeDiskSpace diskSpace;
    diskSpace.bytes = qint64(3) << 29;
    Autostart autostart({sandbox.filePath("m"), sandbox.filePath("u")}, "/opt/k/Kamvist");
    SettingsDialogController controller(settings, prompter, diskSpace, autostart, [] { return QString(); });
    TFormcssz dialog(controller);

    dialog.show();

    QCOMPARE(captionOf<QLineEdit>(&dialog, "Edit1"), "/srv/cams/");
    QCOMPARE(captionOf<QLineEdit>(&dialog, "Edit8"), "1.5");
    QVERIFY(dialog.findChild<QCheckBox *>("cbsp")->isChecked());
    QCOMPARE(dialog.findChild<QComboBox *>("ComboBox1")->currentText(), "3");
    QVERIFY(dialog.findChild<QRadioButton *>("rb3")->isChecked());
    QVERIFY(dialog.findChild<QCheckBox *>("cbdel")->isChecked());
    QVERIFY(dialog.findChild<QCheckBox *>("cbqd")->isChecked());

    QTest::mouseClick(dialog.findChild<QRadioButton *>("rb4"), Qt::LeftButton);
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn4"), Qt::LeftButton);
    QCOMPARE(settings.strqxd, "2700");
    QTest::mouseClick(dialog.findChild<QCheckBox *>("cbdel"), Qt::LeftButton);
    QCOMPARE(TGlobal(settings.IniFileName).strdelz, "N");
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text, "设置成功");

    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn7"), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void TestSettingsDialogs::folderPickerShowsItsControlsAndHandsBackTheOpenFolder()
{
    QTemporaryDir sandbox;
    QVERIFY(QDir().mkpath(sandbox.filePath("cams/day1")));
    OneVolume volumes;
    SystemFolderCreator creator;
    FakePrompter prompter;
    FolderPickerMemory memory{sandbox.filePath("cams")};
    FolderPickerController controller(volumes, creator, prompter, memory);
    Tqdljfm dialog(controller);

    dialog.show();

    QCOMPARE(dialog.windowTitle(), "确定路径");
    QCOMPARE(dialog.size(), QSize(614, 412));
    QCOMPARE(captionOf<QLabel>(&dialog, "Label1"), "提示：双击左上边的目录可选中目录！");
    QCOMPARE(captionOf<QPushButton>(&dialog, "BitBtn1"), "新建文件夹");
    QCOMPARE(captionOf<QPushButton>(&dialog, "BitBtn3"), "确定");
    QCOMPARE(captionOf<QPushButton>(&dialog, "BitBtn4"), "返回");
    QCOMPARE(dialog.findChild<QComboBox *>("DriveComboBox1")->currentText(), "/");
    QVERIFY(dialog.findChild<QListWidget *>("FileListBox1"));

    // Double-click the last line of the folder list, the subfolder "day1".
    auto *folders = dialog.findChild<QListWidget *>("DirectoryListBox1");
    QListWidgetItem *day1 = folders->item(folders->count() - 1);
    QCOMPARE(day1->text().trimmed(), "day1");
    emit folders->itemDoubleClicked(day1);
    QTest::mouseClick(dialog.findChild<QPushButton *>("BitBtn3"), Qt::LeftButton);

    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(controller.pickedFolder(), sandbox.filePath("cams/day1"));
}

void TestSettingsDialogs::showSettingsDialogOpensOverGlobalSettings()
{
    QTemporaryDir sandbox;
    TGlobal settings(sandbox.filePath("Kamvist.ini"));
    settings.strstsl = "";
    GlobalSettings = &settings;
    FakePrompter prompter;
    FakeDiskSpace diskSpace;
    SettingsDialogServices services = systemSettingsDialogServices(prompter, diskSpace);
    services.autostartFolders = {sandbox.filePath("m"), sandbox.filePath("u")};

    QString shownTitle;
    QTimer::singleShot(0, this, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        shownTitle = dialog->windowTitle();
        dialog->findChild<QPushButton *>("BitBtn7")->click();
    });
    showSettingsDialog(services, nullptr);
    GlobalSettings = nullptr;

    QCOMPARE(shownTitle, "参数设置");
    QCOMPARE(TGlobal(settings.IniFileName).strstsl, "1");
}

QTEST_MAIN(TestSettingsDialogs)
#include "tst_SettingsDialogs.moc"
