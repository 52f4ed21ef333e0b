#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class CatalogueQuery;
class DatePicker;
class DeletionProgress;
class DesktopOpener;
class Prompter;
class Tdbhouse;

// The query bar's fields as the operator left them.
struct RecordingFilter
{
    QString fromText;      // Edit9
    QString toText;        // Edit10
    QString cameraChoice;  // ComboBox3: "所有" or "1".."4"
};

// What the browser needs from outside; tests hand in fakes.
struct RecordingBrowserServices
{
    Tdbhouse *catalogue = nullptr;
    Prompter *prompter = nullptr;
    DesktopOpener *desktop = nullptr;
    DatePicker *datePicker = nullptr;
    // Optional: without it a long "delete all" runs without a progress sign.
    DeletionProgress *progress = nullptr;
    // Reads the query bar at the moment of each query, also the re-run after a deletion.
    std::function<RecordingFilter()> readFilter;
    // Optional: the files the cameras are recording into right now (canonical paths).
    std::function<QStringList()> liveRecordingFiles;
};

// What a ">>>" button's date pick asks the window to do.
struct DatePickOutcome
{
    std::optional<QString> fieldText;  // the picked day for the field, when one was picked
    bool moveFocusToToField = false;   // from-date picked: Edit10 takes the focus
    bool buttonVisible = false;        // the ">>>" button that was clicked
};

// The recording browser page: the date-range query over the catalogue,
// playing and opening the folder of the selected recording, deleting one or
// all listed recordings with their files, and the date fields' ">>>" buttons.
// The selected recording is the current row of the result list (qwjcx),
// which the grid keeps in step with its highlighted row. Database failures
// leave every command as AppError, for the window's command guard.
class RecordingBrowser
{
public:
    explicit RecordingBrowser(RecordingBrowserServices services);

    // Runs the date-range query for the fields as they are; ends silently on an empty or unreadable date.
    void query();
    // Opens the selected recording with the desktop's program for it.
    void playSelected();
    // Opens the selected recording's folder in the file manager.
    void openSelectedFolder();
    // After "询问": deletes the selected recording's file and row, then queries again.
    void deleteSelected();
    // After "询问": deletes the file and row of every listed recording, then queries again.
    void deleteAllListed();
    // The grid's Ctrl+Delete: after its own confirmation, deletes the current row only (no file, no re-query).
    void deleteCurrentRowOnly();

    // A date field got the focus: whether its ">>>" button shows (it does).
    bool pickerButtonVisibleOnEnter() const;
    // A date field lost the focus: its ">>>" button stays only while that button has the focus.
    bool pickerButtonVisibleOnExit(bool buttonHasFocus) const;
    // ">>>" of the from-date: pick a day for Edit9, then the focus goes to Edit10.
    DatePickOutcome pickFromDate();
    // ">>>" of the to-date: pick a day for Edit10.
    DatePickOutcome pickToDate();

    // The result list is open, holds rows and has a current one.
    bool hasUsableResultList() const;

    // From this many listed rows on, "delete all" shows its progress.
    static constexpr int rowsForProgress = 300;
    // "delete all" commits its row deletions in groups of this many.
    static constexpr int rowsPerCommit = 100;

    static const QString deleteOneQuestion;
    static const QString deleteAllQuestion;
    static const QString questionCaption;
    static const QString gridDeleteQuestion;
    static const QString gridDeleteCaption;

private:
    CatalogueQuery &resultList() const;
    QStringList liveRecordingFiles() const;
    void walkAndDeleteAll();

    RecordingBrowserServices services_;
};
