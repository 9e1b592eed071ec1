#pragma once
// The report row table PrintReport as the monthly reports fill it: each line
// enables the next row and sets its nine cells, the rows after the last line
// are disabled, and the enabled rows are reopened for the report. The table
// grows when a report has more lines than rows. Run inside a transaction.

#include "reportengine/PrintTable.h"

#include <QStringList>

class TReportRows {
public:
    static constexpr int CellCount = 9;

    explicit TReportRows(TQuery &query) : table_(query) {}

    bool Open();
    // Cells 1 to 9; missing cells are written empty.
    void Write(const QStringList &cells);
    // Disables the rows after the last line, then reopens the enabled rows.
    bool Finish();
    int Written() const { return table_.Written(); }

private:
    TPrintTable table_;
};
