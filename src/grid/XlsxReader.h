#pragma once
// The first sheet of an XLSX workbook as rows of texts, read through libzip
// and QXmlStreamReader. Numbers come as their shortest text, dates (cells with
// a date format) as 2024-03-05, formulas as the value last calculated.
// A workbook that unpacks to more than a sane size is refused, not unpacked.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace XlsxReader {
// The sheet's rows that hold anything, each with its row number in the sheet
// (1 for the first). False, with the reason in *error, when the file is no
// readable workbook.
bool FirstSheet(const QByteArray &file, QList<QStringList> *rows, QList<int> *rowNumbers, QString *error);
bool IsZip(const QByteArray &file);
} // namespace XlsxReader
