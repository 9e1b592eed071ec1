#pragma once
// Deleting a stored bill, in one transaction: with its lines for a goods bill.
// False when nothing was deleted (the failure's message shown; a bill already
// gone fails too).
bool DeleteBill(int billIndex, bool withLines);
