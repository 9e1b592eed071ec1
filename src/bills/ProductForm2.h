#pragma once
#include "ui/Form.h"

class QFrame;
class QLabel;
class QPushButton;

// The product picker: a product name, then one of its models, twenty to a page.
class TFormProduct2 : public TForm {
    Q_OBJECT
public:
    static constexpr int CellCount = 20;

    explicit TFormProduct2(QWidget *parent = nullptr);

    int FPickKind = 0;
    QString FPickName;
    QString FPicked;
    int FPage = 0;     // kept between showings
    QFrame *FCellPanels[CellCount];
    QLabel *FCellNames[CellCount];
    QLabel *FCellImages[CellCount];

    void FormShow() override;
    void ShowPage();
    void StorePriorClick();
    void StoreNextClick();
    void PickCell(int i);

    QPushButton *StorePrior;
    QPushButton *StoreNext;
    QLabel *Label1;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

extern TFormProduct2 *FormProduct2;
