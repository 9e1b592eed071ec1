#include "cards/BillPage.h"

#include "bills/BillForm.h"
#include "bills/BillForm2.h"
#include "bills/StoredBill.h"
#include "figures/CardLists.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/BillStore.h"

#include <QComboBox>
#include <QLabel>

namespace {
TCardPage::Look BillLook()
{
    TCardPage::Look look;
    look.prefix = QStringLiteral("Bill");
    look.colourWord = QStringLiteral("Purple");
    look.threshold1 = 3000;
    look.threshold2 = 10000;
    look.newCaption = QStringLiteral("新增货品单据");
    look.newName = QStringLiteral("NewBill");
    look.hintText = QStringLiteral("点击此按钮进行货品单据新增");
    look.totalName = QStringLiteral("BillSum");
    look.designTotal = QStringLiteral("合计：0 元");
    look.captions = {QStringLiteral("客户："), QStringLiteral("金额："), QStringLiteral("订金：")};
    look.valueNames = {QStringLiteral("Name"), QStringLiteral("Money"), QStringLiteral("Pay")};
    look.underName = QStringLiteral("Type");
    return look;
}

TCardPage::Look MoneyLook()
{
    TCardPage::Look look;
    look.prefix = QStringLiteral("Money");
    look.colourWord = QStringLiteral("Green");
    look.threshold1 = 3000;
    look.threshold2 = 10000;
    look.newCaption = QStringLiteral("新增财务单据");
    look.newName = QStringLiteral("NewMoney");
    look.hintText = QStringLiteral("点击此按钮进行财务单据新增");
    look.totalName = QStringLiteral("MoneySum");
    look.designTotal = QStringLiteral("合计：0 元");
    look.captions = {QStringLiteral("客户："), QStringLiteral("类型："), QStringLiteral("金额：")};
    look.valueNames = {QStringLiteral("Name"), QStringLiteral("Kind"), QStringLiteral("Money")};
    look.underName = QStringLiteral("Type");
    return look;
}

QString Yuan(double value) { return MoneyText(qAbs(value)) + QStringLiteral(" 元"); }

// A bill's stored amount as the cards grade and add it.
double Amount(TQuery &row, const QString &column) { return RoundMoney(row.FieldByName(column).AsFloat()); }
} // namespace

TBillRangePage::TBillRangePage(const QString &sheetName, Look look, int *pageNumber, const QString &comboName, QWidget *parent)
    : TCardPage(sheetName, std::move(look), pageNumber, parent)
{
    RangeLabel = new QLabel(QStringLiteral("单据范围"), this);
    RangeLabel->setGeometry(672, 16, 80, 20);
    RangeLabel->setStyleSheet(QStringLiteral("color: blue;"));
    RangeBox = new QComboBox(this);
    RangeBox->setObjectName(comboName);
    RangeBox->setGeometry(672, 40, 84, 26);
    RangeBox->addItems({QStringLiteral("当天单据"), QStringLiteral("当月单据")});
    RangeBox->setCurrentIndex(0);
    connect(RangeBox, &QComboBox::activated, this, [this] { Fill(); });
}

bool TBillRangePage::WholeMonth() const { return RangeBox->currentIndex() != 0; }

int TBillRangePage::RowKey(TQuery &row) { return row.FieldByName(QStringLiteral("BillIndex")).AsInteger(); }

int TBillRangePage::CardBillMode(int k, const QString &mode1Kind, const QString &mode3Kind, int &index)
{
    TQuery q(QStringLiteral("CardBill"));
    if (!TBillStore::Find(Tag[k], q, QStringLiteral("单据表打开失败")))
        return 0;
    if (q.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
        return 0;
    }
    q.First();
    const QString kind = q.FieldByName(QStringLiteral("BillKind")).AsString();
    index = q.FieldByName(QStringLiteral("BillIndex")).AsInteger();
    return kind == mode1Kind ? 1 : kind == mode3Kind ? 3 : 0;
}

// ---------------------------------------------------------------- goods bills

TBillPage::TBillPage(int *pageNumber, QWidget *parent)
    : TBillRangePage(QStringLiteral("TabSheet1"), BillLook(), pageNumber, QStringLiteral("ComboBox3"), parent) {}

SqlText TBillPage::ListSql() { return TCardLists::GoodsBills(Session->WorkingDate(), WholeMonth()); }

bool TBillPage::FillCard(int i, TQuery &row, qint64 &total)
{
    const double sum = Amount(row, QStringLiteral("BillSum"));
    Value[0][i]->setText(row.FieldByName(QStringLiteral("BillUser")).AsString());
    Value[1][i]->setText(Yuan(sum));
    Under[i]->setText(row.FieldByName(QStringLiteral("BillKind")).AsString());
    Value[2][i]->setText(Yuan(row.FieldByName(QStringLiteral("BillMoney")).AsFloat()));
    Grade(i, sum, {Value[0][i], Value[1][i], Under[i], Value[2][i]});
    total += Fen(sum);
    return true;
}

bool TBillPage::Contribution(TQuery &row, qint64 &total)
{
    total += Fen(Amount(row, QStringLiteral("BillSum")));
    return true;
}

QString TBillPage::TotalText(qint64 total) { return QStringLiteral("金额合计：") + MoneyText(FenToYuan(total)) + QStringLiteral(" 元"); }

void TBillPage::OpenBillCard(int k)
{
    int index = 0;
    const int mode = CardBillMode(k, QStringLiteral("出货单"), QStringLiteral("进货单"), index);
    if (mode == 0)
        return;
    StoredBill::OpenGoodsBill(mode, index);
}

void TBillPage::NewBillClick() { Dialogs::ShowModal(FormBill); }

// ---------------------------------------------------------------- finance bills

TMoneyPage::TMoneyPage(int *pageNumber, QWidget *parent)
    : TBillRangePage(QStringLiteral("TabSheet7"), MoneyLook(), pageNumber, QStringLiteral("ComboBox4"), parent) {}

SqlText TMoneyPage::ListSql() { return TCardLists::FinanceBills(Session->WorkingDate(), WholeMonth()); }

bool TMoneyPage::FillCard(int i, TQuery &row, qint64 &total)
{
    const double money = Amount(row, QStringLiteral("BillMoney"));
    Value[0][i]->setText(row.FieldByName(QStringLiteral("BillUser")).AsString());
    Value[2][i]->setText(Yuan(money));
    Under[i]->setText(row.FieldByName(QStringLiteral("BillKind")).AsString().right(3));
    Value[1][i]->setText(row.FieldByName(QStringLiteral("BillType")).AsString() + QStringLiteral("‖")
                         + row.FieldByName(QStringLiteral("BillToken")).AsString());
    Grade(i, money, {Value[0][i], Value[2][i], Under[i], Value[1][i]});
    total += Fen(money);
    return true;
}

bool TMoneyPage::Contribution(TQuery &row, qint64 &total)
{
    total += Fen(Amount(row, QStringLiteral("BillMoney")));
    return true;
}

QString TMoneyPage::TotalText(qint64 total) { return QStringLiteral("合计：") + MoneyText(FenToYuan(total)) + QStringLiteral(" 元"); }

void TMoneyPage::OpenMoneyCard(int k)
{
    int index = 0;
    const int mode = CardBillMode(k, QStringLiteral("财务收入单"), QStringLiteral("财务支出单"), index);
    if (mode == 0)
        return;
    StoredBill::OpenFinanceBill(mode, index);
}

void TMoneyPage::NewMoneyClick() { Dialogs::ShowModal(FormBill2); }
