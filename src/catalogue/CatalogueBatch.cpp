#include "catalogue/CatalogueBatch.h"

#include "catalogue/CatalogueConnection.h"
#include "common/AppError.h"

#include <QSqlDatabase>
#include <QSqlError>

CatalogueBatch::CatalogueBatch(CatalogueConnection &connection, int statementsPerCommit)
    : connection_(connection), statementsPerCommit_(statementsPerCommit)
{
    connection_.ensureOpen();
    begin();
}

CatalogueBatch::~CatalogueBatch()
{
    QSqlDatabase db = connection_.database();
    // A commit that fails here cannot be reported; leave the connection usable.
    if (!db.commit())
        db.rollback();
}

void CatalogueBatch::begin()
{
    QSqlDatabase db = connection_.database();
    if (!db.transaction())
        throw AppError(QStringLiteral("录像目录事务无法开始：%1").arg(db.lastError().text().trimmed()));
}

void CatalogueBatch::commit()
{
    QSqlDatabase db = connection_.database();
    if (!db.commit())
        throw AppError(QStringLiteral("录像目录事务无法提交：%1").arg(db.lastError().text().trimmed()));
}

void CatalogueBatch::statementDone()
{
    if (++statementsSinceCommit_ < statementsPerCommit_)
        return;
    statementsSinceCommit_ = 0;
    commit();
    begin();
}
