#include "reportengine/ReportDataSet.h"

#include "db/ShareDM.h"

TReportDataSet::TReportDataSet(QStringList columns) : columns_(std::move(columns)) {}

TReportDataSet TReportDataSet::FromQuery(TQuery &query)
{
    TReportDataSet data(query.FieldNames());
    const int current = query.RecNo() - 1;
    for (int row = 0; row < query.RecordCount(); ++row) {
        query.MoveTo(row);
        QStringList values;
        for (const QString &column : data.columns_)
            values << query.FieldByName(column).AsString();
        data.rows_.append(values);
    }
    query.MoveTo(current);
    data.current_ = current;
    return data;
}

int TReportDataSet::ColumnIndex(const QString &column) const
{
    for (int i = 0; i < columns_.size(); ++i)
        if (columns_[i].compare(column, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

void TReportDataSet::AppendRow(const QStringList &values)
{
    QStringList row = values.mid(0, columns_.size());
    while (row.size() < columns_.size())
        row << QString();
    rows_.append(row);
}

QString TReportDataSet::Value(int row, const QString &column) const
{
    const int c = ColumnIndex(column);
    if (c < 0 || row < 0 || row >= rows_.size())
        return QString();
    return rows_[row][c];
}

void TReportDataSet::SetValue(int row, const QString &column, const QString &value)
{
    const int c = ColumnIndex(column);
    if (c >= 0 && row >= 0 && row < rows_.size())
        rows_[row][c] = value;
}
