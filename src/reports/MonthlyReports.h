#pragma once
// The four monthly reports: each computes its lines for the calendar month of
// a day into report rows, from the shared figures. Widget-free; the windows
// show the progress and the preview. Each gives false after a failed query
// (its message already shown); a summary with nothing to list gives no lines.

#include <QDate>
#include <QString>

class TReportRows;

namespace MonthlyReports {

// One customer's statement: goods sold, returns, other receivables, the debt
// carried in, the month's payments and the debt carried out.
bool CustomerStatement(int customerIndex, const QDate &day, TReportRows &rows);
// One line per customer of the region ("所有" or empty: every customer), with the grand total.
bool CustomerSummary(const QString &region, const QDate &day, TReportRows &rows);
// One line per product: stock in and out with average prices, and the difference.
bool ProductSummary(const QDate &day, TReportRows &rows);
// One line per account: carried in, in, out, net, carried out.
bool AccountSummary(const QDate &day, TReportRows &rows);

} // namespace MonthlyReports
