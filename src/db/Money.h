#pragma once
// Money as the books keep it: an amount is rounded to the fen when it is made
// (a line's quantity x price), and every figure adds its rows' amounts each
// rounded to the fen. The rounding is one rule, written once in C++ and once
// in SQL with the same arithmetic, so a sum read from the books and a sum
// added up in the program are the same whole number of fen.

#include "db/SqlEngine.h"

#include <QString>
#include <QtGlobal>

// Half away from zero. A binary fraction just under half a fen (1.005 is
// 1.00499999999999989...) counts as the half it was typed as.
qint64 Fen(double amount);
// Whether Fen can take the amount: a finite number within the digits the books hold.
bool FenHolds(double amount);
// The same rule in SQL over a numeric expression; NULL stays NULL.
QString FenSql(const QString &expression, const TSqlEngine &engine = TSqlEngine::Current());
// Fen(amount) as yuan: 1.005 gives 1.01.
double RoundMoney(double amount);
// A price carries at most four decimals: it is compared in ten-thousandths of a
// yuan, rounded by the same rule (a price read back as 12.50000000001 is 12.5).
qint64 PriceUnits(double price);
inline double FenToYuan(qint64 fen) { return double(fen) / 100; }
// The rounded amount in the general number text: "0.3", "-12", "1234.5".
QString MoneyText(double amount);
