#pragma once
// One prepared page drawn on paper-white at the chosen resolution, with the
// texts that a search found marked.

#include "reportengine/PreparedPage.h"

#include <QList>
#include <QRectF>
#include <QWidget>

class TPreviewPage : public QWidget {
    Q_OBJECT
public:
    explicit TPreviewPage(QWidget *parent = nullptr);

    void SetPage(const TPreparedPage &page, double dpi, const QList<QRectF> &highlights = {});
    double Dpi() const { return dpi_; }
    // Where a rectangle of the page (millimetres) lies in this widget.
    QRect ToWidget(const QRectF &mm) const;

    static constexpr int Border = 12;   // grey around the paper

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    TPreparedPage page_;
    double dpi_ = 96;
    QList<QRectF> highlights_;
};
