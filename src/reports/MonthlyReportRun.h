#pragma once
// The road every monthly report takes: the progress window while its lines are
// computed, then the preview of its template on a report object.

#include <QList>
#include <QPair>
#include <QString>
#include <functional>

class TQuery;
class TReport;
class TReportRows;

// compute fills the lines, off the window's thread (it reads no window); false
// when a query failed (its message shown). A
// report without lines shows nothing. extra names more data sets for the template.
// documentName names the print job and the proposed PDF ("2024年3月份总报表").
bool RunMonthlyReport(TReport *report, const QString &templateFile, const QString &title, const QString &documentName,
                      const std::function<bool(TReportRows &)> &compute,
                      const QList<QPair<QString, TQuery *>> &extra = {});
