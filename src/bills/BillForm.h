#pragma once
#include "ui/Form.h"

class QAction;
class QToolButton;

// Chooser of a new goods bill: 出货单 or 进货单.
class TFormBill : public TForm {
    Q_OBJECT
public:
    explicit TFormBill(QWidget *parent = nullptr);
    void ActionSellExecute();
    void ActionBuyExecute();

    QAction *ActionSell, *ActionBuy;
    QToolButton *SpeedButton1, *SpeedButton2;

private:
    void StartBill(int mode);
};

extern TFormBill *FormBill;

// One of the two big picture buttons of the bill choosers.
QToolButton *ChooserButton(QWidget *parent, const QString &name, QAction *action, const QString &banner, int x);
