#pragma once
// Rows of named columns, all as the texts to print, with the row the program
// left the data set on. A query's result is copied in, so the prepared pages
// never depend on queries that are still open.

#include <QString>
#include <QStringList>
#include <QVector>

class TQuery;

class TReportDataSet {
public:
    TReportDataSet() = default;
    explicit TReportDataSet(QStringList columns);

    // Every row of the query as texts (numbers in the general number text), on its current row.
    static TReportDataSet FromQuery(TQuery &query);

    const QStringList &Columns() const { return columns_; }
    bool HasColumn(const QString &column) const { return ColumnIndex(column) >= 0; }
    int RowCount() const { return int(rows_.size()); }
    int CurrentRow() const { return current_; }
    void SetCurrentRow(int row) { current_ = row; }
    void AppendRow(const QStringList &values);   // missing values are empty
    // Empty for an unknown column or a row out of range.
    QString Value(int row, const QString &column) const;
    QString CurrentValue(const QString &column) const { return Value(current_, column); }
    void SetValue(int row, const QString &column, const QString &value);

private:
    int ColumnIndex(const QString &column) const;

    QStringList columns_;
    QVector<QStringList> rows_;
    int current_ = 0;
};
