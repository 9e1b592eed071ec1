#pragma once
// A read-only grid of whole rows with column titles, a footer row, and sorting
// by a click on a column title. The footer stays where it is while rows sort.

#include "grid/GridModel.h"

#include <QWidget>

class QScrollBar;
class QTableView;
class TGridFooter;
class TQuery;

class TFooterGrid : public QWidget {
    Q_OBJECT
public:
    explicit TFooterGrid(QWidget *parent = nullptr);

    void SetColumns(const QList<TGridModel::Column> &columns);
    // Shows the query's rows. With keepSort the column the user sorted by stays sorted.
    void Load(const TQuery &query, bool keepSort);
    void Clear();

    TGridModel *Model() const { return model_; }
    int RowCount() const;
    int CurrentRow() const;   // -1 when there is none
    void SetCurrentRow(int row);

    // The columns as the user left them: shown ones only, in the order shown.
    QList<int> VisibleColumns() const;
    int ColumnWidth(int column) const;

    // A click on a column title: sorts by it, going up, then down on the next click.
    void SortByColumn(int column);
    void SetFooterColour(const QColor &colour);

    QTableView *Table;
    TGridFooter *Footer;
    QScrollBar *ScrollBar;   // under the footer, in place of the table's own

signals:
    // A double click anywhere in the rows area, on a row or not.
    void DblClick();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void ApplySortIndicator();

    TGridModel *model_;
};
