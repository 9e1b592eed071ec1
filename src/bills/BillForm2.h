#pragma once
#include "ui/Form.h"

class QAction;
class QToolButton;

// Chooser of a new finance bill: 财务收入 or 财务支出.
class TFormBill2 : public TForm {
    Q_OBJECT
public:
    explicit TFormBill2(QWidget *parent = nullptr);
    void ActionGetExecute();
    void ActionPayExecute();

    QAction *ActionGet, *ActionPay;
    QToolButton *SpeedButton3, *SpeedButton4;

private:
    void StartBill(int mode);
};

extern TFormBill2 *FormBill2;
