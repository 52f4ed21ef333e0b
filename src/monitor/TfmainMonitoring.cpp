// The main window's monitoring control: device refresh, camera open and close,
// monitoring start and stop, and the automatic start.
#include "app/Tfmain.h"

#include "common/CommandGuard.h"
#include "monitor/DisplayArea.h"
#include "monitor/ImageView.h"
#include "monitor/capture/CameraCapture.h"
#include "settings/TGlobal.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

namespace {

// The panes an open of the camera blanks.
QList<int> panesBlankedByOpen(int camera)
{
    switch (camera) {
    case 1: return {1};
    case 2: return {21, 22};
    default: return {41, 42, 43, 44};
    }
}

// Upper-cases ASCII letters only, as the device-name test asks.
QString asciiUpper(QString text)
{
    for (QChar &c : text) {
        if (c >= 'a' && c <= 'z')
            c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

} // namespace

int Tfmain::camerasInUse(const QString &cameraCount)
{
    if (cameraCount == "1" || cameraCount == "2" || cameraCount == "3" || cameraCount == "4")
        return cameraCount.toInt();
    return 0;
}

// Each activation of the window refreshes the device list and camera 1's formats.
void Tfmain::FormActivate()
{
    CameraCapture &camera1 = capture(1);
    ComboBox1->clear();
    ComboBox1->addItems(camera1.deviceNames());
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);

    // A camera 1 that is already running (monitoring on) is read, not stopped.
    const bool wasConnected = camera1.isConnected();
    runQuietly([this] { prepareCamera(1); });

    ListBox1->clear();
    for (const VideoFormat &format : camera1.videoFormats())
        ListBox1->addItem(QString("%1 %2x%3").arg(format.name).arg(format.maxWidth).arg(format.maxHeight));
    ListBox1->setCurrentRow(ListBox1->count() > 0 ? 0 : -1);

    if (!wasConnected)
        camera1.disconnectDevice();
}

// Binds camera N to its device by the same-name rule and connects it, unless it is connected.
void Tfmain::prepareCamera(int camera)
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

// Opens camera N at the size of the selected format; a failure only clears its opened flag.
void Tfmain::openCamera(int camera)
{
    for (int code : panesBlankedByOpen(camera))
        Panel2->pane(code)->blank();
    cameraOpened_[camera - 1] = true;
    const bool opened = runQuietly([this, camera] {
        prepareCamera(camera);
        CameraCapture &c = capture(camera);
        const QList<VideoFormat> formats = c.videoFormats();
        const int position = ListBox1->currentRow();
        if (position < 0 || position >= formats.size())
            throw AppError(QStringLiteral("camera %1 offers no format at position %2").arg(camera).arg(position));
        c.setCaptureSize(formats[position].maxWidth, formats[position].maxHeight);
        c.run();
    });
    if (!opened)
        cameraOpened_[camera - 1] = false;
}

// Closes camera N; its opened flag and last picture stay.
void Tfmain::closeCamera(int camera)
{
    capture(camera).disconnectDevice();
}

// "开启1": open camera 1.
void Tfmain::SpeedButton1Click() { openCamera(1); }
// "开启2": open camera 2.
void Tfmain::SpeedButton3Click() { openCamera(2); }
// "开启3": open camera 3.
void Tfmain::SpeedButton4Click() { openCamera(3); }
// "开启4": open camera 4.
void Tfmain::SpeedButton5Click() { openCamera(4); }
// Close camera 1.
void Tfmain::BitBtn1Click() { closeCamera(1); }
// Close camera 2.
void Tfmain::BitBtn2Click() { closeCamera(2); }
// Close camera 3.
void Tfmain::BitBtn3Click() { closeCamera(3); }
// Close camera 4.
void Tfmain::BitBtn4Click() { closeCamera(4); }
// "摄像头1参数": camera 1's device settings.
void Tfmain::Button3Click() { showCameraSettings(1); }
// "摄像头2参数": camera 2's device settings.
void Tfmain::Button4Click() { showCameraSettings(2); }
// "摄像头3参数": camera 3's device settings.
void Tfmain::Button5Click() { showCameraSettings(3); }
// "摄像头4参数": camera 4's device settings.
void Tfmain::Button6Click() { showCameraSettings(4); }

void Tfmain::openCamerasForCount()
{
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera)
        openCamera(camera);
}

// Opens the cameras for the camera count, after laying out the panes.
void Tfmain::BitBtn7Click()
{
    BitBtn9Click();
    openCamerasForCount();
}

// Closes the cameras for the camera count.
void Tfmain::BitBtn8Click()
{
    const int cameras = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= cameras; ++camera)
        closeCamera(camera);
}

// "开启监控": monitoring start.
void Tfmain::BitBtn10Click()
{
    sameNameCameras_ = "0";
    if (asciiUpper(ComboBox1->currentText()).contains(QStringLiteral("USB 视频设备")))
        sameNameCameras_ = "1";
    BitBtn10->setEnabled(false);
    BitBtn11->setEnabled(true);
    BitBtn9Click();
    openCamerasForCount();
    BitBtn5Click();
    updateStatusLine();
}

// "关闭监控": monitoring stop; recording stops before the cameras close.
void Tfmain::BitBtn11Click()
{
    BitBtn10->setEnabled(true);
    BitBtn11->setEnabled(false);
    BitBtn6Click();
    BitBtn8Click();
    updateStatusLine();
}

// Three seconds after the first showing: start monitoring when the settings ask for it.
void Tfmain::Timer1Timer()
{
    Timer1->stop();
    if (GlobalSettings->strqyjkz == "Y")
        BitBtn10Click();
}
