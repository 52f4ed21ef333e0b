#pragma once

#include "monitor/capture/CaptureTypes.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <memory>

class CameraCapture;
class CaptureBackend;
class Clock;
class FrameSlots;
class QTimer;

// Monitoring control: the four cameras, the device list, which device each
// camera takes (the same-name rule), camera open and close, monitoring start
// and stop, auto start, and the path of each frame to its frame slot. It
// holds no widgets: the window lays out panes and paints pictures when told.
class MonitoringControl : public QObject
{
    Q_OBJECT
public:
    // What the window needs from monitoring start and stop besides the cameras.
    struct Hooks
    {
        std::function<void()> layOutPanes;          // before the cameras open
        std::function<void(int camera)> blankPanes; // an open of this camera begins
        std::function<void()> afterStart;           // recording start, the last step of a start
        std::function<void()> beforeStop;           // recording stop, before the cameras close
    };

    // A lost camera is tried again this often while monitoring is on.
    static constexpr int retryIntervalMs = 2000;
    // A lost camera's "no signal" picture is renewed this often, so its time stamp runs on.
    static constexpr int noSignalRefreshMs = 200;

    MonitoringControl(CaptureBackend *backend, FrameSlots &frameSlots, const Clock &clock);
    ~MonitoringControl() override;

    void setHooks(Hooks hooks) { hooks_ = std::move(hooks); }

    // The device list and camera 1's formats ("name WxH"), read again; a camera 1
    // that is running is read, not stopped. The first device and format become current.
    void refreshDevices();
    QStringList deviceNames() const { return deviceNames_; }
    QStringList formatTexts() const { return formatTexts_; }
    // The position of the format every open uses, or -1 when there is none.
    int formatPosition() const { return formatPosition_; }

    // Monitoring start: lay out, open cameras 1 to the count, then the afterStart hook.
    void start();
    // Monitoring stop: the beforeStop hook, then cameras 1 to the count close.
    void stop();
    bool monitoringOn() const { return monitoringOn_; }
    // Auto start after start-up: a start when strqyjkz is "Y".
    void autoStart();

    // Opens camera N at the current format's size; a failure only clears its opened flag.
    void openCamera(int camera);
    // Closes camera N; its opened flag and last picture stay.
    void closeCamera(int camera);
    // Lays out the panes and opens the cameras for the count.
    void openCamerasForCount();
    // Closes the cameras for the count.
    void closeCamerasForCount();
    // Binds and connects camera N (without running it) for its device dialog; throws AppError.
    void prepareCamera(int camera);

    // Takes camera N's newest frame: stamps it with the date and time, publishes
    // it to frame slot N and announces it.
    void takeFrame(int camera);

    // Cameras that stopped sending while monitoring is on, in ascending order.
    QList<int> lostCameras() const;
    // For tests: how long a silent camera counts as sending, and how often a lost one is retried.
    void setNoPictureTimeoutMs(int timeoutMs);
    void setRetryIntervalMs(int intervalMs);

    CameraCapture &capture(int camera) const { return *captures_.at(camera - 1); }
    bool cameraOpened(int camera) const { return cameraOpened_.at(camera - 1); }
    // "1" when the first device's name carries the marker of identical cameras, else "0".
    QString sameNameCameras() const { return sameNameCameras_; }

signals:
    // Monitoring was switched on or off.
    void monitoringChanged(bool on);
    // A frame of camera N: the picture as captured for the panes, and the stamped one.
    void framePresented(int camera, const QImage &picture, const QImage &stamped, qint64 capturedAtNs);
    // Camera N stopped sending (device gone, read error, silence); it is retried by itself.
    void cameraLost(int camera);
    // Camera N sends again.
    void cameraRestored(int camera);

private:
    void connectFrameHandlers();
    void onSignalLost(int camera);
    void onSignalRestored(int camera);
    void presentNoSignal(int camera);
    void endLoss(int camera);
    void publish(int camera, const QImage &picture, qint64 capturedAtNs);

    FrameSlots &frameSlots_;
    const Clock &clock_;
    Hooks hooks_;
    std::array<std::unique_ptr<CameraCapture>, 4> captures_;
    std::array<bool, 4> cameraOpened_{};
    std::array<QImage, 4> lastPictures_;
    std::array<QImage, 4> noSignalPictures_; // made once per loss, stamped at each renewal
    std::array<std::unique_ptr<QTimer>, 4> retryTimers_;
    std::array<std::unique_ptr<QTimer>, 4> noSignalTimers_;
    QStringList deviceNames_;
    QStringList formatTexts_;
    int formatPosition_ = -1;
    bool monitoringOn_ = false;
    QString sameNameCameras_ = "0";
};
