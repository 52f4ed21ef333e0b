// The main window's recording control, file rotation and disk space reclaim.
#include "app/Tfmain.h"

#include "common/AppError.h"
#include "common/CommandGuard.h"
#include "common/RecordingFileRule.h"
#include "catalogue/Tdbhouse.h"
#include "record/ChannelForms.h"
#include "common/DiskSpace.h"
#include "record/RecordingChannel.h"
#include "settings/TGlobal.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <cmath>

namespace {

constexpr double kReclaimThresholdGiB = 2.0;

} // namespace

RecordingChannel &Tfmain::channel(int camera)
{
    if (camera == 1)
        return *channel1_;
    ChannelForm *form = channelForms_.at(camera - 2);
    if (!form)
        throw AppError(QStringLiteral("摄像头%1的录像通道不可用").arg(camera));
    return form->channel();
}

// "start保存视频": each camera in use that opened gets a new file and starts recording into it.
void Tfmain::BitBtn5Click()
{
    if (GlobalSettings->strsfbcsp != "1")
        return;
    const int channels = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= channels; ++camera) {
        if (!cameraOpened(camera))
            continue;
        channel(camera).btnOpenClick();
        channel(camera).btnStartClick();
    }
}

// "stop视频": each camera in use that opened finishes its file, one after another.
void Tfmain::BitBtn6Click()
{
    if (GlobalSettings->strsfbcsp != "1")
        return;
    const int channels = camerasInUse(GlobalSettings->strstsl);
    for (int camera = 1; camera <= channels; ++camera) {
        if (cameraOpened(camera))
            channel(camera).btnStopClick();
    }
}

// Every 100 minutes: restart monitoring so each camera continues in a new file.
void Tfmain::TxstwoTimer()
{
    Txstwo->stop();
    if (!monitoringOn()) {
        Txstwo->start();
        return;
    }
    runQuietly([this] { BitBtn11Click(); });
    // The pause is a timer, so the window keeps painting and handling input meanwhile.
    QTimer::singleShot(rotationPauseMs_, this, [this] { finishRotation(); });
}

// The second half of a rotation, after the pause. An operator command in the
// pause (monitoring started, the query page chosen) or the end of the run has
// already decided what happens next, so the rotation starts nothing then.
void Tfmain::finishRotation()
{
    if (endingRun_)
        return;
    if (!monitoringOn() && pg1->currentWidget() == TabSheet1)
        runQuietly([this] { BitBtn10Click(); });
    Txstwo->start();
}

QString Tfmain::statusLineText()
{
    if (!monitoringOn())
        return QStringLiteral("监控已关闭");
    QStringList parts{QStringLiteral("监控中")};
    for (int camera = 1; camera <= 4; ++camera) {
        if (camera > 1 && !channelForms_.at(camera - 2))
            continue;
        RecordingChannel &c = channel(camera);
        if (c.isRecording())
            parts << QStringLiteral("摄像头%1录像: %2").arg(camera).arg(QFileInfo(c.outputPath()).fileName());
    }
    if (parts.size() == 1)
        parts << QStringLiteral("未录像");
    return parts.join(QStringLiteral("    "));
}

void Tfmain::updateStatusLine()
{
    statusLine->setText(statusLineText());
}

double Tfmain::roundedFreeGiB(qint64 freeBytes)
{
    const double gib = double(freeBytes) / 1073741824.0;
    // nearbyint rounds halves to the even neighbour in the default rounding mode.
    return std::nearbyint(gib * 10.0) / 10.0;
}

// The files the channels are writing right now, as canonical paths.
QStringList Tfmain::liveRecordingFiles()
{
    QStringList live;
    for (int camera = 1; camera <= 4; ++camera) {
        if (camera > 1 && !channelForms_.at(camera - 2))
            continue;
        const RecordingChannel &c = channel(camera);
        if (c.isRecording())
            live << QFileInfo(c.outputPath()).canonicalFilePath();
    }
    return live;
}

// Every 10 minutes: delete the five oldest recordings when the recording disk runs low.
void Tfmain::typdelTimer()
{
    typdel->stop();
    if (GlobalSettings->strdelz == "Y" && dbhouse_ && services_.diskSpace) {
        try {
            const qint64 freeBytes = services_.diskSpace->freeBytes(GlobalSettings->strbcpathz);
            if (freeBytes >= 0 && roundedFreeGiB(freeBytes) <= kReclaimThresholdGiB) {
                dbhouse_->openOldestFive();
                CatalogueQuery &oldest = dbhouse_->qyp;
                const QStringList live = liveRecordingFiles();
                for (oldest.first(); !oldest.atEnd(); oldest.next()) {
                    const QString path = oldest.textField("strpath");
                    // A row is data anyone may edit: only a recording file is ever deleted,
                    // and never one a camera is recording into (its row goes all the same).
                    if (isRemovableRecordingFile(path) && !live.contains(QFileInfo(path).canonicalFilePath()))
                        QFile::remove(path);
                    dbhouse_->deleteById(dbhouse_->qdel, oldest.integerField("iid"));
                }
                oldest.close();
            }
        } catch (...) {
            // Unattended: a failure ends this tick's reclaim; the next tick tries again.
        }
    }
    typdel->start();
}
