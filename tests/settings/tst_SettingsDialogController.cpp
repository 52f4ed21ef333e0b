#include "common/AppError.h"
#include "settings/SettingsKeys.h"
#include "settings/TGlobal.h"
#include "settings/dialog/Autostart.h"
#include "settings/dialog/SettingsDialogController.h"
#include "support/FakeDiskSpace.h"
#include "support/FakePrompter.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The disk under the settings file; counts whole-file writes and can refuse them.
class CountingStorage final : public IniStorage
{
public:
    std::optional<QByteArray> readAll(const QString &path) const override { return disk_.readAll(path); }
    void writeAll(const QString &path, const QByteArray &bytes) override
    {
        if (refuseWrites)
            throw AppError("Unable to write to " + path);
        ++writes;
        disk_.writeAll(path, bytes);
    }

    int writes = 0;
    bool refuseWrites = false;

private:
    DiskIniStorage disk_;
};

// A settings dialog over a settings file and autostart folders in a sandbox.
struct DialogFixture
{
    DialogFixture()
        : storage(std::make_shared<CountingStorage>()),
          settings(sandbox.filePath("Kamvist.ini"), storage),
          autostart({sandbox.filePath("xdg/autostart"), sandbox.filePath("home/.config/autostart")},
                    "/opt/kamvist/Kamvist"),
          controller(settings, prompter, diskSpace, autostart, [this] {
              ++pickerOpenings;
              if (pickerFails)
                  throw AppError("picker failed");
              return pickerAnswer;
          })
    {
    }

    // SaveSettings writes the file once per key.
    int saves() const { return storage->writes / int(settingsKeys().size()); }
    TGlobal settingsOnDisk() const { return TGlobal(settings.IniFileName); }
    QString machineEntry() const { return sandbox.filePath("xdg/autostart/Kamvist.desktop"); }
    QString userEntry() const { return sandbox.filePath("home/.config/autostart/Kamvist.desktop"); }

    QTemporaryDir sandbox;
    std::shared_ptr<CountingStorage> storage;
    TGlobal settings;
    FakePrompter prompter;
    FakeDiskSpace diskSpace;
    Autostart autostart;
    QString pickerAnswer;
    bool pickerFails = false;
    int pickerOpenings = 0;
    SettingsDialogController controller;
};

// Operator commands that save one setting and confirm it.
enum class Command { SaveFolder, SaveRecordingOff, SaveCameraCount3, SaveShownCameraCount,
                     SaveQualityHigh, SaveShownQuality, ClearAutostart };

void perform(SettingsDialogController &controller, Command command)
{
    switch (command) {
    case Command::SaveFolder: controller.BitBtn1Click(); break;
    case Command::SaveRecordingOff:
        controller.setRecordingChecked(false);
        controller.BitBtn2Click();
        break;
    case Command::SaveCameraCount3:
        controller.setCameraCountIndex(2);
        controller.BitBtn3Click();
        break;
    case Command::SaveShownCameraCount: controller.BitBtn3Click(); break;
    case Command::SaveQualityHigh:
        controller.setQualityIndex(3);
        controller.BitBtn4Click();
        break;
    case Command::SaveShownQuality: controller.BitBtn4Click(); break;
    case Command::ClearAutostart:
        controller.setAutostartChecked(false);
        controller.BitBtn6Click();
        break;
    }
}

QString fieldOf(const TGlobal &settings, const QString &key)
{
    for (const SettingsKey &entry : settingsKeys()) {
        if (key == QLatin1String(entry.name))
            return settings.*entry.field;
    }
    return "<no such key>";
}

} // namespace

Q_DECLARE_METATYPE(Command)

class TestSettingsDialogController : public QObject
{
    Q_OBJECT

private slots:
    void formShowFillsControlsAndSavesTickedBoxes_data();
    void formShowFillsControlsAndSavesTickedBoxes();
    void freeSpaceIsShownInGiBToFourDecimals_data();
    void freeSpaceIsShownInGiBToFourDecimals();
    void commandSavesItsSettingAndConfirms_data();
    void commandSavesItsSettingAndConfirms();
    void unwritableSettingsFileShowsItsErrorInsteadOfConfirmation_data();
    void unwritableSettingsFileShowsItsErrorInsteadOfConfirmation();
    void checkBoxClicksSaveSilently();
    void pickedFolderBecomesSaveFolder_data();
    void pickedFolderBecomesSaveFolder();
    void tickedAutostartWritesEntryAndKeepsSettingInMemory();
    void clearedAutostartRemovesEntriesAndConfirms_data();
    void clearedAutostartRemovesEntriesAndConfirms();
};

void TestSettingsDialogController::formShowFillsControlsAndSavesTickedBoxes_data()
{
    QTest::addColumn<QString>("strsfbcsp");
    QTest::addColumn<QString>("strstsl");
    QTest::addColumn<QString>("strqxd");
    QTest::addColumn<QString>("strdelz");
    QTest::addColumn<QString>("strqyjkz");
    QTest::addColumn<bool>("recordingChecked");
    QTest::addColumn<int>("cameraCountIndex");
    QTest::addColumn<int>("qualityIndex");
    QTest::addColumn<bool>("overwriteChecked");
    QTest::addColumn<bool>("autostartChecked");
    QTest::addColumn<QString>("strstslAfter");
    QTest::addColumn<int>("saves");

    QTest::newRow("defaults") << "1" << "1" << "1000" << "Y" << "N" << true << 0 << 0 << true << false << "1" << 2;
    QTest::newRow("empty camera count") << "1" << "" << "1000" << "Y" << "N" << true << 0 << 0 << true << false << "1" << 2;
    QTest::newRow("camera count 7") << "1" << "7" << "1000" << "Y" << "N" << true << -1 << 0 << true << false << "7" << 2;
    QTest::newRow("four cameras") << "1" << "4" << "1000" << "Y" << "N" << true << 3 << 0 << true << false << "4" << 2;
    QTest::newRow("bit rate 1200") << "1" << "1" << "1200" << "Y" << "N" << true << 0 << 0 << true << false << "1" << 2;
    QTest::newRow("bit rate 1500") << "1" << "1" << "1500" << "Y" << "N" << true << 0 << 1 << true << false << "1" << 2;
    QTest::newRow("bit rate 2000") << "1" << "1" << "2000" << "Y" << "N" << true << 0 << 2 << true << false << "1" << 2;
    QTest::newRow("bit rate 2700") << "1" << "1" << "2700" << "Y" << "N" << true << 0 << 3 << true << false << "1" << 2;
    QTest::newRow("no overwriting") << "1" << "1" << "1000" << "N" << "N" << true << 0 << 0 << false << false << "1" << 1;
    QTest::newRow("no recording") << "0" << "1" << "1000" << "Y" << "N" << false << 0 << 0 << true << false << "1" << 1;
    QTest::newRow("neither box") << "0" << "2" << "1000" << "N" << "Y" << false << 1 << 0 << false << true << "2" << 0;
    QTest::newRow("lower-case y") << "1" << "1" << "1000" << "y" << "y" << true << 0 << 0 << false << false << "1" << 1;
}

void TestSettingsDialogController::formShowFillsControlsAndSavesTickedBoxes()
{
    DialogFixture f;
    f.settings.strbcpathz = "/srv/cams/";
    QFETCH(QString, strsfbcsp);
    QFETCH(QString, strstsl);
    QFETCH(QString, strqxd);
    QFETCH(QString, strdelz);
    QFETCH(QString, strqyjkz);
    f.settings.strsfbcsp = strsfbcsp;
    f.settings.strstsl = strstsl;
    f.settings.strqxd = strqxd;
    f.settings.strdelz = strdelz;
    f.settings.strqyjkz = strqyjkz;

    f.controller.FormShow();

    QCOMPARE(f.controller.saveFolderText(), "/srv/cams/");
    QTEST(f.controller.recordingChecked(), "recordingChecked");
    QTEST(f.controller.cameraCountIndex(), "cameraCountIndex");
    QTEST(f.controller.qualityIndex(), "qualityIndex");
    QTEST(f.controller.overwriteChecked(), "overwriteChecked");
    QTEST(f.controller.autostartChecked(), "autostartChecked");
    QTEST(f.settings.strstsl, "strstslAfter");
    QTEST(f.saves(), "saves");
    QVERIFY(f.prompter.shown.isEmpty());
    // Showing changes no value: the file holds exactly what memory holds.
    if (f.saves() > 0) {
        const TGlobal onDisk = f.settingsOnDisk();
        for (const SettingsKey &key : settingsKeys())
            QCOMPARE(onDisk.*key.field, f.settings.*key.field);
    }
}

void TestSettingsDialogController::freeSpaceIsShownInGiBToFourDecimals_data()
{
    QTest::addColumn<QString>("saveFolder");
    QTest::addColumn<qint64>("freeBytes");
    QTest::addColumn<QString>("shown");

    const qint64 gib = qint64(1) << 30;
    QTest::newRow("whole GiB") << "/srv/cams/" << 100 * gib << "100";
    QTest::newRow("half GiB, no trailing zeros") << "/srv/cams/" << gib / 2 << "0.5";
    QTest::newRow("nothing free") << "/srv/cams/" << qint64(0) << "0";
    // 2^25 bytes is 0.03125 GiB exactly: the half goes down to the even 2...
    QTest::newRow("half to even, down") << "/srv/cams/" << (qint64(1) << 25) << "0.0312";
    // ...and 3 * 2^25 bytes, 0.09375 GiB, up to the even 8.
    QTest::newRow("half to even, up") << "/srv/cams/" << 3 * (qint64(1) << 25) << "0.0938";
    // 123456789012 bytes = 114.978094...
    QTest::newRow("rounded to four decimals") << "/srv/cams/" << qint64(123456789012) << "114.9781";
    QTest::newRow("large disk") << "/srv/cams/" << 12345 * gib + gib / 4 << "12345.25";
    QTest::newRow("unknown") << "/srv/cams/" << qint64(-1) << "0";
    QTest::newRow("empty save folder") << "" << 100 * gib << "0";
    QTest::newRow("relative save folder") << "cams/" << 100 * gib << "0";
}

void TestSettingsDialogController::freeSpaceIsShownInGiBToFourDecimals()
{
    DialogFixture f;
    QFETCH(QString, saveFolder);
    QFETCH(qint64, freeBytes);
    f.settings.strbcpathz = saveFolder;
    f.diskSpace.bytes = freeBytes;

    f.controller.FormShow();

    QTEST(f.controller.freeSpaceText(), "shown");
    if (QDir::isAbsolutePath(saveFolder))
        QCOMPARE(f.diskSpace.askedFor, saveFolder);
    else
        QVERIFY(f.diskSpace.askedFor.isEmpty());
}

void TestSettingsDialogController::commandSavesItsSettingAndConfirms_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QString>("strstsl");
    QTest::addColumn<QString>("strqxd");
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("confirmation");
    QTest::addColumn<int>("saves");

    QTest::newRow("save folder") << Command::SaveFolder << "1" << "1000" << "strbcpathz" << "/srv/cams/" << "保存成功！" << 1;
    // Unticking cbsp saves once by itself, its "保存" once more.
    QTest::newRow("recording off") << Command::SaveRecordingOff << "1" << "1000" << "strsfbcsp" << "0" << "设置成功" << 2;
    QTest::newRow("three cameras") << Command::SaveCameraCount3 << "1" << "1000" << "strstsl" << "3" << "设置成功！" << 1;
    QTest::newRow("count 7 saves empty") << Command::SaveShownCameraCount << "7" << "1000" << "strstsl" << "" << "设置成功！" << 1;
    QTest::newRow("high quality") << Command::SaveQualityHigh << "1" << "1000" << "strqxd" << "2700" << "设置成功" << 1;
    QTest::newRow("bit rate 1200 saves 1000") << Command::SaveShownQuality << "1" << "1200" << "strqxd" << "1000" << "设置成功" << 1;
    QTest::newRow("clear autostart") << Command::ClearAutostart << "1" << "1000" << "strqyjkz" << "N" << "设置成功" << 1;
}

void TestSettingsDialogController::commandSavesItsSettingAndConfirms()
{
    DialogFixture f;
    QFETCH(Command, command);
    QFETCH(QString, strstsl);
    QFETCH(QString, strqxd);
    f.settings.strbcpathz = "/srv/cams/";
    f.settings.strstsl = strstsl;
    f.settings.strqxd = strqxd;
    f.settings.strqyjkz = "Y";
    f.controller.FormShow();
    const int savesBefore = f.saves();

    perform(f.controller, command);

    QFETCH(QString, key);
    QFETCH(QString, value);
    QFETCH(int, saves);
    QCOMPARE(f.saves(), savesBefore + saves);
    QCOMPARE(fieldOf(f.settings, key), value);
    QCOMPARE(fieldOf(f.settingsOnDisk(), key), value);
    QCOMPARE(f.prompter.shown.size(), 1);
    QTEST(f.prompter.shown[0].text, "confirmation");
    QCOMPARE(f.prompter.shown[0].caption, QCoreApplication::applicationName());
    QCOMPARE(f.prompter.shown[0].icon, Prompter::Icon::None);
}

void TestSettingsDialogController::unwritableSettingsFileShowsItsErrorInsteadOfConfirmation_data()
{
    commandSavesItsSettingAndConfirms_data();
}

void TestSettingsDialogController::unwritableSettingsFileShowsItsErrorInsteadOfConfirmation()
{
    DialogFixture f;
    QFETCH(Command, command);
    QFETCH(QString, strstsl);
    QFETCH(QString, strqxd);
    f.settings.strbcpathz = "/srv/cams/";
    f.settings.strstsl = strstsl;
    f.settings.strqxd = strqxd;
    f.settings.strqyjkz = "Y";
    f.settings.strsfbcsp = "1";
    f.settings.strdelz = "N";
    f.storage->refuseWrites = true;

    // The automatic save of showing fails the same way, and the dialog still fills.
    f.controller.FormShow();
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.controller.cameraCountIndex(), int(SettingsDialogController::cameraCounts().indexOf(strstsl)));
    f.prompter.shown.clear();

    perform(f.controller, command);

    QFETCH(QString, key);
    QFETCH(QString, value);
    // Only the error is shown, never the confirmation (unticking cbsp fails on its own first).
    const QString error = "Unable to write to " + f.settings.IniFileName;
    QVERIFY(!f.prompter.shown.isEmpty());
    for (const FakePrompter::Shown &shown : f.prompter.shown) {
        QCOMPARE(shown.text, error);
        QCOMPARE(shown.icon, Prompter::Icon::Critical);
    }
    // Memory keeps the new value; the file never came to be.
    QCOMPARE(fieldOf(f.settings, key), value);
    QVERIFY(!QFile::exists(f.settings.IniFileName));
}

void TestSettingsDialogController::checkBoxClicksSaveSilently()
{
    DialogFixture f;
    f.controller.FormShow();
    QCOMPARE(f.saves(), 2);

    f.controller.setRecordingChecked(false);
    QCOMPARE(f.settingsOnDisk().strsfbcsp, "0");
    f.controller.setOverwriteChecked(false);
    QCOMPARE(f.settingsOnDisk().strdelz, "N");
    f.controller.setOverwriteChecked(true);
    QCOMPARE(f.settingsOnDisk().strdelz, "Y");
    // Setting a box to the state it has is no click.
    f.controller.setOverwriteChecked(true);
    // The autostart box has no click handler: only its "保存" applies it.
    f.controller.setAutostartChecked(true);

    QCOMPARE(f.saves(), 5);
    QCOMPARE(f.settings.strqyjkz, "N");
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestSettingsDialogController::pickedFolderBecomesSaveFolder_data()
{
    QTest::addColumn<QString>("picked");
    QTest::addColumn<bool>("pickerFails");
    QTest::addColumn<QString>("saveFolder");
    QTest::addColumn<int>("saves");

    QTest::newRow("a folder gets its slash") << "/srv/cams" << false << "/srv/cams/" << 1;
    QTest::newRow("the root stays one slash") << "/" << false << "/" << 1;
    QTest::newRow("cancelled") << "" << false << "/old/" << 0;
    QTest::newRow("picker failed") << "/srv/cams" << true << "/old/" << 0;
}

void TestSettingsDialogController::pickedFolderBecomesSaveFolder()
{
    DialogFixture f;
    f.settings.strbcpathz = "/old/";
    f.settings.strsfbcsp = "0";
    f.settings.strdelz = "N";
    f.controller.FormShow();
    QFETCH(QString, picked);
    QFETCH(bool, pickerFails);
    f.pickerAnswer = picked;
    f.pickerFails = pickerFails;

    f.controller.BitBtn5Click();

    QCOMPARE(f.pickerOpenings, 1);
    QTEST(f.controller.saveFolderText(), "saveFolder");
    QTEST(f.settings.strbcpathz, "saveFolder");
    QTEST(f.saves(), "saves");
    if (f.saves() > 0)
        QTEST(f.settingsOnDisk().strbcpathz, "saveFolder");
    QVERIFY(f.prompter.shown.isEmpty());
}

void TestSettingsDialogController::tickedAutostartWritesEntryAndKeepsSettingInMemory()
{
    DialogFixture f;
    f.controller.FormShow();
    const int savesAfterShowing = f.saves();

    f.controller.setAutostartChecked(true);
    f.controller.BitBtn6Click();

    QCOMPARE(f.settings.strqyjkz, "Y");
    QCOMPARE(f.saves(), savesAfterShowing);
    QCOMPARE(f.settingsOnDisk().strqyjkz, "N");
    QVERIFY(f.prompter.shown.isEmpty());
    QVERIFY(QFile::exists(f.machineEntry()));

    // The next save takes the value along, and the next showing ticks the box.
    f.controller.setRecordingChecked(false);
    QCOMPARE(f.settingsOnDisk().strqyjkz, "Y");
    SettingsDialogController reopened(f.settings, f.prompter, f.diskSpace, f.autostart, [] { return QString(); });
    reopened.FormShow();
    QVERIFY(reopened.autostartChecked());
}

void TestSettingsDialogController::clearedAutostartRemovesEntriesAndConfirms_data()
{
    QTest::addColumn<bool>("machineEntry");
    QTest::addColumn<bool>("userEntry");

    QTest::newRow("no entry") << false << false;
    QTest::newRow("machine-wide entry") << true << false;
    QTest::newRow("user entry") << false << true;
    QTest::newRow("both") << true << true;
}

void TestSettingsDialogController::clearedAutostartRemovesEntriesAndConfirms()
{
    DialogFixture f;
    QFETCH(bool, machineEntry);
    QFETCH(bool, userEntry);
    const QList<std::pair<bool, QString>> entries = {{machineEntry, f.machineEntry()},
                                                     {userEntry, f.userEntry()}};
    for (const auto &[wanted, path] : entries) {
        if (!wanted)
            continue;
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QFile entry(path);
        QVERIFY(entry.open(QIODevice::WriteOnly));
    }
    f.settings.strqyjkz = "Y";
    f.controller.FormShow();

    f.controller.setAutostartChecked(false);
    f.controller.BitBtn6Click();

    QVERIFY(!QFile::exists(f.machineEntry()));
    QVERIFY(!QFile::exists(f.userEntry()));
    QCOMPARE(f.settingsOnDisk().strqyjkz, "N");
    QCOMPARE(f.prompter.shown.size(), 1);
    QCOMPARE(f.prompter.shown[0].text, "设置成功");
}

QTEST_GUILESS_MAIN(TestSettingsDialogController)
#include "tst_SettingsDialogController.moc"
