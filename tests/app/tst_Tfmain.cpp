// The main window shell: its controls, the first-showing set-up, font scaling,
// hiding, the page switch, the automatic start and the command guard.
#include "common/CommandGuard.h"
#include "monitor/ui/DisplayArea.h"
#include "support/MainWindowFixture.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>

class TfmainTest : public QObject
{
    Q_OBJECT
private slots:
    void controlsCarryTheirNamesAndCaptions_data();
    void controlsCarryTheirNamesAndCaptions();
    void windowStartsAtDesignSizeWithCaption();
    void firstShowingSetsUpOnce();
    void firstShowingKeepsValuesAlreadySet();
    void catalogueOpensAtFirstShowingAndMissingFileStaysMissing();
    void fontsScaleWithTheWindowWithinBounds_data();
    void fontsScaleWithTheWindowWithinBounds();
    void hidingNeverLosesTheWindow_data();
    void hidingNeverLosesTheWindow();
    void pageSwitchStopsAndRestartsMonitoring();
    void autoStartOnlyForExactlyY_data();
    void autoStartOnlyForExactlyY();
    void commandGuardShowsTheErrorText();
};

void TfmainTest::controlsCarryTheirNamesAndCaptions_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visibleAtStart");
    const QList<std::tuple<const char *, QString, bool>> rows = {
        {"Button3", "摄像头1参数", true},
        {"Button6", "摄像头4参数", false}, // the default camera count is "1"
        {"BitBtn10", "开启监控", true},
        {"BitBtn11", "关闭监控", true},
        {"BitBtn12", "软件最小化到电脑右下角", true},
        {"BitBtn15", "抓拍", true},
        {"Label6", "先点中要抓拍摄像头再点“抓拍”", true},
        {"BitBtn16", "打开抓拍照片目录", true},
        {"BitBtn17", "单个摄像头放大监控", true},
        {"Label7", "先点中要放大的摄像头再点“放大监控”", true},
        {"BitBtn18", "监控画面恢复原始大小", true},
        {"SpeedButton1", "开启1", false},
        {"SpeedButton5", "开启4", false},
        {"BitBtn5", "start保存视频", false},
        {"BitBtn6", "stop视频", false},
        {"BitBtn7", "开启监控", false},
        {"BitBtn8", "停止监控", false},
        {"BitBtn9", "界面", false},
        {"SpeedButton10", "返回", false},
        {"SpeedButton11", "原始大小", false},
    };
    for (const auto &[name, caption, visible] : rows)
        QTest::newRow(name) << QString(name) << caption << visible;
}

void TfmainTest::controlsCarryTheirNamesAndCaptions()
{
    QFETCH(QString, objectName);
    QFETCH(QString, caption);
    QFETCH(bool, visibleAtStart);
    MainWindowFixture f;
    f.window->show();
    QWidget *control = f.window->findChild<QWidget *>(objectName);
    QVERIFY2(control, qPrintable(objectName));
    if (auto *button = qobject_cast<QAbstractButton *>(control))
        QCOMPARE(button->text(), caption);
    else if (auto *label = qobject_cast<QLabel *>(control))
        QCOMPARE(label->text(), caption);
    QCOMPARE(control->isVisible(), visibleAtStart);
}

void TfmainTest::windowStartsAtDesignSizeWithCaption()
{
    MainWindowFixture f;
    QCOMPARE(f.window->windowTitle(), QString("Kamvist"));
    QCOMPARE(f.window->size(), QSize(1300, 728));
    QCOMPARE(f.window->pg1->count(), 2);
    QCOMPARE(f.window->pg1->tabText(0), QString("视频监控"));
    QCOMPARE(f.window->pg1->tabText(1), QString("视频查询"));
    QCOMPARE(f.window->pg1->currentIndex(), 0);
    QVERIFY(!f.window->BitBtn11->isEnabled());
    for (const char *name : {"ImageEnView1", "ImageEnView4", "p1", "p2", "p4", "pall", "imgall",
                             "imgvone", "imgvone21", "imgvone44", "TrackBar1", "ComboBox1", "ListBox1",
                             "ComboBox3", "Edit9", "Edit10", "BitBtn13", "BitBtn14", "SpeedButton12",
                             "SpeedButton6", "SpeedButton7", "SpeedButton8", "SpeedButton9", "Label11",
                             "DBGrid1", "ImageEnMView1"})
        QVERIFY2(f.window->findChild<QWidget *>(name), name);
    QVERIFY(f.window->Timer1 && !f.window->Timer1->isActive());
    QVERIFY(f.window->Txstwo->isActive());
    QCOMPARE(f.window->Txstwo->interval(), 6000000);
    QVERIFY(f.window->typdel->isActive());
    QCOMPARE(f.window->typdel->interval(), 600000);
}

void TfmainTest::firstShowingSetsUpOnce()
{
    MainWindowFixture f;
    f.settings->strqxd.clear();
    f.settings->strbcpathz.clear();
    f.window->show();
    QCOMPARE(f.window->Edit9->text(), QString("2024-03-12"));
    QCOMPARE(f.window->Edit10->text(), QString("2024-03-12"));
    QCOMPARE(f.window->ComboBox3->currentText(), QString("所有"));
    QCOMPARE(f.settings->strqxd, QString("1000"));
    QCOMPARE(f.settings->strbcpathz, f.folder);
    QVERIFY(f.window->Timer1->isActive());
    QCOMPARE(f.window->Timer1->interval(), 3000);

    // Hidden and shown again (as from the tray): nothing of the set-up runs again.
    f.window->Timer1->stop();
    f.window->Edit9->setText("2020-01-01");
    f.clock.moment = f.clock.moment.addDays(3);
    f.window->hide();
    f.window->show();
    QCOMPARE(f.window->Edit9->text(), QString("2020-01-01"));
    QVERIFY(!f.window->Timer1->isActive());
}

void TfmainTest::firstShowingKeepsValuesAlreadySet()
{
    MainWindowFixture f;
    f.settings->strqxd = "2700";
    f.settings->strbcpathz = "/srv/rec/";
    f.window->show();
    QCOMPARE(f.settings->strqxd, QString("2700"));
    QCOMPARE(f.settings->strbcpathz, QString("/srv/rec/"));
}

void TfmainTest::catalogueOpensAtFirstShowingAndMissingFileStaysMissing()
{
    {
        MainWindowFixture f;
        QVERIFY(!f.dbhouse->adoacccon.isOpen());
        f.window->show();
        QVERIFY(f.dbhouse->adoacccon.isOpen());
    }
    {
        MainWindowFixture f(false);
        f.window->show();
        QVERIFY(!f.dbhouse->adoacccon.isOpen());
        QVERIFY(!QFile::exists(f.folder + "dat/dzxcb.db"));
    }
}

void TfmainTest::fontsScaleWithTheWindowWithinBounds_data()
{
    QTest::addColumn<int>("height");
    QTest::addColumn<double>("points");
    QTest::newRow("design size") << 728 << 9.0;
    QTest::newRow("twice as high") << 1456 << 18.0;
    QTest::newRow("tiny: never below 8") << 300 << 8.0;
    QTest::newRow("huge: never above 48") << 4400 << 48.0;
}

void TfmainTest::fontsScaleWithTheWindowWithinBounds()
{
    QFETCH(int, height);
    QFETCH(double, points);
    MainWindowFixture f;
    f.window->resize(1300, height);
    f.window->FormResize();
    QCOMPARE(f.window->BitBtn10->font().pointSizeF(), points);
    QCOMPARE(f.window->SpeedButton12->font().pointSizeF(), points);
}

void TfmainTest::hidingNeverLosesTheWindow_data()
{
    QTest::addColumn<bool>("trayAvailable");
    QTest::newRow("desktop with a tray: hidden to the tray") << true;
    QTest::newRow("no tray: minimised, the taskbar still has it") << false;
}

void TfmainTest::hidingNeverLosesTheWindow()
{
    QFETCH(bool, trayAvailable);
    MainWindowFixture f;
    f.services.trayAvailable = [trayAvailable] { return trayAvailable; };
    f.makeWindow();
    f.window->show();
    f.window->BitBtn12Click();
    QCOMPARE(f.window->isVisible(), !trayAvailable);
    QCOMPARE(f.window->isMinimized(), !trayAvailable);
    f.window->N29Click();
    QVERIFY(f.window->isVisible());
    QVERIFY(!f.window->isMinimized());
}

void TfmainTest::pageSwitchStopsAndRestartsMonitoring()
{
    MainWindowFixture f;
    f.window->show();
    f.window->BitBtn10Click();
    QVERIFY(f.window->monitoringOn());
    f.window->pg1->setCurrentIndex(1);
    QVERIFY(!f.window->monitoringOn());
    f.window->pg1->setCurrentIndex(0);
    QVERIFY(f.window->monitoringOn());

    // Back on the monitoring page monitoring starts even when it was stopped before.
    f.window->BitBtn11Click();
    f.window->pg1->setCurrentIndex(1);
    f.window->pg1->setCurrentIndex(0);
    QVERIFY(f.window->monitoringOn());
}

void TfmainTest::autoStartOnlyForExactlyY_data()
{
    QTest::addColumn<QString>("strqyjkz");
    QTest::addColumn<bool>("starts");
    QTest::newRow("Y") << "Y" << true;
    QTest::newRow("y") << "y" << false;
    QTest::newRow("N") << "N" << false;
    QTest::newRow("Y with blank") << "Y " << false;
}

void TfmainTest::autoStartOnlyForExactlyY()
{
    QFETCH(QString, strqyjkz);
    QFETCH(bool, starts);
    MainWindowFixture f;
    f.settings->strqyjkz = strqyjkz;
    f.window->Timer1->setInterval(10);
    f.window->show();
    QTRY_VERIFY(!f.window->Timer1->isActive());
    QCOMPARE(f.window->monitoringOn(), starts);
}

void TfmainTest::commandGuardShowsTheErrorText()
{
    FakePrompter prompter;
    bool after = false;
    runGuarded(prompter, [] { throw AppError("database is locked"); });
    runGuarded(prompter, [&after] { after = true; });
    QVERIFY(after);
    QCOMPARE(prompter.shown.size(), 1);
    QCOMPARE(prompter.shown[0].text, QString("database is locked"));
    QCOMPARE(prompter.shown[0].icon, Prompter::Icon::Critical);
    QVERIFY(!runQuietly([] { throw std::runtime_error("dropped"); }));
}

QTEST_MAIN(TfmainTest)
#include "tst_Tfmain.moc"
