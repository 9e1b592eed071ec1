#include "reports/MonthlyReportRun.h"

#include "reportengine/Report.h"
#include "reports/ReportRows.h"
#include "ui/BackgroundWork.h"
#include "db/ShareDM.h"

bool RunMonthlyReport(TReport *report, const QString &templateFile, const QString &title, const QString &documentName,
                      const std::function<bool(TReportRows &)> &compute, const QList<QPair<QString, TQuery *>> &extra)
{
    TReportRows rows;
    const bool computed = BackgroundWork::Run([&](const BackgroundWork::Progress &progress) {
        progress(5);
        const TReadSnapshot oneMoment;
        if (!compute(rows) || rows.Count() == 0)
            return false;
        progress(100);
        return true;
    });
    if (!computed)
        return false;
    report->ClearDataSets();
    report->SetDataSet(QStringLiteral("PrintReport"), rows.DataSet());
    report->SetDataSet(QStringLiteral("PrintList"), TReportRows::Title(title));
    for (const auto &[name, query] : extra)
        report->SetDataSet(name, *query);
    report->SetDocumentName(documentName);
    return report->ShowTemplate(templateFile);
}
