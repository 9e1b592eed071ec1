#include "reportengine/ReportRows.h"

#include "shell/PublicFunction.h"

bool TReportRows::Open() { return table_.Open(QStringLiteral("Select * From PrintReport")); }

void TReportRows::Write(const QStringList &cells)
{
    table_.BeginLine();
    table_.Field(QStringLiteral("ReportEnable")).SetAsBoolean(true);
    for (int i = 0; i < CellCount; ++i)
        table_.Field(QStringLiteral("ReportGrid%1").arg(i + 1)).SetAsString(cells.value(i));
    table_.EndLine();
}

bool TReportRows::Finish()
{
    TQuery &q = table_.Query();
    // Rows that are off already stay as they are; only the enabled ones are written.
    for (; !q.Eof(); q.Next()) {
        if (!q.FieldByName(QStringLiteral("ReportEnable")).AsBoolean())
            continue;
        q.Edit();
        q.FieldByName(QStringLiteral("ReportEnable")).SetAsBoolean(false);
        q.Post();
    }
    if (!RunQuery(q, QStringLiteral("Select * From PrintReport Where ReportEnable = True"), QStringLiteral("数据库打开失败")))
        return false;
    q.First();
    return true;
}
