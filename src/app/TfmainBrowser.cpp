// The main window's query page: each command one call into the recording browser.
#include "app/Tfmain.h"

#include "browser/RecordingBrowser.h"
#include "browser/ui/DateFormPicker.h"
#include "browser/ui/DeletionProgressDialog.h"
#include "browser/ui/RecordingGrid.h"
#include "catalogue/Tdbhouse.h"
#include "common/CommandGuard.h"
#include "record/RecordingControl.h"

#include <QComboBox>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

void Tfmain::createBrowser()
{
    DatePicker *picker = services_.datePicker;
    if (!picker) {
        ownDatePicker_ = std::make_unique<DateFormPicker>(*services_.clock, this);
        picker = ownDatePicker_.get();
    }
    deletionProgress_ = std::make_unique<DeletionProgressDialog>(this);
    RecordingBrowserServices browsing;
    browsing.catalogue = dbhouse_;
    browsing.prompter = &prompter_;
    browsing.desktop = services_.desktopOpener;
    browsing.datePicker = picker;
    browsing.progress = deletionProgress_.get();
    browsing.readFilter = [this] { return RecordingFilter{Edit9->text(), Edit10->text(), ComboBox3->currentText()}; };
    browsing.liveRecordingFiles = [this] { return recording_->liveRecordingFiles(); };
    browser_ = std::make_unique<RecordingBrowser>(browsing);
    setUpRecordingGrid(*DBGrid1, dbhouse_->qwjcx_s,
                       [this] { runGuarded(prompter_, [this] { DBGrid1CtrlDelete(); }); });
}

// The date fields' focus changes are the Enter and Exit handlers of the query bar.
bool Tfmain::eventFilter(QObject *watched, QEvent *event)
{
    const bool focusIn = event->type() == QEvent::FocusIn;
    const bool focusOut = event->type() == QEvent::FocusOut;
    if (browser_ && (focusIn || focusOut)) {
        if (watched == Edit9)
            runGuarded(prompter_, [this, focusIn] { focusIn ? Edit9Enter() : Edit9Exit(); });
        else if (watched == Edit10)
            runGuarded(prompter_, [this, focusIn] { focusIn ? Edit10Enter() : Edit10Exit(); });
    }
    return QMainWindow::eventFilter(watched, event);
}

// "查询": the recordings of the chosen days and camera, oldest first.
void Tfmain::SpeedButton12Click() { browser_->query(); }
// "播放监控文件": play the current row's recording.
void Tfmain::SpeedButton6Click() { browser_->playSelected(); }
// "打开文件目录": open the current row's folder.
void Tfmain::SpeedButton7Click() { browser_->openSelectedFolder(); }
// "单个删除视频": after the question, delete the current row's file and row.
void Tfmain::SpeedButton8Click() { browser_->deleteSelected(); }
// "全部删除": after the question, delete every listed recording.
void Tfmain::SpeedButton9Click() { browser_->deleteAllListed(); }
// Ctrl+Delete in the grid: after its question, the current row only.
void Tfmain::DBGrid1CtrlDelete() { browser_->deleteCurrentRowOnly(); }
// The from-date field takes the focus: its ">>>" shows.
void Tfmain::Edit9Enter() { BitBtn13->setVisible(browser_->pickerButtonVisibleOnEnter()); }
// The from-date field loses the focus: its ">>>" stays only while it has the focus.
void Tfmain::Edit9Exit() { BitBtn13->setVisible(browser_->pickerButtonVisibleOnExit(BitBtn13->hasFocus())); }
// The to-date field takes the focus: its ">>>" shows.
void Tfmain::Edit10Enter() { BitBtn14->setVisible(browser_->pickerButtonVisibleOnEnter()); }
// The to-date field loses the focus: its ">>>" stays only while it has the focus.
void Tfmain::Edit10Exit() { BitBtn14->setVisible(browser_->pickerButtonVisibleOnExit(BitBtn14->hasFocus())); }

// ">>>" of the from-date: a day from the picker, then on to the to-date.
void Tfmain::BitBtn13Click()
{
    const DatePickOutcome outcome = browser_->pickFromDate();
    if (outcome.fieldText)
        Edit9->setText(*outcome.fieldText);
    if (outcome.moveFocusToToField)
        Edit10->setFocus();
    BitBtn13->setVisible(outcome.buttonVisible);
}

// ">>>" of the to-date: a day from the picker.
void Tfmain::BitBtn14Click()
{
    const DatePickOutcome outcome = browser_->pickToDate();
    if (outcome.fieldText)
        Edit10->setText(*outcome.fieldText);
    BitBtn14->setVisible(outcome.buttonVisible);
}
