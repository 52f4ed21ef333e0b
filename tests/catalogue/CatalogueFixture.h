#pragma once

#include "catalogue/CatalogueFile.h"
#include "catalogue/Tdbhouse.h"

#include <QDateTime>
#include <QList>
#include <QTemporaryDir>
#include <QTest>

// A program folder in a temporary directory, with or without dat/dzxcb.db.
struct CatalogueSandbox
{
    QTemporaryDir dir;

    QString folder() const { return dir.path(); }
    QString databasePath() const { return Tdbhouse::catalogueFilePath(dir.path()); }
    void makeCatalogue() const { QVERIFY(createCatalogueFile(databasePath())); }
};

inline QDateTime at(const QString &text)
{
    return QDateTime::fromString(text, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

inline QDateTime day(const QString &text)
{
    return at(text + QStringLiteral(" 00:00:00"));
}

// Inserts a row the way a recording channel does: drq is midnight of sj.
inline void insertAt(Tdbhouse &house, const QString &sj, int wjid)
{
    const QDateTime moment = at(sj);
    const QString name = moment.toString(QStringLiteral("yyyyMMddHHmmss")) + QStringLiteral("_%1.mpg").arg(wjid);
    house.insertRecording(moment, QDateTime(moment.date(), QTime(0, 0)), name,
                          QStringLiteral("/rec/") + name, wjid);
}

// Walks a result set from the first row to the end, collecting iid.
inline QList<int> walkIds(CatalogueQuery &query)
{
    QList<int> ids;
    for (query.first(); !query.atEnd(); query.next())
        ids.append(query.integerField(QStringLiteral("iid")));
    return ids;
}
