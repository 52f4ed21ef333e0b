#pragma once

#include <QStringList>
#include <QtGlobal>
#include <functional>

class DiskSpace;
class QTimer;
class Tdbhouse;

// Disk-space reclaim: every ten minutes, when strdelz is "Y" and the file
// system of the save folder has 2.0 GiB or less free (rounded to a tenth),
// the five oldest recordings go, files and catalogue rows. A row's file is
// deleted only when it is a recording file and no channel is writing it; the
// row goes in any case. Runs unattended: failures end the tick silently.
class DiskReclaim
{
public:
    static constexpr int intervalMs = 10 * 60 * 1000;
    static constexpr double thresholdGiB = 2.0;

    // The reclaim timer is the window's `typdel`; each tick stops and restarts it.
    DiskReclaim(QTimer &timer, const DiskSpace *diskSpace, std::function<QStringList()> liveRecordingFiles);

    void setCatalogue(Tdbhouse *catalogue) { dbhouse_ = catalogue; }
    // One tick of the reclaim timer.
    void tick();

    // The free space in GiB as the reclaim compares it: rounded to a tenth, halves to even.
    static double roundedFreeGiB(qint64 freeBytes);

private:
    void deleteOldestFive();

    QTimer &timer_;
    const DiskSpace *diskSpace_;
    std::function<QStringList()> liveRecordingFiles_;
    Tdbhouse *dbhouse_ = nullptr;
};
