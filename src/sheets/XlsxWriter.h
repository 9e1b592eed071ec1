#pragma once
// A list as an XLSX workbook of one sheet, written by libxlsxwriter: titles in
// a frozen first row, amounts as numbers with two decimals, quantities whole,
// dates as dates, texts as texts (never formulas), columns as wide as their
// contents.

#include <QByteArray>
#include <QString>

class TListSheet;

namespace XlsxWriter {
// The workbook's bytes; empty, with the reason in *error, when it failed.
QByteArray Workbook(const TListSheet &sheet, const QString &sheetName, QString *error = nullptr);
} // namespace XlsxWriter
