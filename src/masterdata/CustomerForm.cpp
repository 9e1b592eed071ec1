#include "masterdata/CustomerForm.h"

#include "bills/BuySellForm.h"
#include "figures/CustomerFigures.h"
#include "reportengine/Report.h"
#include "reports/MonthlyReportRun.h"
#include "reports/MonthlyReports.h"
#include "ui/ModifyPassword.h"
#include "core/MonthSpan.h"
#include "bills/GetPayForm.h"
#include "masterdata/CustomerForm2.h"
#include "masterdata/CustomerForm3.h"
#include "masterdata/SGForm.h"
#include "figures/BillSearch.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "db/Queries.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/CustomerStore.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QToolButton>

TFormCustomer *FormCustomer = nullptr;

namespace {
QLabel *NewLabel(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setGeometry(geometry);
    l->setAlignment(Qt::AlignCenter);
    return l;
}
} // namespace

TFormCustomer::TFormCustomer(QWidget *parent) : TForm(parent)
{
    setObjectName(QStringLiteral("FormCustomer"));
    setFixedSize(614, 455);

    // The equation: opening debt + goods + other receivables - received = debt.
    const int figureX[5] = {16, 136, 256, 376, 496};
    const char *captions[5] = {"起初欠款", "货款总额", "其它应收", "已收总额", "客户欠款"};
    QLabel **captionLabels[5] = {&Label1, &Label5, &Label9, &Label7, &Label3};
    QLabel **valueLabels[5] = {&Label2, &Label6, &Label10, &Label8, &Label4};
    const char *captionNames[5] = {"Label1", "Label5", "Label9", "Label7", "Label3"};
    const char *valueNames[5] = {"Label2", "Label6", "Label10", "Label8", "Label4"};
    for (int i = 0; i < 5; ++i) {
        *captionLabels[i] = NewLabel(this, QString::fromLatin1(captionNames[i]), QString::fromUtf8(captions[i]),
                                     QRect(figureX[i], 18, 102, 22));
        *valueLabels[i] = NewLabel(this, QString::fromLatin1(valueNames[i]), QStringLiteral("0"),
                                   QRect(figureX[i], 44, 102, 30));
        (*valueLabels[i])->setFrameShape(QFrame::StyledPanel);
        (*valueLabels[i])->setStyleSheet(i == 4 ? QStringLiteral("color: red; font-weight: bold; background: white;")
                                                : QStringLiteral("color: blue; background: white;"));
    }
    const char *signs[4] = {"+", "+", "−", "="};
    QLabel **signLabels[4] = {&ImageAdd1, &ImageAdd2, &ImageSubstract1, &ImageEqual1};
    const char *signNames[4] = {"ImageAdd1", "ImageAdd2", "ImageSubstract1", "ImageEqual1"};
    for (int i = 0; i < 4; ++i) {
        *signLabels[i] = NewLabel(this, QString::fromLatin1(signNames[i]), QString::fromUtf8(signs[i]),
                                  QRect(figureX[i] + 102, 44, 18, 30));
        (*signLabels[i])->setStyleSheet(QStringLiteral("font-size: 20px; font-weight: bold; color: #2f5fa6;"));
    }

    auto action = [this](const QString &name, const QString &caption) {
        auto *a = new QAction(caption, this);
        a->setObjectName(name);
        return a;
    };
    ActionSell = action(QStringLiteral("ActionSell"), QStringLiteral("销售开单"));
    ActionBuy = action(QStringLiteral("ActionBuy"), QStringLiteral("销售退货"));
    ActionGet = action(QStringLiteral("ActionGet"), QStringLiteral("财务收入"));
    ActionPay = action(QStringLiteral("ActionPay"), QStringLiteral("财务支出"));
    ActionMonth = action(QStringLiteral("ActionMonth"), QStringLiteral("当月单据"));
    ActionYear = action(QStringLiteral("ActionYear"), QStringLiteral("当年单据"));
    ActionAll = action(QStringLiteral("ActionAll"), QStringLiteral("所有单据"));
    ActionPrice = action(QStringLiteral("ActionPrice"), QStringLiteral("价格列表"));
    ActionMonthCount = action(QStringLiteral("ActionMonthCount"), QStringLiteral("月结统计"));
    ActionEdit = action(QStringLiteral("ActionEdit"), QStringLiteral("客户修改"));
    ActionDelete = action(QStringLiteral("ActionDelete"), QStringLiteral("客户删除"));
    ActionSG = action(QStringLiteral("ActionSG"), QStringLiteral("其它应收"));
    ActionCancel = action(QStringLiteral("ActionCancel"), QStringLiteral("取消操作"));

    auto group = [this](const QString &name, const QString &title, const QRect &geometry) {
        auto *g = new QGroupBox(title, this);
        g->setObjectName(name);
        g->setGeometry(geometry);
        return g;
    };
    GroupBox1 = group(QStringLiteral("GroupBox1"), QStringLiteral("（新增）货品单据"), QRect(16, 96, 186, 150));
    GroupBox2 = group(QStringLiteral("GroupBox2"), QStringLiteral("（新增）财务单据"), QRect(214, 96, 186, 150));
    GroupBox3 = group(QStringLiteral("GroupBox3"), QStringLiteral("单据查找"), QRect(412, 96, 186, 150));
    GroupBox4 = group(QStringLiteral("GroupBox4"), QStringLiteral("信息统计"), QRect(16, 268, 186, 150));
    GroupBox5 = group(QStringLiteral("GroupBox5"), QStringLiteral("资料修改"), QRect(214, 268, 186, 150));

    auto button = [](QWidget *parent, const QString &name, QAction *a, const QRect &geometry) {
        auto *b = new QToolButton(parent);
        b->setObjectName(name);
        b->setDefaultAction(a);
        b->setGeometry(geometry);
        b->setCursor(Qt::PointingHandCursor);
        b->setToolButtonStyle(Qt::ToolButtonTextOnly);
        return b;
    };
    const QRect left(14, 34, 76, 96), right(96, 34, 76, 96);
    SellButton = button(GroupBox1, QStringLiteral("SellButton"), ActionSell, left);
    BuyButton = button(GroupBox1, QStringLiteral("BuyButton"), ActionBuy, right);
    GetButton = button(GroupBox2, QStringLiteral("GetButton"), ActionGet, left);
    PayButton = button(GroupBox2, QStringLiteral("PayButton"), ActionPay, right);
    MonthBill = button(GroupBox3, QStringLiteral("MonthBill"), ActionMonth, QRect(10, 34, 52, 96));
    YearBill = button(GroupBox3, QStringLiteral("YearBill"), ActionYear, QRect(67, 34, 52, 96));
    AllBill = button(GroupBox3, QStringLiteral("AllBill"), ActionAll, QRect(124, 34, 52, 96));
    CustomerPrice = button(GroupBox4, QStringLiteral("CustomerPrice"), ActionPrice, left);
    MonthCount = button(GroupBox4, QStringLiteral("MonthCount"), ActionMonthCount, right);
    CustomerEdit = button(GroupBox5, QStringLiteral("CustomerEdit"), ActionEdit, left);
    CustomerDelete = button(GroupBox5, QStringLiteral("CustomerDelete"), ActionDelete, right);
    SpeedButton1 = button(this, QStringLiteral("SpeedButton1"), ActionSG, QRect(426, 282, 158, 60));
    Cancel = button(this, QStringLiteral("Cancel"), ActionCancel, QRect(426, 352, 158, 60));

    connect(ActionEdit, &QAction::triggered, this, &TFormCustomer::ActionEditExecute);
    connect(ActionDelete, &QAction::triggered, this, &TFormCustomer::ActionDeleteExecute);
    connect(ActionSG, &QAction::triggered, this, &TFormCustomer::ActionSGExecute);
    connect(ActionCancel, &QAction::triggered, this, &QDialog::reject);
    connect(ActionSell, &QAction::triggered, this, &TFormCustomer::ActionSellExecute);
    connect(ActionBuy, &QAction::triggered, this, &TFormCustomer::ActionBuyExecute);
    connect(ActionGet, &QAction::triggered, this, &TFormCustomer::ActionGetExecute);
    connect(ActionPay, &QAction::triggered, this, &TFormCustomer::ActionPayExecute);
    connect(ActionPrice, &QAction::triggered, this, &TFormCustomer::ActionPriceExecute);
    connect(ActionMonthCount, &QAction::triggered, this, &TFormCustomer::ActionMonthCountExecute);
    frReport1 = new TReport(this);
    connect(ActionMonth, &QAction::triggered, this, &TFormCustomer::ActionMonthExecute);
    connect(ActionYear, &QAction::triggered, this, &TFormCustomer::ActionYearExecute);
    connect(ActionAll, &QAction::triggered, this, &TFormCustomer::ActionAllExecute);
    // The monthly statement joins its button when that window is built.
}

void TFormCustomer::FormShow()
{
    // A customer that is gone cannot be shown: close rather than show another's figures.
    if (!RefreshFigures())
        CloseWithResult(QDialog::Rejected);
}

bool TFormCustomer::RefreshFigures()
{
    TQuery q(QStringLiteral("Customer"));
    if (!TCustomerStore::Read(q, FCustomerIndex, QStringLiteral("客户资料表打开失败")))
        return false;
    if (q.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("该客户记录已被删除"));
        return false;
    }
    q.First();
    const QString name = q.FieldByName(QStringLiteral("CustomerName")).AsString();
    const double opening = q.FieldByName(QStringLiteral("CustomerOwe")).AsFloat();
    setWindowTitle(name);
    Label2->setText(MoneyText(opening));
    TCustomerFigures figures;
    if (!figures.LoadCustomer(name, Session->WorkingDate()))
        return false;
    const CustomerSums sums = figures.Of(name);
    Label6->setText(MoneyText(sums.Goods()));
    Label8->setText(MoneyText(sums.PaidNet()));
    Label10->setText(MoneyText(sums.Other()));
    Label4->setText(MoneyText(sums.Debt(opening)));
    return true;
}

void TFormCustomer::ActionEditExecute()
{
    if (!AskModifyPassword())
        return;
    FormCustomer2->FEditMode = 1;
    FormCustomer2->FCustomerIndex = FCustomerIndex;
    if (Dialogs::ShowModal(FormCustomer2) == QDialog::Accepted)
        accept();
}

void TFormCustomer::ActionDeleteExecute()
{
    if (!AskModifyPassword())
        return;
    TQuery q(QStringLiteral("Customer"));
    if (!FindAndConfirmDeletion(q, [this](TQuery &row) { return TCustomerStore::Read(row, FCustomerIndex); }))
        return;
    if (TCustomerStore::Delete(FCustomerIndex))
        accept();
}

void TFormCustomer::ActionSGExecute()
{
    FormSG->FCustomerName = windowTitle();
    Dialogs::ShowModal(FormSG);
    RefreshFigures();
    Session->ViewChanged(TSession::CustomerView);
}

void TFormCustomer::NewGoodsBill(int mode)
{
    FormBuySell->FBillMode = mode;
    FormBuySell->FBillIndex = 1;
    FormBuySell->FCustomerIndex = FCustomerIndex;
    FormBuySell->FCustomerLocked = true;
    if (Dialogs::ShowModal(FormBuySell) != QDialog::Accepted)
        return;
    Session->BooksChanged();
    reject();
}

void TFormCustomer::NewFinanceBill(int mode)
{
    FormGetPay->FBillMode = mode;
    FormGetPay->FCustomerIndex = FCustomerIndex;
    FormGetPay->FCustomerLocked = true;
    if (Dialogs::ShowModal(FormGetPay) == QDialog::Accepted)
        reject();
}

void TFormCustomer::ActionSellExecute() { NewGoodsBill(0); }
void TFormCustomer::ActionBuyExecute() { NewGoodsBill(2); }
void TFormCustomer::ActionGetExecute() { NewFinanceBill(0); }
void TFormCustomer::ActionPayExecute() { NewFinanceBill(2); }

void TFormCustomer::ActionPriceExecute()
{
    FormCustomer3->FCustomerIndex = FCustomerIndex;
    Dialogs::ShowModal(FormCustomer3);
}

void TFormCustomer::ListBills(int period)
{
    TQuery q(QStringLiteral("Customer"));
    if (!TCustomerStore::Read(q, FCustomerIndex))
        return;
    if (q.IsEmpty())
        return;
    q.First();
    const QString name = q.FieldByName(QStringLiteral("CustomerName")).AsString();
    Session->ShowBills(
        TBillSearch::CustomerBills(name, TBillSearch::Period(period), Session->WorkingDate()));
    reject();
}

void TFormCustomer::ActionMonthExecute() { ListBills(TBillSearch::Month); }
void TFormCustomer::ActionYearExecute() { ListBills(TBillSearch::Year); }
void TFormCustomer::ActionAllExecute() { ListBills(TBillSearch::AllTime); }

void TFormCustomer::ActionMonthCountExecute()
{
    const QDate day = Session->WorkingDate();
    TQuery customer(QStringLiteral("ADOQuery1"));
    if (!TCustomerStore::Read(customer, FCustomerIndex))
        return;
    const QString month = MonthSpan(day).Title();
    const QString name = customer.IsEmpty() ? QString() : customer.FieldByName(QStringLiteral("CustomerName")).AsString();
    RunMonthlyReport(frReport1, QStringLiteral("Frf/CustomerSale.frf"), month, name + month + QStringLiteral("对帐单"),
                     [&](TReportRows &rows) { return MonthlyReports::CustomerStatement(FCustomerIndex, day, rows); },
                     {{QStringLiteral("Customer"), &customer}});
}
