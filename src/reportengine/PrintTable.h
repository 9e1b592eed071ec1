#pragma once
// Writes lines into one of the print tables (PrintGrid, PrintReport) in the
// table's stored row order: each line overwrites the next row, and when the
// lines outnumber the rows the table gets the rows it needs, so no line is
// ever dropped. Writes throw EDatabaseError; run them inside a transaction.

#include "shell/ShareDM.h"

class TPrintTable {
public:
    explicit TPrintTable(TQuery &query) : query_(query) {}

    // Runs the Select (its failure message shown by the query helper) and goes to the first row.
    bool Open(const QString &sql, const QString &failureMessage = QStringLiteral("数据库打开失败"));
    bool AtEnd() const { return query_.Eof(); }   // every stored row has been written
    // Starts the next line: the next stored row in edit mode, or a new row.
    void BeginLine();
    TField Field(const QString &name) { return query_.FieldByName(name); }
    void EndLine();   // posts the line and moves on
    int Written() const { return written_; }
    TQuery &Query() { return query_; }

private:
    TQuery &query_;
    int written_ = 0;
};
