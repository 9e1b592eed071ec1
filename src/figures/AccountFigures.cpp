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

QString TAccountFigures::MonthSql(const QDate &day)
{
    const MonthSpan month(day);
    const QString inMonth = QStringLiteral("BillCreateTime >= ") + SqlDate(month.first);
    return QStringLiteral("Select BillAccount, Sum(Case When BillCreateTime < ") + SqlDate(month.first)
           + QStringLiteral(" Then BillMoney Else 0 End) As Opening, Sum(Case When ") + inMonth
           + QStringLiteral(" And BillMoney > 0 Then BillMoney Else 0 End) As MoneyIn, Sum(Case When ") + inMonth
           + QStringLiteral(" And BillMoney < 0 Then -BillMoney Else 0 End) As MoneyOut From Bill Where BillCreateTime <= ")
           + SqlDate(month.last) + QStringLiteral(" Group By BillAccount");
}

bool TAccountFigures::LoadMonth(const QDate &day)
{
    months_.clear();
    TQuery q(QStringLiteral("AccountMonth"));
    if (!RunQuery(q, MonthSql(day), QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        AccountMonth &m = months_[q.FieldByName(QStringLiteral("BillAccount")).AsInteger()];
        m.opening = RoundMoney(q.FieldByName(QStringLiteral("Opening")).AsFloat());
        m.in = RoundMoney(q.FieldByName(QStringLiteral("MoneyIn")).AsFloat());
        m.out = RoundMoney(q.FieldByName(QStringLiteral("MoneyOut")).AsFloat());
    }
    return true;
}
