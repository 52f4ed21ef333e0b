#include "monitor/MonitoringControl.h"

#include "common/AppError.h"
#include "common/Clock.h"
#include "common/CommandGuard.h"
#include "common/DateText.h"
#include "common/FrameSlots.h"
#include "monitor/FrameStamp.h"
#include "monitor/NoSignalPicture.h"
#include "monitor/capture/CameraCapture.h"
#include "settings/CameraCount.h"
#include "settings/TGlobal.h"

#include <QTimer>

namespace {

// Upper-cases ASCII letters only, as the device-name test asks.
QString asciiUpper(QString text)
{
    for (QChar &c : text) {
        if (c >= 'a' && c <= 'z')
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

// Identical cameras show up under this name; they are then told apart by their instance.
const QString identicalCamerasMarker = QStringLiteral("USB 视频设备");

} // namespace

MonitoringControl::MonitoringControl(CaptureBackend *backend, FrameSlots &frameSlots, const Clock &clock)
    : frameSlots_(frameSlots), clock_(clock)
{
    for (auto &capture : captures_)
        capture = std::make_unique<CameraCapture>(backend);
    for (int camera = 1; camera <= 4; ++camera) {
        auto &retry = retryTimers_[camera - 1];
        retry = std::make_unique<QTimer>();
        retry->setInterval(retryIntervalMs);
        connect(retry.get(), &QTimer::timeout, this, [this, camera] { capture(camera).tryReconnect(); });
        auto &refresh = noSignalTimers_[camera - 1];
        refresh = std::make_unique<QTimer>();
        refresh->setInterval(noSignalRefreshMs);
        connect(refresh.get(), &QTimer::timeout, this, [this, camera] { presentNoSignal(camera); });
    }
    connectFrameHandlers();
}

MonitoringControl::~MonitoringControl()
{
    // Capture threads end before anything they feed goes.
    for (auto &capture : captures_)
        capture->disconnectDevice();
}

void MonitoringControl::connectFrameHandlers()
{
    for (int camera = 1; camera <= 4; ++camera) {
        CameraCapture *c = &capture(camera);
        connect(c, &CameraCapture::frameReady, this, [this, camera] { takeFrame(camera); });
        connect(c, &CameraCapture::signalLost, this, [this, camera] { onSignalLost(camera); });
        connect(c, &CameraCapture::signalRestored, this, [this, camera] { onSignalRestored(camera); });
    }
}

QList<int> MonitoringControl::lostCameras() const
{
    QList<int> lost;
    for (int camera = 1; camera <= 4; ++camera) {
        if (capture(camera).isLost())
            lost << camera;
    }
    return lost;
}

void MonitoringControl::setNoPictureTimeoutMs(int timeoutMs)
{
    for (auto &c : captures_)
        c->setNoPictureTimeoutMs(timeoutMs);
}

void MonitoringControl::setRetryIntervalMs(int intervalMs)
{
    for (auto &timer : retryTimers_)
        timer->setInterval(intervalMs);
}

// A camera that stops sending is shown and recorded as lost at once, and tried
// again by itself; nobody may be at the screen to notice or answer a box.
void MonitoringControl::onSignalLost(int camera)
{
    noSignalPictures_[camera - 1] = noSignalPicture(lastPictures_[camera - 1], capture(camera).captureSize(), camera);
    presentNoSignal(camera);
    noSignalTimers_[camera - 1]->start();
    retryTimers_[camera - 1]->start();
    emit cameraLost(camera);
}

void MonitoringControl::onSignalRestored(int camera)
{
    endLoss(camera);
    emit cameraRestored(camera);
}

void MonitoringControl::endLoss(int camera)
{
    retryTimers_[camera - 1]->stop();
    noSignalTimers_[camera - 1]->stop();
}

// The last picture dimmed with the camera's "no signal" text, stamped with the
// running time: the recording goes on at its pace and shows when the loss began and ended.
void MonitoringControl::presentNoSignal(int camera)
{
    publish(camera, noSignalPictures_[camera - 1], 0);
}

void MonitoringControl::refreshDevices()
{
    CameraCapture &camera1 = capture(1);
    deviceNames_ = camera1.deviceNames();

    const bool wasConnected = camera1.isConnected();
    runQuietly([this] { prepareCamera(1); });
    formatTexts_.clear();
    for (const VideoFormat &format : camera1.videoFormats())
        formatTexts_ << QString("%1 %2x%3").arg(format.name).arg(format.maxWidth).arg(format.maxHeight);
    formatPosition_ = formatTexts_.isEmpty() ? -1 : 0;
    if (!wasConnected)
        camera1.disconnectDevice();
}

void MonitoringControl::prepareCamera(int camera)
{
    CameraCapture &c = capture(camera);
    if (c.isConnected())
        return;
    if (camera == 1)
        c.selectInput(0, 0);
    else if (sameNameCameras_ == "0")
        c.selectInput(camera - 1, 0);
    else
        c.selectInput(0, camera - 1);
    c.setSampleGrabbing(true);
    c.connectDevice();
}

void MonitoringControl::openCamera(int camera)
{
    if (hooks_.blankPanes)
        hooks_.blankPanes(camera);
    cameraOpened_[camera - 1] = true;
    const bool opened = runQuietly([this, camera] {
        prepareCamera(camera);
        CameraCapture &c = capture(camera);
        const QList<VideoFormat> formats = c.videoFormats();
        if (formatPosition_ < 0 || formatPosition_ >= formats.size())
            throw AppError(QStringLiteral("摄像头%1没有第%2种格式").arg(camera).arg(formatPosition_ + 1));
        c.setCaptureSize(formats[formatPosition_].maxWidth, formats[formatPosition_].maxHeight);
        c.run();
    });
    if (!opened)
        cameraOpened_[camera - 1] = false;
}

void MonitoringControl::closeCamera(int camera)
{
    endLoss(camera);
    capture(camera).disconnectDevice();
}

void MonitoringControl::openCamerasForCount()
{
    if (hooks_.layOutPanes)
        hooks_.layOutPanes();
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera)
        openCamera(camera);
}

void MonitoringControl::closeCamerasForCount()
{
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera)
        closeCamera(camera);
}

void MonitoringControl::start()
{
    sameNameCameras_ = asciiUpper(deviceNames_.value(0)).contains(identicalCamerasMarker) ? "1" : "0";
    monitoringOn_ = true;
    emit monitoringChanged(true);
    openCamerasForCount();
    if (hooks_.afterStart)
        hooks_.afterStart();
}

void MonitoringControl::stop()
{
    monitoringOn_ = false;
    emit monitoringChanged(false);
    if (hooks_.beforeStop)
        hooks_.beforeStop();
    closeCamerasForCount();
}

void MonitoringControl::autoStart()
{
    if (GlobalSettings->strqyjkz == "Y")
        start();
}

void MonitoringControl::takeFrame(int camera)
{
    CapturedFrame frame = capture(camera).takeLatestFrame();
    if (frame.image.isNull())
        return;
    lastPictures_[camera - 1] = frame.image;
    publish(camera, frame.image, frame.capturedAtNs);
}

void MonitoringControl::publish(int camera, const QImage &picture, qint64 capturedAtNs)
{
    // Drawing on the shared picture makes it a copy of its own, so the panes keep theirs unstamped.
    QImage stamped = picture;
    drawTimeStamp(stamped, DateText::fromDateTime(clock_.now()));
    frameSlots_.slot(camera).publish(stamped);
    emit framePresented(camera, picture, stamped, capturedAtNs);
}
