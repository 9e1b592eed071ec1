#include "bills/BillForm2.h"

#include "bills/BillForm.h"
#include "bills/GetPayForm.h"
#include "ui/Dialogs.h"

#include <QAction>
#include <QToolButton>

TFormBill2 *FormBill2 = nullptr;

TFormBill2::TFormBill2(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormBill2"));
    setWindowTitle(QStringLiteral("新增财务单据"));
    setFixedSize(324, 112);
    ActionGet = new QAction(QStringLiteral("财务收入"), this);
    ActionGet->setObjectName(QStringLiteral("ActionGet"));
    ActionPay = new QAction(QStringLiteral("财务支出"), this);
    ActionPay->setObjectName(QStringLiteral("ActionPay"));
    SpeedButton3 = ChooserButton(this, QStringLiteral("SpeedButton3"), ActionGet, QStringLiteral("NewGet"), 14);
    SpeedButton4 = ChooserButton(this, QStringLiteral("SpeedButton4"), ActionPay, QStringLiteral("NewPay"), 170);
    connect(ActionGet, &QAction::triggered, this, &TFormBill2::ActionGetExecute);
    connect(ActionPay, &QAction::triggered, this, &TFormBill2::ActionPayExecute);
}

void TFormBill2::StartBill(int mode)
{
    FormGetPay->FBillMode = mode;
    FormGetPay->FCustomerIndex = 0;
    FormGetPay->FCustomerLocked = false;
    Dialogs::ShowModal(FormGetPay);
    reject();
}

void TFormBill2::ActionGetExecute() { StartBill(0); }
void TFormBill2::ActionPayExecute() { StartBill(2); }
