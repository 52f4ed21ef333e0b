#include "monitor/capture/CaptureSession.h"

#include "common/SteadyClock.h"

#include <QMetaObject>

CaptureSession::CaptureSession(QSize frameSize, QObject *parent)
    : QObject(parent)
    , frameSize_(frameSize)
    , mailbox_([this] {
          // Queued to this object, which lives on the GUI thread.
          QMetaObject::invokeMethod(this, [this] { emit frameReady(); }, Qt::QueuedConnection);
      })
{
}

CaptureSession::~CaptureSession() = default;

CapturedFrame CaptureSession::takeLatestFrame()
{
    return mailbox_.take().value_or(CapturedFrame{});
}

void CaptureSession::publishFrame(QImage image)
{
    CapturedFrame frame;
    frame.image = std::move(image);
    frame.capturedAtNs = steadyNowNs();
    frame.sequence = nextSequence_.fetch_add(1);
    mailbox_.post(std::move(frame));
}

void CaptureSession::reportEnded(const QString &reason)
{
    if (endReported_.exchange(true))
        return;
    QMetaObject::invokeMethod(
        this,
        [this, reason] {
            endedDelivered_ = true;
            emit ended(reason);
        },
        Qt::QueuedConnection);
}
