#pragma once

#include "common/FrameSlots.h"
#include "record/RecordingChannel.h"

#include <QDateTime>
#include <QMainWindow>
#include <QString>
#include <array>
#include <functional>
#include <memory>

class CameraCapture;
class CaptureBackend;
class DatePicker;
class DeletionProgressDialog;
class DesktopOpener;
class RecordingBrowser;
class SnapshotController;
class SnapshotGallery;
class ChannelForm;
class ChannelPanel;
class DiskReclaim;
class FileRotation;
class MonitoringControl;
class RecordingControl;
class Clock;
class DiskSpace;
class DisplayArea;
class Prompter;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSystemTrayIcon;
class QTableView;
class QTabWidget;
class QTimer;
class RecordingChannel;
class Tdbhouse;

// What the main window needs from outside, handed in so tests can use fakes.
struct MainWindowServices
{
    Prompter *prompter = nullptr;
    const Clock *clock = nullptr;
    QString executableFolder; // with a trailing "/"
    CaptureBackend *captureBackend = nullptr;
    const DiskSpace *diskSpace = nullptr;
    DesktopOpener *desktopOpener = nullptr;
    // The browser's date picker; the window makes its own dialog one when not set.
    DatePicker *datePicker = nullptr;
    // Shows the settings dialog (modal); tests record the call instead.
    std::function<void(QWidget *parent)> showSettingsDialog;
    // Shows a camera's device property dialog (modal); tests record the call instead.
    std::function<void(CameraCapture &, QWidget *parent)> showDeviceProperties;
    // Whether the desktop offers a tray; the system's answer when not set.
    std::function<bool()> trayAvailable;
};

// The main window: the monitoring page with its control panel and display area,
// the query page, the menu, the tray icon and the program's timers.
class Tfmain : public QMainWindow
{
    Q_OBJECT
public:
    explicit Tfmain(const MainWindowServices &services, QWidget *parent = nullptr);
    ~Tfmain() override;

    // The data module is created after the main window; start-up hands it over.
    void setCatalogue(Tdbhouse *catalogue);
    // The carriers of the recording channels of cameras 2 to 4, created after the main window.
    void setChannelForms(const std::array<ChannelForm *, 3> &forms);
    // What a recording channel of this program needs, for camera 1's and the forms'.
    RecordingChannel::Setup channelSetup(int camera);

    bool monitoringOn() const;
    // Monitoring control, for benchmarks that watch its signals.
    MonitoringControl &monitoring() { return *monitoring_; }
    FrameSlots &frameSlots() { return frameSlots_; }
    DisplayArea *displayArea() const { return Panel2; }

    // Design size of the window; controls and fonts scale from it.
    static constexpr int designWidth = 1300;
    static constexpr int designHeight = 728;
    static constexpr int panel1DesignWidth = 278;

    // Window set-up and shell handlers.
    void FormShow();
    void FormActivate();
    void FormResize();
    void FormClose();
    void BitBtn12Click();
    void pop_ShowClick();
    void N29Click();
    void N13Click();
    void Saveframes1Click();
    void pg1Change();

    // Monitoring control.
    void SpeedButton1Click();
    void SpeedButton3Click();
    void SpeedButton4Click();
    void SpeedButton5Click();
    void BitBtn1Click();
    void BitBtn2Click();
    void BitBtn3Click();
    void BitBtn4Click();
    void Button3Click();
    void Button4Click();
    void Button5Click();
    void Button6Click();
    void BitBtn7Click();
    void BitBtn8Click();
    void BitBtn10Click();
    void BitBtn11Click();
    void Timer1Timer();

    // Frame handlers, one per camera.
    void ImageEnView1DShowNewFrame();
    void ImageEnView2DShowNewFrame();
    void ImageEnView3DShowNewFrame();
    void ImageEnView4DShowNewFrame();

    // Camera state other parts read.
    CameraCapture &capture(int camera) const;
    bool cameraOpened(int camera) const;
    QString sameNameCameras() const;

    // Layout and zoom.
    void BitBtn9Click();
    void selectPane(int paneCode);
    void BitBtn17Click();
    void SpeedButton10Click();
    void TrackBar1Change();
    void SpeedButton11Click();
    void BitBtn18Click();

    // Recording channel k: camera 1's own, cameras 2 to 4 on their forms.
    RecordingChannel &channel(int camera);
    // The pause between stop and start of a rotation.
    void setRotationPauseMs(int pauseMs);

    // Recording control, rotation and reclaim.
    void BitBtn5Click();
    void BitBtn6Click();
    void TxstwoTimer();
    void typdelTimer();

    // Snapshots.
    void BitBtn15Click();
    void BitBtn16Click();
    void ImageEnMView1DblClick();

    // Query page.
    void SpeedButton12Click();
    void SpeedButton6Click();
    void SpeedButton7Click();
    void SpeedButton8Click();
    void SpeedButton9Click();
    void DBGrid1CtrlDelete();
    void Edit9Enter();
    void Edit9Exit();
    void Edit10Enter();
    void Edit10Exit();
    void BitBtn13Click();
    void BitBtn14Click();

    // The status bar line: monitoring state and the file each camera records into.
    void updateStatusLine();
    QString statusLineText();

    // Controls, named as the operator's documentation names them.
    QTabWidget *pg1 = nullptr;
    QWidget *TabSheet1 = nullptr;
    QWidget *TabSheet2 = nullptr;
    QWidget *Panel1 = nullptr;
    DisplayArea *Panel2 = nullptr;
    std::array<QPushButton *, 4> cameraSettingsButtons{}; // Button3..Button6
    QPushButton *BitBtn10 = nullptr;
    QPushButton *BitBtn11 = nullptr;
    QPushButton *BitBtn12 = nullptr;
    QPushButton *BitBtn15 = nullptr;
    QLabel *Label6 = nullptr;
    QPushButton *BitBtn16 = nullptr;
    QPushButton *BitBtn17 = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *BitBtn18 = nullptr;
    SnapshotGallery *ImageEnMView1 = nullptr;
    // Never shown: operations other code invokes by clicking them.
    QWidget *hiddenControls = nullptr;
    std::array<QPushButton *, 4> cameraOpenButtons{};  // SpeedButton1, 3, 4, 5
    std::array<QPushButton *, 4> cameraCloseButtons{}; // BitBtn1..BitBtn4
    QPushButton *BitBtn5 = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QPushButton *BitBtn7 = nullptr;
    QPushButton *BitBtn8 = nullptr;
    QPushButton *BitBtn9 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QListWidget *ListBox1 = nullptr;
    // Query page.
    QComboBox *ComboBox3 = nullptr;
    QLineEdit *Edit9 = nullptr;
    QLineEdit *Edit10 = nullptr;
    QPushButton *BitBtn13 = nullptr;
    QPushButton *BitBtn14 = nullptr;
    QPushButton *SpeedButton12 = nullptr;
    QPushButton *SpeedButton6 = nullptr;
    QPushButton *SpeedButton7 = nullptr;
    QPushButton *SpeedButton8 = nullptr;
    QPushButton *SpeedButton9 = nullptr;
    QLabel *Label11 = nullptr;
    QTableView *DBGrid1 = nullptr;
    // Menu, tray and timers.
    QAction *Saveframes1 = nullptr;
    QSystemTrayIcon *TrayNotifyIcon1 = nullptr;
    QMenu *main_pop = nullptr;
    QAction *pop_Show = nullptr;
    QAction *N29 = nullptr;
    QAction *N13 = nullptr;
    QTimer *typdel = nullptr;
    QTimer *Timer1 = nullptr;
    QTimer *Txstwo = nullptr;
    QLabel *statusLine = nullptr;
    QTimer *statusRefresh = nullptr;

signals:
    // The window's close handling has finished; the program entry ends the run.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildMenu();
    void buildMonitoringPage();
    QWidget *buildControlPanel();
    void buildQueryPage();
    void buildTray();
    void buildTimers();
    void connectCommands();
    bool trayAvailable() const;
    void createControllers();
    void blankPanesForOpen(int camera);
    void showCameraSettings(int camera);
    void showFrame(int camera, const QImage &picture, const QImage &stamped, qint64 capturedAtNs);
    void createBrowser();

    MainWindowServices services_;
    Prompter &prompter_;
    Tdbhouse *dbhouse_ = nullptr;
    bool endingRun_ = false;
    FrameSlots frameSlots_;
    std::unique_ptr<DesktopOpener> ownDesktopOpener_;
    std::unique_ptr<SnapshotController> snapshots_;
    std::unique_ptr<DatePicker> ownDatePicker_;
    std::unique_ptr<DeletionProgressDialog> deletionProgress_;
    std::unique_ptr<RecordingBrowser> browser_;
    bool firstShowingDone_ = false;
    std::unique_ptr<MonitoringControl> monitoring_;
    std::unique_ptr<RecordingChannel> channel1_;
    ChannelPanel *channel1Panel_ = nullptr;
    std::unique_ptr<RecordingControl> recording_;
    std::unique_ptr<FileRotation> rotation_;
    std::unique_ptr<DiskReclaim> reclaim_;
};
