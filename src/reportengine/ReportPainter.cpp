#include "reportengine/ReportPainter.h"

#include "reportengine/ReportFonts.h"
#include "core/FileFailure.h"
#include "core/WholeFile.h"

#include <QFontMetricsF>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>

namespace {
constexpr double MmPerInch = 25.4;

int TextFlags(const TReportItem &item)
{
    return int(item.align) | (item.wrap ? Qt::TextWordWrap : Qt::TextSingleLine);
}

QPageLayout LayoutOf(const QSizeF &paper)
{
    const bool landscape = paper.width() > paper.height();
    const QPageSize size(landscape ? paper.transposed() : paper, QPageSize::Millimeter, QString(),
                         QPageSize::FuzzyOrientationMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(), QPageLayout::Millimeter);
}
} // namespace

void TReportPainter::DrawPage(QPainter &painter, const TPreparedPage &page, double dpi, QPointF origin,
                              const QList<QRectF> &highlights)
{
    const double f = dpi / MmPerInch;
    auto toDevice = [&](const QRectF &mm) {
        return QRectF(origin.x() + mm.x() * f, origin.y() + mm.y() * f, mm.width() * f, mm.height() * f);
    };
    const double deviceDpi = painter.device() ? painter.device()->logicalDpiY() : dpi;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    for (const TReportItem &item : page.items) {
        const QRectF r = toDevice(item.rect);
        QPen pen(item.color, qMax(1.0, item.penWidth * f));
        pen.setCapStyle(Qt::SquareCap);
        pen.setJoinStyle(Qt::MiterJoin);
        switch (item.kind) {
        case TReportItem::Line:
            painter.setPen(pen);
            painter.drawLine(r.topLeft(), r.bottomRight());
            break;
        case TReportItem::Frame:
            painter.setPen(pen);
            painter.setBrush(item.fill.isValid() ? QBrush(item.fill) : QBrush(Qt::NoBrush));
            painter.drawRect(r);
            break;
        case TReportItem::Text:
        case TReportItem::Field: {
            if (item.fill.isValid())
                painter.fillRect(r, item.fill);
            if (!item.text.isEmpty()) {
                painter.setFont(ReportFonts::Make(item.fontFamily, item.fontSize, item.bold, dpi, deviceDpi));
                painter.setPen(item.color);
                const QRectF inner = r.adjusted(PaddingX * f, PaddingY * f, -PaddingX * f, -PaddingY * f);
                painter.save();
                painter.setClipRect(r);
                painter.drawText(inner, TextFlags(item), item.text);
                painter.restore();
            }
            if (item.borders) {
                painter.setPen(pen);
                if (item.borders & TReportItem::LeftBorder)
                    painter.drawLine(r.topLeft(), r.bottomLeft());
                if (item.borders & TReportItem::TopBorder)
                    painter.drawLine(r.topLeft(), r.topRight());
                if (item.borders & TReportItem::RightBorder)
                    painter.drawLine(r.topRight(), r.bottomRight());
                if (item.borders & TReportItem::BottomBorder)
                    painter.drawLine(r.bottomLeft(), r.bottomRight());
            }
            break;
        }
        }
    }
    for (const QRectF &h : highlights)
        painter.fillRect(toDevice(h), QColor(255, 220, 0, 110));
    painter.restore();
}

QImage TReportPainter::PageImage(const TPreparedPage &page, double dpi)
{
    const double f = dpi / MmPerInch;
    QImage image(qMax(1, qRound(page.paper.width() * f)), qMax(1, qRound(page.paper.height() * f)), QImage::Format_RGB32);
    const int dpm = qRound(dpi / 0.0254);
    image.setDotsPerMeterX(dpm);
    image.setDotsPerMeterY(dpm);
    image.fill(Qt::white);
    QPainter painter(&image);
    DrawPage(painter, page, dpi);
    return image;
}

bool TReportPainter::Render(QPagedPaintDevice *device, const QList<TPreparedPage> &pages, int from, int to)
{
    if (pages.isEmpty())
        return false;
    const int first = from > 0 ? qBound(1, from, int(pages.size())) : 1;
    const int last = to > 0 ? qBound(first, to, int(pages.size())) : int(pages.size());
    device->setPageLayout(LayoutOf(pages[first - 1].paper));
    QPainter painter;
    if (!painter.begin(device))
        return false;
    const double dpi = device->logicalDpiY();
    for (int i = first; i <= last; ++i) {
        if (i > first) {
            device->setPageLayout(LayoutOf(pages[i - 1].paper));
            device->newPage();
        }
        DrawPage(painter, pages[i - 1], dpi);
    }
    return painter.end();
}

bool TReportPainter::WritePdf(const QString &fileName, const QList<TPreparedPage> &pages, const QString &title, QString *why)
{
    // Made in memory and written whole: a failure leaves any old file as it was.
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    bool rendered = false;
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(600);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Mirelo进销存"));
        rendered = Render(&writer, pages);
    }
    if (!rendered) {
        if (why)
            *why = QStringLiteral("无法生成PDF内容");
        return false;
    }
    const int error = TWholeFile::Write(fileName, pdf.data());
    if (error != 0 && why)
        *why = TFileFailure::Cause(error);
    return error == 0;
}

double TReportPainter::TextHeight(const TReportItem &item, const QString &text)
{
    // Measured at a fixed fine resolution, whatever device prints it later.
    constexpr double dpi = 720;
    static QImage measure = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(qRound(dpi / 0.0254));
        image.setDotsPerMeterY(qRound(dpi / 0.0254));
        return image;
    }();
    const double f = dpi / MmPerInch;
    const QFont font = ReportFonts::Make(item.fontFamily, item.fontSize, item.bold, dpi, measure.logicalDpiY());
    const QFontMetricsF metrics(font, &measure);
    const double width = qMax(1.0, (item.rect.width() - 2 * PaddingX) * f);
    const QRectF needed = metrics.boundingRect(QRectF(0, 0, width, 1e7), TextFlags(item), text.isEmpty() ? QStringLiteral(" ") : text);
    // A little air, so wrapped lines never touch the rules around them.
    return needed.height() / f + 2 * PaddingY + 1.0;
}
