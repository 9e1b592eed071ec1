#pragma once
// A grid as a CSV file a spreadsheet opens with its Chinese text intact.

#include <QByteArray>
#include <QList>

class TGridModel;

// The titles and the rows in their shown order, of the given columns; numbers
// and dates stay numbers and dates, texts stay texts (see Csv::File). The
// footer row is left out, so a column sum in the spreadsheet is not doubled.
QByteArray GridCsv(const TGridModel &model, const QList<int> &columns);
