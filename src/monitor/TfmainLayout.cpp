// The main window's layout and zoom handlers over the display area.
#include "app/Tfmain.h"

#include "monitor/DisplayArea.h"
#include "monitor/ImageView.h"
#include "settings/TGlobal.h"

#include <QPushButton>
#include <QSlider>

// Lays out the panes for the camera count and shows the settings buttons of the cameras in use.
void Tfmain::BitBtn9Click()
{
    const QString count = GlobalSettings->strstsl;
    if (!Panel2->applyLayout(count))
        return;
    const int camerasInUse = count.toInt();
    for (int camera = 1; camera <= 4; ++camera)
        cameraSettingsButtons[camera - 1]->setVisible(camera <= camerasInUse);
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
