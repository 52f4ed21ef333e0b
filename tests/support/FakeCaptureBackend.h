#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <QPointer>
#include <QTimer>

// A session whose frames are handed in by the test, from any thread.
class FakeCaptureSession final : public CaptureSession
{
    Q_OBJECT

public:
    explicit FakeCaptureSession(QSize frameSize, QObject *parent = nullptr);

    // Publishes the picture as a captured frame (any thread).
    void deliverFrame(const QImage &picture);
    // Publishes a picture of the session's size filled with one colour (any thread).
    void deliverFrame(QColor fill = Qt::gray);
    // The device "fails" while running: ended() follows once (any thread).
    void failWhileRunning(const QString &reason = QStringLiteral("设备已断开"));

    // Delivers a grey picture every intervalMs on its own (GUI thread), as a
    // working camera does; 0 stops that.
    void deliverEvery(int intervalMs);
    // Stops delivering without ending, as a camera that hangs does.
    void stall() { deliverEvery(0); }

private:
    QTimer deliveryTimer_;
};

// Scripted devices for tests of code above the capture backend.
class FakeCaptureBackend final : public CaptureBackend
{
public:
    enum class Failure { None, AtConnect, AtRun };

    // Adds a device at the end of the enumeration; returns its index. Its
    // identity is "fake:N", N counting devices added since the start or the
    // last removeAllDevices(), unless one is given.
    int addDevice(const QString &name, const QList<VideoFormat> &formats = {{"RGB", 640, 480}},
                  const QList<DeviceControl> &controls = {}, const QString &identity = {});
    void removeAllDevices();
    // The device is pulled: its session ends with a read error and it leaves
    // the enumeration (the devices after it move up), kept aside by identity.
    void unplug(int deviceIndex);
    // Plugs a pulled device in again at atIndex (-1: at the end); returns its index.
    int replug(const QString &identity, int atIndex = -1);
    // Sessions opened from now on deliver a picture every intervalMs by
    // themselves; 0 (the default): only the pictures the test hands in.
    void setFrameIntervalMs(int intervalMs) { frameIntervalMs_ = intervalMs; }
    // AtConnect: formats() throws; AtRun: openSession() throws.
    void setFailure(int deviceIndex, Failure failure);
    // setControl() throws, as a device that refuses a value does.
    void setRefusesControlChanges(bool refuses) { refusesControlChanges_ = refuses; }

    // The device's open session, or null when it has none (or it was destroyed).
    FakeCaptureSession *session(int deviceIndex) const;
    int openSessionCount() const { return openSessionCount_; }
    QSize lastOpenedSize() const { return lastOpenedSize_; }
    int controlValue(int deviceIndex, quint32 controlId) const;

    QStringList deviceNames() override;
    QStringList deviceIdentities() override;
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

private:
    struct Device
    {
        QString name;
        QString identity;
        QList<VideoFormat> formats;
        QList<DeviceControl> controls;
        Failure failure = Failure::None;
        QPointer<FakeCaptureSession> session;
    };

    Device &device(int deviceIndex);
    const Device &device(int deviceIndex) const;

    QList<Device> devices_;
    QList<Device> unplugged_;
    int devicesAdded_ = 0;
    int frameIntervalMs_ = 0;
    int openSessionCount_ = 0;
    bool refusesControlChanges_ = false;
    QSize lastOpenedSize_;
};
