#pragma once
// A grid as a CSV file a spreadsheet opens with its Chinese text intact.

#include <QByteArray>
#include <QList>
#include <QStringList>

class TGridModel;

// The titles, the rows in their shown order and the footer row, of the given
// columns: UTF-8 with a byte-order mark, rows ending in CR LF, a field quoted
// (quotes doubled) when it holds a comma, a quote, a line break or edge spaces.
QByteArray GridCsv(const TGridModel &model, const QList<int> &columns);

// Lines of fields as such a file.
QByteArray CsvFile(const QList<QStringList> &lines);
