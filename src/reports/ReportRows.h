#pragma once
// The lines of a monthly report: the report computes every line first, then
// prints all of them, so nothing is ever cut off.

#include "reportengine/ReportDataSet.h"

#include <QString>
#include <QStringList>
#include <QVector>

class TReportRows {
public:
    static constexpr int CellCount = 9;

    // One printed line; missing cells are empty.
    void Add(const QStringList &cells);
    // A line with the caption in cell 7 and the amount in cell 8.
    void AddTotal(const QString &caption, double amount);
    // A line with the caption in cell 1 and "------" in the others.
    void AddSection(const QString &caption);
    int Count() const { return int(lines_.size()); }
    QStringList Line(int i) const { return lines_.value(i); }

    // The lines as the rows a report prints ("PrintReport": ReportIndex,
    // ReportEnable, ReportGrid1 to 9), and a title as its "PrintList" row. They
    // are this run's own, never written to the books: two counters print at once.
    TReportDataSet DataSet() const;
    static TReportDataSet Title(const QString &title);

private:
    QVector<QStringList> lines_;
};
