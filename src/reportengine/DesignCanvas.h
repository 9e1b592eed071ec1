#pragma once
// The designer's drawing of a template: the bands one under another in print
// order, each with its caption strip, and their items. Items are selected
// with the mouse, moved by dragging, resized at their corner handle; a band's
// height is dragged at its lower edge.

#include "reportengine/ReportTemplate.h"

#include <QPointF>
#include <QWidget>

class TDesignCanvas : public QWidget {
    Q_OBJECT
public:
    explicit TDesignCanvas(TReportTemplate *tpl, QWidget *parent = nullptr);

    // What is selected: a band (item -1), an item of a band, or nothing (band -1).
    int SelectedBand() const { return band_; }
    int SelectedItem() const { return item_; }
    void Select(int band, int item);
    TReportItem *CurrentItem();
    TReportBand *CurrentBand();
    void DeleteSelection();
    void Relayout();   // after the template changed from outside

    // Where things are drawn, in widget pixels.
    QRect BandRect(int band) const;      // the band's printing area, below its strip
    QRect ItemRect(int band, int item) const;
    double PixelsPerMm() const { return pixelsPerMm_; }

    static constexpr int Margin = 20;    // grey around the paper
    static constexpr int StripHeight = 18;
    static constexpr double Snap = 0.5;  // millimetres

signals:
    void SelectionChanged();
    void Changed();

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    enum Drag { NoDrag, MoveItem, ResizeItem, ResizeBand };
    QList<int> Order() const;            // band indices in print order
    int BandTop(int band) const;         // top of the band's strip
    double ToMm(double pixels) const;
    static double Snapped(double mm);
    QRect HandleRect(int band, int item) const;

    TReportTemplate *tpl_;
    double pixelsPerMm_;
    int band_ = -1, item_ = -1;
    Drag drag_ = NoDrag;
    QPointF pressAt_;
    QRectF startRect_;
    double startHeight_ = 0;
};
