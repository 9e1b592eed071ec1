#include "reports/MonthlyReportRun.h"

#include "reportengine/Report.h"
#include "reports/ReportRows.h"
#include "shell/ProgressForm.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

bool RunMonthlyReport(TReport *report, const QString &templateFile, const QString &title, const QString &documentName,
                      const std::function<bool(TReportRows &)> &compute, const QList<QPair<QString, TQuery *>> &extra)
{
    // The progress window goes away however the run ends.
    struct Progress {
        Progress() { FormProgress->show(); }
        ~Progress() { FormProgress->hide(); }
    } progress;
    FormProgress->SetPosition(5);
    TReportRows rows;
    if (!compute(rows) || rows.Count() == 0)
        return false;
    FormProgress->SetPosition(75);
    if (!rows.Write(title))
        return false;
    FormProgress->SetPosition(100);
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
    FormProgress->hide();
    return report->ShowTemplate(templateFile);
}
