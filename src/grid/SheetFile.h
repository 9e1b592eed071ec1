#pragma once
// A spreadsheet file brought in: a CSV file (UTF-8 with or without BOM, or
// GB18030) or the first sheet of an XLSX workbook, told apart by content, as
// a title row and rows of trimmed texts. What is no such file is refused with
// the reason.

#include <QList>
#include <QString>
#include <QStringList>

class TSheetFile {
public:
    // Files beyond this are refused unread: a shop's lists are far smaller.
    static constexpr qint64 MaxBytes = 50LL * 1024 * 1024;

    QString name;              // the file's name, without its folder
    QStringList titles;
    QList<QStringList> rows;   // after the title row, empty rows left out
    QList<int> rowNumbers;     // each row's number as a spreadsheet shows it

    // False, with the reason in *error, when the file cannot be read as a sheet.
    bool Read(const QString &path, QString *error);
    bool ReadBytes(const QByteArray &bytes, QString *error);
};
