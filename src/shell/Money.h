#pragma once
// Money as the books show it: every figure derived from stored amounts is
// rounded to the fen before it is shown, graded, added to a total or printed.
// Sums read from SQL carry binary noise (0.1 + 0.2) until this has run.

#include <QString>

// Rounded to 2 decimals, half away from zero, judged on the amount's own
// decimal digits (1.005 gives 1.01 although the double is 1.00499...).
double RoundMoney(double amount);
// The rounded amount in the general number text: "0.3", "-12", "1234.5".
QString MoneyText(double amount);
