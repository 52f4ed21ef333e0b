#include "browser/ui/RecordingGrid.h"

#include "catalogue/CatalogueQuery.h"
#include "catalogue/RecordingListModel.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QShortcut>
#include <QTableView>

#include <array>
#include <utility>

namespace {

constexpr std::array<int, RecordingListModel::ColumnCount> columnWidthsPx = {71, 180, 206, 459};

// Highlights the list's current row unless it already is.
void showCurrentRow(QTableView &grid, const CatalogueQuery &list)
{
    if (list.atEnd() || grid.currentIndex().row() == list.currentRow())
        return;
    grid.selectRow(list.currentRow());
}

}  // namespace

void setUpRecordingGrid(QTableView &grid, RecordingListModel &model, std::function<void()> ctrlDelete)
{
    grid.setModel(&model);
    grid.setSelectionBehavior(QAbstractItemView::SelectRows);
    grid.setSelectionMode(QAbstractItemView::SingleSelection);
    grid.setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid.setShowGrid(true);
    grid.verticalHeader()->setVisible(true);
    QHeaderView *titles = grid.horizontalHeader();
    titles->setVisible(true);
    titles->setDefaultAlignment(Qt::AlignCenter);
    titles->setSectionResizeMode(QHeaderView::Interactive);
    // Set once: the header keeps them, and the operator's dragged widths, across new queries.
    for (int column = 0; column < RecordingListModel::ColumnCount; ++column)
        grid.setColumnWidth(column, columnWidthsPx[column]);

    CatalogueQuery &list = model.query();
    QObject::connect(grid.selectionModel(), &QItemSelectionModel::currentRowChanged, &grid,
                     [&model](const QModelIndex &current) {
                         if (current.isValid())
                             model.setCurrentRow(current.row());
                     });
    QObject::connect(&list, &CatalogueQuery::currentRowChanged, &grid,
                     [&grid, &list] { showCurrentRow(grid, list); });
    showCurrentRow(grid, list);

    auto *deleteRow = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), &grid);
    deleteRow->setContext(Qt::WidgetShortcut);
    QObject::connect(deleteRow, &QShortcut::activated, &grid, std::move(ctrlDelete));
}
