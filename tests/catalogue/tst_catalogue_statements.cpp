// The four catalogue statements, the fixed result set and the grid model.

#include "CatalogueFixture.h"

#include "common/AppError.h"

#include <QSet>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>

#include <optional>

class CatalogueStatementsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void insertWritesValuesAsGiven();
    void dateRangeQuery_data();
    void dateRangeQuery();
    void oldestFive_data();
    void oldestFive();
    void deleteAllWhileWalkingVisitsEachRowOnce();
    void reclaimWalkSurvivesDeletesThroughQdel();
    void fieldReadsWithoutRowOrFieldRaise();
    void invalidDateParameterRaises();
    void failingStatementRaisesDriverText();
    void gridModelFollowsQuery();
    void removeCurrentRowDropsOnlyThatListedRow_data();
    void removeCurrentRowDropsOnlyThatListedRow();
    void rangeQueryUsesDayIndex_data();
    void rangeQueryUsesDayIndex();

private:
    std::optional<CatalogueSandbox> sandbox;
    std::optional<Tdbhouse> house;
};

void CatalogueStatementsTest::init()
{
    sandbox.emplace();
    sandbox->makeCatalogue();
    house.emplace();
    house->openCatalogue(sandbox->folder());
    QVERIFY(house->adoacccon.isOpen());
}

void CatalogueStatementsTest::cleanup()
{
    house.reset();
    sandbox.reset();
}

void CatalogueStatementsTest::insertWritesValuesAsGiven()
{
    house->insertRecording(at("2024-03-05 14:07:09"), day("2024-03-05"), QStringLiteral("20240305140709_3.mpg"),
                           QStringLiteral("/home/雷/录像/20240305140709_3.mpg"), 3);
    house->insertRecording(at("2024-03-05 14:08:00"), day("2024-03-05"), QStringLiteral("b.mpg"),
                           QStringLiteral("/r/b.mpg"), 1);

    // Read back through a plain connection of its own, as stored text.
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("check"));
        db.setDatabaseName(sandbox->databasePath());
        QVERIFY(db.open());
        QSqlQuery query(db);
        QVERIFY(query.exec(QStringLiteral("select iid, sj, drq, wjmc, strpath, wjid from avib order by iid")));
        QVERIFY(query.next());
        const int firstIid = query.value(0).toInt();
        QCOMPARE(query.value(1).toString(), QStringLiteral("2024-03-05 14:07:09"));
        QCOMPARE(query.value(2).toString(), QStringLiteral("2024-03-05 00:00:00"));
        QCOMPARE(query.value(3).toString(), QStringLiteral("20240305140709_3.mpg"));
        QCOMPARE(query.value(4).toString(), QStringLiteral("/home/雷/录像/20240305140709_3.mpg"));
        QCOMPARE(query.value(5).toInt(), 3);
        QVERIFY(query.next());
        QVERIFY(query.value(0).toInt() > firstIid);
        QVERIFY(!query.next());
    }
    QSqlDatabase::removeDatabase(QStringLiteral("check"));

    QCOMPARE(house->qins.text(), QStringLiteral("insert into avib(sj,drq,wjmc,strpath,wjid) \n"
                                                " values(:sj,:drq,:wjmc,:strpath,:wjid)"));
}

void CatalogueStatementsTest::dateRangeQuery_data()
{
    QTest::addColumn<QDateTime>("rq0");
    QTest::addColumn<QDateTime>("rq1");
    QTest::addColumn<std::optional<int>>("wjid");
    QTest::addColumn<QStringList>("expectedNames");

    const std::optional<int> allCameras;
    QTest::newRow("single day, all cameras")
        << day("2024-03-05") << day("2024-03-05") << allCameras
        << QStringList{"20240305000000_1.mpg", "20240305101010_2.mpg", "20240305235959_1.mpg"};
    QTest::newRow("single day, camera 1")
        << day("2024-03-05") << day("2024-03-05") << std::optional<int>(1)
        << QStringList{"20240305000000_1.mpg", "20240305235959_1.mpg"};
    QTest::newRow("single day, camera without rows")
        << day("2024-03-05") << day("2024-03-05") << std::optional<int>(4) << QStringList{};
    QTest::newRow("both end days included")
        << day("2024-03-04") << day("2024-03-06") << std::optional<int>(2)
        << QStringList{"20240304235959_2.mpg", "20240305101010_2.mpg", "20240306000000_2.mpg"};
    QTest::newRow("from after to") << day("2024-03-06") << day("2024-03-04") << allCameras << QStringList{};
    QTest::newRow("from with a time after midnight excludes that day")
        << at("2024-03-05 00:00:01") << day("2024-03-06") << allCameras
        << QStringList{"20240306000000_2.mpg"};
}

void CatalogueStatementsTest::dateRangeQuery()
{
    QFETCH(QDateTime, rq0);
    QFETCH(QDateTime, rq1);
    QFETCH(std::optional<int>, wjid);
    QFETCH(QStringList, expectedNames);

    insertAt(*house, "2024-03-04 23:59:59", 2);
    insertAt(*house, "2024-03-05 00:00:00", 1);
    insertAt(*house, "2024-03-05 10:10:10", 2);
    insertAt(*house, "2024-03-05 23:59:59", 1);
    insertAt(*house, "2024-03-06 00:00:00", 2);

    house->queryDateRange(rq0, rq1, wjid);
    QStringList names;
    for (house->qwjcx.first(); !house->qwjcx.atEnd(); house->qwjcx.next())
        names.append(house->qwjcx.textField(QStringLiteral("wjmc")));
    QCOMPARE(names, expectedNames);
    QCOMPARE(house->qwjcx.rowCount(), expectedNames.size());
    QCOMPARE(house->qwjcx.text().contains(QStringLiteral("  and wjid= :wjid ")), wjid.has_value());
}

void CatalogueStatementsTest::oldestFive_data()
{
    QTest::addColumn<int>("rowsInTable");
    QTest::addColumn<int>("deletedBeforeQuery");
    QTest::addColumn<QList<int>>("expectedPositions");

    QTest::newRow("three rows") << 3 << 0 << QList<int>{0, 1, 2};
    QTest::newRow("seven rows") << 7 << 0 << QList<int>{0, 1, 2, 3, 4};
    QTest::newRow("seven rows, oldest two gone") << 7 << 2 << QList<int>{2, 3, 4, 5, 6};
    QTest::newRow("empty table") << 0 << 0 << QList<int>{};
}

void CatalogueStatementsTest::oldestFive()
{
    QFETCH(int, rowsInTable);
    QFETCH(int, deletedBeforeQuery);
    QFETCH(QList<int>, expectedPositions);

    // Inserted out of time order: iid, not sj, decides what is oldest.
    for (int row = 0; row < rowsInTable; ++row)
        insertAt(*house, QStringLiteral("2024-03-%1 12:00:00").arg(20 - row, 2, 10, QLatin1Char('0')), 1);
    house->queryDateRange(day("2000-01-01"), day("2100-01-01"), std::nullopt);
    const QList<int> insertedIds = walkIds(house->qwjcx);
    for (int row = 0; row < deletedBeforeQuery; ++row)
        house->deleteById(house->qdel, insertedIds.at(row));

    house->openOldestFive();
    QList<int> expectedIds;
    for (int position : expectedPositions)
        expectedIds.append(insertedIds.at(position));
    QCOMPARE(walkIds(house->qyp), expectedIds);
}

void CatalogueStatementsTest::deleteAllWhileWalkingVisitsEachRowOnce()
{
    insertAt(*house, "2024-03-05 08:00:00", 1);
    insertAt(*house, "2024-03-05 09:00:00", 2);
    insertAt(*house, "2024-03-05 10:00:00", 1);
    insertAt(*house, "2024-03-06 10:00:00", 1);  // outside the listed day, must stay

    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QList<int> visited;
    for (house->qwjcx.first(); !house->qwjcx.atEnd(); house->qwjcx.next()) {
        const int iid = house->qwjcx.integerField(QStringLiteral("iid"));
        visited.append(iid);
        house->deleteById(house->qup, iid);
    }
    QCOMPARE(visited.size(), 3);
    QCOMPARE(QSet<int>(visited.cbegin(), visited.cend()).size(), 3);

    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QCOMPARE(house->qwjcx.rowCount(), 0);
    house->queryDateRange(day("2000-01-01"), day("2100-01-01"), std::nullopt);
    QCOMPARE(house->qwjcx.rowCount(), 1);
    house->qwjcx.first();
    QCOMPARE(house->qwjcx.textField(QStringLiteral("sj")), QStringLiteral("2024-03-06 10:00:00"));
}

void CatalogueStatementsTest::reclaimWalkSurvivesDeletesThroughQdel()
{
    for (int row = 0; row < 7; ++row)
        insertAt(*house, QStringLiteral("2024-03-05 0%1:00:00").arg(row), 1);
    house->openOldestFive();
    QList<int> visited;
    for (house->qyp.first(); !house->qyp.atEnd(); house->qyp.next()) {
        visited.append(house->qyp.integerField(QStringLiteral("iid")));
        house->deleteById(house->qdel, visited.last());
    }
    house->qyp.close();
    QCOMPARE(visited.size(), 5);

    house->openOldestFive();
    QCOMPARE(house->qyp.rowCount(), 2);
    QVERIFY(house->qyp.integerField(QStringLiteral("iid")) > visited.last());
}

void CatalogueStatementsTest::fieldReadsWithoutRowOrFieldRaise()
{
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QVERIFY(house->qwjcx.atEnd());
    QVERIFY_THROWS_EXCEPTION(AppError, house->qwjcx.integerField(QStringLiteral("iid")));

    insertAt(*house, "2024-03-05 08:00:00", 1);
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QCOMPARE(house->qwjcx.textField(QStringLiteral("STRPATH")), QStringLiteral("/rec/20240305080000_1.mpg"));
    QVERIFY_THROWS_EXCEPTION(AppError, house->qwjcx.textField(QStringLiteral("wjm")));
    QVERIFY_THROWS_EXCEPTION(AppError, house->qwjcx.integerField(QStringLiteral("wjmc")));

    house->qwjcx.close();
    QVERIFY(house->qwjcx.atEnd());
    QVERIFY_THROWS_EXCEPTION(AppError, house->qwjcx.textField(QStringLiteral("wjmc")));
}

void CatalogueStatementsTest::invalidDateParameterRaises()
{
    QVERIFY_THROWS_EXCEPTION(AppError, house->queryDateRange(QDateTime(), day("2024-03-05"), std::nullopt));
    QVERIFY_THROWS_EXCEPTION(AppError, house->insertRecording(QDateTime(), QDateTime(), QStringLiteral("a.mpg"),
                                                              QStringLiteral("/r/a.mpg"), 1));
    house->queryDateRange(day("2000-01-01"), day("2100-01-01"), std::nullopt);
    QCOMPARE(house->qwjcx.rowCount(), 0);
}

void CatalogueStatementsTest::failingStatementRaisesDriverText()
{
    CatalogueQuery broken(house->adoacccon);
    broken.addLine(QStringLiteral("select * from no_such_table"));
    try {
        broken.open();
        QFAIL("a failing statement must raise");
    } catch (const AppError &error) {
        QVERIFY2(error.text().contains(QStringLiteral("no such table")), qPrintable(error.text()));
    }
    QVERIFY(!broken.isOpen());
    QVERIFY(house->adoacccon.isOpen());
}

void CatalogueStatementsTest::gridModelFollowsQuery()
{
    RecordingListModel &model = house->qwjcx_s;
    QStringList titles;
    for (int column = 0; column < model.columnCount(); ++column)
        titles << model.headerData(column, Qt::Horizontal).toString();
    QCOMPARE(titles, (QStringList{"摄像头号", "文件名", "时间", "监控文件存放目录"}));
    QCOMPARE(model.rowCount(), 0);

    insertAt(*house, "2024-03-05 08:00:00", 1);
    insertAt(*house, "2024-03-05 09:00:00", 2);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QVERIFY(!resets.isEmpty());
    QCOMPARE(model.rowCount(), 2);
    // Each cell of the second row: the time in the program's "yyyy-MM-dd H:mm:ss" form.
    QStringList cells;
    for (int column = 0; column < model.columnCount(); ++column)
        cells << model.data(model.index(1, column)).toString();
    QCOMPARE(cells, (QStringList{"2", "20240305090000_2.mpg", "2024-03-05 9:00:00", "/rec/20240305090000_2.mpg"}));

    // Selecting a grid row moves the statement's current row, and back.
    QSignalSpy rowMoves(&house->qwjcx, &CatalogueQuery::currentRowChanged);
    QVERIFY(model.setCurrentRow(1));
    QCOMPARE(rowMoves.size(), 1);
    QCOMPARE(house->qwjcx.textField(QStringLiteral("wjmc")), QStringLiteral("20240305090000_2.mpg"));
    QVERIFY(!model.setCurrentRow(2));
    QVERIFY(!model.setCurrentRow(-1));
    QCOMPARE(house->qwjcx.currentRow(), 1);
    house->qwjcx.first();
    QCOMPARE(rowMoves.last().at(0).toInt(), 0);

    // Rows deleted underneath stay listed until the query runs again.
    house->deleteById(house->qup, house->qwjcx.integerField(QStringLiteral("iid")));
    QCOMPARE(model.rowCount(), 2);
    resets.clear();
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QVERIFY(!resets.isEmpty());
    QCOMPARE(model.rowCount(), 1);
    QCOMPARE(model.data(model.index(0, RecordingListModel::FileNameColumn)).toString(),
             QStringLiteral("20240305090000_2.mpg"));

    resets.clear();
    house->qwjcx.close();
    QVERIFY(!resets.isEmpty());
    QCOMPARE(model.rowCount(), 0);
}

void CatalogueStatementsTest::removeCurrentRowDropsOnlyThatListedRow_data()
{
    QTest::addColumn<int>("listedRows");
    QTest::addColumn<int>("removedRow");
    QTest::addColumn<QStringList>("expectedLeft");
    QTest::addColumn<int>("expectedCurrent");

    QTest::newRow("middle row: the next becomes current")
        << 3 << 1 << QStringList{"20240305080000_1.mpg", "20240305100000_1.mpg"} << 1;
    QTest::newRow("last row: the new last becomes current")
        << 3 << 2 << QStringList{"20240305080000_1.mpg", "20240305090000_1.mpg"} << 1;
    QTest::newRow("only row: the list is empty") << 1 << 0 << QStringList{} << 0;
}

void CatalogueStatementsTest::removeCurrentRowDropsOnlyThatListedRow()
{
    QFETCH(int, listedRows);
    QFETCH(int, removedRow);
    QFETCH(QStringList, expectedLeft);
    QFETCH(int, expectedCurrent);

    for (int row = 0; row < listedRows; ++row)
        insertAt(*house, QStringLiteral("2024-03-05 %1:00:00").arg(8 + row, 2, 10, QLatin1Char('0')), 1);
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QVERIFY(house->qwjcx.setCurrentRow(removedRow));

    QSignalSpy removals(&house->qwjcx_s, &QAbstractItemModel::rowsRemoved);
    house->qwjcx.removeCurrentRow();
    QCOMPARE(removals.size(), 1);
    QCOMPARE(removals.first().at(1).toInt(), removedRow);

    QStringList left;
    for (int row = 0; row < house->qwjcx_s.rowCount(); ++row)
        left << house->qwjcx_s.data(house->qwjcx_s.index(row, RecordingListModel::FileNameColumn)).toString();
    QCOMPARE(left, expectedLeft);
    QCOMPARE(house->qwjcx.currentRow(), expectedCurrent);
    QCOMPARE(house->qwjcx.atEnd(), expectedLeft.isEmpty());

    // The table itself is untouched: deleting the row is the caller's statement.
    house->queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QCOMPARE(house->qwjcx.rowCount(), listedRows);
}

void CatalogueStatementsTest::rangeQueryUsesDayIndex_data()
{
    QTest::addColumn<std::optional<int>>("wjid");
    QTest::newRow("all cameras") << std::optional<int>();
    QTest::newRow("one camera") << std::optional<int>(2);
}

void CatalogueStatementsTest::rangeQueryUsesDayIndex()
{
    QFETCH(std::optional<int>, wjid);
    house->queryDateRange(day("2024-03-04"), day("2024-03-10"), wjid);

    QSqlQuery plan(house->adoacccon.database());
    QVERIFY(plan.prepare(QStringLiteral("explain query plan ") + house->qwjcx.text()));
    plan.bindValue(QStringLiteral(":rq0"), QStringLiteral("2024-03-04 00:00:00"));
    plan.bindValue(QStringLiteral(":rq1"), QStringLiteral("2024-03-10 00:00:00"));
    if (wjid)
        plan.bindValue(QStringLiteral(":wjid"), *wjid);
    QVERIFY2(plan.exec(), qPrintable(plan.lastError().text()));
    QStringList steps;
    while (plan.next())
        steps << plan.value(QStringLiteral("detail")).toString();
    QVERIFY2(steps.join(' ').contains(QStringLiteral("USING INDEX avib_drq")), qPrintable(steps.join(" | ")));
}

QTEST_GUILESS_MAIN(CatalogueStatementsTest)
#include "tst_catalogue_statements.moc"
