// browser_bench [folder]: the recording browser over a catalogue of 100,000
// rows (four cameras, about five years). Prints the time from a one-week
// query to its first rows painted in the grid, for all cameras and for one,
// the time to scroll the grid to its end, the same for the whole catalogue,
// and "delete all" of 1,000 listed recordings with their files. The sandbox
// goes under folder (default: the system's temporary folder). Asserts nothing.

#include "browser/RecordingBrowser.h"
#include "browser/ui/DeletionProgressDialog.h"
#include "browser/ui/RecordingGrid.h"
#include "catalogue/CatalogueFile.h"
#include "catalogue/Tdbhouse.h"
#include "common/DesktopOpener.h"
#include "common/Prompter.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int catalogueRows = 100000;
constexpr int rowsPerDay = 58;  // four cameras, a file every 100 minutes each
constexpr int deletedRows = 1000;
constexpr int repeats = 7;

class YesPrompter final : public Prompter
{
public:
    void message(const QString &, const QString &, Icon) override {}
    bool askYesNo(const QString &, const QString &) override { return true; }
    std::optional<QString> input(const QString &, const QString &, const QString &) override { return {}; }
};

class NoDesktop final : public DesktopOpener
{
public:
    void open(const QString &) override {}
};

// Rows in one transaction through a connection of its own; files only when withFiles.
void fillCatalogue(const QString &databasePath, const QDate &firstDay, int rows, int rowsEachDay,
                   const QString &saveFolder, bool withFiles)
{
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fill"));
        db.setDatabaseName(databasePath);
        db.open();
        db.transaction();
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("insert into avib(sj,drq,wjmc,strpath,wjid) values(?,?,?,?,?)"));
        for (int row = 0; row < rows; ++row) {
            const QDate day = firstDay.addDays(row / rowsEachDay);
            const QDateTime moment(day, QTime(0, 0).addSecs((row % rowsEachDay) * (86400 / rowsEachDay)));
            const int camera = row % 4 + 1;
            const QString name = moment.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("_%1.mpg").arg(camera);
            insert.addBindValue(moment.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            insert.addBindValue(QDateTime(day, QTime(0, 0)).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
            insert.addBindValue(name);
            insert.addBindValue(saveFolder + name);
            insert.addBindValue(camera);
            insert.exec();
            if (withFiles) {
                QFile file(saveFolder + name);
                file.open(QIODevice::WriteOnly);
                file.write(QByteArray(4096, 'v'));
            }
        }
        db.commit();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fill"));
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

struct Timings
{
    double firstRowsMs;
    double scrollToEndMs;
    int rows;
};

// Query, then paint; then scroll to the last row and paint. Medians over repeats.
Timings measureQuery(RecordingBrowser &browser, RecordingFilter &filter, const RecordingFilter &wanted,
                     QTableView &grid, Tdbhouse &house)
{
    QList<double> first, scroll;
    for (int run = 0; run < repeats; ++run) {
        filter = wanted;
        QElapsedTimer clock;
        clock.start();
        browser.query();
        grid.viewport()->repaint();
        QCoreApplication::processEvents();
        first << clock.nsecsElapsed() / 1e6;

        clock.restart();
        grid.scrollToBottom();
        grid.viewport()->repaint();
        QCoreApplication::processEvents();
        scroll << clock.nsecsElapsed() / 1e6;
        grid.scrollToTop();
    }
    return {median(first), median(scroll), house.qwjcx.rowCount()};
}

}  // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QTextStream out(stdout);
    const QString base = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QDir::tempPath();
    QTemporaryDir sandbox(base + QStringLiteral("/browser_bench-XXXXXX"));
    const QString folder = sandbox.path();
    const QString saveFolder = folder + QStringLiteral("/rec/");
    QDir().mkpath(saveFolder);
    createCatalogueFile(Tdbhouse::catalogueFilePath(folder));

    const QDate firstDay(2021, 1, 1);
    fillCatalogue(Tdbhouse::catalogueFilePath(folder), firstDay, catalogueRows, rowsPerDay, saveFolder, false);
    // 1,000 recordings with their files, alone on a day after the others.
    const QDate deletionDay = firstDay.addDays(catalogueRows / rowsPerDay + 30);
    fillCatalogue(Tdbhouse::catalogueFilePath(folder), deletionDay, deletedRows, deletedRows, saveFolder, true);
    out << "catalogue: " << catalogueRows + deletedRows << " rows in " << folder << "\n";

    Tdbhouse house;
    house.openCatalogue(folder);
    YesPrompter prompter;
    NoDesktop desktop;
    QTableView grid;
    grid.resize(1100, 600);
    setUpRecordingGrid(grid, house.qwjcx_s, [] {});
    grid.show();
    DeletionProgressDialog progress(&grid);
    RecordingFilter filter;
    RecordingBrowserServices services;
    services.catalogue = &house;
    services.prompter = &prompter;
    services.desktop = &desktop;
    services.progress = &progress;
    services.readFilter = [&filter] { return filter; };
    RecordingBrowser browser(services);

    const QDate weekStart = firstDay.addDays(900);
    const QString from = weekStart.toString(QStringLiteral("yyyy-MM-dd"));
    const QString to = weekStart.addDays(6).toString(QStringLiteral("yyyy-MM-dd"));
    const auto report = [&](const char *what, const Timings &t) {
        out << qSetFieldWidth(34) << Qt::left << what << qSetFieldWidth(0) << t.rows << " rows: first rows shown "
            << QString::number(t.firstRowsMs, 'f', 2) << " ms, scrolled to the end "
            << QString::number(t.scrollToEndMs, 'f', 2) << " ms\n";
    };
    report("one week, all cameras", measureQuery(browser, filter, {from, to, QStringLiteral("所有")}, grid, house));
    report("one week, camera 3", measureQuery(browser, filter, {from, to, QStringLiteral("3")}, grid, house));
    report("whole catalogue, all cameras",
           measureQuery(browser, filter, {QStringLiteral("2000-01-01"), QStringLiteral("2100-01-01"),
                                          QStringLiteral("所有")}, grid, house));

    // The same week without the day index, as in a catalogue made before it existed.
    {
        QSqlQuery drop(house.adoacccon.database());
        drop.exec(QStringLiteral("drop index avib_drq"));
    }
    report("one week, all cameras, no index",
           measureQuery(browser, filter, {from, to, QStringLiteral("所有")}, grid, house));
    {
        QSqlQuery make(house.adoacccon.database());
        make.exec(QStringLiteral("create index avib_drq on avib(drq)"));
    }

    const QString day = deletionDay.toString(QStringLiteral("yyyy-MM-dd"));
    filter = {day, day, QStringLiteral("所有")};
    browser.query();
    const int listed = house.qwjcx.rowCount();
    QElapsedTimer clock;
    clock.start();
    browser.deleteAllListed();
    const double deleteMs = clock.nsecsElapsed() / 1e6;
    const int filesLeft = int(QDir(saveFolder).entryList(QDir::Files).size());
    out << "delete all of " << listed << " listed recordings with their files: "
        << QString::number(deleteMs / 1000.0, 'f', 2) << " s (" << filesLeft << " files left, "
        << house.qwjcx.rowCount() << " rows listed after)\n";
    return 0;
}
