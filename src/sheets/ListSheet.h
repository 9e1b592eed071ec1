#pragma once
// A list as it leaves the program for a spreadsheet: titles, what each column
// holds, and rows of typed values. Widget-free; written as CSV or XLSX.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>


class TListSheet {
public:
    enum Kind {
        Text,      // always a text, whatever it looks like
        Money,     // an amount, two decimals
        Price,     // a price or quote, up to four decimals
        Quantity,  // a whole number
        Date,
        Auto,      // numbers, dates and texts as the values are (grid columns)
    };
    struct Column {
        QString title;
        Kind kind = Auto;
    };

    QList<Column> columns;
    QList<QVariantList> rows;

    void AddColumn(const QString &title, Kind kind) { columns << Column{title, kind}; }
    QStringList Titles() const;
    // A cell as it is written: money rounded to the fen, a quantity whole, a
    // date a QDate, a text a QString, a number a double; null stays null.
    QVariant Cell(int row, int column) const;
    // The kind a column is written with: Auto becomes Money for a column of
    // numbers titled as an amount, Quantity for whole numbers, else stays.
    Kind WrittenKind(int column) const;

    // UTF-8 with BOM, the formula guard on texts (see Csv::File).
    QByteArray Csv() const;

};
