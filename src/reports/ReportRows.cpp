#include "reports/ReportRows.h"

#include "db/Money.h"

void TReportRows::Add(const QStringList &cells)
{
    QStringList line = cells.mid(0, CellCount);
    while (line.size() < CellCount)
        line << QString();
    lines_ << line;
}

void TReportRows::AddTotal(const QString &caption, double amount)
{
    Add({QString(), QString(), QString(), QString(), QString(), QString(), caption, MoneyText(amount)});
}

void TReportRows::AddSection(const QString &caption)
{
    const QString dash = QStringLiteral("------");
    Add({caption, dash, dash, dash, dash, dash, dash, dash, dash});
}

TReportDataSet TReportRows::DataSet() const
{
    QStringList columns{QStringLiteral("ReportIndex"), QStringLiteral("ReportEnable")};
    for (int c = 1; c <= CellCount; ++c)
        columns << QStringLiteral("ReportGrid%1").arg(c);
    TReportDataSet rows(columns);
    for (int i = 0; i < lines_.size(); ++i)
        rows.AppendRow(QStringList{QString::number(i + 1), QStringLiteral("1")} + lines_[i]);
    return rows;
}

TReportDataSet TReportRows::Title(const QString &title)
{
    TReportDataSet heading(QStringList{QStringLiteral("ListIndex"), QStringLiteral("ListValue")});
    heading.AppendRow({QStringLiteral("1"), title});
    return heading;
}
