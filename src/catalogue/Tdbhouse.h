#pragma once

#include "catalogue/CatalogueConnection.h"
#include "catalogue/CatalogueQuery.h"
#include "catalogue/RecordingListModel.h"

#include <QDateTime>
#include <QObject>
#include <QString>

#include <optional>

// The data module: the catalogue connection and every statement object run
// on it. The connection stays closed until openCatalogue(); a statement on a
// closed connection connects again first and raises AppError when it cannot.
class Tdbhouse : public QObject
{
    Q_OBJECT

public:
    explicit Tdbhouse(QObject *parent = nullptr);

    // Opens <executableFolder>/dat/dzxcb.db; any failure is dropped silently
    // and the connection stays closed (its reason is kept for the retry).
    void openCatalogue(const QString &executableFolder);

    // Catalogue insert on qins: one row for a newly named recording file.
    // drq is the day of sj at midnight, wjid the camera number 1 to 4.
    void insertRecording(const QDateTime &sj, const QDateTime &drq, const QString &wjmc,
                         const QString &strpath, int wjid);
    // Date-range query on qwjcx: rows with rq0 <= drq <= rq1, one camera or
    // all (no wjid), oldest first.
    void queryDateRange(const QDateTime &rq0, const QDateTime &rq1, std::optional<int> wjid);
    // Delete by id on q (qup for the browser, qdel for the reclaim).
    void deleteById(CatalogueQuery &q, int iid);
    // Oldest-five query on qyp: the five rows with the smallest iid.
    void openOldestFive();

    static QString catalogueFilePath(const QString &executableFolder);

    CatalogueConnection adoacccon;
    CatalogueQuery qins;
    CatalogueQuery qwjcx;
    CatalogueQuery qup;
    CatalogueQuery qyp;
    CatalogueQuery qdel;
    RecordingListModel qwjcx_s;
};
