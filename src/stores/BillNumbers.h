#pragma once
// The bill-number series kept in Setting: rows 1 to 4 hold the last number
// used for sales, purchase, income and expense bills.

#include <QList>
#include <QString>

struct SettingBehind;
class TQuery;

namespace BillNumbers {
// The number after serial: the digits from the first non-zero one counted up
// by one ("XS0099" → "XS0100"); empty when serial has no such digit. Throws
// EConvertError when letters follow those digits.
QString Next(const QString &serial);
// False when a letter stands after the digits ("XS2006A01").
bool WellFormed(const QString &serial);
// Inside a save, with the series locked until the save ends: the number a new
// bill of `kind` is saved under. The number proposed when its editor opened is
// taken as it is, or, when another counter saved a bill under it meanwhile,
// the next free one of the series; any other typed number a bill of the kind
// already has is refused (EConvertError with the message). An empty number is
// kept empty. The number saved becomes the base of the next proposal.
QString Take(int settingIndex, const QString &kind, const QString &serial, const QString &proposed);
// Inside the change of bill billIndex: refuses (EConvertError, the message as
// Take's) a number another bill of `kind` has. An empty number is always kept.
void Keep(const QString &kind, const QString &serial, int billIndex);
// Inside a save: the used number becomes the base of the next proposal.
void WriteBack(int settingIndex, const QString &serial);
// Moves each series found behind to its highest number, in one transaction;
// a series changed meanwhile is left as it is.
bool MoveForward(const QList<SettingBehind> &behind);

// Reads. The Setting row of a series, its SettingValue the last number saved;
// the query empty without the row. False when it could not be read (failureMessage said).
bool FindSeries(int settingIndex, TQuery &into, const QString &failureMessage);
} // namespace BillNumbers
