#pragma once

#include "monitor/capture/CaptureBackend.h"

#include <QPointer>

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
};

// Scripted devices for tests of code above the capture backend.
class FakeCaptureBackend final : public CaptureBackend
{
public:
    enum class Failure { None, AtConnect, AtRun };

    // Adds a device at the end of the enumeration; returns its index.
    int addDevice(const QString &name, const QList<VideoFormat> &formats = {{"RGB", 640, 480}},
                  const QList<DeviceControl> &controls = {});
    void removeAllDevices();
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
    QList<VideoFormat> formats(int deviceIndex) override;
    std::unique_ptr<CaptureSession> openSession(int deviceIndex, QSize size) override;
    QList<DeviceControl> controls(int deviceIndex) override;
    void setControl(int deviceIndex, quint32 controlId, int value) override;
    QString deviceDescription(int deviceIndex) override;

private:
    struct Device
    {
        QString name;
        QList<VideoFormat> formats;
        QList<DeviceControl> controls;
        Failure failure = Failure::None;
        QPointer<FakeCaptureSession> session;
    };

    Device &device(int deviceIndex);
    const Device &device(int deviceIndex) const;

    QList<Device> devices_;
    int openSessionCount_ = 0;
    bool refusesControlChanges_ = false;
    QSize lastOpenedSize_;
};
