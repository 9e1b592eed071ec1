#include "reportengine/PreviewPage.h"

#include "reportengine/ReportPainter.h"

#include <QPainter>

TPreviewPage::TPreviewPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewPage"));
    setAutoFillBackground(false);
}

void TPreviewPage::SetPage(const TPreparedPage &page, double dpi, const QList<QRectF> &highlights)
{
    page_ = page;
    dpi_ = dpi;
    highlights_ = highlights;
    const double f = dpi / 25.4;
    setFixedSize(qRound(page.paper.width() * f) + 2 * Border, qRound(page.paper.height() * f) + 2 * Border);
    update();
}

QRect TPreviewPage::ToWidget(const QRectF &mm) const
{
    const double f = dpi_ / 25.4;
    return QRectF(Border + mm.x() * f, Border + mm.y() * f, mm.width() * f, mm.height() * f).toAlignedRect();
}

void TPreviewPage::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    const QRect paper = rect().adjusted(Border, Border, -Border, -Border);
    painter.fillRect(paper.translated(3, 3), QColor(0x50, 0x50, 0x50));
    painter.fillRect(paper, Qt::white);
    painter.setClipRect(paper);
    TReportPainter::DrawPage(painter, page_, dpi_, QPointF(Border, Border), highlights_);
}
