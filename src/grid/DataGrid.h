#pragma once
// A read-only grid of whole rows, filled from a query's rows.

#include "grid/GridModel.h"

#include <QTableWidget>

class TQuery;

class TDataGrid : public QTableWidget {
    Q_OBJECT
public:
    using Column = TGridModel::Column;

    explicit TDataGrid(QWidget *parent = nullptr);
    void SetColumns(const QList<Column> &columns);
    // Shows every row of the query; the grid's current row follows the query's.
    void Load(TQuery &query);

private:
    QList<Column> columns_;
};
