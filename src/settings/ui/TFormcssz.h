#pragma once

#include <QDialog>
#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsDialogController;

// The settings dialog "参数设置": one group per setting, each applied at once.
// The controller holds the state; this window shows it and passes clicks on.
class TFormcssz : public QDialog
{
    Q_OBJECT

public:
    static constexpr int clientWidth = 1160;
    static constexpr int clientHeight = 653;

    explicit TFormcssz(SettingsDialogController &controller, QWidget *parent = nullptr);

protected:
    void showEvent(QShowEvent *event) override;

private:
    QGroupBox *makeFolderGroup();
    QGroupBox *makeFreeSpaceGroup();
    QGroupBox *makeRecordingGroup();
    QGroupBox *makeCameraGroup();
    QGroupBox *makeQualityGroup();
    QGroupBox *makeOverwriteGroup();
    QGroupBox *makeAutostartGroup();
    QPushButton *makeButton(const QString &objectName, const QString &caption);
    // Runs a controller handler, then shows the controller's state.
    template <typename Handler> void run(Handler handler);
    // Puts the controller's state into the controls without raising their signals.
    void showState();

    SettingsDialogController &controller_;
    bool shownOnce_ = false;

    QLineEdit *Edit1 = nullptr;
    QPushButton *BitBtn5 = nullptr;
    QPushButton *BitBtn1 = nullptr;
    QLineEdit *Edit8 = nullptr;
    QCheckBox *cbsp = nullptr;
    QPushButton *BitBtn2 = nullptr;
    QComboBox *ComboBox1 = nullptr;
    QPushButton *BitBtn3 = nullptr;
    std::array<QRadioButton *, 4> qualityButtons{}; // rb1..rb4
    QPushButton *BitBtn4 = nullptr;
    QCheckBox *cbdel = nullptr;
    QCheckBox *cbqd = nullptr;
    QPushButton *BitBtn6 = nullptr;
    QPushButton *BitBtn7 = nullptr;
};
