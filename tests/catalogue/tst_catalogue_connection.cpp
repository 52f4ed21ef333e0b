// Opening the catalogue file, the retry-connect of later statements, and
// making the file.

#include "CatalogueFixture.h"

#include "common/AppError.h"

#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStandardPaths>

namespace {

// The text of the AppError the first insert raises, or empty when none.
QString insertFailure(Tdbhouse &house)
{
    try {
        insertAt(house, "2024-03-05 08:00:00", 1);
    } catch (const AppError &error) {
        return error.text();
    }
    return {};
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int rowsIn(const QString &path)
{
    int rows = -1;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("count"));
        db.setDatabaseName(path);
        if (db.open()) {
            QSqlQuery query(db);
            if (query.exec(QStringLiteral("select count(*) from avib")) && query.next())
                rows = query.value(0).toInt();
        }
    }
    QSqlDatabase::removeDatabase(QStringLiteral("count"));
    return rows;
}

}  // namespace

class CatalogueConnectionTest : public QObject
{
    Q_OBJECT

private slots:
    void openFailsSilently_data();
    void openFailsSilently();
    void lockedByAnotherConnection();
    void lockedByAnotherProcess();
    void fileThatAppearsLaterIsReached();
    void folderWithUnusualCharactersOpens();
    void createNeverOverwrites_data();
    void createNeverOverwrites();
    void createMakesFoldersAndEmptyTable();
    void catalogueWithoutDayIndexIsQueriedAndLeftAsItIs();
};

enum class FileAtPath { None, TextFile, DatabaseWithoutAvib };
Q_DECLARE_METATYPE(FileAtPath)

void CatalogueConnectionTest::openFailsSilently_data()
{
    QTest::addColumn<FileAtPath>("fileAtPath");
    QTest::addColumn<QString>("expectedReason");
    QTest::addColumn<QString>("expectedDriverText");

    QTest::newRow("missing file") << FileAtPath::None << QStringLiteral("不存在") << QString();
    QTest::newRow("not an SQLite file") << FileAtPath::TextFile << QStringLiteral("不是 SQLite 数据库")
                                        << QStringLiteral("file is not a database");
    QTest::newRow("no table avib") << FileAtPath::DatabaseWithoutAvib << QStringLiteral("没有表 avib") << QString();
}

void CatalogueConnectionTest::openFailsSilently()
{
    QFETCH(FileAtPath, fileAtPath);
    QFETCH(QString, expectedReason);
    QFETCH(QString, expectedDriverText);

    CatalogueSandbox sandbox;
    const QString path = sandbox.databasePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    if (fileAtPath == FileAtPath::TextFile) {
        writeFile(path, QByteArray("this is a text file, not a catalogue\n").repeated(40));
    } else if (fileAtPath == FileAtPath::DatabaseWithoutAvib) {
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("other"));
            db.setDatabaseName(path);
            QVERIFY(db.open());
            QVERIFY(QSqlQuery(db).exec(QStringLiteral("create table other(x integer)")));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("other"));
    }
    const QByteArray before = readFile(path);

    Tdbhouse house;
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    house.openCatalogue(sandbox.folder());
    QVERIFY(!house.adoacccon.isOpen());

    const QString failure = insertFailure(house);
    QVERIFY2(failure.contains(expectedReason), qPrintable(failure));
    QVERIFY2(failure.contains(path), qPrintable(failure));
    if (!expectedDriverText.isEmpty())
        QVERIFY2(failure.contains(expectedDriverText), qPrintable(failure));
    QVERIFY(!house.adoacccon.isOpen());

    // Neither the open nor the retry made or changed a file.
    QCOMPARE(QFileInfo::exists(path), fileAtPath != FileAtPath::None);
    QCOMPARE(readFile(path), before);
}

void CatalogueConnectionTest::lockedByAnotherConnection()
{
    CatalogueSandbox sandbox;
    sandbox.makeCatalogue();
    Tdbhouse house;
    {
        QSqlDatabase locker = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("locker"));
        locker.setDatabaseName(sandbox.databasePath());
        QVERIFY(locker.open());
        QSqlQuery lock(locker);
        QVERIFY(lock.exec(QStringLiteral("begin exclusive")));

        QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
        house.openCatalogue(sandbox.folder());
        QVERIFY(!house.adoacccon.isOpen());
        const QString failure = insertFailure(house);
        QVERIFY2(failure.contains(QStringLiteral("锁定")), qPrintable(failure));
        QVERIFY2(failure.contains(sandbox.databasePath()), qPrintable(failure));
        QVERIFY2(failure.contains(QStringLiteral("locked")), qPrintable(failure));

        QVERIFY(lock.exec(QStringLiteral("rollback")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("locker"));

    // Once the lock is gone, the next statement connects and runs.
    QCOMPARE(insertFailure(house), QString());
    QCOMPARE(rowsIn(sandbox.databasePath()), 1);
}

void CatalogueConnectionTest::lockedByAnotherProcess()
{
    const QString sqlite3 = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    // The test set-up installs the tool; without it this test would prove nothing.
    QVERIFY2(!sqlite3.isEmpty(), "the sqlite3 command-line tool is missing");

    CatalogueSandbox sandbox;
    sandbox.makeCatalogue();
    QProcess locker;
    locker.start(sqlite3, {sandbox.databasePath()});
    QVERIFY(locker.waitForStarted());
    locker.write("begin exclusive;\nselect 'locked';\n");
    while (!locker.readAllStandardOutput().contains("locked"))
        QVERIFY(locker.waitForReadyRead(5000));

    Tdbhouse house;
    house.openCatalogue(sandbox.folder());
    QVERIFY(!house.adoacccon.isOpen());
    const QString failure = insertFailure(house);
    QVERIFY2(failure.contains(QStringLiteral("锁定")), qPrintable(failure));

    locker.closeWriteChannel();  // sqlite3 ends at end of input, dropping its lock
    QVERIFY(locker.waitForFinished(5000));
    QCOMPARE(insertFailure(house), QString());
}

void CatalogueConnectionTest::fileThatAppearsLaterIsReached()
{
    CatalogueSandbox sandbox;
    Tdbhouse house;
    house.openCatalogue(sandbox.folder());
    QVERIFY(!house.adoacccon.isOpen());

    sandbox.makeCatalogue();
    QCOMPARE(insertFailure(house), QString());
    QVERIFY(house.adoacccon.isOpen());
    house.queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
    QCOMPARE(house.qwjcx.rowCount(), 1);
}

void CatalogueConnectionTest::folderWithUnusualCharactersOpens()
{
    // The file is opened through a URI, so these must survive the encoding.
    CatalogueSandbox sandbox;
    const QString folder = sandbox.folder() + QStringLiteral("/录像 #1 %20?x=y");
    QVERIFY(createCatalogueFile(Tdbhouse::catalogueFilePath(folder)));
    Tdbhouse house;
    house.openCatalogue(folder);
    QVERIFY2(house.adoacccon.isOpen(), qPrintable(house.adoacccon.lastFailure()));
    QCOMPARE(insertFailure(house), QString());
    QCOMPARE(rowsIn(Tdbhouse::catalogueFilePath(folder)), 1);
}

void CatalogueConnectionTest::createNeverOverwrites_data()
{
    QTest::addColumn<bool>("existingIsCatalogue");
    QTest::newRow("existing catalogue with rows") << true;
    QTest::newRow("existing file of another kind") << false;
}

void CatalogueConnectionTest::createNeverOverwrites()
{
    QFETCH(bool, existingIsCatalogue);
    CatalogueSandbox sandbox;
    const QString path = sandbox.databasePath();
    if (existingIsCatalogue) {
        sandbox.makeCatalogue();
        Tdbhouse house;
        house.openCatalogue(sandbox.folder());
        insertAt(house, "2024-03-05 08:00:00", 1);
    } else {
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        writeFile(path, "not a database");
    }
    const QByteArray before = readFile(path);
    QVERIFY(!before.isEmpty());

    QVERIFY(!createCatalogueFile(path));
    QCOMPARE(readFile(path), before);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"dzxcb.db"});
}

void CatalogueConnectionTest::createMakesFoldersAndEmptyTable()
{
    CatalogueSandbox sandbox;
    const QString path = sandbox.folder() + QStringLiteral("/深/层/dat/dzxcb.db");
    QVERIFY(createCatalogueFile(path));
    QCOMPARE(rowsIn(path), 0);
    QCOMPARE(QDir(QFileInfo(path).absolutePath()).entryList(QDir::Files), QStringList{"dzxcb.db"});
}

void CatalogueConnectionTest::catalogueWithoutDayIndexIsQueriedAndLeftAsItIs()
{
    // A catalogue made before the day index existed: the table alone, with a row.
    CatalogueSandbox sandbox;
    const QString path = sandbox.databasePath();
    QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("older"));
        db.setDatabaseName(path);
        QVERIFY(db.open());
        QSqlQuery make(db);
        QVERIFY(make.exec(QStringLiteral("create table avib (iid integer primary key autoincrement, sj text,"
                                         " drq text, wjmc text, strpath text, wjid integer)")));
        QVERIFY(make.exec(QStringLiteral("insert into avib(sj,drq,wjmc,strpath,wjid) values('2024-03-05 08:00:00',"
                                         "'2024-03-05 00:00:00','20240305080000_1.mpg','/r/20240305080000_1.mpg',1)")));
    }
    QSqlDatabase::removeDatabase(QStringLiteral("older"));
    const QByteArray before = readFile(path);

    {
        Tdbhouse house;
        house.openCatalogue(sandbox.folder());
        QVERIFY(house.adoacccon.isOpen());
        house.queryDateRange(day("2024-03-05"), day("2024-03-05"), std::nullopt);
        QCOMPARE(house.qwjcx.rowCount(), 1);
    }
    QCOMPARE(readFile(path), before);

    // A new catalogue carries the index.
    CatalogueSandbox fresh;
    fresh.makeCatalogue();
    int indexes = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fresh"));
        db.setDatabaseName(fresh.databasePath());
        QVERIFY(db.open());
        QSqlQuery probe(db);
        QVERIFY(probe.exec(QStringLiteral("select count(*) from sqlite_master where type='index' and name='avib_drq'")));
        QVERIFY(probe.next());
        indexes = probe.value(0).toInt();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("fresh"));
    QCOMPARE(indexes, 1);
}

QTEST_GUILESS_MAIN(CatalogueConnectionTest)
#include "tst_catalogue_connection.moc"
