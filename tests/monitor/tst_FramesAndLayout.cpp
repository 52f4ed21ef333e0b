// Frame handling (stamp, slots, panes, enlarged view) and the pane layouts with zoom.
#include "common/PaneCodes.h"
#include "monitor/ui/DesignRectPanel.h"
#include "monitor/ui/DisplayArea.h"
#include "monitor/ui/ImageView.h"
#include "monitor/capture/CameraCapture.h"
#include "monitor/capture/SystemCaptureBackend.h"
#include "support/MainWindowFixture.h"

#include <QPushButton>
#include <QSlider>
#include <QtTest>

namespace {

// Starts monitoring on `count` scripted cameras and feeds camera N one frame of colour.
void startWithCameras(MainWindowFixture &f, const QString &count, int devices)
{
    for (int i = 0; i < devices; ++i)
        f.cameras.addDevice(QString("Cam %1").arg(i + 1));
    f.settings->strstsl = count;
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
}

void deliver(MainWindowFixture &f, int camera, QColor colour)
{
    f.cameras.session(f.window->capture(camera).boundDeviceIndex())->deliverFrame(colour);
    QTRY_COMPARE(f.window->frameSlots().slot(camera).current().pixelColor(320, 400), colour);
}

bool hasWhiteInCorner(const QImage &image)
{
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 60; ++x)
            if (image.pixelColor(x, y) == QColor(255, 255, 255))
                return true;
    return false;
}

} // namespace

class FramesAndLayoutTest : public QObject
{
    Q_OBJECT
private slots:
    void stampedFrameReachesSlotAndUnstampedFrameReachesPane();
    void panesFollowTheCameraCount_data();
    void panesFollowTheCameraCount();
    void enlargedViewGetsOnlyTheSelectedPanesCamera();
    void selectedPaneSurvivesALayoutChange();
    void enlargeWithoutSelectionDoesNothing();
    void zoomSliderAndResets();
    void layoutOutsideOneToFourOnlyHidesTheEnlargedView();
    void designRectanglesScaleWithThePanel();
    void virtualCameraFrameReachesSlotAndPane();
};

void FramesAndLayoutTest::stampedFrameReachesSlotAndUnstampedFrameReachesPane()
{
    MainWindowFixture f;
    QVERIFY(f.window->frameSlots().slot(1).current().isNull()); // empty until the first frame
    startWithCameras(f, "1", 1);
    f.cameras.session(0)->deliverFrame(Qt::black);
    QTRY_VERIFY(!f.window->frameSlots().slot(1).current().isNull());
    const QImage slot = f.window->frameSlots().slot(1).current();
    QVERIFY(hasWhiteInCorner(slot));
    QVERIFY(hasWhiteInCorner(f.window->displayArea()->captureView(1)->picture()));
    QVERIFY(!hasWhiteInCorner(f.window->displayArea()->pane(1)->picture()));
}

void FramesAndLayoutTest::panesFollowTheCameraCount_data()
{
    QTest::addColumn<QString>("count");
    QTest::addColumn<QList<int>>("paneOfCamera"); // cameras 1..4, 0 = none
    QTest::newRow("1") << "1" << QList<int>{1, 0, 0, 0};
    QTest::newRow("2") << "2" << QList<int>{21, 22, 0, 0};
    QTest::newRow("3: pane 44 stays empty") << "3" << QList<int>{41, 42, 43, 44};
    QTest::newRow("4") << "4" << QList<int>{41, 42, 43, 44};
}

void FramesAndLayoutTest::panesFollowTheCameraCount()
{
    QFETCH(QString, count);
    QFETCH(QList<int>, paneOfCamera);
    MainWindowFixture f;
    startWithCameras(f, count, 4);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
    const int cameras = count.toInt();
    for (int camera = 1; camera <= cameras; ++camera)
        deliver(f, camera, colours[camera - 1]);
    for (int camera = 1; camera <= 4; ++camera) {
        const int code = paneOfCamera[camera - 1];
        QCOMPARE(PaneCodes::paneCodeFor(camera, count), code);
        if (camera <= cameras)
            QCOMPARE(f.window->displayArea()->pane(code)->picture().pixelColor(320, 400), colours[camera - 1]);
    }
    if (count == "3")
        QVERIFY(f.window->displayArea()->pane(44)->picture().isNull());
    for (int camera = 1; camera <= 4; ++camera)
        QCOMPARE(f.window->cameraSettingsButtons[camera - 1]->isVisible(), camera <= cameras);
}

void FramesAndLayoutTest::enlargedViewGetsOnlyTheSelectedPanesCamera()
{
    MainWindowFixture f;
    startWithCameras(f, "2", 2);
    DisplayArea *area = f.window->displayArea();
    f.window->selectPane(22);
    deliver(f, 1, Qt::red);
    QVERIFY(area->imgall->picture().isNull());
    deliver(f, 2, Qt::green);
    // Refreshed even while the enlarged view is hidden.
    QVERIFY(!area->enlargedShown());
    QCOMPARE(area->imgall->picture().pixelColor(320, 400), QColor(Qt::green));
    QVERIFY(!hasWhiteInCorner(area->imgall->picture()));
    f.window->BitBtn17Click();
    QVERIFY(area->enlargedShown());
}

void FramesAndLayoutTest::selectedPaneSurvivesALayoutChange()
{
    MainWindowFixture f;
    startWithCameras(f, "4", 4);
    DisplayArea *area = f.window->displayArea();
    f.window->selectPane(43);
    f.settings->strstsl = "2";
    f.window->BitBtn9Click();
    QCOMPARE(area->selectedPane(), 43);
    f.window->BitBtn17Click();
    QVERIFY(area->enlargedShown());
    deliver(f, 1, Qt::red);
    deliver(f, 2, Qt::green);
    QVERIFY(area->imgall->picture().isNull()); // no pane of the two-pane layout is 43
    f.window->BitBtn9Click();
    QVERIFY(!area->enlargedShown());
    QCOMPARE(area->selectedPane(), 43);
}

void FramesAndLayoutTest::enlargeWithoutSelectionDoesNothing()
{
    MainWindowFixture f;
    f.window->show();
    DisplayArea *area = f.window->displayArea();
    f.window->BitBtn17Click();
    QVERIFY(!area->enlargedShown());
    QTest::mouseClick(area->pane(1), Qt::LeftButton);
    QCOMPARE(area->selectedPane(), 1);
    f.window->BitBtn17Click();
    QVERIFY(area->enlargedShown());
    f.window->SpeedButton10Click();
    QVERIFY(!area->enlargedShown());
    QCOMPARE(area->selectedPane(), 0);
    f.window->BitBtn17Click();
    QVERIFY(!area->enlargedShown());
    QVERIFY(f.prompter.shown.isEmpty());
}

void FramesAndLayoutTest::zoomSliderAndResets()
{
    MainWindowFixture f;
    f.window->show();
    DisplayArea *area = f.window->displayArea();
    area->TrackBar1->setValue(250);
    QCOMPARE(area->imgall->zoomPercent(), 250);
    f.window->SpeedButton11Click();
    QCOMPARE(area->imgall->zoomPercent(), 100);
    QCOMPARE(area->TrackBar1->value(), 250);
    area->TrackBar1->setValue(240);
    QCOMPARE(area->imgall->zoomPercent(), 240);
    QCOMPARE(area->TrackBar1->minimum(), 1);
    QCOMPARE(area->TrackBar1->maximum(), 300);

    // The wheel zooms a view only while it has the focus, which a click gives it.
    ImageView *pane = area->pane(1);
    QWheelEvent wheel(QPointF(5, 5), pane->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(pane, &wheel);
    QCOMPARE(pane->zoomPercent(), 100);
    f.window->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(f.window));
    QTest::mouseClick(pane, Qt::LeftButton);
    QVERIFY(pane->hasFocus());
    QCoreApplication::sendEvent(pane, &wheel);
    QCOMPARE(pane->zoomPercent(), 110);

    f.window->BitBtn18Click();
    QCOMPARE(pane->zoomPercent(), 100);
    QCOMPARE(area->imgall->zoomPercent(), 100);
    QCOMPARE(area->TrackBar1->value(), 240);
}

void FramesAndLayoutTest::layoutOutsideOneToFourOnlyHidesTheEnlargedView()
{
    MainWindowFixture f;
    f.settings->strstsl = "4";
    f.window->show();
    DisplayArea *area = f.window->displayArea();
    f.window->selectPane(41);
    f.window->BitBtn17Click();
    f.settings->strstsl = "7";
    f.window->BitBtn9Click();
    QVERIFY(!area->enlargedShown());
    QVERIFY(area->p4->isVisible());
    QVERIFY(f.window->cameraSettingsButtons[3]->isVisible());
}

void FramesAndLayoutTest::designRectanglesScaleWithThePanel()
{
    QCOMPARE(DesignRectPanel::scaled(QRect(9, 9, 486, 613), QSize(998, 632), QSize(998, 632)),
             QRect(9, 9, 486, 613));
    QCOMPARE(DesignRectPanel::scaled(QRect(495, 326, 484, 292), QSize(997, 626), QSize(1994, 1252)),
             QRect(990, 652, 968, 584));
}

void FramesAndLayoutTest::virtualCameraFrameReachesSlotAndPane()
{
    MainWindowFixture f;
    SystemCaptureBackend virtualCameras(1);
    f.services.captureBackend = &virtualCameras;
    f.makeWindow();
    f.settings->strstsl = "1";
    f.window->show();
    f.window->FormActivate();
    f.window->BitBtn10Click();
    QVERIFY(f.window->cameraOpened(1));
    QTRY_VERIFY_WITH_TIMEOUT(!f.window->frameSlots().slot(1).current().isNull(), 10000);
    const QImage slot = f.window->frameSlots().slot(1).current();
    QCOMPARE(slot.size(), QSize(640, 480));
    QVERIFY(hasWhiteInCorner(slot));
    QTRY_VERIFY(!f.window->displayArea()->pane(1)->picture().isNull());
    f.window->BitBtn11Click();
    QVERIFY(!f.window->capture(1).isConnected());
}

QTEST_MAIN(FramesAndLayoutTest)
#include "tst_FramesAndLayout.moc"
