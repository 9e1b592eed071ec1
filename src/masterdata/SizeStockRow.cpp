#include "masterdata/SizeStockRow.h"

#include "figures/ProductFigures.h"

#include <QLabel>

namespace {
constexpr int cellWidth = 36;
constexpr int cellHeight = 22;

QLabel *Cell(QWidget *parent, const QString &text, int x, int y, int width, const QString &style)
{
    auto *l = new QLabel(text, parent);
    l->setGeometry(x, y, width, cellHeight);
    l->setAlignment(Qt::AlignCenter);
    l->setStyleSheet(style);
    return l;
}
} // namespace

TSizeStockRow::TSizeStockRow(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("SizeStockRow"));
    const QString head = QStringLiteral("QLabel { background: #e4ecf7; border: 1px solid #9fb3cf; color: #1d3f73; }");
    for (int k = 0; k < SizeStock::SizeCount; ++k) {
        Cell(this, TProductFigures::SizeCaption(k), k * cellWidth, 0, cellWidth, head);
        Size[k] = Cell(this, QString(), k * cellWidth, cellHeight, cellWidth, QString());
        Size[k]->setObjectName(QStringLiteral("SizeStock%1").arg(k + 1));
    }
    const int x = SizeStock::SizeCount * cellWidth;
    Cell(this, QStringLiteral("合计"), x, 0, 60, head);
    Total = Cell(this, QString(), x, cellHeight, 60, QString());
    Total->setObjectName(QStringLiteral("SizeStockTotal"));
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("SizeStockNote"));
    Note->setGeometry(0, 2 * cellHeight + 2, x + 60, 18);
    Note->setStyleSheet(QStringLiteral("QLabel { color: #b01818; }"));
    setFixedSize(x + 60, 2 * cellHeight + 20);
}

void TSizeStockRow::Show(const SizeStock &stock)
{
    const QString cell = QStringLiteral("QLabel { border: 1px solid #c8d2de; background: white; color: %1; }");
    auto paint = [&](QLabel *label, int value) {
        label->setText(QString::number(value));
        label->setStyleSheet(cell.arg(value < 0 ? QStringLiteral("#d01010") : value == 0 ? QStringLiteral("#a0a0a0")
                                                                                        : QStringLiteral("#1030a0")));
    };
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        paint(Size[k], stock.size[k]);
    paint(Total, stock.total);
    Note->setText(stock.flagged ? QStringLiteral("有旧单据的尺码数量不是整数或与数量不符，各尺码之和可能与合计不同") : QString());
}
