#include "settings/dialog/FolderCreator.h"
#include "settings/dialog/FolderPickerController.h"
#include "settings/dialog/FolderPickerMemory.h"
#include "support/FakePrompter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

class FakeVolumeSource final : public VolumeSource
{
public:
    QList<VolumeInfo> volumes() const override { return listed; }
    QList<VolumeInfo> listed;
};

// The real disk, except that folders under one path cannot be made, as on a
// write-protected card (root would pass any permission test on a real one).
class WriteProtectingCreator final : public FolderCreator
{
public:
    Outcome create(const QString &path) override
    {
        created.append(path);
        if (!protectedFolder.isEmpty() && path.startsWith(protectedFolder + '/'))
            return Outcome::Failed;
        return disk_.create(path);
    }
    bool remove(const QString &path) override { return disk_.remove(path); }

    QString protectedFolder;
    QStringList created;

private:
    SystemFolderCreator disk_;
};

// A sandbox of made-up volumes, each mounted on a folder of the sandbox.
struct PickerFixture
{
    PickerFixture()
    {
        for (const char *folder : {"disk/a/b", "optical", "dvd", "nocard", "usb", "usbWithData/data", "locked"})
            QDir().mkpath(path(folder));
        QFile(path("disk/a/film.mpg")).open(QIODevice::WriteOnly);
        QFile(path("usbWithData/data/kept.txt")).open(QIODevice::WriteOnly);
        volumes.listed = {
            {"/", "ext4", true, false},
            {path("disk"), "ext4", true, false},
            {path("optical"), "iso9660", true, true},
            {path("dvd"), "udf", true, true},
            {path("nocard"), "vfat", false, true},
            {path("usb"), "vfat", true, true},
            {path("usbWithData"), "vfat", true, true},
            {path("locked"), "vfat", true, true},
        };
        creator.protectedFolder = path("locked");
        memory.lastOpenedFolder = path("disk");
    }

    QString path(const QString &relative) const { return sandbox.filePath(relative); }
    int volumeIndex(const QString &relative) const
    {
        for (int i = 0; i < volumes.listed.size(); ++i) {
            if (volumes.listed[i].mountPoint == path(relative))
                return i;
        }
        return -1;
    }

    QTemporaryDir sandbox;
    FakeVolumeSource volumes;
    WriteProtectingCreator creator;
    FakePrompter prompter;
    FolderPickerMemory memory;
};

} // namespace

class TestFolderPickerController : public QObject
{
    Q_OBJECT

private slots:
    void handsBackTheOpenFolder_data();
    void handsBackTheOpenFolder();
    void secondOpeningStartsOnTheFolderOpenedLast();
    void refusedVolumesGoBackToRoot_data();
    void refusedVolumesGoBackToRoot();
    void writableRemovableVolumeIsOpened_data();
    void writableRemovableVolumeIsOpened();
    void folderListShowsTheWayDownAndTheSubfolders();
    void newFolderIsMadeInsideTheOpenFolder_data();
    void newFolderIsMadeInsideTheOpenFolder();
};

void TestFolderPickerController::handsBackTheOpenFolder_data()
{
    // Steps: "volume:<folder>" picks a volume, "open:<folder>" double-clicks a
    // folder, "ok" is "确定"; folders are relative to the sandbox unless absolute.
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("picked");

    QTest::newRow("confirm at once: the start folder") << QStringList{"ok"} << "disk";
    QTest::newRow("root keeps its slash") << QStringList{"open:/", "ok"} << "/";
    QTest::newRow("folder without slash") << QStringList{"open:disk/a/", "ok"} << "disk/a";
    QTest::newRow("a volume, then a folder on it") << QStringList{"volume:usb", "open:disk/a/b", "ok"} << "disk/a/b";
    QTest::newRow("a volume's own folder") << QStringList{"volume:usb", "ok"} << "usb";
    QTest::newRow("a missing folder does not open") << QStringList{"open:disk/gone", "ok"} << "disk";
    QTest::newRow("a file does not open") << QStringList{"open:disk/a/film.mpg", "ok"} << "disk";
    QTest::newRow("返回 hands back nothing") << QStringList{"open:disk/a"} << "";
}

void TestFolderPickerController::handsBackTheOpenFolder()
{
    PickerFixture f;
    FolderPickerController picker(f.volumes, f.creator, f.prompter, f.memory);
    picker.FormShow();

    QFETCH(QStringList, steps);
    for (const QString &step : steps) {
        const QString argument = step.section(':', 1);
        const QString folder = argument.startsWith('/') ? argument : f.path(argument);
        if (step.startsWith("volume:"))
            picker.DriveComboBox1Change(f.volumeIndex(argument));
        else if (step.startsWith("open:"))
            picker.enterFolder(folder);
        else if (step == "ok")
            picker.BitBtn3Click();
    }

    QFETCH(QString, picked);
    const QString expected = picked.isEmpty() || picked.startsWith('/') ? picked : f.path(picked);
    QCOMPARE(picker.pickedFolder(), expected);
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestFolderPickerController::secondOpeningStartsOnTheFolderOpenedLast()
{
    PickerFixture f;
    const QString workingFolder = QDir::currentPath();
    {
        FolderPickerController first(f.volumes, f.creator, f.prompter, f.memory);
        first.FormShow();
        first.enterFolder(f.path("disk/a/b"));
        first.BitBtn3Click();
        QCOMPARE(first.pickedFolder(), f.path("disk/a/b"));
    }

    FolderPickerController second(f.volumes, f.creator, f.prompter, f.memory);
    second.FormShow();

    QCOMPARE(second.openFolder(), f.path("disk/a/b"));
    QCOMPARE(second.currentVolumeIndex(), f.volumeIndex("disk"));
    QVERIFY(second.pickedFolder().isEmpty());
    QCOMPARE(QDir::currentPath(), workingFolder);

    // A folder removed since then: the picker starts on its nearest parent.
    QVERIFY(QDir(f.path("disk/a/b")).removeRecursively());
    FolderPickerController third(f.volumes, f.creator, f.prompter, f.memory);
    QCOMPARE(third.openFolder(), f.path("disk/a"));
}

void TestFolderPickerController::refusedVolumesGoBackToRoot_data()
{
    QTest::addColumn<QString>("volume");
    QTest::addColumn<QString>("message");

    QTest::newRow("optical, iso9660") << "optical" << "光盘是只读的存储器，不能保存!";
    QTest::newRow("optical, udf") << "dvd" << "光盘是只读的存储器，不能保存!";
    QTest::newRow("not ready") << "nocard" << "驱动器内没有磁盘!";
    QTest::newRow("write-protected removable") << "locked" << "软盘不可写，请检查软盘是否写保护!";
}

void TestFolderPickerController::refusedVolumesGoBackToRoot()
{
    PickerFixture f;
    FolderPickerController picker(f.volumes, f.creator, f.prompter, f.memory);
    picker.FormShow();
    QFETCH(QString, volume);

    picker.DriveComboBox1Change(f.volumeIndex(volume));

    QCOMPARE(picker.openFolder(), "/");
    QCOMPARE(picker.currentVolumeIndex(), 0);
    QCOMPARE(f.prompter.shown.size(), 1);
    QTEST(f.prompter.shown[0].text, "message");
    QCOMPARE(f.prompter.shown[0].caption, "软件提示");
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::Critical);
    QVERIFY(!QFile::exists(f.path(volume + "/data")));
    picker.BitBtn3Click();
    QCOMPARE(picker.pickedFolder(), "/");
}

void TestFolderPickerController::writableRemovableVolumeIsOpened_data()
{
    QTest::addColumn<QString>("volume");
    QTest::addColumn<bool>("dataFolderAfter");

    QTest::newRow("test folder made and removed") << "usb" << false;
    QTest::newRow("existing data folder stays") << "usbWithData" << true;
}

void TestFolderPickerController::writableRemovableVolumeIsOpened()
{
    PickerFixture f;
    FolderPickerController picker(f.volumes, f.creator, f.prompter, f.memory);
    QFETCH(QString, volume);

    picker.DriveComboBox1Change(f.volumeIndex(volume));

    QCOMPARE(picker.openFolder(), f.path(volume));
    QCOMPARE(picker.currentVolumeIndex(), f.volumeIndex(volume));
    QVERIFY(f.prompter.shown.isEmpty());
    QCOMPARE(f.creator.created, QStringList{f.path(volume + "/data")});
    QTEST(QFileInfo(f.path(volume + "/data")).isDir(), "dataFolderAfter");
}

void TestFolderPickerController::folderListShowsTheWayDownAndTheSubfolders()
{
    PickerFixture f;
    QVERIFY(QDir().mkpath(f.path("disk/a/B2")));
    f.memory.lastOpenedFolder = f.path("disk/a");
    FolderPickerController picker(f.volumes, f.creator, f.prompter, f.memory);

    QStringList lines;
    for (const FolderListEntry &entry : picker.folderListEntries())
        lines << QString("%1%2%3").arg(QString(entry.depth, '-'), entry.name, entry.isOpenFolder ? " *" : "");

    QCOMPARE(lines, (QStringList{f.path("disk"), "-a *", "--b", "--B2"}));
    QCOMPARE(picker.fileNames(), QStringList{"film.mpg"});
}

void TestFolderPickerController::newFolderIsMadeInsideTheOpenFolder_data()
{
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("madeFolder");

    QTest::newRow("a name") << QStringList{"新文件夹"} << "disk/a/新文件夹";
    QTest::newRow("a full path") << QStringList{"@/elsewhere"} << "elsewhere";
    QTest::newRow("a name already taken") << QStringList{"b"} << "disk/a/b";
    QTest::newRow("nothing typed") << QStringList{""} << "";
    QTest::newRow("cancelled") << QStringList{} << "";
}

void TestFolderPickerController::newFolderIsMadeInsideTheOpenFolder()
{
    PickerFixture f;
    f.memory.lastOpenedFolder = f.path("disk/a");
    FolderPickerController picker(f.volumes, f.creator, f.prompter, f.memory);
    QFETCH(QStringList, answers);
    for (const QString &answer : answers)
        f.prompter.inputAnswers << (answer.startsWith('@') ? f.path(answer.mid(2)) : answer);

    picker.BitBtn1Click();

    // The input box only: a folder that cannot be made is not reported.
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].caption, "新建文件夹");
    QCOMPARE(f.prompter.shown[0].text, "新文件夹名称：");
    QCOMPARE(picker.openFolder(), f.path("disk/a"));
    QFETCH(QString, madeFolder);
    if (madeFolder.isEmpty()) {
        QVERIFY(f.creator.created.isEmpty());
    } else {
        QVERIFY(QFileInfo(f.path(madeFolder)).isDir());
    }
}

QTEST_GUILESS_MAIN(TestFolderPickerController)
#include "tst_FolderPickerController.moc"
