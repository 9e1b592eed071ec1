#pragma once
// The rows of a query as a grid shows them, with a footer row of fixed texts
// and sorting by any column (numbers as numbers, dates as dates).

#include "sheets/ListSheet.h"
#include <QAbstractTableModel>
#include <QList>
#include <QString>
#include <QVariant>
#include <QVector>

class TQuery;

class TGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString field;
        QString title;
        int width;
    };

    explicit TGridModel(QObject *parent = nullptr);

    void SetColumns(const QList<Column> &columns);
    const QList<Column> &Columns() const { return columns_; }

    // Shows the query's rows, in its order. The rows are read from the query,
    // so it must stay open until the next Load or Clear.
    void Load(const TQuery &query);
    void Clear();

    // A stored value as a cell shows it: numbers as number text, dates (QDate or ISO text) as short dates.
    static QString CellText(const QVariant &value);
    // The given columns of the rows in their order, as a list to save as a spreadsheet.
    TListSheet Sheet(const QList<int> &columns) const;

    QString Text(int row, int column) const;
    // The cell as a typed value: a number, a QDate, a text, or null.
    QVariant Typed(int row, int column) const;
    // The stored value of a shown row, by field name (shown or not); invalid when there is none.
    QVariant Value(int row, const QString &field) const;

    // The footer row: one text per column, empty where nothing is shown.
    void SetFooter(int column, const QString &text);
    void ClearFooter();
    QString FooterText(int column) const;

    // The column the rows are sorted by (-1: the query's own order).
    int SortColumn() const { return sortColumn_; }
    Qt::SortOrder SortOrder() const { return sortOrder_; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

signals:
    void FooterChanged();

private:
    QList<Column> columns_;
    QVariant Stored(int storedRow, int column) const;

    const TQuery *query_ = nullptr;
    bool pageFailureTold_ = false;
    QStringList fields_;                // the query's fields
    QVector<int> columnField_;          // column -> field, -1 when the query lacks it
    QVector<int> order_;                // shown row -> the query's row
    QVector<QString> footer_;
    int sortColumn_ = -1;
    Qt::SortOrder sortOrder_ = Qt::AscendingOrder;
};
