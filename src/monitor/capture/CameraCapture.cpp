#include "monitor/capture/CameraCapture.h"

#include "common/AppError.h"

CameraCapture::CameraCapture(CaptureBackend *backend, QObject *parent)
    : QObject(parent)
    , backend_(backend)
{
}

CameraCapture::~CameraCapture()
{
    if (session_)
        session_->stop();
}

void CameraCapture::setBackend(CaptureBackend *backend)
{
    disconnectDevice();
    backend_ = backend;
    boundDeviceIndex_ = -1;
}

QStringList CameraCapture::deviceNames() const
{
    return backend_ ? backend_->deviceNames() : QStringList();
}

void CameraCapture::selectInput(int position, int instance)
{
    boundDeviceIndex_ = -1;
    const QStringList names = deviceNames();
    if (position < 0 || position >= names.size() || instance < 0)
        return;
    int seen = 0;
    for (int index = 0; index < names.size(); ++index) {
        if (names[index] != names[position])
            continue;
        if (seen == instance) {
            boundDeviceIndex_ = index;
            return;
        }
        ++seen;
    }
}

void CameraCapture::connectDevice()
{
    if (connected_)
        return;
    if (!backend_ || boundDeviceIndex_ < 0)
        throw AppError(QStringLiteral("没有选择视频设备"));
    formats_ = backend_->formats(boundDeviceIndex_);
    connected_ = true;
}

void CameraCapture::setCaptureSize(int width, int height)
{
    if (!connected_)
        throw AppError(QStringLiteral("视频设备未连接"));
    if (width <= 0 || height <= 0)
        throw AppError(QStringLiteral("无效的分辨率 %1x%2").arg(width).arg(height));
    captureSize_ = QSize(width, height);
}

void CameraCapture::run()
{
    if (!connected_)
        throw AppError(QStringLiteral("视频设备未连接"));
    if (session_)
        return;
    QSize size = captureSize_;
    if (!size.isValid()) {
        if (formats_.isEmpty())
            throw AppError(QStringLiteral("视频设备没有可用的格式"));
        size = QSize(formats_.first().maxWidth, formats_.first().maxHeight);
    }
    session_ = backend_->openSession(boundDeviceIndex_, size);
    connect(session_.get(), &CaptureSession::frameReady, this, &CameraCapture::onSessionFrameReady);
    connect(session_.get(), &CaptureSession::ended, this, &CameraCapture::onSessionEnded);
}

void CameraCapture::disconnectDevice()
{
    releaseSession();
    connected_ = false;
    formats_.clear();
    captureSize_ = QSize();
}

// Stops the thread now; the object itself goes later, because this may run
// inside one of its own signals (a frame handler that closes the camera).
void CameraCapture::releaseSession()
{
    if (!session_)
        return;
    session_->stop();
    session_->disconnect(this);
    session_.release()->deleteLater();
}

CapturedFrame CameraCapture::takeLatestFrame()
{
    return session_ ? session_->takeLatestFrame() : CapturedFrame{};
}

quint64 CameraCapture::droppedFrameCount() const
{
    return session_ ? session_->droppedFrameCount() : 0;
}

// Passes a session's frame notice on while sample grabbing is on; otherwise
// empties the mailbox so that notices keep coming once grabbing is switched on.
void CameraCapture::onSessionFrameReady()
{
    if (sampleGrabbing_)
        emit frameReady();
    else
        session_->takeLatestFrame();
}

// Drops the failed session (still connected, no longer running) and reports it once.
void CameraCapture::onSessionEnded(const QString &reason)
{
    releaseSession();
    emit captureEnded(reason);
}
