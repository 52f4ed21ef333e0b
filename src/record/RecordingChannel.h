#pragma once

#include "record/encoder/EncoderNotices.h"
#include "record/encoder/FrameInputAdapter.h"
#include "record/encoder/RecordingEncoder.h"

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

class Clock;
class FrameSlot;
class Prompter;
class Tdbhouse;

// What the channel's small control panel shows. The panel is never shown to the
// operator; the recording control clicks its buttons in code.
struct ChannelPanelState
{
    bool openEnabled = true;
    bool startEnabled = false;
    bool stopEnabled = false;
    bool pauseEnabled = false;
    bool resumeEnabled = false;
    bool setupEnabled = true; // pictures, clear, audio and the frame-delay controls
    bool frameDelayFieldEnabled = true;
    QString status;           // frame number, rate, size and time of the recording
    QString output;           // the file named last (camera 1's panel)
    QStringList log;          // failures (the panels of cameras 2 to 4)
};

// One camera's recording channel: names and catalogues each new file, and
// encodes the camera's frame slot into it in real time.
class RecordingChannel : public QObject
{
    Q_OBJECT
public:
    struct Setup
    {
        int camera = 1;               // 1 to 4: file suffix "_N.mpg", catalogue wjid
        QString frameSize;            // "640x480", or "320x240" for camera 4
        FrameSlot *frameSlot = nullptr;
        Prompter *prompter = nullptr;
        const Clock *clock = nullptr;
        QString executableFolder;     // with a trailing "/"
    };

    explicit RecordingChannel(const Setup &setup);
    // Camera 4 records at the smaller size.
    static QString frameSizeFor(int camera) { return camera == 4 ? "320x240" : "640x480"; }
    ~RecordingChannel() override;

    void setCatalogue(Tdbhouse *catalogue) { dbhouse_ = catalogue; }

    // Names the next file and writes its catalogue row.
    void btnOpenClick();
    // Starts encoding into the file named last.
    void btnStartClick();
    // Stops encoding and returns once the file is finished.
    void btnStopClick();
    // Pauses the running recording.
    void btnPauseClick();
    // Resumes a paused recording.
    void btnResumeClick();
    // Switches the encoder's preview.
    void chkPreviewClick(bool previewOn);
    // Sets the encoder library's log level (0 quiet to 7 debug).
    void cboLogLevelChange(int levelIndex);
    // Enables the frame-delay field exactly when its box is ticked.
    void chkFrameDelayClick(bool ticked);
    // Enables "open" again.
    void btnPicturesClick();

    // The encoder's request for a picture (worker thread): the frame slot's current one.
    QImage FIAReadFrameCanvas() const;
    // Progress notice: the status line shows frame number, rate, size and time.
    void FFEncoderProgress(const ProgressInfo &info);
    // End notice: resets the panel and reports a failed recording.
    void FFEncoderTerminate(const TerminateInfo &info);

    int camera() const { return setup_.camera; }
    QString outputPath() const { return outputPath_; }
    QString frameRate() const { return frameRate_; }
    QString frameSize() const { return setup_.frameSize; }
    QString inputOptions() const;
    QString outputOptions() const;
    bool isRecording() const { return FFEncoder.isWorking(); }
    const ChannelPanelState &panelState() const { return panel_; }

    RecordingEncoder FFEncoder;
    FrameInputAdapter FIA;

signals:
    // The panel state changed.
    void panelChanged();

private:
    void setIdlePanel();
    void reportStartFailure();
    void warnOperator(const QString &text);

    Setup setup_;
    QString frameRate_ = QStringLiteral("30/1");
    Tdbhouse *dbhouse_ = nullptr;
    QString outputPath_;
    ChannelPanelState panel_;
};
