#include "figures/AccountFigures.h"

#include "shell/MonthSpan.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

double AccountSums::Balance() const { return RoundMoney(balance); }
double AccountSums::Month() const { return RoundMoney(month); }

QString TAccountFigures::Sql(const QDate &asOf)
{
    const MonthSpan month(asOf);
    return QStringLiteral("Select BillAccount, Sum(Case When BillCreateTime <= ") + SqlDate(asOf)
           + QStringLiteral(" Then BillMoney Else 0 End) As Balance, Sum(Case When BillCreateTime >= ") + SqlDate(month.first)
           + QStringLiteral(" Then BillMoney Else 0 End) As MonthMoney From Bill Where BillCreateTime <= ")
           + SqlDate(month.last) + QStringLiteral(" Group By BillAccount");
}

bool TAccountFigures::Load(const QDate &asOf)
{
    sums_.clear();
    TQuery q(QStringLiteral("AccountFigures"));
    if (!RunQuery(q, Sql(asOf), QStringLiteral("统计帐户金额时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        AccountSums &s = sums_[q.FieldByName(QStringLiteral("BillAccount")).AsInteger()];
        s.balance = q.FieldByName(QStringLiteral("Balance")).AsFloat();
        s.month = q.FieldByName(QStringLiteral("MonthMoney")).AsFloat();
    }
    return true;
}
