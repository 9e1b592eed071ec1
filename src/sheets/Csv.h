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
// as text in the spreadsheet programs. A text that starts with an apostrophe
// gets one more, so reading back can tell the guard from the user's own.

#include <QByteArray>
#include <QList>
#include <QStringList>
#include <QVariant>

#include <functional>

namespace Csv {
// Lines of fields: a QString is a text; a number (int, double …) or a QDate is
// written as data; a null value is an empty field.
QByteArray File(const QList<QVariantList> &lines);
enum class Encoding { Utf8, Gb18030, Unknown };
// A file's text: UTF-8 with or without the byte-order mark, else GB18030 (what
// a Chinese Excel or WPS saves by default); Unknown, and an empty text, when
// neither reads every byte of it.
QString Decoded(const QByteArray &file, Encoding *encoding = nullptr);
// A decoded file's fields in order, each line ended by lineEnd: quotes undone,
// the guard apostrophe kept. A callback returning false stops the reading,
// and Parse returns false.
bool Parse(const QString &text, const std::function<bool(QString &&)> &field, const std::function<bool()> &lineEnd);
// The lines of such a file, fields as they stand in it. Nothing of a file of
// unknown encoding.
QList<QStringList> Read(const QByteArray &file);
// A field read back as the text that was written: "'=1+1" gives "=1+1",
// "''1" gives "'1", while an apostrophe the guard would not have written stays.
QString Unguarded(const QString &field);
} // namespace Csv
