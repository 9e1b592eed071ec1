#pragma once
// Opens a stored bill in its editor, from a bill card or a bill list.

#include <QString>

namespace StoredBill {

// Goods bills: mode 1 a sales bill, 3 a purchase bill. After a change the main window refreshes.
void OpenGoodsBill(int mode, int billIndex);
// Finance bills: mode 1 an income bill, 3 an expense bill. The editor refreshes after a change itself.
void OpenFinanceBill(int mode, int billIndex);
// By the bill's kind; false, and nothing opened, for a kind that is none of the four.
bool Open(const QString &kind, int billIndex);

} // namespace StoredBill
