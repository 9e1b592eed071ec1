#include "bills/BillForm.h"

#include "bills/BuySellForm.h"
#include "ui/Artwork.h"
#include "ui/Dialogs.h"
#include "core/Session.h"

#include <QAction>
#include <QToolButton>

TFormBill *FormBill = nullptr;

QToolButton *ChooserButton(QWidget *parent, const QString &name, QAction *action, const QString &banner, int x)
{
    action->setIcon(QIcon(QPixmap::fromImage(Artwork::BillBanner(banner, 48, 48).copy(6, 6, 36, 36))));
    auto *b = new QToolButton(parent);
    b->setObjectName(name);
    b->setDefaultAction(action);
    b->setGeometry(x, 12, 140, 88);
    b->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    b->setIconSize(QSize(40, 40));
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

TFormBill::TFormBill(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormBill"));
    setWindowTitle(QStringLiteral("新增货品单据"));
    setFixedSize(324, 112);
    ActionSell = new QAction(QStringLiteral("出货单"), this);
    ActionSell->setObjectName(QStringLiteral("ActionSell"));
    ActionBuy = new QAction(QStringLiteral("进货单"), this);
    ActionBuy->setObjectName(QStringLiteral("ActionBuy"));
    SpeedButton1 = ChooserButton(this, QStringLiteral("SpeedButton1"), ActionSell, QStringLiteral("NewSell"), 14);
    SpeedButton2 = ChooserButton(this, QStringLiteral("SpeedButton2"), ActionBuy, QStringLiteral("NewBuy"), 170);
    connect(ActionSell, &QAction::triggered, this, &TFormBill::ActionSellExecute);
    connect(ActionBuy, &QAction::triggered, this, &TFormBill::ActionBuyExecute);
}

void TFormBill::StartBill(int mode)
{
    FormBuySell->FBillMode = mode;
    FormBuySell->FBillIndex = 1;
    FormBuySell->FCustomerIndex = 0;
    FormBuySell->FCustomerLocked = false;
    if (Dialogs::ShowModal(FormBuySell) == QDialog::Accepted)
        Session->BooksChanged();
    reject();
}

void TFormBill::ActionSellExecute() { StartBill(0); }
void TFormBill::ActionBuyExecute() { StartBill(2); }
