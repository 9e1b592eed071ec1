#pragma once
// What a text the user typed is worth as a number. Every window that reads a
// typed amount or count asks here, so a text is either the number it shows or
// refused with a message; it never becomes 0 or infinity in silence.

#include <QString>

namespace TypedNumber {

enum Fault {
    Fine,
    Empty,            // nothing typed
    NotNumber,        // a sign, a letter, a blank, full-width digits, "1.2.3", "."
    TooManyDecimals,  // more decimals than the field takes
    TooLong,          // beyond the 15 significant digits the books hold exactly
};

// Prices and quotes carry at most four decimals; every other amount two.
constexpr int PriceDecimals = 4;
constexpr int MoneyDecimals = 2;

// The books hold this many significant digits exactly.
constexpr int MaxDigits = 15;

// An amount: ASCII digits with at most one ".", no sign ("12.", ".5" are fine).
// maxDecimals < 0 takes any number of decimals.
Fault ReadAmount(const QString &text, double *value = nullptr, int maxDecimals = -1);
// A count of pieces: ASCII digits only, within the books' whole numbers.
Fault ReadCount(const QString &text, int *value = nullptr);

// "已付金额“20元”不是有效的金额，请重新输入" and its kin, naming the field and the text.
QString AmountMessage(const QString &field, const QString &text, Fault fault);
QString CountMessage(const QString &field, const QString &text, Fault fault);

} // namespace TypedNumber
