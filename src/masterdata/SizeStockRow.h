#pragma once
// A row of the ten sizes 35# to 44# with the stock of each: negative in red,
// zero greyed, and a note when old lines make the sizes disagree with the total.

#include <QWidget>

class QLabel;
struct SizeStock;

class TSizeStockRow : public QWidget {
    Q_OBJECT
public:
    explicit TSizeStockRow(QWidget *parent = nullptr);
    void Show(const SizeStock &stock);

    QLabel *Size[10];
    QLabel *Total;
    QLabel *Note;
};
