#pragma once
// A spreadsheet file brought in: a CSV file (UTF-8 with or without BOM, or
// GB18030) or a sheet of an XLSX workbook, told apart by content, as sparse
// rows of texts exactly as written (a CSV's guard apostrophe undone). What is
// no such file, or is past the limits of TSheetRows, is refused with the reason.

#include "sheets/SheetRows.h"

#include <QList>
#include <QString>
#include <QStringList>

class TSheetFile {
public:
    // Files beyond this are refused unread: a shop's lists are far smaller.
    static constexpr qint64 MaxBytes = 50LL * 1024 * 1024;

    QString name;              // the file's name, without its folder
    QString path;              // where it was read from, to read another sheet
    QStringList sheetNames;    // a workbook's sheets; empty for a CSV file
    int sheet = 0;             // the sheet read
    QList<TSheetRow> rows;     // every row holding anything, the titles' among them
    QList<int> columns;        // the columns any row uses, ascending

    // False, with the reason in *error, when the file cannot be read as a sheet.
    bool Read(const QString &path, QString *error, int sheet = 0);
    bool ReadBytes(QByteArray bytes, QString *error, int sheet = 0);
};
