#include "record/ui/ChannelPanel.h"

#include "record/RecordingChannel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

ChannelPanel::ChannelPanel(RecordingChannel &channel, QWidget *parent) : QWidget(parent), channel_(channel)
{
    setObjectName(QString("recordPanel%1").arg(channel.camera()));
    hide();
    new QVBoxLayout(this);
    btnOpen = addButton("btnOpen", "Open");
    btnStart = addButton("btnStart", "Start");
    btnStop = addButton("btnStop", "Stop");
    btnPause = addButton("btnPause", "Pause");
    btnResume = addButton("btnResume", "Resume");
    btnPictures = addButton("btnPictures", "Pictures");
    btnClear = addButton("btnClear", "Clear");
    btnAudio = addButton("btnAudio", "Audio");
    chkFrameDelay = new QCheckBox("Frame delay", this);
    chkFrameDelay->setObjectName("chkFrameDelay");
    edtFrameDelay = new QLineEdit("2.0", this);
    edtFrameDelay->setObjectName("edtFrameDelay");
    chkPreview = new QCheckBox("Preview", this);
    chkPreview->setObjectName("chkPreview");
    cboFrameRate = new QComboBox(this);
    cboFrameRate->setObjectName("cboFrameRate");
    cboFrameRate->addItems({"30/1", "25/1", "15/1"});
    cboFrameRate->setCurrentText(channel.frameRate());
    cboFrameSize = new QComboBox(this);
    cboFrameSize->setObjectName("cboFrameSize");
    cboFrameSize->addItems({"320x240", "640x480", "1280x960"});
    cboFrameSize->setCurrentText(channel.frameSize());
    cboLogLevel = new QComboBox(this);
    cboLogLevel->setObjectName("cboLogLevel");
    cboLogLevel->addItems({"Quiet", "Panic", "Fatal", "Error", "Warning", "Info", "Verbose", "Debug"});
    cboLogLevel->setCurrentIndex(5);
    lblStatus = new QLabel(this);
    lblStatus->setObjectName("lblStatus");
    if (channel.camera() == 1) {
        txtOutput = new QLineEdit(this);
        txtOutput->setObjectName("txtOutput");
    } else {
        mmoLog = new QPlainTextEdit(this);
        mmoLog->setObjectName("mmoLog");
    }
    connectActions();
    refresh();
}

QPushButton *ChannelPanel::addButton(const char *name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    layout()->addWidget(button);
    return button;
}

void ChannelPanel::connectActions()
{
    connect(btnOpen, &QPushButton::clicked, &channel_, &RecordingChannel::btnOpenClick);
    connect(btnStart, &QPushButton::clicked, &channel_, &RecordingChannel::btnStartClick);
    connect(btnStop, &QPushButton::clicked, &channel_, &RecordingChannel::btnStopClick);
    connect(btnPause, &QPushButton::clicked, &channel_, &RecordingChannel::btnPauseClick);
    connect(btnResume, &QPushButton::clicked, &channel_, &RecordingChannel::btnResumeClick);
    connect(btnPictures, &QPushButton::clicked, &channel_, &RecordingChannel::btnPicturesClick);
    connect(chkPreview, &QCheckBox::toggled, &channel_, &RecordingChannel::chkPreviewClick);
    connect(chkFrameDelay, &QCheckBox::toggled, &channel_, &RecordingChannel::chkFrameDelayClick);
    connect(cboLogLevel, &QComboBox::currentIndexChanged, &channel_, &RecordingChannel::cboLogLevelChange);
    connect(&channel_, &RecordingChannel::panelChanged, this, &ChannelPanel::refresh);
}

void ChannelPanel::refresh()
{
    const ChannelPanelState &state = channel_.panelState();
    btnOpen->setEnabled(state.openEnabled);
    btnStart->setEnabled(state.startEnabled);
    btnStop->setEnabled(state.stopEnabled);
    btnPause->setEnabled(state.pauseEnabled);
    btnResume->setEnabled(state.resumeEnabled);
    for (QWidget *w : std::initializer_list<QWidget *>{btnPictures, btnClear, btnAudio, chkFrameDelay})
        w->setEnabled(state.setupEnabled);
    edtFrameDelay->setEnabled(state.setupEnabled && state.frameDelayFieldEnabled);
    lblStatus->setText(state.status);
    if (txtOutput)
        txtOutput->setText(state.output);
    if (mmoLog && mmoLog->document()->blockCount() - 1 < state.log.size())
        mmoLog->setPlainText(state.log.join('\n'));
}
