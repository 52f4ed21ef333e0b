#pragma once

#include <QWidget>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class RecordingChannel;

// The small control panel of a recording channel, never shown to the
// operator: its buttons call the channel's actions, and it follows the
// channel's panel state.
class ChannelPanel : public QWidget
{
    Q_OBJECT
public:
    ChannelPanel(RecordingChannel &channel, QWidget *parent);

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
    QLineEdit *txtOutput = nullptr;   // camera 1 only
    QPlainTextEdit *mmoLog = nullptr; // cameras 2 to 4

private:
    QPushButton *addButton(const char *name, const QString &caption);
    void connectActions();
    void refresh();

    RecordingChannel &channel_;
};
