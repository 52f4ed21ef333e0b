#include "app/Tfmain.h"

#include "common/Clock.h"
#include "common/DesktopOpener.h"
#include "common/CommandGuard.h"
#include "common/DateText.h"
#include "catalogue/Tdbhouse.h"
#include "monitor/DisplayArea.h"
#include "monitor/ImageView.h"
#include "monitor/capture/CameraCapture.h"
#include "record/RecordingChannel.h"
#include "settings/TGlobal.h"
#include "browser/DatePicker.h"
#include "browser/RecordingBrowser.h"
#include "browser/ui/DeletionProgressDialog.h"
#include "snapshot/SnapshotController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cmath>

Tfmain::Tfmain(const MainWindowServices &services, QWidget *parent)
    : QMainWindow(parent), services_(services), prompter_(*services.prompter)
{
    setObjectName("fmain");
    setWindowTitle(QStringLiteral("Kamvist"));
    resize(designWidth, designHeight);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    QFont face(QStringLiteral("WenQuanYi Zen Hei"));
    face.setPixelSize(12);
    setFont(face);

    if (!services_.desktopOpener) {
        ownDesktopOpener_ = std::make_unique<SystemDesktopOpener>();
        services_.desktopOpener = ownDesktopOpener_.get();
    }
    snapshots_ = std::make_unique<SnapshotController>(SnapshotController::pictureSourceOf(frameSlots_),
                                                      *services_.clock, *services_.desktopOpener);
    buildMenu();
    pg1 = new QTabWidget(this);
    pg1->setObjectName("pg1");
    setCentralWidget(pg1);
    buildMonitoringPage();
    buildQueryPage();
    buildTray();
    buildTimers();
    createCaptures();
    createChannel1();
    connectCommands();

    setWindowIcon(TrayNotifyIcon1->icon());
    TrayNotifyIcon1->show();
    typdel->start();
    Txstwo->start();
}

Tfmain::~Tfmain()
{
    channel1_.reset();
    // Capture threads end before the views they feed go.
    for (auto &c : captures_)
        c->disconnectDevice();
}

void Tfmain::setCatalogue(Tdbhouse *catalogue)
{
    dbhouse_ = catalogue;
    channel1_->setCatalogue(catalogue);
    createBrowser();
}

// Camera 1's recording channel lives on the main window, its panel inside the hidden capture view.
void Tfmain::createChannel1()
{
    RecordingChannel::Setup setup;
    setup.camera = 1;
    setup.frameSize = "640x480";
    setup.frameSlot = &frameSlots_.slot(1);
    setup.prompter = services_.prompter;
    setup.clock = services_.clock;
    setup.executableFolder = services_.executableFolder;
    channel1_ = std::make_unique<RecordingChannel>(setup, Panel2->captureView(1));
}

void Tfmain::createCaptures()
{
    using FrameHandler = void (Tfmain::*)();
    const FrameHandler handlers[] = {&Tfmain::ImageEnView1DShowNewFrame, &Tfmain::ImageEnView2DShowNewFrame,
                                     &Tfmain::ImageEnView3DShowNewFrame, &Tfmain::ImageEnView4DShowNewFrame};
    for (int camera = 1; camera <= 4; ++camera) {
        captures_[camera - 1] = std::make_unique<CameraCapture>(services_.captureBackend);
        connect(captures_[camera - 1].get(), &CameraCapture::frameReady, this, handlers[camera - 1]);
    }
}

bool Tfmain::monitoringOn() const
{
    return !BitBtn10->isEnabled();
}

bool Tfmain::trayAvailable() const
{
    if (services_.trayAvailable)
        return services_.trayAvailable();
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void Tfmain::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    const bool firstShowing = !firstShowingDone_;
    runQuietly([this] { FormShow(); });
    // Showing the window normally activates it; without a window manager (a bare
    // X server) it never becomes active, so the first device refresh is not left to that.
    if (firstShowing && !isActiveWindow())
        runQuietly([this] { FormActivate(); });
}

void Tfmain::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        runQuietly([this] { FormActivate(); });
}

void Tfmain::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    FormResize();
}

void Tfmain::closeEvent(QCloseEvent *event)
{
    endingRun_ = true;
    FormClose();
    event->accept();
    emit closed();
}

// First showing only: lay out the panes, fill empty defaults, open the catalogue, arm auto start.
void Tfmain::FormShow()
{
    if (firstShowingDone_)
        return;
    firstShowingDone_ = true;

    runQuietly([this] { BitBtn9Click(); });
    if (GlobalSettings->strqxd.isEmpty())
        GlobalSettings->strqxd = "1000";
    if (GlobalSettings->strbcpathz.isEmpty())
        GlobalSettings->strbcpathz = services_.executableFolder;
    const QString today = DateText::fromDate(services_.clock->now().date());
    Edit9->setText(today);
    Edit10->setText(today);
    ComboBox3->setCurrentIndex(0);
    if (dbhouse_)
        runQuietly([this] { dbhouse_->openCatalogue(services_.executableFolder); });
    Timer1->setSingleShot(true);
    Timer1->start();
}

// Scales the control panel and every font with the window; fonts stay within 8 to 48 points.
void Tfmain::FormResize()
{
    const double heightRatio = double(height()) / designHeight;
    const double widthRatio = double(width()) / designWidth;
    // The design face is 12 pixels, 9 points at the usual 96 dpi.
    const double points = std::clamp(9.0 * heightRatio, 8.0, 48.0);
    QFont scaled = font();
    scaled.setPointSizeF(points);
    pg1->setFont(scaled);
    Panel1->setFixedWidth(std::max(1, int(std::lround(panel1DesignWidth * widthRatio))));
}

// Window closing: stop monitoring, ignoring any failure.
void Tfmain::FormClose()
{
    runQuietly([this] { BitBtn11Click(); });
}

// Hides the main window to the tray (or minimises it where the desktop has no tray).
void Tfmain::BitBtn12Click()
{
    if (!isVisible())
        return;
    if (trayAvailable())
        hide();
    else
        showMinimized();
}

// Tray "隐藏界面": hide the main window.
void Tfmain::pop_ShowClick()
{
    BitBtn12Click();
}

// Tray "显示界面": show the main window again.
void Tfmain::N29Click()
{
    if (!isVisible() || isMinimized()) {
        showNormal();
        raise();
        activateWindow();
    }
}

// Tray "退出": end the run at once, without the window's close handling.
void Tfmain::N13Click()
{
    endingRun_ = true;
    // exit(), not quit(): quit() would first close the windows, running the close handling.
    QCoreApplication::exit(0);
}

// Settings menu: close the cameras around the settings dialog, then reopen them for the new count.
void Tfmain::Saveframes1Click()
{
    if (monitoringOn())
        BitBtn8Click();
    if (services_.showSettingsDialog)
        services_.showSettingsDialog(this);
    if (monitoringOn())
        BitBtn7Click();
}

// Page switch: the query page stops monitoring and queries; the monitoring page starts it again.
void Tfmain::pg1Change()
{
    if (pg1->currentWidget() == TabSheet2) {
        BitBtn11Click();
        SpeedButton12Click();
    } else {
        BitBtn10Click();
        if (dbhouse_)
            dbhouse_->qwjcx.close();
    }
}

