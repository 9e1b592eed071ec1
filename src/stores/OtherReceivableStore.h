#pragma once
// The one door through which other receivables are written, each write whole
// or not at all. Widget-free; messages go through the dialog seam.

#include "stores/OtherReceivable.h"

class TQuery;

class TOtherReceivableStore {
public:
    // Gives the new SGIndex, 0 when nothing was saved.
    static int Add(const OtherReceivable &entry);
    static bool Delete(int sgIndex);

    // Reads
    // The customer's other receivables up to the day (every column); false after its message.
    static bool ReadList(TQuery &list, const QString &customer, const QDate &asOf);
};
