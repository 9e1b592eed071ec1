#pragma once
// A bill total in Chinese capital numerals, one box per decimal position:
// 62.5 reads 陆拾　贰元　伍角　零分　.

#include <QString>

// The amount's general number text as a string of fen digits ("62.5" gives "6250").
// More than two decimals are rounded to the nearest fen, half up.
QString TotalToFen(const QString &amount);
QString FenToCapitals(const QString &fenDigits);
QString DigitToCapital(QChar digit);
