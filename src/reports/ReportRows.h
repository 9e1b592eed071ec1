#pragma once
// The lines of a monthly report on their way into the report row table: the
// report computes every line first, then all of them land in one transaction,
// with as many rows as the report has lines, so nothing is ever cut off.

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

    // Enables a row of PrintReport for each line, in row order, adding rows
    // when the table has too few, disables the rest, and puts the title in
    // the title row; all or nothing. False after the failure message.
    bool Write(const QString &title) const;

    // The rows a report prints, in their order.
    static QString EnabledRowsSql();

private:
    QVector<QStringList> lines_;
};
