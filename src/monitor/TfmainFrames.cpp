// The main window's frame handlers: each frame of camera N goes to its capture
// view, its pane, the enlarged view when its pane is selected, and, time-stamped,
// to its frame slot for the recorder.
#include "app/Tfmain.h"

#include "common/Clock.h"
#include "common/CommandGuard.h"
#include "common/DateText.h"
#include "monitor/DisplayArea.h"
#include "monitor/ImageView.h"
#include "monitor/capture/CameraCapture.h"
#include "settings/TGlobal.h"

#include <QPainter>

namespace {

// White 12-point text in the top-left corner, on a transparent background.
void drawTimeStamp(QImage &picture, const QString &text)
{
    QPainter painter(&picture);
    QFont font = painter.font();
    font.setPointSize(12);
    painter.setFont(font);
    painter.setPen(QColor(255, 255, 255));
    painter.drawText(QRect(0, 0, picture.width(), picture.height()), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace

void Tfmain::handleFrame(int camera)
{
    CapturedFrame frame = capture(camera).takeLatestFrame();
    if (frame.image.isNull())
        return;

    // The panes and the enlarged view get the picture without the stamp.
    const int paneCode = DisplayArea::paneCodeFor(camera, GlobalSettings->strstsl);
    if (ImageView *pane = Panel2->pane(paneCode)) {
        pane->setPicture(frame.image, frame.capturedAtNs);
        if (Panel2->selectedPane() == paneCode)
            Panel2->imgall->setPicture(frame.image, frame.capturedAtNs);
    }

    // The capture view and the frame slot hold the stamped picture. Drawing on the
    // shared image makes it a copy of its own, so the panes keep theirs unstamped.
    QImage stamped = frame.image;
    drawTimeStamp(stamped, DateText::fromDateTime(services_.clock->now()));
    Panel2->captureView(camera)->setPicture(stamped);
    frameSlots_.slot(camera).publish(stamped);
}

// Camera 1's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView1DShowNewFrame() { handleFrame(1); }
// Camera 2's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView2DShowNewFrame() { handleFrame(2); }
// Camera 3's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView3DShowNewFrame() { handleFrame(3); }
// Camera 4's frame: capture view, pane, enlarged view, stamp, frame slot.
void Tfmain::ImageEnView4DShowNewFrame() { handleFrame(4); }

// Camera N's device settings: connect it if needed and show its property dialog.
void Tfmain::showCameraSettings(int camera)
{
    if (!runQuietly([this, camera] { prepareCamera(camera); }))
        return; // no device bound: nothing to show
    if (services_.showDeviceProperties)
        services_.showDeviceProperties(capture(camera), this);
}
