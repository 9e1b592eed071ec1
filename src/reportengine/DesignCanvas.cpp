#include "reportengine/DesignCanvas.h"

#include "reportengine/PreparedPage.h"
#include "reportengine/ReportPainter.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

TDesignCanvas::TDesignCanvas(TReportTemplate *tpl, QWidget *parent) : QWidget(parent), tpl_(tpl)
{
    setObjectName(QStringLiteral("DesignCanvas"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    pixelsPerMm_ = logicalDpiX() / 25.4;
    Relayout();
}

QList<int> TDesignCanvas::Order() const
{
    QList<int> order;
    for (int i = 0; i < tpl_->bands.size(); ++i)
        order << i;
    std::stable_sort(order.begin(), order.end(),
                     [this](int a, int b) { return tpl_->bands[a].type < tpl_->bands[b].type; });
    return order;
}

int TDesignCanvas::BandTop(int band) const
{
    double y = Margin + tpl_->marginTop * pixelsPerMm_;
    for (int b : Order()) {
        if (b == band)
            return int(std::lround(y));
        y += StripHeight + tpl_->bands[b].height * pixelsPerMm_ + 6;
    }
    return int(std::lround(y));
}

QRect TDesignCanvas::BandRect(int band) const
{
    const int top = BandTop(band) + StripHeight;
    const int left = Margin + int(std::lround(tpl_->marginLeft * pixelsPerMm_));
    return QRect(left, top, int(std::lround(tpl_->ContentWidth() * pixelsPerMm_)),
                 qMax(2, int(std::lround(tpl_->bands[band].height * pixelsPerMm_))));
}

QRect TDesignCanvas::ItemRect(int band, int item) const
{
    const QRect b = BandRect(band);
    QRectF r = tpl_->bands[band].items[item].rect;
    r = QRectF(b.left() + r.x() * pixelsPerMm_, b.top() + r.y() * pixelsPerMm_, r.width() * pixelsPerMm_,
               r.height() * pixelsPerMm_).normalized();
    return r.toAlignedRect().adjusted(0, 0, 1, 1);
}

QRect TDesignCanvas::HandleRect(int band, int item) const
{
    const QRect r = ItemRect(band, item);
    return QRect(r.right() - 4, r.bottom() - 4, 8, 8);
}

double TDesignCanvas::ToMm(double pixels) const { return pixels / pixelsPerMm_; }
double TDesignCanvas::Snapped(double mm) { return std::round(mm / Snap) * Snap; }

void TDesignCanvas::Relayout()
{
    if (band_ >= tpl_->bands.size())
        band_ = item_ = -1;
    if (band_ >= 0 && item_ >= tpl_->bands[band_].items.size())
        item_ = -1;
    const int width = int(std::lround(tpl_->paper.width() * pixelsPerMm_)) + 2 * Margin;
    int height = BandTop(-1) + int(std::lround(tpl_->marginBottom * pixelsPerMm_)) + Margin;
    height = qMax(height, int(std::lround(120 * pixelsPerMm_)));
    setFixedSize(width, height);
    update();
}

void TDesignCanvas::Select(int band, int item)
{
    band_ = band >= 0 && band < tpl_->bands.size() ? band : -1;
    item_ = band_ >= 0 && item >= 0 && item < tpl_->bands[band_].items.size() ? item : -1;
    update();
    emit SelectionChanged();
}

TReportItem *TDesignCanvas::CurrentItem() { return band_ >= 0 && item_ >= 0 ? &tpl_->bands[band_].items[item_] : nullptr; }
TReportBand *TDesignCanvas::CurrentBand() { return band_ >= 0 ? &tpl_->bands[band_] : nullptr; }

void TDesignCanvas::DeleteSelection()
{
    if (band_ < 0)
        return;
    if (item_ >= 0)
        tpl_->bands[band_].items.removeAt(item_);
    else
        tpl_->bands.removeAt(band_);
    const int band = item_ >= 0 ? band_ : -1;
    Relayout();
    Select(band, -1);
    emit Changed();
}

void TDesignCanvas::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), QColor(0x9a, 0x9a, 0x9a));
    const QRect paper(Margin, Margin, width() - 2 * Margin, height() - 2 * Margin);
    p.fillRect(paper, Qt::white);
    // Margins as faint lines.
    p.setPen(QPen(QColor(0xc8, 0xd8, 0xf0), 1, Qt::DashLine));
    const int left = Margin + int(std::lround(tpl_->marginLeft * pixelsPerMm_));
    const int right = paper.right() - int(std::lround(tpl_->marginRight * pixelsPerMm_));
    p.drawLine(left, paper.top(), left, paper.bottom());
    p.drawLine(right, paper.top(), right, paper.bottom());

    const double dpi = pixelsPerMm_ * 25.4;
    for (int b : Order()) {
        const TReportBand &band = tpl_->bands[b];
        const QRect area = BandRect(b);
        const QRect strip(paper.left(), area.top() - StripHeight, paper.width(), StripHeight);
        const bool bandSelected = b == band_ && item_ < 0;
        p.fillRect(strip, bandSelected ? QColor(0xff, 0xe0, 0x90) : QColor(0xe4, 0xec, 0xf7));
        p.setPen(QColor(0x33, 0x44, 0x66));
        QString caption = TReportBand::Caption(band.type);
        if (band.type == TReportBand::MasterData)
            caption += QStringLiteral("：") + (band.dataSet.isEmpty() ? QStringLiteral("（未指定数据集）") : band.dataSet);
        p.drawText(strip.adjusted(6, 0, -6, 0), Qt::AlignVCenter | Qt::AlignLeft, caption);
        p.setPen(QPen(QColor(0xb0, 0xb8, 0xc8), 1, Qt::DotLine));
        p.drawLine(paper.left(), area.bottom(), paper.right(), area.bottom());

        // Items drawn as they print, with fields shown by their column (the panel names the data set).
        TPreparedPage page;
        for (const TReportItem &item : band.items) {
            TReportItem shown = item;
            if (item.kind == TReportItem::Field)
                shown.text = QStringLiteral("[%1]").arg(item.field);
            shown.rect.translate(tpl_->marginLeft, 0);
            page.items << shown;
        }
        TReportPainter::DrawPage(p, page, dpi, QPointF(Margin, area.top()));
        for (int i = 0; i < band.items.size(); ++i) {
            const TReportItem &item = band.items[i];
            const QRect r = ItemRect(b, i);
            if (item.IsTextual() && item.borders == TReportItem::NoBorder) {
                p.setPen(QPen(QColor(0xa0, 0xa0, 0xa0), 1, Qt::DotLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(0, 0, -1, -1));
            }
            if (b == band_ && i == item_) {
                p.setPen(QPen(QColor(0x20, 0x60, 0xe0), 1, Qt::DashLine));
                p.setBrush(Qt::NoBrush);
                p.drawRect(r.adjusted(-1, -1, 0, 0));
                p.fillRect(HandleRect(b, i), QColor(0x20, 0x60, 0xe0));
            }
        }
    }
}

void TDesignCanvas::mousePressEvent(QMouseEvent *event)
{
    setFocus();
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    pressAt_ = event->position();
    drag_ = NoDrag;
    // The selected item's handle first, then items top-most first, then bands.
    if (band_ >= 0 && item_ >= 0 && HandleRect(band_, item_).contains(at)) {
        drag_ = ResizeItem;
        startRect_ = tpl_->bands[band_].items[item_].rect;
        return;
    }
    const QList<int> order = Order();
    for (int b : order) {
        const QRect area = BandRect(b);
        if (qAbs(at.y() - area.bottom()) <= 3 && at.x() >= Margin && at.x() <= width() - Margin) {
            Select(b, -1);
            drag_ = ResizeBand;
            startHeight_ = tpl_->bands[b].height;
            return;
        }
        for (int i = int(tpl_->bands[b].items.size()) - 1; i >= 0; --i)
            if (ItemRect(b, i).adjusted(-2, -2, 2, 2).contains(at)) {
                Select(b, i);
                drag_ = MoveItem;
                startRect_ = tpl_->bands[b].items[i].rect;
                return;
            }
        if (QRect(Margin, area.top() - StripHeight, width() - 2 * Margin, area.height() + StripHeight).contains(at)) {
            Select(b, -1);
            return;
        }
    }
    Select(-1, -1);
}

void TDesignCanvas::mouseMoveEvent(QMouseEvent *event)
{
    if (drag_ == NoDrag) {
        bool edge = false;
        for (int b : Order())
            edge = edge || qAbs(event->position().y() - BandRect(b).bottom()) <= 3;
        const bool handle = band_ >= 0 && item_ >= 0 && HandleRect(band_, item_).contains(event->position().toPoint());
        setCursor(handle ? Qt::SizeFDiagCursor : edge ? Qt::SizeVerCursor : Qt::ArrowCursor);
        return;
    }
    const double dx = ToMm(event->position().x() - pressAt_.x());
    const double dy = ToMm(event->position().y() - pressAt_.y());
    if (drag_ == ResizeBand) {
        tpl_->bands[band_].height = qMax(Snap, Snapped(startHeight_ + dy));
        Relayout();
    } else if (TReportItem *item = CurrentItem()) {
        QRectF r = startRect_;
        if (drag_ == MoveItem) {
            r.moveTo(qMax(0.0, Snapped(r.x() + dx)), qMax(0.0, Snapped(r.y() + dy)));
        } else {
            // Lines may have no height or width; boxes keep at least one step.
            const double least = item->kind == TReportItem::Line ? 0 : Snap;
            r.setWidth(qMax(least, Snapped(r.width() + dx)));
            r.setHeight(qMax(least, Snapped(r.height() + dy)));
        }
        item->rect = r;
        update();
    }
    emit Changed();
}

void TDesignCanvas::mouseReleaseEvent(QMouseEvent *)
{
    if (drag_ != NoDrag)
        emit SelectionChanged();   // the panel shows the new position
    drag_ = NoDrag;
}

void TDesignCanvas::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Delete) {
        DeleteSelection();
        return;
    }
    TReportItem *item = CurrentItem();
    const QHash<int, QPointF> steps{{Qt::Key_Left, {-Snap, 0}}, {Qt::Key_Right, {Snap, 0}},
                                    {Qt::Key_Up, {0, -Snap}},   {Qt::Key_Down, {0, Snap}}};
    if (!item || !steps.contains(event->key())) {
        QWidget::keyPressEvent(event);
        return;
    }
    const QPointF step = steps.value(event->key());
    if (event->modifiers() & Qt::ShiftModifier) {
        item->rect.setWidth(qMax(0.0, item->rect.width() + step.x()));
        item->rect.setHeight(qMax(0.0, item->rect.height() + step.y()));
    } else {
        item->rect.moveTo(qMax(0.0, item->rect.x() + step.x()), qMax(0.0, item->rect.y() + step.y()));
    }
    update();
    emit Changed();
    emit SelectionChanged();
}
