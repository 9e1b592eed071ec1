#pragma once
// The bill-number series kept in Setting: rows 1 to 4 hold the last number
// used for sales, purchase, income and expense bills.

#include <QList>
#include <QString>

struct SettingBehind;

namespace BillNumbers {
// Inside a save: the used number becomes the base of the next proposal.
void WriteBack(int settingIndex, const QString &serial);
// Moves each series found behind to its highest number, in one transaction;
// a series changed meanwhile is left as it is.
bool MoveForward(const QList<SettingBehind> &behind);
} // namespace BillNumbers
