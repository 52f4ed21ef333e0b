#include "catalogue/CatalogueFile.h"

#include "common/AppError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryFile>

#include <atomic>

namespace {

const char *const createTableSql =
    "create table avib ("
    " iid integer primary key autoincrement,"
    " sj text,"
    " drq text,"
    " wjmc text,"
    " strpath text,"
    " wjid integer)";

// The browser lists recordings by a range of days; without this index every
// query reads the whole table, which grows by some 21,000 rows a year.
const char *const createDayIndexSql = "create index avib_drq on avib(drq)";

// Builds the table in the file at path; the text of the failure, or empty.
QString buildEmptyCatalogue(const QString &path)
{
    static std::atomic<int> counter{0};
    const QString connectionName = QStringLiteral("kamvist-make-catalogue-%1").arg(++counter);
    QString failure;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connectionName);
        db.setDatabaseName(path);
        if (!db.open()) {
            failure = db.lastError().text();
        } else {
            QSqlQuery query(db);
            if (!query.exec(QString::fromLatin1(createTableSql))
                || !query.exec(QString::fromLatin1(createDayIndexSql)))
                failure = query.lastError().text();
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(connectionName);
    return failure;
}

}  // namespace

bool createCatalogueFile(const QString &path)
{
    const QFileInfo target(path);
    if (target.exists())
        return false;
    if (!QDir().mkpath(target.absolutePath()))
        throw AppError(QStringLiteral("无法创建文件夹：%1").arg(target.absolutePath()));

    // The table is built in a scratch file beside the target and renamed into
    // place, so a half-made file is never left at path and a file that
    // appeared meanwhile is not replaced (rename refuses an existing target).
    QTemporaryFile scratch(target.absoluteFilePath() + QStringLiteral(".XXXXXX"));
    if (!scratch.open())
        throw AppError(QStringLiteral("无法创建录像目录数据库文件：%1（%2）").arg(path, scratch.errorString()));
    scratch.close();
    // A scratch file is private to its owner; the catalogue is an ordinary file.
    scratch.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup
                           | QFileDevice::ReadOther);

    const QString failure = buildEmptyCatalogue(scratch.fileName());
    if (!failure.isEmpty())
        throw AppError(QStringLiteral("无法创建录像目录数据库文件：%1（%2）").arg(path, failure));

    if (!scratch.rename(target.absoluteFilePath())) {
        if (QFileInfo::exists(path))
            return false;
        throw AppError(QStringLiteral("无法创建录像目录数据库文件：%1（%2）").arg(path, scratch.errorString()));
    }
    scratch.setAutoRemove(false);
    return true;
}
