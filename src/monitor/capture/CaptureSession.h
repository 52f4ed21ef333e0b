#pragma once

#include "monitor/capture/CaptureTypes.h"
#include "monitor/capture/FrameMailbox.h"

#include <QObject>
#include <QSize>

#include <atomic>

// One open device delivering frames. Created and used on the GUI thread;
// frames may be published from any thread (a capture thread, a test) and are
// announced on the GUI thread. Notifications still queued when the session is
// destroyed are discarded with it, so a closed camera never reports again.
class CaptureSession : public QObject
{
    Q_OBJECT

public:
    ~CaptureSession() override;

    QSize frameSize() const { return frameSize_; }

    // Ends capture and waits for it: no frame is published after this returns.
    // Idempotent; the destructor does it too.
    virtual void stop() {}

    // The newest frame since the last take; an empty image when none arrived.
    CapturedFrame takeLatestFrame();

    // Frames published so far, taken or not (any thread).
    quint64 publishedFrameCount() const { return nextSequence_.load() - 1; }

    // Frames replaced in the mailbox before anyone took them.
    quint64 droppedFrameCount() const { return mailbox_.droppedFrameCount(); }

    // True once ended() has been delivered on the GUI thread.
    bool hasEnded() const { return endedDelivered_; }

signals:
    // A frame waits in the mailbox; never more than one of these is queued.
    void frameReady();
    // The device failed while running; sent once, then no more frames come.
    void ended(const QString &reason);

protected:
    explicit CaptureSession(QSize frameSize, QObject *parent = nullptr);

    // Any thread: stamp the picture with the time and sequence and post it.
    void publishFrame(QImage image);
    // Any thread: report the end of capture; later calls do nothing.
    void reportEnded(const QString &reason);

private:
    QSize frameSize_;
    FrameMailbox mailbox_;
    std::atomic<quint64> nextSequence_{1};
    std::atomic<bool> endReported_{false};
    bool endedDelivered_ = false;
};
