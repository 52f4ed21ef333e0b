#pragma once

#include <QAbstractTableModel>
#include <QString>

class CatalogueQuery;

// The browser grid's view of the date-range result: camera, file name, time
// and full path of each listed recording. It follows the statement object:
// reopening or closing the query resets the model, a row dropped from the
// result set (CatalogueQuery::removeCurrentRow) leaves it. The grid's
// selection and the query's current row are kept together by whoever wires
// the view, through setCurrentRow() and CatalogueQuery::currentRowChanged.
class RecordingListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { CameraColumn, FileNameColumn, TimeColumn, PathColumn, ColumnCount };

    explicit RecordingListModel(CatalogueQuery &query, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Makes the given grid row the query's current row; false when out of range.
    bool setCurrentRow(int row);
    CatalogueQuery &query() const { return query_; }

private:
    QString cellText(int row, int column) const;

    CatalogueQuery &query_;
};
