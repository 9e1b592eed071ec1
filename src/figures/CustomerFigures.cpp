#include "figures/CustomerFigures.h"

#include "db/KeptTotals.h"
#include "db/Money.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

double CustomerSums::Goods() const { return FenToYuan(GoodsFen()); }
double CustomerSums::PaidNet() const { return FenToYuan(paidNet); }
double CustomerSums::Other() const { return FenToYuan(other); }
double CustomerSums::Sales() const { return FenToYuan(sales); }
double CustomerSums::Returns() const { return FenToYuan(-returns); }

double CustomerSums::Debt(double opening) const { return FenToYuan(Fen(opening) + sales + returns + other - paidNet); }

namespace {
// The rows of a span, or those after `to` (undated rows too: no date puts them in any span).
SqlText Span(const QString &column, const QDate &to, const QDate &from)
{
    if (!from.isValid())
        return SqlText(QStringLiteral("((%1 > ?) Or (%1 Is Null))").arg(column), {DateValue(to)});
    return SqlText(QStringLiteral("(%1 <= ?) And (%1 >= ?)").arg(column), {DateValue(to), DateValue(from)});
}

// Grouping by a plain column invites reading its whole index in that column's
// order; grouped by an expression the rows are found by their date, and after
// the working date they are few. The rows show the same expression.
QString ByExpression(const QString &textColumn) { return textColumn + QStringLiteral(" || ''"); }

SqlText Who(const QString &column, const QString *customer)
{
    return customer ? SqlText(QStringLiteral("(") + column + QStringLiteral(" = ?) And "), {*customer}) : SqlText();
}
} // namespace

SqlText TCustomerFigures::BillSql(const QDate &to, const QDate &from, const QString *customer)
{
    return QStringLiteral("Select BillUser || '' As KeptName, Sum(%1) As KeptSales, Sum(%2) As KeptReturns, Sum(%3) As KeptPaid, "
                          "0 As KeptOther From Bill Where ")
               .arg(KeptTotals::SalesFen(), KeptTotals::ReturnsFen(), KeptTotals::PaidFen())
           + Who(QStringLiteral("BillUser"), customer) + Span(QStringLiteral("BillCreateTime"), to, from)
           + QStringLiteral(" Group By ") + ByExpression(QStringLiteral("BillUser"));
}

SqlText TCustomerFigures::OtherSql(const QDate &to, const QDate &from, const QString *customer)
{
    return QStringLiteral("Select SGCustomer || '' As KeptName, 0 As KeptSales, 0 As KeptReturns, 0 As KeptPaid, Sum(%1) As KeptOther "
                          "From SG Where ")
               .arg(KeptTotals::OtherFen())
           + Who(QStringLiteral("SGCustomer"), customer) + Span(QStringLiteral("SGDate"), to, from)
           + QStringLiteral(" Group By ") + ByExpression(QStringLiteral("SGCustomer"));
}

bool TCustomerFigures::Load(const QDate &to, const QDate &from) { return Run(to, from, nullptr); }

bool TCustomerFigures::LoadCustomer(const QString &name, const QDate &to, const QDate &from)
{
    return Run(to, from, &name);
}

bool TCustomerFigures::Add(const SqlText &sql, const QString &failure, int sign)
{
    TQuery q(QStringLiteral("CustomerFigures"));
    if (!RunQuery(q, sql, failure))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        CustomerSums &s = sums_[q.FieldByName(QStringLiteral("KeptName")).AsString()];
        s.sales += sign * q.FieldByName(QStringLiteral("KeptSales")).AsLargeInt();
        s.returns += sign * q.FieldByName(QStringLiteral("KeptReturns")).AsLargeInt();
        s.paidNet += sign * q.FieldByName(QStringLiteral("KeptPaid")).AsLargeInt();
        s.other += sign * q.FieldByName(QStringLiteral("KeptOther")).AsLargeInt();
    }
    return true;
}

bool TCustomerFigures::Run(const QDate &to, const QDate &from, const QString *who)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    sums_.clear();
    const QString billFailure = QStringLiteral("统计客户货款时出错");
    // Up to a date: what is kept, less what came after. A span: its own rows.
    const int sign = from.isValid() ? 1 : -1;
    if (!from.isValid()
        && !Add(who ? SqlText(QStringLiteral("Select * From KeptCustomer Where KeptName = ?"), {*who})
                    : SqlText(QStringLiteral("Select * From KeptCustomer")),
                billFailure, 1))
        return false;
    return Add(BillSql(to, from, who), billFailure, sign)
           && Add(OtherSql(to, from, who), QStringLiteral("统计其它应收时出错"), sign);
}
