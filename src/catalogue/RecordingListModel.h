#pragma once

#include <QAbstractTableModel>

class CatalogueQuery;

// The browser grid's view of the date-range result: one column "文件名"
// showing each row's file name. It follows the statement object: reopening
// or closing the query resets the model. The grid's selection and the
// query's current row are kept together by whoever wires the view, through
// setCurrentRow() and CatalogueQuery::currentRowChanged.
class RecordingListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit RecordingListModel(CatalogueQuery &query, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // Makes the given grid row the query's current row; false when out of range.
    bool setCurrentRow(int row);
    CatalogueQuery &query() const { return query_; }

private:
    CatalogueQuery &query_;
};
