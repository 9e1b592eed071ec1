#include "grid/GridPrinter.h"

#include "grid/FooterGrid.h"
#include "grid/GridPreviewForm.h"
#include "reportengine/ReportFonts.h"
#include "ui/Dialogs.h"
#include "core/FileFailure.h"
#include "core/WholeFile.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QBuffer>
#include <cmath>
#include <functional>

struct TGridPrinter::Metrics {
    QFont body, title;
    double width = 0, height = 0;   // the printable area
    double rowHeight = 0, titleLineHeight = 0, footerLineHeight = 0;
    double top = 0;                 // where the column titles start
    double bottom = 0;              // where the page footer lines start
    QList<int> columns;             // shown grid columns
    QVector<double> x;              // left edge of each, and the right edge of the last
};

TGridPrinter::TGridPrinter(TFooterGrid *grid, QObject *parent) : QObject(parent), grid_(grid) {}

void TGridPrinter::ClearTitles()
{
    PageHeader.clear();
    PageFooter.clear();
}

QPageLayout TGridPrinter::PageLayout() const
{
    // Printers cannot reach the paper's edge; less than 10 mm is cut off by many.
    const double margin = qMax(MinimumMarginMm, MarginMm);
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(margin, margin, margin, margin),
                       QPageLayout::Millimeter);
}

TGridPrinter::Metrics TGridPrinter::Measure(QPagedPaintDevice *device) const
{
    Metrics m;
    // Fonts are sized in points, so they print the same on any resolution.
    m.body.setFamilies(ReportFonts::Families(FontName.isEmpty() ? QStringLiteral("楷体_GB2312") : FontName));
    m.body.setPointSizeF(9);
    m.title = m.body;
    m.title.setPointSizeF(14);
    m.title.setBold(true);

    const int dpi = device->logicalDpiY();
    const QRect area = device->pageLayout().paintRectPixels(dpi);
    m.width = area.width();
    m.height = area.height();
    const QFontMetricsF bodyMetrics(m.body, device);
    const QFontMetricsF titleMetrics(m.title, device);
    m.rowHeight = std::ceil(bodyMetrics.height() * 1.5);
    m.titleLineHeight = std::ceil(titleMetrics.height() * 1.4);
    m.footerLineHeight = std::ceil(bodyMetrics.height() * 1.4);
    m.top = PageHeader.size() * m.titleLineHeight + (PageHeader.isEmpty() ? 0 : m.rowHeight * 0.5);
    // The page number is the last footer line.
    m.bottom = m.height - (PageFooter.size() + 1) * m.footerLineHeight;

    m.columns = grid_->VisibleColumns();
    double total = 0;
    for (int c : m.columns)
        total += grid_->ColumnWidth(c);
    const double scale = FitToPageWidth && total > 0 ? m.width / total : dpi / 96.0;
    double x = 0;
    for (int c : m.columns) {
        m.x << x;
        x += grid_->ColumnWidth(c) * scale;
    }
    m.x << x;
    return m;
}

QVector<TGridPrinter::Page> TGridPrinter::Prepare(QPagedPaintDevice *device) const
{
    const Metrics m = Measure(device);
    // Each page holds the column titles and as many rows as fit, the last one the footer row too.
    const int perPage = qMax(1, int((m.bottom - m.top) / m.rowHeight) - 1);
    const int rows = grid_->RowCount();
    QVector<Page> pages;
    int next = 0;
    do {
        Page page;
        page.header = PageHeader;
        page.footer = PageFooter;
        page.firstRow = next;
        page.rowCount = qMin(perPage, rows - next);
        next += page.rowCount;
        page.footerRow = next == rows && page.rowCount < perPage;
        pages << page;
    } while (!pages.last().footerRow);
    for (int i = 0; i < pages.size(); ++i)
        pages[i].footer << QStringLiteral("第 %1 页 共 %2 页").arg(i + 1).arg(pages.size());
    return pages;
}

bool TGridPrinter::Paint(QPagedPaintDevice *device) const
{
    const QVector<Page> pages = Prepare(device);
    const Metrics m = Measure(device);
    QPainter p;
    if (!p.begin(device))
        return false;
    for (int i = 0; i < pages.size(); ++i) {
        if (i > 0 && !device->newPage())
            return false;
        PaintPage(p, m, pages[i]);
    }
    return p.end();
}

void TGridPrinter::PaintPage(QPainter &p, const Metrics &m, const Page &page) const
{
    const TGridModel *model = grid_->Model();
    const double line = qMax(1.0, m.rowHeight / 24);
    p.setFont(m.title);
    p.setPen(Qt::black);
    for (int i = 0; i < page.header.size(); ++i)
        p.drawText(QRectF(0, i * m.titleLineHeight, m.width, m.titleLineHeight), Qt::AlignCenter, page.header[i]);

    p.setFont(m.body);
    auto cells = [&](double y, const std::function<QString(int)> &text, const QColor &colour, const QColor &fill) {
        const QRectF band(m.x.first(), y, m.x.last() - m.x.first(), m.rowHeight);
        if (Coloured && fill.isValid())
            p.fillRect(band, fill);
        p.setPen(QPen(Qt::black, line));
        p.drawRect(band);
        for (int i = 0; i < m.columns.size(); ++i) {
            const QRectF cell(m.x[i], y, m.x[i + 1] - m.x[i], m.rowHeight);
            if (i > 0)
                p.drawLine(cell.topLeft(), cell.bottomLeft());
            const QRectF inner = cell.adjusted(line * 2, 0, -line * 2, 0);
            const QString shown = p.fontMetrics().elidedText(text(m.columns[i]), Qt::ElideRight, int(inner.width()));
            p.setPen(Coloured ? colour : QColor(Qt::black));
            p.drawText(inner, Qt::AlignCenter, shown);
            p.setPen(QPen(Qt::black, line));
        }
    };

    double y = m.top;
    cells(y, [&](int c) { return model->Columns()[c].title; }, HeaderColour, QColor(0xe8, 0xee, 0xf7));
    y += m.rowHeight;
    for (int r = page.firstRow; r < page.firstRow + page.rowCount; ++r, y += m.rowHeight)
        cells(y, [&](int c) { return model->Text(r, c); }, Qt::black, QColor());
    if (page.footerRow)
        cells(y, [&](int c) { return model->FooterText(c); }, FooterColour, QColor(0xf4, 0xf4, 0xf4));

    p.setPen(Qt::black);
    for (int i = 0; i < page.footer.size(); ++i)
        p.drawText(QRectF(0, m.bottom + i * m.footerLineHeight, m.width, m.footerLineHeight), Qt::AlignCenter,
                   page.footer[i]);
}

bool TGridPrinter::SavePdf(const QString &fileName, const QPageLayout &layout, QString *why) const
{
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setResolution(300);
        writer.setTitle(PageHeader.isEmpty() ? QString() : PageHeader.first());
        writer.setPageLayout(layout);
        if (!Paint(&writer)) {
            if (why)
                *why = QStringLiteral("无法生成PDF内容");
            return false;
        }
    }
    const int error = TWholeFile::Write(fileName, pdf.data());
    if (error != 0 && why)
        *why = TFileFailure::Cause(error);
    return error == 0;
}

void TGridPrinter::Preview()
{
    TFormGridPreview preview(this, grid_->window());
    Dialogs::ShowModal(&preview);
}
