#pragma once

#include <functional>

class QTableView;
class RecordingListModel;

// Prepares the browser's result grid over the recording list: the columns
// "摄像头号" 71, "文件名" 180, "时间" 206, "监控文件存放目录" 459 pixels with
// centred titles, whole-row selection, no editing, resizable columns, grid
// lines and the row indicator. The highlighted row and the list's current row
// are kept together both ways, so every command acts on the row shown as
// current. Ctrl+Delete in the grid calls ctrlDelete (the window guards it).
void setUpRecordingGrid(QTableView &grid, RecordingListModel &model, std::function<void()> ctrlDelete);
