#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <QObject>
#include <QSize>

#include <memory>

// The capture object of one camera channel: binds a device, connects it
// (reads its formats), runs it at a capture size and announces its frames on
// the GUI thread. Used from the GUI thread only.
class CameraCapture : public QObject
{
    Q_OBJECT

public:
    explicit CameraCapture(CaptureBackend *backend = nullptr, QObject *parent = nullptr);
    ~CameraCapture() override;

    void setBackend(CaptureBackend *backend);
    CaptureBackend *backend() const { return backend_; }

    // Friendly names of the video input devices, in enumeration order.
    QStringList deviceNames() const;

    // Binds the instance-th device (from 0) among those named like the device at
    // position; out of range binds none. Takes effect at the next connect.
    void selectInput(int position, int instance);
    // Index of the bound device in deviceNames(), or -1.
    int boundDeviceIndex() const { return boundDeviceIndex_; }

    // Frames are announced only while sample grabbing is on.
    void setSampleGrabbing(bool enabled) { sampleGrabbing_ = enabled; }
    bool sampleGrabbing() const { return sampleGrabbing_; }

    bool isConnected() const { return connected_; }
    // Makes the bound device ready and reads its formats; throws AppError.
    void connectDevice();
    // The connected device's formats, in the device's order; empty when not connected.
    QList<VideoFormat> videoFormats() const { return formats_; }

    // Size of the pictures of the next run; throws AppError when not connected
    // or the size is not positive.
    void setCaptureSize(int width, int height);
    QSize captureSize() const { return captureSize_; }

    // Starts capture (the size set, else the first format's); throws AppError.
    void run();
    bool isRunning() const { return session_ != nullptr; }

    // Stops capture and releases the device; harmless when not connected.
    void disconnectDevice();

    // The newest frame since the last take; an empty image when there is none.
    CapturedFrame takeLatestFrame();
    // Frames of the current run that were replaced before being taken.
    quint64 droppedFrameCount() const;

signals:
    // A new frame waits; at most one of these is pending at any time.
    void frameReady();
    // The running device failed (unplugged, say); sent once per run.
    void captureEnded(const QString &reason);

private:
    void onSessionFrameReady();
    void onSessionEnded(const QString &reason);
    void releaseSession();

    CaptureBackend *backend_ = nullptr;
    int boundDeviceIndex_ = -1;
    bool sampleGrabbing_ = false;
    bool connected_ = false;
    QList<VideoFormat> formats_;
    QSize captureSize_;
    std::unique_ptr<CaptureSession> session_;
};
