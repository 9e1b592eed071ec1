#pragma once
// Reads of a stored bill of any kind by its BillIndex. Widget-free. False: the
// books could not be read, failureMessage said; the query empty: the bill is gone.

#include <QString>

class TQuery;

class TBillStore {
public:
    // The bill's row.
    static bool Find(int billIndex, TQuery &into, const QString &failureMessage);
    // The bill's row with its account's (AccountName).
    static bool FindWithAccount(int billIndex, TQuery &into, const QString &failureMessage);
    // The bill as its print heads it: its account's name, the amounts without
    // sign (BillMoney2, BillSum2) and what is left to pay (LeftMoney).
    static bool FindPrintHeader(int billIndex, TQuery &into, const QString &failureMessage);
};
