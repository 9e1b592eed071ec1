#pragma once
// The one door through which finance bills are written, each write whole or
// not at all. Widget-free; a failure's message goes through the dialog seam.

#include "stores/FinanceBill.h"

class TFinanceBillStore {
public:
    // Saves a new bill and makes its number the base of the next proposal.
    // Gives the new BillIndex, 0 when nothing was saved.
    // serialSaved: the number the bill got (another than typed when another counter took it first).
    static int SaveNew(const FinanceBill &bill, QString *serialSaved = nullptr);
    // Rewrites the stored bill bill.index ("找不到要修改的记录" when it is gone).
    static bool SaveChanged(const FinanceBill &bill);
    static bool Delete(int billIndex);
};
