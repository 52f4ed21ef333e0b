#pragma once

#include "record/encoder/EncoderNotices.h"
#include "record/encoder/FFEncoder.h"
#include "record/encoder/FrameInputAdapter.h"

#include <QImage>
#include <QObject>
#include <QString>

class Clock;
class FrameSlot;
class Prompter;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;
class Tdbhouse;

// One camera's recording channel: names and catalogues each new file, and
// encodes the camera's frame slot into it in real time. Its small control panel
// is never shown; the recording control clicks its buttons in code.
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

    RecordingChannel(const Setup &setup, QWidget *panelParent);
    ~RecordingChannel() override;

    void setCatalogue(Tdbhouse *catalogue) { dbhouse_ = catalogue; }

    // Names the next file and writes its catalogue row.
    void btnOpenClick();
    // Starts encoding into the file named last.
    void btnStartClick();
    // Stops encoding and returns once the file is finished.
    void btnStopClick();
    // Pauses the running recording (camera 1's panel).
    void btnPauseClick();
    // Resumes a paused recording (camera 1's panel).
    void btnResumeClick();
    // Switches the encoder's preview to the check box's state.
    void chkPreviewClick();
    // Sets the encoder library's log level from the list.
    void cboLogLevelChange();
    // Enables the frame-delay field exactly when its box is ticked.
    void chkFrameDelayClick();
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
    QString inputOptions() const;
    QString outputOptions() const;
    bool isRecording() const { return FFEncoder.isWorking(); }

    class FFEncoder FFEncoder;
    FrameInputAdapter FIA;

    // The panel.
    QWidget *panel = nullptr;
    QPushButton *btnOpen = nullptr;
    QPushButton *btnStart = nullptr;
    QPushButton *btnStop = nullptr;
    QPushButton *btnPause = nullptr;
    QPushButton *btnResume = nullptr;
    QPushButton *btnPictures = nullptr;
    QPushButton *btnClear = nullptr;
    QPushButton *btnAudio = nullptr;
    QCheckBox *chkFrameDelay = nullptr;
    QLineEdit *edtFrameDelay = nullptr;
    QCheckBox *chkPreview = nullptr;
    QComboBox *cboFrameRate = nullptr;
    QComboBox *cboFrameSize = nullptr;
    QComboBox *cboLogLevel = nullptr;
    QLabel *lblStatus = nullptr;
    QLineEdit *txtOutput = nullptr;     // camera 1 only
    QPlainTextEdit *mmoLog = nullptr;   // cameras 2 to 4

private:
    void buildPanel(QWidget *parent);
    void setIdlePanel();
    void reportStartFailure();
    void warnOperator(const QString &text);

    Setup setup_;
    Tdbhouse *dbhouse_ = nullptr;
    QString outputPath_;
};
