#include "catalogue/Tdbhouse.h"

#include <QDir>

Tdbhouse::Tdbhouse(QObject *parent)
    : QObject(parent),
      qins(adoacccon),
      qwjcx(adoacccon),
      qup(adoacccon),
      qyp(adoacccon),
      qdel(adoacccon),
      qwjcx_s(qwjcx)
{
}

QString Tdbhouse::catalogueFilePath(const QString &executableFolder)
{
    return QDir(executableFolder).filePath(QStringLiteral("dat/dzxcb.db"));
}

void Tdbhouse::openCatalogue(const QString &executableFolder)
{
    adoacccon.close();
    adoacccon.setDatabaseFile(catalogueFilePath(executableFolder));
    adoacccon.open();
}

void Tdbhouse::insertRecording(const QDateTime &sj, const QDateTime &drq, const QString &wjmc,
                               const QString &strpath, int wjid)
{
    qins.close();
    qins.clearText();
    qins.addLine(QStringLiteral("insert into avib(sj,drq,wjmc,strpath,wjid) "));
    qins.addLine(QStringLiteral(" values(:sj,:drq,:wjmc,:strpath,:wjid)"));
    qins.bindDateTime(QStringLiteral("sj"), sj);
    qins.bindDateTime(QStringLiteral("drq"), drq);
    qins.bindText(QStringLiteral("wjmc"), wjmc);
    qins.bindText(QStringLiteral("strpath"), strpath);
    qins.bindInteger(QStringLiteral("wjid"), wjid);
    qins.execute();
}

void Tdbhouse::queryDateRange(const QDateTime &rq0, const QDateTime &rq1, std::optional<int> wjid)
{
    qwjcx.close();
    qwjcx.clearText();
    qwjcx.addLine(QStringLiteral("select * from avib where   drq>= :rq0 and drq<= :rq1   "));
    if (wjid)
        qwjcx.addLine(QStringLiteral("  and wjid= :wjid "));
    qwjcx.addLine(QStringLiteral(" order by iid "));
    qwjcx.bindDateTime(QStringLiteral("rq0"), rq0);
    qwjcx.bindDateTime(QStringLiteral("rq1"), rq1);
    if (wjid)
        qwjcx.bindInteger(QStringLiteral("wjid"), *wjid);
    qwjcx.open();
}

void Tdbhouse::deleteById(CatalogueQuery &q, int iid)
{
    q.close();
    q.clearText();
    q.addLine(QStringLiteral("delete from avib where iid= :iid "));
    q.bindInteger(QStringLiteral("iid"), iid);
    q.execute();
}

void Tdbhouse::openOldestFive()
{
    qyp.close();
    qyp.clearText();
    // SQLite spells "select top 5" as a limit clause.
    qyp.addLine(QStringLiteral("select * from avib order by iid limit 5 "));
    qyp.open();
}
