#include "sheets/SheetRows.h"

#include <QLocale>

#include <algorithm>

QString TSheetRow::Cell(int column) const
{
    const auto at = std::lower_bound(cells.cbegin(), cells.cend(), column, [](const TSheetCell &c, int col) { return c.column < col; });
    return at != cells.cend() && at->column == column ? at->text : QString();
}

QStringList TSheetRow::Texts() const
{
    QStringList texts;
    for (const TSheetCell &cell : cells) {
        while (texts.size() < cell.column)
            texts << QString();
        texts << cell.text;
    }
    return texts;
}

QString TSheetRows::LimitText()
{
    const QLocale c(QLocale::C);
    return QStringLiteral("能导入的表格最多 %1 行、%2 个有内容的格子，每格最多 %3 个字")
        .arg(c.toString(MaxRows), c.toString(MaxCells), c.toString(MaxCellText));
}

void TSheetRows::StartRow(int number)
{
    row_ = TSheetRow{number, {}};
}

bool TSheetRows::AddCell(int column, const QString &text, QString *why)
{
    if (text.isEmpty())
        return true;
    if (column < 0 || column >= MaxColumns) {
        *why = QStringLiteral("第 %1 行的内容超出了表格的最后一列").arg(row_.number);
        return false;
    }
    if (text.size() > MaxCellText) {
        *why = QStringLiteral("第 %1 行有一格文字太长（%2 个字）。%3").arg(row_.number).arg(text.size()).arg(LimitText());
        return false;
    }
    if (++cells_ > MaxCells || (text_ += text.size()) > MaxText) {
        *why = QStringLiteral("表格太大。%1").arg(LimitText());
        return false;
    }
    row_.cells << TSheetCell{column, text};
    return true;
}

bool TSheetRows::EndRow(QString *why)
{
    TSheetRow row = std::move(row_);
    row_ = TSheetRow();
    const bool blank = std::all_of(row.cells.cbegin(), row.cells.cend(), [](const TSheetCell &c) { return c.text.trimmed().isEmpty(); });
    if (blank)
        return true;
    if (rows.size() >= MaxRows) {
        *why = QStringLiteral("表格的行数太多。%1").arg(LimitText());
        return false;
    }
    // A workbook may list a row's cells out of order or twice; the last one written counts.
    std::stable_sort(row.cells.begin(), row.cells.end(), [](const TSheetCell &a, const TSheetCell &b) { return a.column < b.column; });
    qsizetype kept = 0;
    for (qsizetype i = 0; i < row.cells.size(); ++i) {
        if (kept > 0 && row.cells[kept - 1].column == row.cells[i].column)
            --kept;
        row.cells[kept++] = std::move(row.cells[i]);
    }
    row.cells.resize(kept);
    rows << std::move(row);
    return true;
}

QList<int> TSheetRows::Columns() const
{
    QList<int> used;
    for (const TSheetRow &row : rows)
        for (const TSheetCell &cell : row.cells)
            used << cell.column;
    std::sort(used.begin(), used.end());
    used.erase(std::unique(used.begin(), used.end()), used.end());
    return used;
}
