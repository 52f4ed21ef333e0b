#include "record/RecordingChannel.h"

#include "common/AppError.h"
#include "common/Clock.h"
#include "common/Prompter.h"
#include "catalogue/Tdbhouse.h"
#include "common/FrameSlots.h"
#include "settings/TGlobal.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

QPushButton *panelButton(QWidget *panel, const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, panel);
    button->setObjectName(name);
    panel->layout()->addWidget(button);
    return button;
}

} // namespace

RecordingChannel::RecordingChannel(const Setup &setup, QWidget *panelParent) : setup_(setup)
{
    buildPanel(panelParent);
    FIA.setFrameSource([this] { return FIAReadFrameCanvas(); });
    connect(&FFEncoder, &FFEncoder::progress, this, &RecordingChannel::FFEncoderProgress);
    connect(&FFEncoder, &FFEncoder::terminated, this, &RecordingChannel::FFEncoderTerminate);
}

RecordingChannel::~RecordingChannel()
{
    // A recording still running when the program ends is finished, not cut off.
    FFEncoder.Stop();
    FIA.setFrameSource({});
}

void RecordingChannel::buildPanel(QWidget *parent)
{
    panel = new QWidget(parent);
    panel->setObjectName(QString("recordPanel%1").arg(setup_.camera));
    panel->hide();
    new QVBoxLayout(panel);
    btnOpen = panelButton(panel, "btnOpen", "Open");
    btnStart = panelButton(panel, "btnStart", "Start");
    btnStop = panelButton(panel, "btnStop", "Stop");
    btnPause = panelButton(panel, "btnPause", "Pause");
    btnResume = panelButton(panel, "btnResume", "Resume");
    btnPictures = panelButton(panel, "btnPictures", "Pictures");
    btnClear = panelButton(panel, "btnClear", "Clear");
    btnAudio = panelButton(panel, "btnAudio", "Audio");
    chkFrameDelay = new QCheckBox("Frame delay", panel);
    chkFrameDelay->setObjectName("chkFrameDelay");
    edtFrameDelay = new QLineEdit("2.0", panel);
    edtFrameDelay->setObjectName("edtFrameDelay");
    chkPreview = new QCheckBox("Preview", panel);
    chkPreview->setObjectName("chkPreview");
    cboFrameRate = new QComboBox(panel);
    cboFrameRate->setObjectName("cboFrameRate");
    cboFrameRate->addItems({"30/1", "25/1", "15/1"});
    cboFrameSize = new QComboBox(panel);
    cboFrameSize->setObjectName("cboFrameSize");
    cboFrameSize->addItems({"320x240", "640x480", "1280x960"});
    cboFrameSize->setCurrentText(setup_.frameSize);
    cboLogLevel = new QComboBox(panel);
    cboLogLevel->setObjectName("cboLogLevel");
    cboLogLevel->addItems({"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"});
    cboLogLevel->setCurrentIndex(5);
    lblStatus = new QLabel(panel);
    lblStatus->setObjectName("lblStatus");
    if (setup_.camera == 1) {
        txtOutput = new QLineEdit(panel);
        txtOutput->setObjectName("txtOutput");
    } else {
        mmoLog = new QPlainTextEdit(panel);
        mmoLog->setObjectName("mmoLog");
    }
    setIdlePanel();
}

// The panel between recordings: open allowed, start/stop/pause not.
void RecordingChannel::setIdlePanel()
{
    btnOpen->setEnabled(true);
    for (QWidget *w : std::initializer_list<QWidget *>{btnStart, btnStop, btnPause, btnResume})
        w->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{btnPictures, btnClear, btnAudio, chkFrameDelay, edtFrameDelay})
        w->setEnabled(true);
}

QString RecordingChannel::inputOptions() const
{
    return "-f frameinput -input_type canvas -pix_fmt bgr24 -r " + cboFrameRate->currentText() + " -s "
        + cboFrameSize->currentText() + " -re";
}

QString RecordingChannel::outputOptions() const
{
    return "-c:v libx264 -c:a libmp3lame -b:v " + GlobalSettings->strqxd + "k" + " -target pal-dvd"
        + " -pix_fmt yuv420p" + " -r " + cboFrameRate->currentText() + " -s " + cboFrameSize->currentText()
        + " -vsync -1";
}

void RecordingChannel::btnOpenClick()
{
    if (!FFEncoder::librariesLoaded()) {
        QString error;
        if (!FFEncoder::loadLibraries(setup_.executableFolder + "LibAV", &error)) {
            if (mmoLog)
                mmoLog->appendPlainText(error);
            return;
        }
    }
    if (GlobalSettings->strbcpathz.isEmpty())
        GlobalSettings->strbcpathz = setup_.executableFolder;
    outputPath_ = GlobalSettings->strbcpathz + setup_.clock->now().toString("yyyyMMddHHmmss")
        + QString("_%1.mpg").arg(setup_.camera);
    if (txtOutput)
        txtOutput->setText(outputPath_);
    btnStart->setEnabled(true);

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
    btnOpen->setEnabled(false);
    btnStart->setEnabled(false);
    btnStop->setEnabled(true);
    btnPause->setEnabled(true);
    btnResume->setEnabled(false);
    for (QWidget *w : std::initializer_list<QWidget *>{btnPictures, btnClear, btnAudio, chkFrameDelay, edtFrameDelay})
        w->setEnabled(false);
    FFEncoder.setPreview(false);
    FFEncoder.Start();
}

// A recording that cannot start must not pass unnoticed: the operator would
// believe the camera is being recorded.
void RecordingChannel::reportStartFailure()
{
    const QString text = QStringLiteral("摄像头%1无法开始录像: %2").arg(setup_.camera).arg(FFEncoder.lastErrorText());
    if (mmoLog)
        mmoLog->appendPlainText(text);
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
    btnStop->setEnabled(false);
    FFEncoder.Stop();
}

void RecordingChannel::btnPauseClick()
{
    btnPause->setEnabled(false);
    btnResume->setEnabled(true);
    FFEncoder.Pause();
}

void RecordingChannel::btnResumeClick()
{
    btnPause->setEnabled(true);
    btnResume->setEnabled(false);
    FFEncoder.Resume();
}

void RecordingChannel::chkPreviewClick()
{
    FFEncoder.setPreview(chkPreview->isChecked());
}

void RecordingChannel::cboLogLevelChange()
{
    FFEncoder::setLogLevel(cboLogLevel->currentIndex());
}

void RecordingChannel::chkFrameDelayClick()
{
    edtFrameDelay->setEnabled(chkFrameDelay->isChecked());
}

void RecordingChannel::btnPicturesClick()
{
    btnOpen->setEnabled(true);
}

QImage RecordingChannel::FIAReadFrameCanvas() const
{
    return setup_.frameSlot->current();
}

void RecordingChannel::FFEncoderProgress(const ProgressInfo &info)
{
    lblStatus->setText(QString::asprintf("Frame number: %d; FPS: %d; Size: %lld; Time: %lld", info.frameNumber,
                                         info.fps, static_cast<long long>(info.currentSizeBytes),
                                         static_cast<long long>(info.currentTimeMs)));
}

void RecordingChannel::FFEncoderTerminate(const TerminateInfo &info)
{
    if (info.taskIndex < 0)
        setIdlePanel();
    if (info.exceptionRaised)
        warnOperator(info.exceptionMessage);
}
