#pragma once
// The reports, the bill print, the data centre search and the size stock list
// written as directly as SQL allows: one grouped statement for the figures of
// a report, plain reads and writes of the print tables. They leave the same
// rows and texts as the program, so both sides can be checked to agree.

#include <QDate>
#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class TReportRows;

class THandWrittenReports {
public:
    THandWrittenReports(QSqlDatabase db, const QDate &day);

    // The lines of the monthly reports for the month of the day.
    void CustomerStatement(int customerIndex, TReportRows &rows);
    void CustomerSummary(TReportRows &rows);
    void ProductSummary(TReportRows &rows);
    void AccountSummary(TReportRows &rows);
    // The lines as the enabled rows 1, 2, ... of PrintReport, and the title; one transaction.
    void WriteReportRows(const TReportRows &rows, const QString &title);

    // A goods bill's lines, capitals and title into the print tables, then the lines read back; one transaction.
    void BillPrint(int billIndex);

    // Every listed column of the bills between two days read into memory; gives the footer texts (count, sum).
    QStringList Search(const QDate &from, const QDate &to);

    // Per product, in name order: serial, name, type, the ten sizes' stock and the total, as of the day.
    QList<QStringList> SizeStock();

private:
    QSqlDatabase db_;
    QDate day_;
};
