#include "record/RecordingChannel.h"

#include "common/AppError.h"
#include "common/Clock.h"
#include "common/FrameSlots.h"
#include "common/Prompter.h"
#include "catalogue/Tdbhouse.h"
#include "settings/SaveFolder.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTimer>

RecordingChannel::RecordingChannel(const Setup &setup) : setup_(setup)
{
    FIA.setFrameSource([this] { return FIAReadFrameCanvas(); });
    connect(&FFEncoder, &RecordingEncoder::progress, this, &RecordingChannel::FFEncoderProgress);
    connect(&FFEncoder, &RecordingEncoder::terminated, this, &RecordingChannel::FFEncoderTerminate);
}

RecordingChannel::~RecordingChannel()
{
    // A recording still running when the program ends is finished, not cut off.
    FFEncoder.Stop();
    FIA.setFrameSource({});
}

// The panel between recordings: open allowed, start/stop/pause not.
void RecordingChannel::setIdlePanel()
{
    panel_.openEnabled = true;
    panel_.startEnabled = panel_.stopEnabled = panel_.pauseEnabled = panel_.resumeEnabled = false;
    panel_.setupEnabled = true;
    emit panelChanged();
}

QString RecordingChannel::inputOptions() const
{
    return "-f frameinput -input_type canvas -pix_fmt bgr24 -r " + frameRate_ + " -s " + setup_.frameSize + " -re";
}

QString RecordingChannel::outputOptions() const
{
    return "-c:v libx264 -c:a libmp3lame -b:v " + GlobalSettings->strqxd + "k" + " -target pal-dvd"
        + " -pix_fmt yuv420p" + " -r " + frameRate_ + " -s " + setup_.frameSize + " -vsync -1";
}

void RecordingChannel::btnOpenClick()
{
    if (!RecordingEncoder::librariesLoaded()) {
        QString error;
        if (!RecordingEncoder::loadLibraries(setup_.executableFolder + "LibAV", &error)) {
            panel_.log << error;
            emit panelChanged();
            return;
        }
    }
    outputPath_ = saveFolderOrDefault(*GlobalSettings, setup_.executableFolder) + setup_.clock->now().toString("yyyyMMddHHmmss")
        + QString("_%1.mpg").arg(setup_.camera);
    panel_.output = outputPath_;
    panel_.startEnabled = true;
    emit panelChanged();

    if (!dbhouse_)
        throw AppError(QStringLiteral("录像目录数据库不可用"));
    const QDateTime moment = setup_.clock->now();
    dbhouse_->insertRecording(moment, QDateTime(moment.date(), QTime(0, 0)), QFileInfo(outputPath_).fileName(),
                              outputPath_, setup_.camera);
}

void RecordingChannel::btnStartClick()
{
    FFEncoder.ClearTasks();
    FFEncoder.setPreview(true);
    const int task = FFEncoder.AddTask(FIA.identityText(), inputOptions());
    if (task < 0) {
        reportStartFailure();
        return;
    }
    if (FFEncoder.SetOutput(task, outputPath_, outputOptions()) < 0) {
        FFEncoder.RemoveTask(task);
        reportStartFailure();
        return;
    }
    panel_.openEnabled = panel_.startEnabled = panel_.resumeEnabled = false;
    panel_.stopEnabled = panel_.pauseEnabled = true;
    panel_.setupEnabled = false;
    emit panelChanged();
    FFEncoder.setPreview(false);
    FFEncoder.Start();
}

// A recording that cannot start must not pass unnoticed: the operator would
// believe the camera is being recorded.
void RecordingChannel::reportStartFailure()
{
    const QString text = QStringLiteral("摄像头%1无法开始录像: %2").arg(setup_.camera).arg(FFEncoder.lastErrorText());
    panel_.log << text;
    emit panelChanged();
    warnOperator(text);
}

// The box comes up once the current command has finished: a modal box in the
// middle of a start, stop or rotation would hold back the other cameras until
// someone answers it.
void RecordingChannel::warnOperator(const QString &text)
{
    QTimer::singleShot(0, this, [this, text] {
        setup_.prompter->message(text, QCoreApplication::applicationName(), Prompter::Icon::Warning);
    });
}

void RecordingChannel::btnStopClick()
{
    panel_.stopEnabled = false;
    emit panelChanged();
    FFEncoder.Stop();
}

void RecordingChannel::btnPauseClick()
{
    panel_.pauseEnabled = false;
    panel_.resumeEnabled = true;
    emit panelChanged();
    FFEncoder.Pause();
}

void RecordingChannel::btnResumeClick()
{
    panel_.pauseEnabled = true;
    panel_.resumeEnabled = false;
    emit panelChanged();
    FFEncoder.Resume();
}

void RecordingChannel::chkPreviewClick(bool previewOn)
{
    FFEncoder.setPreview(previewOn);
}

void RecordingChannel::cboLogLevelChange(int levelIndex)
{
    RecordingEncoder::setLogLevel(levelIndex);
}

void RecordingChannel::chkFrameDelayClick(bool ticked)
{
    panel_.frameDelayFieldEnabled = ticked;
    emit panelChanged();
}

void RecordingChannel::btnPicturesClick()
{
    panel_.openEnabled = true;
    emit panelChanged();
}

QImage RecordingChannel::FIAReadFrameCanvas() const
{
    return setup_.frameSlot->current();
}

void RecordingChannel::FFEncoderProgress(const ProgressInfo &info)
{
    panel_.status = (QString::asprintf("Frame number: %d; FPS: %d; Size: %lld; Time: %lld", info.frameNumber,
                                         info.fps, static_cast<long long>(info.currentSizeBytes),
                                         static_cast<long long>(info.currentTimeMs)));
    emit panelChanged();
}

void RecordingChannel::FFEncoderTerminate(const TerminateInfo &info)
{
    if (info.taskIndex < 0)
        setIdlePanel();
    if (info.exceptionRaised)
        warnOperator(info.exceptionMessage);
}
