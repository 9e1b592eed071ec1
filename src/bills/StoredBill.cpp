#include "bills/StoredBill.h"

#include "bills/BuySellForm.h"
#include "bills/GetPayForm.h"
#include "ui/Dialogs.h"
#include "core/Session.h"

void StoredBill::OpenGoodsBill(int mode, int billIndex)
{
    FormBuySell->FBillMode = mode;
    FormBuySell->FBillIndex = billIndex;
    FormBuySell->FChanged = false;
    FormBuySell->FCustomerLocked = false;
    Dialogs::ShowModal(FormBuySell);
    if (FormBuySell->FChanged)
        Session->BooksChanged();
}

void StoredBill::OpenFinanceBill(int mode, int billIndex)
{
    FormGetPay->FBillMode = mode;
    FormGetPay->FBillIndex = billIndex;
    FormGetPay->FCustomerLocked = false;
    Dialogs::ShowModal(FormGetPay);
}

bool StoredBill::Open(const QString &kind, int billIndex)
{
    if (kind == QStringLiteral("出货单") || kind == QStringLiteral("进货单"))
        OpenGoodsBill(kind == QStringLiteral("出货单") ? 1 : 3, billIndex);
    else if (kind == QStringLiteral("财务收入单") || kind == QStringLiteral("财务支出单"))
        OpenFinanceBill(kind == QStringLiteral("财务收入单") ? 1 : 3, billIndex);
    else
        return false;
    return true;
}
