#pragma once
// The one door through which goods bills are written: a bill and its six
// lines land together or not at all. Widget-free; a failure's message goes
// through the dialog seam, as every write's does.

#include "stores/GoodsBill.h"

class TGoodsBillStore {
public:
    // Reads the stored bill billIndex with its lines, amounts without sign.
    // False when it cannot be read ("找不到要修改的记录" when it is gone).
    static bool Load(int billIndex, GoodsBill &bill);
    // Saves a new bill and its lines and makes its number the base of the next
    // proposal. Gives the new BillIndex, 0 when nothing was saved.
    // serialSaved: the number the bill got (another than typed when another counter took it first).
    static int SaveNew(const GoodsBill &bill, QString *serialSaved = nullptr);
    // Rewrites the stored bill bill.index and its lines (missing line rows are
    // added). False when nothing was saved ("找不到要修改的记录" when it is gone).
    static bool SaveChanged(const GoodsBill &bill);
    // Deletes the bill and its lines.
    static bool Delete(int billIndex);
};
