// The main window's monitoring commands, each one call into monitoring control.
#include "app/Tfmain.h"

#include "common/CommandGuard.h"
#include "common/PaneCodes.h"
#include "monitor/MonitoringControl.h"
#include "monitor/capture/CameraCapture.h"
#include "monitor/ui/DisplayArea.h"
#include "monitor/ui/ImageView.h"
#include "settings/TGlobal.h"

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>

CameraCapture &Tfmain::capture(int camera) const { return monitoring_->capture(camera); }
bool Tfmain::cameraOpened(int camera) const { return monitoring_->cameraOpened(camera); }
QString Tfmain::sameNameCameras() const { return monitoring_->sameNameCameras(); }

// Each activation of the window refreshes the device list and camera 1's formats.
void Tfmain::FormActivate()
{
    monitoring_->refreshDevices();
    ComboBox1->clear();
    ComboBox1->addItems(monitoring_->deviceNames());
    ComboBox1->setCurrentIndex(ComboBox1->count() > 0 ? 0 : -1);
    ListBox1->clear();
    ListBox1->addItems(monitoring_->formatTexts());
    ListBox1->setCurrentRow(monitoring_->formatPosition());
}

// "开启1": open camera 1.
void Tfmain::SpeedButton1Click() { monitoring_->openCamera(1); }
// "开启2": open camera 2.
void Tfmain::SpeedButton3Click() { monitoring_->openCamera(2); }
// "开启3": open camera 3.
void Tfmain::SpeedButton4Click() { monitoring_->openCamera(3); }
// "开启4": open camera 4.
void Tfmain::SpeedButton5Click() { monitoring_->openCamera(4); }
// Close camera 1.
void Tfmain::BitBtn1Click() { monitoring_->closeCamera(1); }
// Close camera 2.
void Tfmain::BitBtn2Click() { monitoring_->closeCamera(2); }
// Close camera 3.
void Tfmain::BitBtn3Click() { monitoring_->closeCamera(3); }
// Close camera 4.
void Tfmain::BitBtn4Click() { monitoring_->closeCamera(4); }
// "摄像头1参数": camera 1's device settings.
void Tfmain::Button3Click() { showCameraSettings(1); }
// "摄像头2参数": camera 2's device settings.
void Tfmain::Button4Click() { showCameraSettings(2); }
// "摄像头3参数": camera 3's device settings.
void Tfmain::Button5Click() { showCameraSettings(3); }
// "摄像头4参数": camera 4's device settings.
void Tfmain::Button6Click() { showCameraSettings(4); }
// Opens the cameras for the camera count, after laying out the panes.
void Tfmain::BitBtn7Click() { monitoring_->openCamerasForCount(); }
// Closes the cameras for the camera count.
void Tfmain::BitBtn8Click() { monitoring_->closeCamerasForCount(); }
// "开启监控": monitoring start, recording start its last step.
void Tfmain::BitBtn10Click() { monitoring_->start(); }
// "关闭监控": monitoring stop; recording stops before the cameras close.
void Tfmain::BitBtn11Click() { monitoring_->stop(); }
// Three seconds after the first showing: start monitoring when the settings ask for it.
void Tfmain::Timer1Timer() { monitoring_->autoStart(); }

// Camera N's device settings: connect it if needed and show its property dialog.
void Tfmain::showCameraSettings(int camera)
{
    if (!runQuietly([this, camera] { monitoring_->prepareCamera(camera); }))
        return; // no device bound: nothing to show
    if (services_.showDeviceProperties)
        services_.showDeviceProperties(capture(camera), this);
}

// Camera 1's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView1DShowNewFrame() { monitoring_->takeFrame(1); }
// Camera 2's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView2DShowNewFrame() { monitoring_->takeFrame(2); }
// Camera 3's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView3DShowNewFrame() { monitoring_->takeFrame(3); }
// Camera 4's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView4DShowNewFrame() { monitoring_->takeFrame(4); }

// A frame taken by monitoring control: the pane and the enlarged view get the
// picture as captured, the hidden capture view the stamped one.
void Tfmain::showFrame(int camera, const QImage &picture, const QImage &stamped, qint64 capturedAtNs)
{
    const int paneCode = PaneCodes::paneCodeFor(camera, GlobalSettings->strstsl);
    if (ImageView *pane = Panel2->pane(paneCode)) {
        pane->setPicture(picture, capturedAtNs);
        if (Panel2->selectedPane() == paneCode)
            Panel2->imgall->setPicture(picture, capturedAtNs);
    }
    Panel2->captureView(camera)->setPicture(stamped);
}
