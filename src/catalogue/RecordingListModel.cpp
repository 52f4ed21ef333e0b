#include "catalogue/RecordingListModel.h"

#include "catalogue/CatalogueQuery.h"

RecordingListModel::RecordingListModel(CatalogueQuery &query, QObject *parent)
    : QAbstractTableModel(parent), query_(query)
{
    connect(&query_, &CatalogueQuery::resultSetAboutToChange, this, &RecordingListModel::beginResetModel);
    connect(&query_, &CatalogueQuery::resultSetChanged, this, &RecordingListModel::endResetModel);
}

int RecordingListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : query_.rowCount();
}

int RecordingListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 1;
}

QVariant RecordingListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() != 0 || role != Qt::DisplayRole)
        return {};
    // An empty cell when the result has no field wjmc.
    return query_.valueAt(index.row(), QStringLiteral("wjmc")).toString();
}

QVariant RecordingListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section == 0 && role == Qt::DisplayRole)
        return QStringLiteral("文件名");
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool RecordingListModel::setCurrentRow(int row)
{
    return query_.setCurrentRow(row);
}
