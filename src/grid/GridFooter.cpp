#include "grid/GridFooter.h"

#include "grid/GridModel.h"

#include <QHeaderView>
#include <QPainter>
#include <QScrollBar>
#include <QTableView>

TGridFooter::TGridFooter(QTableView *table, TGridModel *model, QWidget *parent)
    : QWidget(parent), table_(table), model_(model)
{
    setObjectName(QStringLiteral("Footer"));
    auto repaint = [this] { update(); };
    QHeaderView *header = table->horizontalHeader();
    connect(header, &QHeaderView::sectionResized, this, repaint);
    connect(header, &QHeaderView::sectionMoved, this, repaint);
    connect(header, &QHeaderView::geometriesChanged, this, repaint);
    connect(table->horizontalScrollBar(), &QScrollBar::valueChanged, this, repaint);
    connect(model, &TGridModel::FooterChanged, this, repaint);
    connect(model, &QAbstractItemModel::modelReset, this, repaint);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void TGridFooter::SetTextColour(const QColor &colour)
{
    textColour_ = colour;
    update();
}

QSize TGridFooter::sizeHint() const { return QSize(100, fontMetrics().height() + 8); }

void TGridFooter::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), palette().button());
    const QHeaderView *header = table_->horizontalHeader();
    // Cells start where the table's own cells do.
    const int origin = table_->viewport()->mapToGlobal(QPoint(0, 0)).x() - mapToGlobal(QPoint(0, 0)).x();
    const int right = origin + table_->viewport()->width();
    p.setClipRect(QRect(origin, 0, right - origin, height()));
    for (int column = 0; column < model_->columnCount(); ++column) {
        if (header->isSectionHidden(column))
            continue;
        const QRect cell(origin + header->sectionViewportPosition(column), 0, header->sectionSize(column), height());
        if (cell.right() < origin || cell.left() > right)
            continue;
        p.setPen(palette().color(QPalette::Mid));
        p.drawLine(cell.topRight(), cell.bottomRight());
        const QString text = model_->FooterText(column);
        if (text.isEmpty())
            continue;
        p.setPen(textColour_);
        p.drawText(cell.adjusted(2, 0, -2, 0), Qt::AlignCenter, text);
    }
    p.setClipping(false);
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(0, 0, width(), 0);
}
