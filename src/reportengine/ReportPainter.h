#pragma once
// Draws prepared pages with QPainter: on screen, into images, on a printer or
// into a PDF file. The same drawing serves all of them.

#include "reportengine/PreparedPage.h"

#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>

class QPagedPaintDevice;
class QPainter;

class TReportPainter {
public:
    // The page with its paper corner at origin (device pixels), at dpi pixels per inch.
    static void DrawPage(QPainter &painter, const TPreparedPage &page, double dpi, QPointF origin = QPointF(),
                         const QList<QRectF> &highlights = {});
    static QImage PageImage(const TPreparedPage &page, double dpi);
    // Pages from..to (1-based, inclusive; 0 means all) onto a printer or PDF writer
    // already set to the pages' paper. False when the device cannot be drawn on.
    static bool Render(QPagedPaintDevice *device, const QList<TPreparedPage> &pages, int from = 0, int to = 0);
    // The file written whole; false, with the cause in *why, when it could not be.
    static bool WritePdf(const QString &fileName, const QList<TPreparedPage> &pages, const QString &title,
                         QString *why = nullptr);
    // The height in millimetres the text needs in the item's width.
    static double TextHeight(const TReportItem &item, const QString &text);

    static constexpr double PaddingX = 0.8;   // millimetres between a text and its box
    static constexpr double PaddingY = 0.3;
};
