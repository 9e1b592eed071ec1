#include "figures/CustomerFigures.h"

#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

double CustomerSums::Goods() const { return RoundMoney(sales + returns); }
double CustomerSums::PaidNet() const { return RoundMoney(paidNet); }
double CustomerSums::Other() const { return RoundMoney(other); }
double CustomerSums::Sales() const { return RoundMoney(sales); }
double CustomerSums::Returns() const { return RoundMoney(-returns); }

double CustomerSums::Debt(double opening) const
{
    return RoundMoney(RoundMoney(opening) + Goods() + Other() - PaidNet());
}

namespace {
QString Span(const QString &column, const QDate &to, const QDate &from)
{
    QString where = QStringLiteral("(") + column + QStringLiteral(" <= ") + SqlDate(to) + QStringLiteral(")");
    if (from.isValid())
        where += QStringLiteral(" And (") + column + QStringLiteral(" >= ") + SqlDate(from) + QStringLiteral(")");
    return where;
}
} // namespace

QString TCustomerFigures::BillSql(const QDate &to, const QDate &from, const QString *customer)
{
    // Money counts only on real accounts that still exist; the placeholder
    // account 1 holds goods bills saved without payment.
    const QString realAccount = QStringLiteral("BillAccount In (Select AccountIndex From Account Where AccountIndex > 1)");
    return QStringLiteral("Select BillUser,"
                          " Sum(Case When BillKind = '出货单' Then BillSum Else 0 End) As Sales,"
                          " Sum(Case When BillKind = '进货单' Then BillSum Else 0 End) As Returns,"
                          " Sum(Case When ")
           + realAccount
           + QStringLiteral(" Then BillMoney Else 0 End) As PaidNet From Bill Where ")
           + (customer ? QStringLiteral("(BillUser = ") + QuotedStr(*customer) + QStringLiteral(") And ") : QString())
           + Span(QStringLiteral("BillCreateTime"), to, from) + QStringLiteral(" Group By BillUser");
}

QString TCustomerFigures::OtherSql(const QDate &to, const QDate &from, const QString *customer)
{
    return QStringLiteral("Select SGCustomer, Sum(SGSum) As Other From SG Where ")
           + (customer ? QStringLiteral("(SGCustomer = ") + QuotedStr(*customer) + QStringLiteral(") And ") : QString())
           + Span(QStringLiteral("SGDate"), to, from) + QStringLiteral(" Group By SGCustomer");
}

bool TCustomerFigures::Load(const QDate &to, const QDate &from) { return Run(to, from, nullptr); }

bool TCustomerFigures::LoadCustomer(const QString &name, const QDate &to, const QDate &from)
{
    return Run(to, from, &name);
}

bool TCustomerFigures::Run(const QDate &to, const QDate &from, const QString *who)
{
    sums_.clear();
    TQuery q(QStringLiteral("CustomerFigures"));
    if (!RunQuery(q, BillSql(to, from, who), QStringLiteral("统计客户货款时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        CustomerSums &s = sums_[q.FieldByName(QStringLiteral("BillUser")).AsString()];
        s.sales = q.FieldByName(QStringLiteral("Sales")).AsFloat();
        s.returns = q.FieldByName(QStringLiteral("Returns")).AsFloat();
        s.paidNet = q.FieldByName(QStringLiteral("PaidNet")).AsFloat();
    }
    if (!RunQuery(q, OtherSql(to, from, who), QStringLiteral("统计其它应收时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        sums_[q.FieldByName(QStringLiteral("SGCustomer")).AsString()].other = q.FieldByName(QStringLiteral("Other")).AsFloat();
    return true;
}
