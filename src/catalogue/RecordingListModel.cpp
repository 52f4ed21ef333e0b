#include "catalogue/RecordingListModel.h"

#include "catalogue/CatalogueQuery.h"
#include "common/DateText.h"

#include <array>

namespace {

struct ColumnSpec
{
    const char *field;
    const char *title;  // UTF-8
};

// The file-name column shows wjmc, the field the catalogue insert writes.
constexpr std::array<ColumnSpec, RecordingListModel::ColumnCount> columns = {{
    {"wjid", "摄像头号"},
    {"wjmc", "文件名"},
    {"sj", "时间"},
    {"strpath", "监控文件存放目录"},
}};

}  // namespace

RecordingListModel::RecordingListModel(CatalogueQuery &query, QObject *parent)
    : QAbstractTableModel(parent), query_(query)
{
    connect(&query_, &CatalogueQuery::resultSetAboutToChange, this, &RecordingListModel::beginResetModel);
    connect(&query_, &CatalogueQuery::resultSetChanged, this, &RecordingListModel::endResetModel);
    connect(&query_, &CatalogueQuery::rowAboutToBeRemoved, this,
            [this](int row) { beginRemoveRows(QModelIndex(), row, row); });
    connect(&query_, &CatalogueQuery::rowRemoved, this, &RecordingListModel::endRemoveRows);
}

int RecordingListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : query_.rowCount();
}

int RecordingListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QString RecordingListModel::cellText(int row, int column) const
{
    const QVariant value = query_.valueAt(row, QString::fromLatin1(columns[column].field));
    if (column == TimeColumn) {
        // Stored as "yyyy-MM-dd HH:mm:ss"; shown in the program's date and time form.
        const QDateTime moment = QDateTime::fromString(value.toString(),
                                                       QString::fromLatin1(CatalogueQuery::dateTimeFormat));
        if (moment.isValid())
            return DateText::fromDateTime(moment);
    }
    // An empty cell when the result has no such field.
    return value.toString();
}

QVariant RecordingListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= ColumnCount || role != Qt::DisplayRole)
        return {};
    return cellText(index.row(), index.column());
}

QVariant RecordingListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && section >= 0 && section < ColumnCount) {
        if (role == Qt::DisplayRole)
            return QString::fromUtf8(columns[section].title);
        if (role == Qt::TextAlignmentRole)
            return int(Qt::AlignCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

bool RecordingListModel::setCurrentRow(int row)
{
    return query_.setCurrentRow(row);
}
