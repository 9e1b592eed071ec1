#include "grid/DataGrid.h"

#include "grid/GridModel.h"
#include "db/ShareDM.h"

#include <QHeaderView>

TDataGrid::TDataGrid(QWidget *parent) : QTableWidget(parent)
{
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    verticalHeader()->setDefaultSectionSize(22);
    verticalHeader()->setVisible(false);
    setAlternatingRowColors(true);
}

void TDataGrid::SetColumns(const QList<Column> &columns)
{
    columns_ = columns;
    setColumnCount(int(columns.size()));
    QStringList titles;
    for (int i = 0; i < columns.size(); ++i) {
        titles << columns[i].title;
        setColumnWidth(i, columns[i].width);
    }
    setHorizontalHeaderLabels(titles);
}

void TDataGrid::Load(TQuery &query)
{
    const QSignalBlocker quiet(this);
    clearContents();
    setRowCount(query.Active() ? query.RecordCount() : 0);
    for (int r = 0; r < rowCount(); ++r) {
        query.MoveTo(r);
        for (int c = 0; c < columns_.size(); ++c) {
            auto *item = new QTableWidgetItem(TGridModel::CellText(query.Value(r, columns_[c].field)));
            item->setTextAlignment(Qt::AlignCenter);
            setItem(r, c, item);
        }
    }
    query.First();
    if (rowCount() > 0)
        setCurrentCell(0, 0);
}
