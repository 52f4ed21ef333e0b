#include "record/DiskReclaim.h"

#include "catalogue/Tdbhouse.h"
#include "common/DiskSpace.h"
#include "common/RecordingFileRule.h"
#include "settings/TGlobal.h"

#include <QTimer>
#include <cmath>

DiskReclaim::DiskReclaim(QTimer &timer, const DiskSpace *diskSpace,
                         std::function<QStringList()> liveRecordingFiles)
    : timer_(timer), diskSpace_(diskSpace), liveRecordingFiles_(std::move(liveRecordingFiles))
{
}

double DiskReclaim::roundedFreeGiB(qint64 freeBytes)
{
    const double gib = double(freeBytes) / 1073741824.0;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return std::nearbyint(gib * 10.0) / 10.0;
}

void DiskReclaim::tick()
{
    timer_.stop();
    if (GlobalSettings->strdelz == "Y" && dbhouse_ && diskSpace_) {
        try {
            const qint64 freeBytes = diskSpace_->freeBytes(GlobalSettings->strbcpathz);
            // An unknown free space (negative) deletes nothing.
            if (freeBytes >= 0 && roundedFreeGiB(freeBytes) <= thresholdGiB)
                deleteOldestFive();
        } catch (...) {
            // Unattended: a failure ends this tick's reclaim; the next tick tries again.
        }
    }
    timer_.start();
}

void DiskReclaim::deleteOldestFive()
{
    dbhouse_->openOldestFive();
    CatalogueQuery &oldest = dbhouse_->qyp;
    const QStringList live = liveRecordingFiles_();
    for (oldest.first(); !oldest.atEnd(); oldest.next()) {
        deleteRecordingFileOfRow(oldest.textField("strpath"), live);
        dbhouse_->deleteById(dbhouse_->qdel, oldest.integerField("iid"));
    }
    oldest.close();
}
