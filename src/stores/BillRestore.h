#pragma once
// "恢复此单据": a deleted bill saved again from its journal record, through the
// bill stores' own save, with its kind, date, customer, account and lines. Its
// old number when that is still free, otherwise the next one. A goods bill is
// made from its lines (its total is theirs, to the fen); a date or an amount in
// the record that is none refuses it whole.

#include <QString>

namespace BillRestore {
// Whether the journal record is a deleted bill that can be saved again.
bool Restorable(int journalIndex);
// Saves the bill again in one transaction, logged as 恢复. Gives the new
// BillIndex, 0 when nothing was saved (the reason shown). *message: what to
// tell the user, the number the bill got included.
int Restore(int journalIndex, QString *message);
} // namespace BillRestore
