#pragma once
// The footer row under a grid: one cell under each column, lined up with the
// column titles and following them when the grid scrolls or a column is resized.

#include <QColor>
#include <QWidget>

class QTableView;
class TGridModel;

class TGridFooter : public QWidget {
    Q_OBJECT
public:
    TGridFooter(QTableView *table, TGridModel *model, QWidget *parent = nullptr);

    void SetTextColour(const QColor &colour);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTableView *table_;
    TGridModel *model_;
    QColor textColour_ = Qt::black;
};
