#pragma once
// A sheet of an XLSX workbook as sparse rows of texts, read through libzip and
// QXmlStreamReader as a stream: no part is unpacked whole, and a part that
// unpacks past a sane size is refused on the way. Numbers come as their
// shortest text, dates (cells with a date format) as 2024-03-05, formulas as
// the value last calculated.

#include "sheets/SheetRows.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace XlsxReader {
// What one part of a workbook may unpack to: a sheet of 100,000 rows is well under it.
constexpr qint64 MaxPartBytes = 96LL * 1024 * 1024;

// The workbook's sheet names in order, and the rows of the sheet chosen (0 for
// the first). False, with the reason in *error, when the file is no readable
// workbook or the sheet is past the limits of TSheetRows.
bool Read(const QByteArray &file, int sheet, QStringList *sheetNames, TSheetRows *rows, QString *error);
bool IsZip(const QByteArray &file);
} // namespace XlsxReader
