#pragma once
// The one door through which other receivables are written, each write whole
// or not at all. Widget-free; messages go through the dialog seam.

#include "stores/OtherReceivable.h"

class TOtherReceivableStore {
public:
    // Gives the new SGIndex, 0 when nothing was saved.
    static int Add(const OtherReceivable &entry);
    static bool Delete(int sgIndex);
};
