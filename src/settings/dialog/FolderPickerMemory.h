#pragma once

#include <QDir>
#include <QString>

// The folder the folder picker opened last in this run, so the next opening
// starts there. It starts as the folder the program was started from. Kept
// here rather than in the process's working folder, which the rest of the
// program may rely on.
struct FolderPickerMemory
{
    QString lastOpenedFolder = QDir::currentPath();
};
