// The main window's layout and zoom handlers over the display area.
#include "app/Tfmain.h"

#include "monitor/ui/DisplayArea.h"
#include "monitor/ui/ImageView.h"
#include "settings/CameraCount.h"
#include "settings/TGlobal.h"

#include <QPushButton>
#include <QSlider>

// Lays out the panes for the camera count and shows the settings buttons of the cameras in use.
void Tfmain::BitBtn9Click()
{
    const QString count = GlobalSettings->strstsl;
    if (!Panel2->applyLayout(count))
        return;
    for (int camera = 1; camera <= 4; ++camera)
        cameraSettingsButtons[camera - 1]->setVisible(camera <= camerasInUse(count));
}

// An open of a camera blanks the panes of the layouts that show it first.
void Tfmain::blankPanesForOpen(int camera)
{
    QList<int> panes;
    switch (camera) {
    case 1: panes = {1}; break;
    case 2: panes = {21, 22}; break;
    default: panes = {41, 42, 43, 44}; break;
    }
    for (int code : panes)
        Panel2->pane(code)->blank();
}

// A click on a pane makes it the selected pane.
void Tfmain::selectPane(int paneCode)
{
    Panel2->selectPane(paneCode);
}

// "单个摄像头放大监控": shows the selected pane's camera in the enlarged view.
void Tfmain::BitBtn17Click()
{
    Panel2->enlarge();
}

// "返回": leaves the enlarged view and clears the selected pane.
void Tfmain::SpeedButton10Click()
{
    Panel2->leaveEnlarged();
}

// Zoom slider: zooms the enlarged view to the slider's percent.
void Tfmain::TrackBar1Change()
{
    Panel2->zoomEnlargedTo(Panel2->TrackBar1->value());
}

// "原始大小": the enlarged view back to 100 %; the slider stays where it is.
void Tfmain::SpeedButton11Click()
{
    Panel2->zoomEnlargedTo(100);
}

// "监控画面恢复原始大小": every view back to 100 %.
void Tfmain::BitBtn18Click()
{
    Panel2->resetAllZooms();
}
