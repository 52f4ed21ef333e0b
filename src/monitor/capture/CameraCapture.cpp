#include "monitor/capture/CameraCapture.h"

#include "common/AppError.h"

CameraCapture::CameraCapture(CaptureBackend *backend, QObject *parent)
    : QObject(parent)
    , backend_(backend)
{
    watchdog_.setSingleShot(true);
    watchdog_.setInterval(noPictureTimeoutMs_);
    connect(&watchdog_, &QTimer::timeout, this, &CameraCapture::onNoPictureTimeout);
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
    boundIdentity_.clear();
}

QStringList CameraCapture::deviceNames() const
{
    return backend_ ? backend_->deviceNames() : QStringList();
}

void CameraCapture::selectInput(int position, int instance)
{
    boundIdentity_.clear();
    const QStringList names = deviceNames();
    if (position < 0 || position >= names.size() || instance < 0)
        return;
    int seen = 0;
    for (int index = 0; index < names.size(); ++index) {
        if (names[index] != names[position])
            continue;
        if (seen == instance) {
            boundIdentity_ = backend_->deviceIdentities().value(index);
            return;
        }
        ++seen;
    }
}

// Found by identity, so that the index stays right when another camera's
// reconnect enumerates the devices again and the indices move.
int CameraCapture::boundDeviceIndex() const
{
    if (!backend_ || boundIdentity_.isEmpty())
        return -1;
    return int(backend_->deviceIdentities().indexOf(boundIdentity_));
}

void CameraCapture::setNoPictureTimeoutMs(int timeoutMs)
{
    noPictureTimeoutMs_ = timeoutMs;
    if (timeoutMs > 0)
        watchdog_.setInterval(timeoutMs);
    restartWatchdog();
}

void CameraCapture::connectDevice()
{
    if (connected_)
        return;
    const int index = boundDeviceIndex();
    if (!backend_ || index < 0)
        throw AppError(QStringLiteral("没有选择视频设备"));
    formats_ = backend_->formats(index);
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
    if (isRunning())
        return;
    QSize size = captureSize_;
    if (!size.isValid()) {
        if (formats_.isEmpty())
            throw AppError(QStringLiteral("视频设备没有可用的格式"));
        size = QSize(formats_.first().maxWidth, formats_.first().maxHeight);
    }
    // A reconnect attempt holds the device; a camera opens only once.
    releaseSession();
    const int index = boundDeviceIndex();
    if (index < 0)
        throw AppError(QStringLiteral("视频设备已断开"));
    adoptSession(backend_->openSession(index, size));
    sessionSize_ = size;
    if (lost_) {
        lost_ = false;
        emit signalRestored();
    }
}

bool CameraCapture::tryReconnect()
{
    if (!lost_ || session_ || !backend_)
        return false;
    try {
        backend_->deviceNames();   // it may be back under another node and index
        const int index = boundDeviceIndex();
        if (index < 0)
            return false;
        adoptSession(backend_->openSessionInBackground(index, sessionSize_));
    } catch (const AppError &) {
        return false;   // not startable yet; the next try may succeed
    }
    return true;
}

void CameraCapture::adoptSession(std::unique_ptr<CaptureSession> session)
{
    session_ = std::move(session);
    connect(session_.get(), &CaptureSession::frameReady, this, &CameraCapture::onSessionFrameReady);
    connect(session_.get(), &CaptureSession::ended, this, &CameraCapture::onSessionEnded);
    framesSeenByWatchdog_ = 0;
    restartWatchdog();
}

void CameraCapture::disconnectDevice()
{
    releaseSession();
    connected_ = false;
    lost_ = false;
    formats_.clear();
    captureSize_ = QSize();
}

// Stops the thread now; the object itself goes later, because this may run
// inside one of its own signals (a frame handler that closes the camera).
void CameraCapture::releaseSession()
{
    watchdog_.stop();
    if (!session_)
        return;
    session_->stop();
    session_->disconnect(this);
    session_.release()->deleteLater();
}

void CameraCapture::restartWatchdog()
{
    if (session_ && noPictureTimeoutMs_ > 0)
        watchdog_.start();
    else
        watchdog_.stop();
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
    if (lost_) {
        // The first picture of a reconnect attempt: the camera is back.
        lost_ = false;
        emit signalRestored();
        if (!session_)
            return;   // closed by a handler of the signal
    }
    framesSeenByWatchdog_ = session_->publishedFrameCount();
    restartWatchdog();
    if (sampleGrabbing_)
        emit frameReady();
    else
        session_->takeLatestFrame();
}

void CameraCapture::onSessionEnded(const QString &reason)
{
    if (lost_) {
        releaseSession();   // a reconnect attempt failed; the camera stays lost
        return;
    }
    enterLost(reason);
}

// Notices come only when the mailbox turns full, so a consumer that has not
// taken the last frame hears of no new ones: the frame count tells whether
// pictures still arrive.
void CameraCapture::onNoPictureTimeout()
{
    if (!session_)
        return;
    const quint64 published = session_->publishedFrameCount();
    if (published != framesSeenByWatchdog_) {
        framesSeenByWatchdog_ = published;
        restartWatchdog();
        return;
    }
    if (lost_) {
        releaseSession();   // the device came back but sends nothing; try again later
        return;
    }
    enterLost(QStringLiteral("%1 毫秒内没有收到画面").arg(noPictureTimeoutMs_));
}

void CameraCapture::enterLost(const QString &reason)
{
    releaseSession();
    lost_ = true;
    emit signalLost(reason);
}
