#pragma once
// The bill-number series kept in Setting: rows 1 to 4 hold the last number
// used for sales, purchase, income and expense bills.

#include <QString>

namespace BillNumbers {
// Inside a save: the used number becomes the base of the next proposal.
void WriteBack(int settingIndex, const QString &serial);
} // namespace BillNumbers
