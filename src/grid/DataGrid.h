#pragma once
// A read-only grid of whole rows, filled from a query's rows.

#include <QTableWidget>

class TQuery;

class TDataGrid : public QTableWidget {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        int width;
    };

    explicit TDataGrid(QWidget *parent = nullptr);
    void SetColumns(const QList<Column> &columns);
    // Shows every row of the query; the grid's current row follows the query's.
    void Load(TQuery &query);

private:
    QList<Column> columns_;
};
