#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <QObject>
#include <QSize>
#include <QTimer>

#include <memory>

// The capture object of one camera channel: binds a device, connects it
// (reads its formats), runs it at a capture size and announces its frames on
// the GUI thread. Used from the GUI thread only.
//
// A running camera whose capture ends (unplugged, driver failure) or that
// sends no picture for noPictureTimeoutMs() is lost: its session is released,
// it stays connected and bound to the same physical device, and signalLost()
// is sent once. tryReconnect() looks for that device again; once it delivers a
// picture the camera runs again and signalRestored() is sent.
class CameraCapture : public QObject
{
    Q_OBJECT

public:
    // How long a running camera may stay without a picture before it counts as lost.
    static constexpr int defaultNoPictureTimeoutMs = 2000;

    explicit CameraCapture(CaptureBackend *backend = nullptr, QObject *parent = nullptr);
    ~CameraCapture() override;

    void setBackend(CaptureBackend *backend);
    CaptureBackend *backend() const { return backend_; }

    // Friendly names of the video input devices, in enumeration order.
    QStringList deviceNames() const;

    // Binds the instance-th device (from 0) among those named like the device at
    // position; out of range binds none. Takes effect at the next connect.
    void selectInput(int position, int instance);
    // Index of the bound device in the backend's latest enumeration, or -1 when
    // none is bound or it is not in that enumeration.
    int boundDeviceIndex() const;
    // The bound device's identity (its USB port, say); empty when none is bound.
    QString boundDeviceIdentity() const { return boundIdentity_; }

    // Frames are announced only while sample grabbing is on.
    void setSampleGrabbing(bool enabled) { sampleGrabbing_ = enabled; }
    bool sampleGrabbing() const { return sampleGrabbing_; }

    // 0 or less: a camera that stops sending is never declared lost.
    void setNoPictureTimeoutMs(int timeoutMs);
    int noPictureTimeoutMs() const { return noPictureTimeoutMs_; }

    bool isConnected() const { return connected_; }
    // Makes the bound device ready and reads its formats; throws AppError.
    void connectDevice();
    // The connected device's formats, in the device's order; empty when not connected.
    QList<VideoFormat> videoFormats() const { return formats_; }

    // Size of the pictures of the next run; throws AppError when not connected
    // or the size is not positive.
    void setCaptureSize(int width, int height);
    QSize captureSize() const { return captureSize_; }

    // Starts capture (the size set, else the first format's) and waits for the
    // device to open; throws AppError. A lost camera that opens runs again
    // (signalRestored()); one that fails stays lost.
    void run();
    // Running and not lost.
    bool isRunning() const { return session_ && !lost_; }

    // Lost while running, not yet restored; cleared by disconnectDevice().
    bool isLost() const { return lost_; }
    // A lost camera whose device has been found again and is starting.
    bool isReconnecting() const { return lost_ && session_; }
    // For a lost camera: enumerates the devices again and, when the bound device
    // is present (under any index), starts it at the size of the lost run
    // without waiting for it. True when an attempt started; false when the
    // camera is not lost, an attempt is still under way, or the device is not
    // back. The attempt succeeds with the first picture (signalRestored()); a
    // device that fails or stays silent for noPictureTimeoutMs() leaves the
    // camera lost, quietly, ready for the next try.
    bool tryReconnect();

    // Stops capture and releases the device; harmless when not connected.
    void disconnectDevice();

    // The newest frame since the last take; an empty image when there is none.
    CapturedFrame takeLatestFrame();
    // Frames of the current run that were replaced before being taken.
    quint64 droppedFrameCount() const;

signals:
    // A new frame waits; at most one of these is pending at any time.
    void frameReady();
    // The running camera was lost; sent once per loss.
    void signalLost(const QString &reason);
    // A lost camera delivers pictures again.
    void signalRestored();

private:
    void adoptSession(std::unique_ptr<CaptureSession> session);
    void onSessionFrameReady();
    void onSessionEnded(const QString &reason);
    void onNoPictureTimeout();
    void enterLost(const QString &reason);
    void releaseSession();
    void restartWatchdog();

    CaptureBackend *backend_ = nullptr;
    QString boundIdentity_;
    bool sampleGrabbing_ = false;
    bool connected_ = false;
    bool lost_ = false;
    QList<VideoFormat> formats_;
    QSize captureSize_;
    QSize sessionSize_;   // size of the latest run, kept for reconnecting
    std::unique_ptr<CaptureSession> session_;
    QTimer watchdog_;
    int noPictureTimeoutMs_ = defaultNoPictureTimeoutMs;
    quint64 framesSeenByWatchdog_ = 0;
};
