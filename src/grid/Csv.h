#pragma once
// CSV files a spreadsheet opens as data: UTF-8 with a byte-order mark, rows
// ending in CR LF, a field quoted (quotes doubled) when it holds a comma, a
// quote, a line break or edge spaces.
//
// A field is a typed value. Numbers and dates are written as they are shown, so
// the spreadsheet reads them as numbers and dates (a negative amount included).
// Texts never become formulas or numbers there: a text that starts with = + - @,
// a tab or a carriage return, or that a spreadsheet would read as a number or a
// date, is written quoted behind an apostrophe ("'=1+1"), which marks the cell
// as text in the spreadsheet programs.

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVariant>

namespace Csv {
// Lines of fields: a QString is a text; a number (int, double …) or a QDate is
// written as data; a null value is an empty field.
QByteArray File(const QList<QVariantList> &lines);
enum class Encoding { Utf8, Gb18030, Unknown };
// A file's text: UTF-8 with or without the byte-order mark, else GB18030 (what
// a Chinese Excel or WPS saves by default); Unknown, and an empty text, when
// neither reads every byte of it.
QString Decoded(const QByteArray &file, Encoding *encoding = nullptr);
// The lines of such a file, fields as they stand in it: quotes undone, the
// guard apostrophe kept. Nothing of a file of unknown encoding.
QList<QStringList> Read(const QByteArray &file);
// A field read back as the text that was written: "'=1+1" gives "=1+1", while
// an apostrophe the guard would not have written stays.
QString Unguarded(const QString &field);
} // namespace Csv
