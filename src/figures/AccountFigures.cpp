#include "figures/AccountFigures.h"

#include "db/KeptTotals.h"
#include "core/MonthSpan.h"
#include "db/Money.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

double AccountSums::Balance() const { return FenToYuan(balance); }
double AccountSums::Month() const { return FenToYuan(month); }

SqlText TAccountFigures::AfterSql(const QDate &day)
{
    // Grouped by an expression, so the few rows after the day are found by their date, not by reading every account's.
    return SqlText(QStringLiteral("Select BillAccount + 0 As BillAccount, Sum(%1) As Money From Bill Where (BillCreateTime > ?) Or (BillCreateTime Is Null) "
                                  "Group By BillAccount + 0")
                       .arg(KeptTotals::MoneyFen()),
                   {DateValue(day)});
}

SqlText TAccountFigures::SpanSql(const QDate &first, const QDate &last)
{
    return SqlText(QStringLiteral("Select BillAccount + 0 As BillAccount, Sum(%1) As Money, Sum(Case When BillMoney > 0 Then %1 Else 0 End) As MoneyIn "
                                  "From Bill Where BillCreateTime Between ? And ? Group By BillAccount + 0")
                       .arg(KeptTotals::MoneyFen()),
                   {DateValue(first), DateValue(last)});
}

SqlText TAccountFigures::MonthSql(const QDate &day)
{
    const MonthSpan month(day);
    return SpanSql(month.first, month.last);
}

bool TAccountFigures::LoadBalances(const QDate &asOf, QHash<int, qint64> &balances)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    const QString failure = QStringLiteral("统计帐户金额时出错");
    TQuery q(QStringLiteral("AccountFigures"));
    if (!RunQuery(q, QStringLiteral("Select * From KeptAccount"), failure))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        balances[q.FieldByName(QStringLiteral("KeptAccount")).AsInteger()] += q.FieldByName(QStringLiteral("KeptMoney")).AsLargeInt();
    if (!RunQuery(q, AfterSql(asOf), failure))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        balances[q.FieldByName(QStringLiteral("BillAccount")).AsInteger()] -= q.FieldByName(QStringLiteral("Money")).AsLargeInt();
    return true;
}

bool TAccountFigures::Load(const QDate &asOf)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    sums_.clear();
    QHash<int, qint64> balances;
    if (!LoadBalances(asOf, balances))
        return false;
    for (auto it = balances.constBegin(); it != balances.constEnd(); ++it)
        sums_[it.key()].balance = it.value();
    TQuery q(QStringLiteral("AccountFigures"));
    if (!RunQuery(q, MonthSql(asOf), QStringLiteral("统计帐户金额时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        sums_[q.FieldByName(QStringLiteral("BillAccount")).AsInteger()].month = q.FieldByName(QStringLiteral("Money")).AsLargeInt();
    return true;
}

bool TAccountFigures::LoadMonth(const QDate &day)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    months_.clear();
    const MonthSpan month(day);
    QHash<int, qint64> opening;
    if (!LoadBalances(month.first.addDays(-1), opening))
        return false;
    for (auto it = opening.constBegin(); it != opening.constEnd(); ++it)
        months_[it.key()].opening = FenToYuan(it.value());
    TQuery q(QStringLiteral("AccountMonth"));
    if (!RunQuery(q, MonthSql(day), QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        AccountMonth &m = months_[q.FieldByName(QStringLiteral("BillAccount")).AsInteger()];
        const qint64 in = q.FieldByName(QStringLiteral("MoneyIn")).AsLargeInt();
        m.in = FenToYuan(in);
        m.out = FenToYuan(in - q.FieldByName(QStringLiteral("Money")).AsLargeInt());
    }
    return true;
}
