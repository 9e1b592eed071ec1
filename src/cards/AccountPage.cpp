#include "cards/AccountPage.h"

#include "figures/CardLists.h"
#include "figures/ExportSheets.h"
#include "grid/ListExport.h"
#include "sheets/ListSheet.h"
#include "masterdata/AccountForm.h"
#include "reports/MonthlyReportRun.h"
#include "reports/MonthlyReports.h"
#include "ui/AskForm.h"
#include "ui/Dialogs.h"
#include "db/Money.h"
#include "core/MonthSpan.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "core/Session.h"
#include "db/ShareDM.h"
#include "stores/AccountStore.h"

#include <QLabel>
#include <QPushButton>

namespace {
TCardPage::Look AccountLook()
{
    TCardPage::Look look;
    look.prefix = QStringLiteral("Account");
    look.colourWord = QStringLiteral("Yellow");
    look.threshold1 = 30000;
    look.threshold2 = 100000;
    look.newCaption = QStringLiteral("新增帐户");
    look.newName = QStringLiteral("NewAccount");
    look.hintText = QStringLiteral("请先点击此按钮进行帐户新增");
    look.totalName = QStringLiteral("AccountSum");
    look.designTotal = QStringLiteral("总金额：0 元");
    look.captions = {QStringLiteral("名称："), QStringLiteral("金额："), QStringLiteral("当月：")};
    look.valueNames = {QStringLiteral("Name"), QStringLiteral("Money"), QStringLiteral("Month")};
    return look;
}

} // namespace

TAccountPage::TAccountPage(int *pageNumber, QWidget *parent)
    : TCardPage(QStringLiteral("TabSheet3"), AccountLook(), pageNumber, parent)
{
    MoneyMonth = new QPushButton(QStringLiteral("财务月结"), this);
    MoneyMonth->setObjectName(QStringLiteral("MoneyMonth"));
    MoneyMonth->setGeometry(672, 16, 80, 30);
    MoneyMonth->setCursor(Qt::PointingHandCursor);
    connect(MoneyMonth, &QPushButton::clicked, this, &TAccountPage::ActionMoneyMonthExecute);
    ExportButton = new QPushButton(QStringLiteral("导出"), this);
    ExportButton->setObjectName(QStringLiteral("AccountExport"));
    ExportButton->setGeometry(672, 54, 80, 30);
    ExportButton->setCursor(Qt::PointingHandCursor);
    connect(ExportButton, &QPushButton::clicked, this, &TAccountPage::ActionExportExecute);
}

SqlText TAccountPage::ListSql() { return TCardLists::Accounts(); }

int TAccountPage::RowKey(TQuery &row) { return row.FieldByName(QStringLiteral("AccountIndex")).AsInteger(); }

bool TAccountPage::LoadFigures() { return figures_.Load(Session->WorkingDate()); }

bool TAccountPage::FillCard(int i, TQuery &row, qint64 &total)
{
    const AccountSums sums = figures_.Of(RowKey(row));
    total += sums.balance;
    Value[0][i]->setText(row.FieldByName(QStringLiteral("AccountName")).AsString());
    Value[1][i]->setText(MoneyText(sums.Balance()) + QStringLiteral(" 元"));
    Grade(i, sums.Balance(), {Value[0][i], Value[1][i], Value[2][i]});
    Value[2][i]->setText(MoneyText(sums.Month()) + QStringLiteral(" 元"));
    return true;
}

bool TAccountPage::Contribution(TQuery &row, qint64 &total)
{
    total += figures_.Of(RowKey(row)).balance;
    return true;
}

QString TAccountPage::TotalText(qint64 total) { return QStringLiteral("合计：") + MoneyText(FenToYuan(total)) + QStringLiteral(" 元"); }

void TAccountPage::NewAccountClick()
{
    QString name;
    if (!AskForText(QStringLiteral("新增帐户"), QStringLiteral("请输入新帐户的名称"), QString(), name))
        return;
    if (TAccountStore::Create(name) == 0)
        return;
    Dialogs::ShowMessage(QStringLiteral("帐户　") + name + QStringLiteral("　新增成功"));
    Session->BooksChanged();
}

void TAccountPage::OpenAccountCard(int k)
{
    FormAccount->FAccountName = Value[0][k]->text();
    FormAccount->FBalanceText = Value[1][k]->text();
    Dialogs::ShowModal(FormAccount);
}

void TAccountPage::ActionMoneyMonthExecute()
{
    const QDate day = Session->WorkingDate();
    const QString month = MonthSpan(day).Title();
    RunMonthlyReport(frReport1, QStringLiteral("Frf/MoneyMonth.frf"), month, month + QStringLiteral("财务月结报表"),
                     [&](TReportRows &rows) { return MonthlyReports::AccountSummary(day, rows); });
}

void TAccountPage::ActionExportExecute()
{
    const QDate day = Session->WorkingDate();
    TListSheet sheet;
    if (ExportSheets::Accounts(ListSql(), day, sheet))
        ExportList(QStringLiteral("帐户余额") + DateText(day), sheet);
}
