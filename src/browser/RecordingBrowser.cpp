#include "browser/RecordingBrowser.h"

#include "browser/DatePicker.h"
#include "browser/DeletionProgress.h"
#include "common/RecordingFileRule.h"
#include "catalogue/CatalogueBatch.h"
#include "catalogue/Tdbhouse.h"
#include "common/AppError.h"
#include "common/DateText.h"
#include "common/DesktopOpener.h"
#include "common/Prompter.h"

#include <utility>

const QString RecordingBrowser::deleteOneQuestion = QStringLiteral("您确定要删除您选择的这条记录吗？");
const QString RecordingBrowser::deleteAllQuestion = QStringLiteral("您确定要删除所有视频监控文件和记录吗？");
const QString RecordingBrowser::questionCaption = QStringLiteral("询问");
const QString RecordingBrowser::gridDeleteQuestion = QStringLiteral("删除这条记录吗？");
const QString RecordingBrowser::gridDeleteCaption = QStringLiteral("确认");

namespace {

// "所有" lists every camera; "1" to "4" one of them.
std::optional<int> cameraFor(const QString &choice)
{
    if (choice == QStringLiteral("所有"))
        return std::nullopt;
    bool ok = false;
    const int camera = choice.toInt(&ok);
    if (!ok)
        throw AppError(QStringLiteral("摄像头编号“%1”不是有效的数字").arg(choice));
    return camera;
}

// Begins the progress for a long walk and ends it however the walk ends.
class ProgressScope
{
public:
    ProgressScope(DeletionProgress *progress, int totalRows)
        : progress_(totalRows >= RecordingBrowser::rowsForProgress ? progress : nullptr)
    {
        if (progress_)
            progress_->begin(totalRows);
    }
    ~ProgressScope()
    {
        if (progress_)
            progress_->end();
    }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    void advance(int doneRows)
    {
        if (progress_)
            progress_->advance(doneRows);
    }
    bool stopRequested() const { return progress_ && progress_->stopRequested(); }

private:
    DeletionProgress *progress_;
};

}  // namespace

RecordingBrowser::RecordingBrowser(RecordingBrowserServices services)
    : services_(std::move(services))
{
}

CatalogueQuery &RecordingBrowser::resultList() const
{
    return services_.catalogue->qwjcx;
}

bool RecordingBrowser::hasUsableResultList() const
{
    const CatalogueQuery &list = resultList();
    return list.isOpen() && list.rowCount() > 0 && !list.atEnd();
}

void RecordingBrowser::query()
{
    const RecordingFilter filter = services_.readFilter();
    if (filter.fromText.isEmpty() || filter.toText.isEmpty())
        return;
    const QDateTime from = DateText::toDateTime(filter.fromText);
    const QDateTime to = DateText::toDateTime(filter.toText);
    if (!from.isValid() || !to.isValid())
        return;
    services_.catalogue->queryDateRange(from, to, cameraFor(filter.cameraChoice));
}

void RecordingBrowser::playSelected()
{
    if (!hasUsableResultList())
        return;
    services_.desktop->open(resultList().textField(QStringLiteral("strpath")));
}

void RecordingBrowser::openSelectedFolder()
{
    if (!hasUsableResultList())
        return;
    const QString path = resultList().textField(QStringLiteral("strpath"));
    services_.desktop->open(path.left(path.lastIndexOf(QLatin1Char('/')) + 1));
}

QStringList RecordingBrowser::liveRecordingFiles() const
{
    return services_.liveRecordingFiles ? services_.liveRecordingFiles() : QStringList();
}

void RecordingBrowser::deleteSelected()
{
    if (!hasUsableResultList())
        return;
    if (!services_.prompter->askYesNo(deleteOneQuestion, questionCaption))
        return;
    CatalogueQuery &list = resultList();
    const QString path = list.textField(QStringLiteral("strpath"));
    const int iid = list.integerField(QStringLiteral("iid"));
    deleteRecordingFileOfRow(path, liveRecordingFiles());
    services_.catalogue->deleteById(services_.catalogue->qup, iid);
    query();
}

void RecordingBrowser::deleteAllListed()
{
    if (!hasUsableResultList())
        return;
    if (!services_.prompter->askYesNo(deleteAllQuestion, questionCaption))
        return;
    // A database error leaves here: rows already deleted stay deleted, no re-query.
    walkAndDeleteAll();
    query();
}

void RecordingBrowser::walkAndDeleteAll()
{
    CatalogueQuery &list = resultList();
    ProgressScope progress(services_.progress, list.rowCount());
    CatalogueBatch batch(services_.catalogue->adoacccon, rowsPerCommit);
    const QStringList live = liveRecordingFiles();
    int doneRows = 0;
    for (list.first(); !list.atEnd(); list.next()) {
        if (progress.stopRequested())
            return;
        const QString path = list.textField(QStringLiteral("strpath"));
        const int iid = list.integerField(QStringLiteral("iid"));
        deleteRecordingFileOfRow(path, live);
        services_.catalogue->deleteById(services_.catalogue->qup, iid);
        batch.statementDone();
        progress.advance(++doneRows);
    }
    // Past the end there is no current row; stay on the last one, as the grid shows it.
    list.setCurrentRow(list.rowCount() - 1);
}

void RecordingBrowser::deleteCurrentRowOnly()
{
    if (!hasUsableResultList())
        return;
    if (!services_.prompter->askYesNo(gridDeleteQuestion, gridDeleteCaption))
        return;
    CatalogueQuery &list = resultList();
    services_.catalogue->deleteById(services_.catalogue->qup, list.integerField(QStringLiteral("iid")));
    list.removeCurrentRow();
}

bool RecordingBrowser::pickerButtonVisibleOnEnter() const
{
    return true;
}

bool RecordingBrowser::pickerButtonVisibleOnExit(bool buttonHasFocus) const
{
    return buttonHasFocus;
}

DatePickOutcome RecordingBrowser::pickFromDate()
{
    DatePickOutcome outcome = pickToDate();
    outcome.moveFocusToToField = outcome.fieldText.has_value();
    return outcome;
}

DatePickOutcome RecordingBrowser::pickToDate()
{
    DatePickOutcome outcome;
    if (const std::optional<QDate> day = services_.datePicker->pickDate(); day && day->isValid())
        outcome.fieldText = DateText::fromDate(*day);
    outcome.buttonVisible = false;
    return outcome;
}
