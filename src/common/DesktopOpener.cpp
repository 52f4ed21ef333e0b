#include "common/DesktopOpener.h"

#include <QDesktopServices>
#include <QUrl>

void SystemDesktopOpener::open(const QString &path)
{
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
