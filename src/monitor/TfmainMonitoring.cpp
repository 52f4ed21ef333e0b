// The main window's monitoring control: device refresh, camera open and close,
// monitoring start and stop, and the automatic start.
#include "app/Tfmain.h"

#include "settings/TGlobal.h"

#include <QPushButton>
#include <QTimer>

// Opens the cameras for the camera count, after laying out the panes.
void Tfmain::BitBtn7Click()
{
    BitBtn9Click();
}

// Closes the cameras for the camera count.
void Tfmain::BitBtn8Click()
{
}

// "开启监控": monitoring start.
void Tfmain::BitBtn10Click()
{
    BitBtn10->setEnabled(false);
    BitBtn11->setEnabled(true);
    BitBtn9Click();
    BitBtn5Click();
}

// "关闭监控": monitoring stop; recording stops before the cameras close.
void Tfmain::BitBtn11Click()
{
    BitBtn10->setEnabled(true);
    BitBtn11->setEnabled(false);
    BitBtn6Click();
    BitBtn8Click();
}

// Three seconds after the first showing: start monitoring when the settings ask for it.
void Tfmain::Timer1Timer()
{
    Timer1->stop();
    if (GlobalSettings->strqyjkz == "Y")
        BitBtn10Click();
}
