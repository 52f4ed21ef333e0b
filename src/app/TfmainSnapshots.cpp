// The main window's snapshot commands, each one call into the snapshot controller.
#include "app/Tfmain.h"

#include "monitor/ui/DisplayArea.h"
#include "settings/TGlobal.h"
#include "snapshot/SnapshotController.h"

// "抓拍": the selected pane's camera into the gallery and the snapshot folder.
void Tfmain::BitBtn15Click() { snapshots_->takeSnapshot(Panel2->selectedPane(), GlobalSettings->strbcpathz); }
// "打开抓拍照片目录": the snapshot folder in the file manager.
void Tfmain::BitBtn16Click() { snapshots_->openSnapshotFolder(GlobalSettings->strbcpathz); }
// Double click on the gallery: empty it; the files stay.
void Tfmain::ImageEnMView1DblClick() { snapshots_->clearGallery(); }
