// The recording browser's commands over a catalogue of six recordings and their save folder.

#include "BrowserFixture.h"

#include "common/AppError.h"

#include <QSqlDatabase>
#include <QSqlQuery>

namespace {

// Rows on three days; camera 2 on each of them.
const QStringList storedTimes = {"2024-03-04 23:59:59", "2024-03-05 00:00:00", "2024-03-05 08:30:00",
                                 "2024-03-05 10:10:10", "2024-03-05 23:59:59", "2024-03-06 00:00:00"};
const QList<int> storedCameras = {2, 1, 3, 2, 3, 2};

QString nameOf(int storedRow)
{
    return QDateTime::fromString(storedTimes.at(storedRow), QStringLiteral("yyyy-MM-dd HH:mm:ss"))
               .toString(QStringLiteral("yyyyMMddHHmmss"))
        + QStringLiteral("_%1.mpg").arg(storedCameras.at(storedRow));
}

QStringList namesOf(const QList<int> &storedRows)
{
    QStringList names;
    for (int row : storedRows)
        names << nameOf(row);
    return names;
}

const QList<int> allStored = {0, 1, 2, 3, 4, 5};

}  // namespace

class BrowserCommandsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void query_data();
    void query();
    void commandsWithoutRowsDoNothing();
    void playAndOpenFolderUseSelectedRow();
    void deleteOne_data();
    void deleteOne();
    void deleteAll_data();
    void deleteAll();
    void rowsGoneUnderThePageAreDeletedQuietly();
    void databaseErrorEndsDeleteAllAtThatRow();
    void longDeleteAllShowsProgressAndStopsBetweenPairs();
    void onlyRecordingFilesAreDeleted_data();
    void onlyRecordingFilesAreDeleted();
    void gridCtrlDeleteRemovesOnlyTheRow_data();
    void gridCtrlDeleteRemovesOnlyTheRow();
    void datePicks_data();
    void datePicks();

private:
    std::optional<BrowserFixture> f;
};

void BrowserCommandsTest::init()
{
    f.emplace();
    for (int row = 0; row < storedTimes.size(); ++row)
        f->record(storedTimes.at(row), storedCameras.at(row));
}

void BrowserCommandsTest::cleanup()
{
    QDir::setCurrent(QCoreApplication::applicationDirPath());  // a case works in the save folder
    f.reset();
}

void BrowserCommandsTest::query_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QStringList>("expected");

    // The list before each case holds all six rows; a field that stops the query leaves it so.
    QTest::newRow("one day, all cameras, oldest first") << "2024-03-05" << "2024-03-05" << "所有" << namesOf({1, 2, 3, 4});
    QTest::newRow("one day, camera 3") << "2024-03-05" << "2024-03-05" << "3" << namesOf({2, 4});
    QTest::newRow("both end days included, camera 2") << "2024-03-04" << "2024-03-06" << "2" << namesOf({0, 3, 5});
    QTest::newRow("camera without rows") << "2024-03-04" << "2024-03-06" << "4" << QStringList{};
    QTest::newRow("from after to") << "2024-03-06" << "2024-03-04" << "所有" << QStringList{};
    QTest::newRow("from with a time after midnight leaves out that day")
        << "2024-03-05 0:00:01" << "2024-03-06" << "所有" << namesOf({5});
    QTest::newRow("to with a time keeps its day") << "2024-03-05" << "2024-03-05 0:00:01" << "所有"
                                                  << namesOf({1, 2, 3, 4});
    QTest::newRow("empty from: no query, list kept") << "" << "2024-03-05" << "所有" << namesOf(allStored);
    QTest::newRow("empty to: no query, list kept") << "2024-03-05" << "" << "所有" << namesOf(allStored);
    QTest::newRow("from no date: no query, list kept") << "2024-02-30" << "2024-03-05" << "所有" << namesOf(allStored);
    QTest::newRow("from other date form: no query, list kept") << "2024/03/05" << "2024-03-05" << "所有"
                                                       << namesOf(allStored);
    QTest::newRow("to with a bad time: no query, list kept") << "2024-03-05" << "2024-03-05 25:00:00" << "所有"
                                                     << namesOf(allStored);
    QTest::newRow("blanks only: no query, list kept") << " " << "2024-03-05" << "3" << namesOf(allStored);
}

void BrowserCommandsTest::query()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, camera);
    QFETCH(QStringList, expected);

    f->setFilter("2024-03-04", "2024-03-06");
    f->browser->query();
    QCOMPARE(f->listedNames(), namesOf(allStored));

    f->setFilter(from, to, camera);
    f->browser->query();
    QCOMPARE(f->listedNames(), expected);
    QVERIFY(f->prompter.shown.isEmpty());
}

void BrowserCommandsTest::commandsWithoutRowsDoNothing()
{
    // Never queried: no result list. Then an empty one (from after to).
    for (const bool queried : {false, true}) {
        if (queried) {
            f->setFilter("2024-03-06", "2024-03-04");
            f->browser->query();
            QVERIFY(f->house.qwjcx.isOpen());
        }
        f->prompter.yesAnswers = {true, true, true};
        f->browser->playSelected();
        f->browser->openSelectedFolder();
        f->browser->deleteSelected();
        f->browser->deleteAllListed();
        f->browser->deleteCurrentRowOnly();
        QVERIFY(f->desktop.opened.isEmpty());
        QVERIFY(f->prompter.shown.isEmpty());
        QCOMPARE(f->catalogueNames(), namesOf(allStored));
        QCOMPARE(f->filesInSaveFolder().size(), storedTimes.size());
    }
}

void BrowserCommandsTest::playAndOpenFolderUseSelectedRow()
{
    f->browser->query();
    QVERIFY(f->house.qwjcx_s.setCurrentRow(2));
    f->browser->playSelected();
    f->browser->openSelectedFolder();
    QCOMPARE(f->desktop.opened, (QStringList{f->saveFolder + nameOf(3), f->saveFolder}));
}

void BrowserCommandsTest::deleteOne_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::addColumn<QString>("fromAfterDeletion");
    QTest::addColumn<QStringList>("expectedListed");

    QTest::newRow("yes: file and row go, list queried again")
        << true << "2024-03-05" << namesOf({1, 3, 4});
    QTest::newRow("no: nothing changes") << false << "2024-03-05" << namesOf({1, 2, 3, 4});
    QTest::newRow("yes, from field no date now: list kept as it was")
        << true << "2024-13-01" << namesOf({1, 2, 3, 4});
}

void BrowserCommandsTest::deleteOne()
{
    QFETCH(bool, answerYes);
    QFETCH(QString, fromAfterDeletion);
    QFETCH(QStringList, expectedListed);

    f->browser->query();
    QVERIFY(f->house.qwjcx_s.setCurrentRow(1));
    f->filter.fromText = fromAfterDeletion;
    f->prompter.yesAnswers = {answerYes};
    f->browser->deleteSelected();

    QCOMPARE(f->prompter.shown.size(), 1);
    QCOMPARE(f->prompter.shown.first().text, QStringLiteral("您确定要删除您选择的这条记录吗？"));
    QCOMPARE(f->prompter.shown.first().caption, QStringLiteral("询问"));
    QCOMPARE(f->listedNames(), expectedListed);
    QCOMPARE(f->catalogueNames().contains(nameOf(2)), !answerYes);
    QCOMPARE(QFile::exists(f->saveFolder + nameOf(2)), !answerYes);
    QCOMPARE(f->catalogueNames().size(), answerYes ? 5 : 6);
}

void BrowserCommandsTest::deleteAll_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("camera");
    QTest::addColumn<QList<int>>("expectedKept");

    QTest::newRow("one day, all cameras") << "2024-03-05" << "2024-03-05" << "所有" << QList<int>{0, 5};
    QTest::newRow("three days, camera 2 only") << "2024-03-04" << "2024-03-06" << "2" << QList<int>{1, 2, 4};
    QTest::newRow("one day, camera 3") << "2024-03-05" << "2024-03-05" << "3" << QList<int>{0, 1, 3, 5};
}

void BrowserCommandsTest::deleteAll()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, camera);
    QFETCH(QList<int>, expectedKept);

    f->setFilter(from, to, camera);
    f->browser->query();
    f->prompter.yesAnswers = {true};
    f->browser->deleteAllListed();

    QCOMPARE(f->prompter.shown.size(), 1);
    QCOMPARE(f->prompter.shown.first().text, QStringLiteral("您确定要删除所有视频监控文件和记录吗？"));
    QCOMPARE(f->prompter.shown.first().caption, QStringLiteral("询问"));
    QCOMPARE(f->catalogueNames(), namesOf(expectedKept));
    QCOMPARE(f->filesInSaveFolder(), namesOf(expectedKept));
    QCOMPARE(f->listedNames(), QStringList{});
    QCOMPARE(f->progress.begunWith, -1);  // short lists show no progress
}

void BrowserCommandsTest::rowsGoneUnderThePageAreDeletedQuietly()
{
    f->browser->query();
    QVERIFY(f->house.qwjcx_s.setCurrentRow(0));
    // The disk-space reclaim removes the oldest listed recording meanwhile.
    const int iid = f->house.qwjcx.integerField(QStringLiteral("iid"));
    QVERIFY(QFile::remove(f->saveFolder + nameOf(1)));
    f->house.deleteById(f->house.qdel, iid);
    QCOMPARE(f->listedNames(), namesOf({1, 2, 3, 4}));

    f->browser->playSelected();
    QCOMPARE(f->desktop.opened, QStringList{f->saveFolder + nameOf(1)});
    f->prompter.yesAnswers = {true};
    f->browser->deleteSelected();
    QCOMPARE(f->prompter.shown.size(), 1);  // the question, no error
    QCOMPARE(f->listedNames(), namesOf({2, 3, 4}));
}

void BrowserCommandsTest::databaseErrorEndsDeleteAllAtThatRow()
{
    // The catalogue refuses to delete camera 3's rows.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("trigger"));
        db.setDatabaseName(Tdbhouse::catalogueFilePath(f->dir.path()));
        QVERIFY(db.open());
        QVERIFY(QSqlQuery(db).exec(QStringLiteral(
            "create trigger refuse before delete on avib when old.wjid = 3 begin select raise(abort, 'refused'); end")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("trigger"));

    f->browser->query();
    f->prompter.yesAnswers = {true};
    try {
        f->browser->deleteAllListed();
        QFAIL("the refused delete must reach the caller");
    } catch (const AppError &error) {
        QVERIFY2(error.text().contains(QStringLiteral("refused")), qPrintable(error.text()));
    }
    // Camera 1's row (first) went; the walk ended at camera 3's, the rows after it stay.
    QCOMPARE(f->catalogueNames(), namesOf({0, 2, 3, 4, 5}));
    QVERIFY(!QFile::exists(f->saveFolder + nameOf(1)));
    QVERIFY(QFile::exists(f->saveFolder + nameOf(3)));
    QVERIFY(QFile::exists(f->saveFolder + nameOf(4)));
    // No re-query: the list still shows the rows as listed, on the failing row.
    QCOMPARE(f->listedNames(), namesOf({1, 2, 3, 4}));
    QCOMPARE(f->house.qwjcx.currentRow(), 1);
}

void BrowserCommandsTest::longDeleteAllShowsProgressAndStopsBetweenPairs()
{
    const int rows = RecordingBrowser::rowsForProgress;
    f->house.adoacccon.database().transaction();
    for (int row = 0; row < rows; ++row)
        f->record(QStringLiteral("2024-04-01 %1:%2:00").arg(row / 60, 2, 10, QLatin1Char('0')).arg(row % 60, 2, 10,
                                                                                                  QLatin1Char('0')),
                  1);
    f->house.adoacccon.database().commit();

    f->setFilter("2024-04-01", "2024-04-01");
    f->browser->query();

    // A database error ends the walk and the progress with it.
    f->house.adoacccon.close();
    f->house.adoacccon.setDatabaseFile(f->dir.path() + QStringLiteral("/gone.db"));
    f->prompter.yesAnswers = {true};
    QVERIFY_THROWS_EXCEPTION(AppError, f->browser->deleteAllListed());
    QCOMPARE(f->progress.begunWith, rows);
    QCOMPARE(f->progress.ended, 1);

    f->house.openCatalogue(f->dir.path());
    f->progress = FakeProgress();
    f->progress.stopAfterRows = 120;
    f->browser->query();
    QCOMPARE(f->house.qwjcx.rowCount(), rows);
    f->prompter.yesAnswers = {true};
    f->browser->deleteAllListed();

    QCOMPARE(f->progress.begunWith, rows);
    QCOMPARE(f->progress.ended, 1);
    // Each pair finished before the stop: 120 files and rows gone, the rest listed again.
    QCOMPARE(f->house.qwjcx.rowCount(), rows - 120);
    QCOMPARE(f->catalogueNames().size(), storedTimes.size() + rows - 120);
    QCOMPARE(f->filesInSaveFolder().size(), storedTimes.size() + rows - 120);
}

enum class RowTarget { RecordingFile, NamePrefixedRecording, OtherFile, CameraFive, BackupSuffix, SymlinkToFile,
                       Folder, RelativePath, LiveRecording };
Q_DECLARE_METATYPE(RowTarget)

void BrowserCommandsTest::onlyRecordingFilesAreDeleted_data()
{
    QTest::addColumn<RowTarget>("target");
    QTest::addColumn<bool>("fileDeleted");

    QTest::newRow("recording file") << RowTarget::RecordingFile << true;
    QTest::newRow("save folder without trailing slash") << RowTarget::NamePrefixedRecording << true;
    QTest::newRow("file outside the scheme") << RowTarget::OtherFile << false;
    QTest::newRow("camera number 5") << RowTarget::CameraFive << false;
    QTest::newRow("name with a suffix after .mpg") << RowTarget::BackupSuffix << false;
    QTest::newRow("symlink named as a recording") << RowTarget::SymlinkToFile << false;
    QTest::newRow("folder named as a recording") << RowTarget::Folder << false;
    QTest::newRow("relative path") << RowTarget::RelativePath << false;
    QTest::newRow("file a camera records into") << RowTarget::LiveRecording << false;
}

void BrowserCommandsTest::onlyRecordingFilesAreDeleted()
{
    QFETCH(RowTarget, target);
    QFETCH(bool, fileDeleted);

    const QString outside = f->dir.path() + QStringLiteral("/elsewhere/");
    QVERIFY(QDir().mkpath(outside));
    const QString precious = outside + QStringLiteral("precious.txt");
    BrowserFixture::writeFile(precious);

    QString path;
    switch (target) {
    case RowTarget::RecordingFile: path = f->saveFolder + "20240310083005_1.mpg"; break;
    case RowTarget::NamePrefixedRecording: path = f->dir.path() + "/rec20240310083005_1.mpg"; break;
    case RowTarget::OtherFile: path = precious; break;
    case RowTarget::CameraFive: path = f->saveFolder + "20240310083005_5.mpg"; break;
    case RowTarget::BackupSuffix: path = f->saveFolder + "20240310083005_1.mpg.bak"; break;
    case RowTarget::SymlinkToFile: path = f->saveFolder + "20240310083005_2.mpg"; break;
    case RowTarget::Folder: path = f->saveFolder + "20240310083005_3.mpg"; break;
    case RowTarget::RelativePath: path = "20240310083005_4.mpg"; break;
    case RowTarget::LiveRecording: path = f->saveFolder + "20240310083005_4.mpg"; break;
    }
    if (target == RowTarget::SymlinkToFile)
        QVERIFY(QFile::link(precious, path));
    else if (target == RowTarget::Folder)
        QVERIFY(QDir().mkpath(path));
    else if (target == RowTarget::RelativePath)
        QVERIFY(QDir::setCurrent(f->saveFolder));
    if (target != RowTarget::OtherFile && target != RowTarget::SymlinkToFile && target != RowTarget::Folder)
        BrowserFixture::writeFile(target == RowTarget::RelativePath ? f->saveFolder + path : path);
    if (target == RowTarget::LiveRecording)
        f->livePaths.insert(path);

    const QDateTime moment(QDate(2024, 3, 10), QTime(8, 30, 5));
    f->house.insertRecording(moment, QDateTime(moment.date(), QTime(0, 0)), QFileInfo(path).fileName(), path, 1);
    f->setFilter("2024-03-10", "2024-03-10");
    f->browser->query();
    QCOMPARE(f->house.qwjcx.rowCount(), 1);
    f->prompter.yesAnswers = {true};
    f->browser->deleteSelected();

    QCOMPARE(f->house.qwjcx.rowCount(), 0);  // the row goes in every case
    const QString onDisk = target == RowTarget::RelativePath ? f->saveFolder + path : path;
    QCOMPARE(QFileInfo(onDisk).exists() || QFileInfo(onDisk).isSymLink(), !fileDeleted);
    QVERIFY(QFile::exists(precious));
    QCOMPARE(f->catalogueNames(), namesOf(allStored));
}

void BrowserCommandsTest::gridCtrlDeleteRemovesOnlyTheRow_data()
{
    QTest::addColumn<bool>("answerYes");
    QTest::newRow("confirmed") << true;
    QTest::newRow("declined") << false;
}

void BrowserCommandsTest::gridCtrlDeleteRemovesOnlyTheRow()
{
    QFETCH(bool, answerYes);
    f->browser->query();
    QVERIFY(f->house.qwjcx_s.setCurrentRow(1));
    // A row catalogued after the query: it appears only when the query runs again.
    f->record("2024-03-05 23:59:59", 4);
    f->prompter.yesAnswers = {answerYes};
    f->browser->deleteCurrentRowOnly();

    QCOMPARE(f->prompter.shown.size(), 1);
    QCOMPARE(f->prompter.shown.first().caption, QStringLiteral("确认"));
    QCOMPARE(f->listedNames(), answerYes ? namesOf({1, 3, 4}) : namesOf({1, 2, 3, 4}));
    QCOMPARE(f->catalogueNames().contains(nameOf(2)), !answerYes);
    QVERIFY(QFile::exists(f->saveFolder + nameOf(2)));
    // The row after the deleted one is the current one.
    QCOMPARE(f->house.qwjcx.textField(QStringLiteral("wjmc")), answerYes ? nameOf(3) : nameOf(2));
}

void BrowserCommandsTest::datePicks_data()
{
    QTest::addColumn<bool>("fromField");
    QTest::addColumn<std::optional<QDate>>("picked");
    QTest::addColumn<std::optional<QString>>("expectedText");
    QTest::addColumn<bool>("expectedFocusToEdit10");

    const std::optional<QDate> nothing;
    const std::optional<QString> noText;
    QTest::newRow("from-date picked") << true << std::optional<QDate>(QDate(2024, 2, 9))
                                      << std::optional<QString>("2024-02-09") << true;
    QTest::newRow("from-date closed without OK") << true << nothing << noText << false;
    QTest::newRow("to-date picked") << false << std::optional<QDate>(QDate(2023, 12, 31))
                                    << std::optional<QString>("2023-12-31") << false;
    QTest::newRow("to-date closed without OK") << false << nothing << noText << false;
}

void BrowserCommandsTest::datePicks()
{
    QFETCH(bool, fromField);
    QFETCH(std::optional<QDate>, picked);
    QFETCH(std::optional<QString>, expectedText);
    QFETCH(bool, expectedFocusToEdit10);

    // The ">>>" button shows while its field has the focus, and stays while it takes the focus itself.
    QVERIFY(f->browser->pickerButtonVisibleOnEnter());
    QVERIFY(f->browser->pickerButtonVisibleOnExit(true));
    QVERIFY(!f->browser->pickerButtonVisibleOnExit(false));

    f->picker.answer = picked;
    const DatePickOutcome outcome = fromField ? f->browser->pickFromDate() : f->browser->pickToDate();
    QCOMPARE(f->picker.shown, 1);
    QCOMPARE(outcome.fieldText, expectedText);
    QCOMPARE(outcome.moveFocusToToField, expectedFocusToEdit10);
    QVERIFY(!outcome.buttonVisible);
}

QTEST_GUILESS_MAIN(BrowserCommandsTest)
#include "tst_browser_commands.moc"
