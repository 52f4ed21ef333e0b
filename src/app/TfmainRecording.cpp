// The main window's recording commands, rotation and reclaim, each one call into its controller.
#include "app/Tfmain.h"

#include "monitor/MonitoringControl.h"
#include "record/DiskReclaim.h"
#include "record/FileRotation.h"
#include "record/RecordingControl.h"
#include "record/ui/ChannelForms.h"

#include <QLabel>

RecordingChannel &Tfmain::channel(int camera) { return recording_->channel(camera); }

void Tfmain::setRotationPauseMs(int pauseMs) { rotation_->setPauseMs(pauseMs); }

void Tfmain::setChannelForms(const std::array<ChannelForm *, 3> &forms)
{
    for (int camera = 2; camera <= 4; ++camera) {
        ChannelForm *form = forms[camera - 2];
        recording_->setChannel(camera, form ? &form->channel() : nullptr);
    }
}

// "start保存视频": each camera in use that opened gets a new file and starts recording into it.
void Tfmain::BitBtn5Click() { recording_->start(); }
// "stop视频": each camera in use that opened finishes its file, one after another.
void Tfmain::BitBtn6Click() { recording_->stop(); }
// Every 100 minutes: restart monitoring so each camera continues in a new file.
void Tfmain::TxstwoTimer() { rotation_->tick(); }
// Every 10 minutes: delete the five oldest recordings when the recording disk runs low.
void Tfmain::typdelTimer() { reclaim_->tick(); }

QString Tfmain::statusLineText()
{
    if (!monitoringOn())
        return QStringLiteral("监控已关闭");
    QStringList parts = recording_->recordingStatus();
    if (parts.isEmpty())
        parts << QStringLiteral("未录像");
    const QList<int> lost = monitoring_->lostCameras();
    for (auto camera = lost.crbegin(); camera != lost.crend(); ++camera)
        parts.prepend(QStringLiteral("摄像头%1 无信号").arg(*camera));
    parts.prepend(QStringLiteral("监控中"));
    return parts.join(QStringLiteral("    "));
}

void Tfmain::updateStatusLine()
{
    statusLine->setText(statusLineText());
}
