#include "app/Tfmain.h"

#include "common/Clock.h"
#include "common/DesktopOpener.h"
#include "common/CommandGuard.h"
#include "common/DateText.h"
#include "catalogue/Tdbhouse.h"
#include "monitor/ui/DisplayArea.h"
#include "monitor/ui/ImageView.h"
#include "monitor/MonitoringControl.h"
#include "record/DiskReclaim.h"
#include "record/FileRotation.h"
#include "record/RecordingControl.h"
#include "record/ui/ChannelPanel.h"
#include "settings/SaveFolder.h"
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
    createControllers();
    connectCommands();

    setWindowIcon(TrayNotifyIcon1->icon());
    TrayNotifyIcon1->show();
    typdel->start();
    Txstwo->start();
}

Tfmain::~Tfmain()
{
    // Recording finishes before the cameras that feed it close.
    delete channel1Panel_;
    reclaim_.reset();
    rotation_.reset();
    recording_.reset();
    channel1_.reset();
    monitoring_.reset();
}

void Tfmain::setCatalogue(Tdbhouse *catalogue)
{
    dbhouse_ = catalogue;
    channel1_->setCatalogue(catalogue);
    reclaim_->setCatalogue(catalogue);
    createBrowser();
}

RecordingChannel::Setup Tfmain::channelSetup(int camera)
{
    RecordingChannel::Setup setup;
    setup.camera = camera;
    setup.frameSize = RecordingChannel::frameSizeFor(camera);
    setup.frameSlot = &frameSlots_.slot(camera);
    setup.prompter = services_.prompter;
    setup.clock = services_.clock;
    setup.executableFolder = services_.executableFolder;
    return setup;
}

// Monitoring, recording, rotation and reclaim, wired to this window's controls.
void Tfmain::createControllers()
{
    monitoring_ = std::make_unique<MonitoringControl>(services_.captureBackend, frameSlots_, *services_.clock);
    MonitoringControl::Hooks hooks;
    hooks.layOutPanes = [this] { BitBtn9Click(); };
    hooks.blankPanes = [this](int camera) { blankPanesForOpen(camera); };
    hooks.afterStart = [this] { BitBtn5Click(); };
    hooks.beforeStop = [this] { BitBtn6Click(); };
    monitoring_->setHooks(hooks);
    connect(monitoring_.get(), &MonitoringControl::monitoringChanged, this, [this](bool on) {
        BitBtn10->setEnabled(!on);
        BitBtn11->setEnabled(on);
        // After the start or stop has gone through, recording included.
        QTimer::singleShot(0, this, &Tfmain::updateStatusLine);
    });
    connect(monitoring_.get(), &MonitoringControl::framePresented, this, &Tfmain::showFrame);
    // No box for a lost camera: it may happen at 3 a.m. with nobody there. The pane and the status line say it.
    connect(monitoring_.get(), &MonitoringControl::cameraLost, this, &Tfmain::updateStatusLine);
    connect(monitoring_.get(), &MonitoringControl::cameraRestored, this, &Tfmain::updateStatusLine);

    // Camera 1's recording channel lives on the main window, its panel inside the hidden capture view.
    channel1_ = std::make_unique<RecordingChannel>(channelSetup(1));
    channel1Panel_ = new ChannelPanel(*channel1_, Panel2->captureView(1));
    recording_ = std::make_unique<RecordingControl>([this](int camera) { return monitoring_->cameraOpened(camera); });
    recording_->setChannel(1, channel1_.get());

    FileRotation::Hooks rotationHooks;
    rotationHooks.monitoringOn = [this] { return monitoringOn(); };
    rotationHooks.stopMonitoring = [this] { BitBtn11Click(); };
    rotationHooks.startMonitoring = [this] { BitBtn10Click(); };
    rotationHooks.monitoringPageShown = [this] { return pg1->currentWidget() == TabSheet1; };
    rotationHooks.runEnding = [this] { return endingRun_; };
    rotation_ = std::make_unique<FileRotation>(*Txstwo, rotationHooks);
    reclaim_ = std::make_unique<DiskReclaim>(*typdel, services_.diskSpace,
                                             [this] { return recording_->liveRecordingFiles(); });
}

bool Tfmain::monitoringOn() const
{
    return monitoring_->monitoringOn();
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
    saveFolderOrDefault(*GlobalSettings, services_.executableFolder);
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

