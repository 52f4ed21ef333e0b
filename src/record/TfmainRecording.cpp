// The main window's recording control, file rotation and disk space reclaim.
#include "app/Tfmain.h"

// "start保存视频": recording start for the cameras in use that opened.
void Tfmain::BitBtn5Click()
{
}

// "stop视频": recording stop for the cameras in use that opened.
void Tfmain::BitBtn6Click()
{
}

// Every 100 minutes: restart monitoring so each camera continues in a new file.
void Tfmain::TxstwoTimer()
{
}

// Every 10 minutes: delete the oldest recordings when the recording disk runs low.
void Tfmain::typdelTimer()
{
}
