#include "reports/MonthlyReportRun.h"

#include "reportengine/Report.h"
#include "reports/ReportRows.h"
#include "shell/BackgroundWork.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

bool RunMonthlyReport(TReport *report, const QString &templateFile, const QString &title, const QString &documentName,
                      const std::function<bool(TReportRows &)> &compute, const QList<QPair<QString, TQuery *>> &extra)
{
    TReportRows rows;
    const bool written = BackgroundWork::Run([&](const BackgroundWork::Progress &progress) {
        progress(5);
        if (!compute(rows) || rows.Count() == 0)
            return false;
        progress(75);
        if (!rows.Write(title))
            return false;
        progress(100);
        return true;
    });
    if (!written)
        return false;
    TQuery lines(QStringLiteral("ADOQueryBig")), heading(QStringLiteral("ADOQueryTitle"));
    if (!RunQuery(lines, TReportRows::EnabledRowsSql(), QStringLiteral("数据库打开失败"))
        || !RunQuery(heading, QStringLiteral("Select * From PrintList Where ListIndex = 1"), QStringLiteral("数据库打开失败")))
        return false;
    report->ClearDataSets();
    report->SetDataSet(QStringLiteral("PrintReport"), lines);
    report->SetDataSet(QStringLiteral("PrintList"), heading);
    for (const auto &[name, query] : extra)
        report->SetDataSet(name, *query);
    report->SetDocumentName(documentName);
    return report->ShowTemplate(templateFile);
}
