#include "catalogue/CatalogueConnection.h"

#include "common/AppError.h"

#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <atomic>

namespace {

// Primary SQLite result codes, as the driver reports them in nativeErrorCode().
constexpr int sqliteBusy = 5;
constexpr int sqliteLocked = 6;
constexpr int sqliteNotADatabase = 26;

int primaryResultCode(const QSqlError &error)
{
    bool ok = false;
    const int code = error.nativeErrorCode().toInt(&ok);
    return ok ? (code & 0xff) : -1;
}

QString uniqueConnectionName()
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kamvist-catalogue-%1").arg(++counter);
}

}  // namespace

CatalogueConnection::CatalogueConnection()
    : connectionName_(uniqueConnectionName())
{
    QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName_);
    lastFailure_ = QStringLiteral("录像目录数据库尚未打开");
}

CatalogueConnection::~CatalogueConnection()
{
    close();
    QSqlDatabase::removeDatabase(connectionName_);
}

void CatalogueConnection::setDatabaseFile(const QString &path)
{
    databaseFile_ = path;
}

QSqlDatabase CatalogueConnection::database() const
{
    return QSqlDatabase::database(connectionName_, false);
}

bool CatalogueConnection::isOpen() const
{
    return database().isOpen();
}

void CatalogueConnection::close()
{
    QSqlDatabase db = database();
    db.close();
}

QString CatalogueConnection::failureFor(const QString &step, const QSqlError &error) const
{
    const QString driverText = error.text().trimmed();
    switch (primaryResultCode(error)) {
    case sqliteNotADatabase:
        return QStringLiteral("录像目录文件不是 SQLite 数据库：%1（%2）").arg(databaseFile_, driverText);
    case sqliteBusy:
    case sqliteLocked:
        return QStringLiteral("录像目录数据库被其他进程锁定：%1（%2）").arg(databaseFile_, driverText);
    default:
        return QStringLiteral("%1录像目录数据库失败：%2（%3）").arg(step, databaseFile_, driverText);
    }
}

QString CatalogueConnection::checkCatalogueTable(const QSqlDatabase &db) const
{
    QSqlQuery probe(db);
    if (!probe.exec(QStringLiteral("select name from sqlite_master where type='table' and name='avib'")))
        return failureFor(QStringLiteral("读取"), probe.lastError());
    if (!probe.next())
        return QStringLiteral("录像目录数据库中没有表 avib：%1").arg(databaseFile_);
    return {};
}

bool CatalogueConnection::open()
{
    close();
    if (databaseFile_.isEmpty()) {
        lastFailure_ = QStringLiteral("未指定录像目录数据库文件");
        return false;
    }
    if (!QFileInfo::exists(databaseFile_)) {
        lastFailure_ = QStringLiteral("录像目录数据库文件不存在：%1").arg(databaseFile_);
        return false;
    }

    // URI mode=rw: SQLite refuses to create the file, even if it vanished
    // between the check above and this open.
    QSqlDatabase db = database();
    QUrl uri = QUrl::fromLocalFile(QFileInfo(databaseFile_).absoluteFilePath());
    uri.setQuery(QStringLiteral("mode=rw"));
    db.setDatabaseName(uri.toString(QUrl::FullyEncoded));
    db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeoutMs));
    if (!db.open()) {
        lastFailure_ = failureFor(QStringLiteral("打开"), db.lastError());
        db.close();
        return false;
    }

    // SQLite reads the file only at the first statement: a file that is not a
    // database, a locked one or one without the table shows up here.
    const QString failure = checkCatalogueTable(db);
    if (!failure.isEmpty()) {
        lastFailure_ = failure;
        db.close();
        return false;
    }
    lastFailure_.clear();
    return true;
}

void CatalogueConnection::ensureOpen()
{
    if (isOpen())
        return;
    if (!open())
        throw AppError(lastFailure_);
}
