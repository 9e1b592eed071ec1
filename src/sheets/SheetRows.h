#pragma once
// The rows of a sheet being read, kept sparse (a cell far to the right costs one
// cell), within limits stated up front: a shop's lists are far below them, and
// a hostile file is stopped at them before its memory is spent.

#include <QList>
#include <QString>
#include <QStringList>

struct TSheetCell {
    int column = 0;   // 0 for column A
    QString text;
    bool operator==(const TSheetCell &) const = default;
};

struct TSheetRow {
    int number = 0;            // as a spreadsheet shows it, 1 for the first
    QList<TSheetCell> cells;   // those holding anything, by column

    QString Cell(int column) const;
    // The row's texts from column A to its last cell.
    QStringList Texts() const;
};

class TSheetRows {
public:
    static constexpr int MaxRows = 100000;
    static constexpr qint64 MaxCells = 1000000;
    static constexpr int MaxColumns = 16384;   // A to XFD
    static constexpr qint64 MaxCellText = 32767;   // what a spreadsheet cell holds
    static constexpr qint64 MaxText = 32LL * 1024 * 1024;   // characters of all cells together

    QList<TSheetRow> rows;   // those holding anything but blanks

    // The limits as the user reads them.
    static QString LimitText();

    void StartRow(int number);
    // False, with the reason, when the sheet goes past a limit.
    bool AddCell(int column, const QString &text, QString *why);
    bool EndRow(QString *why);
    // The columns any row uses, ascending.
    QList<int> Columns() const;

private:
    TSheetRow row_;
    qint64 cells_ = 0, text_ = 0;
};
