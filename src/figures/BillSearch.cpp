#include "figures/BillSearch.h"

#include "db/SqlEngine.h"
#include "core/MonthSpan.h"
#include "db/Money.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

namespace {
const QString Columns = QStringLiteral(
    "Select BillIndex,BillCreateTime,BillSerial,BillKind,AccountName,BillUser,BillSum,BillMan,BillReason,BillType,"
    "BillToken,BillRemark From ");

SqlText Between(const QDate &first, const QDate &last)
{
    return SqlText(QStringLiteral(" And (BillCreateTime Between ? And ?)"), {DateValue(first), DateValue(last)});
}

SqlText Contains(const QString &column, const QString &text)
{
    return SqlText(QStringLiteral(" And ") + TSqlEngine::Current().Contains(column), {text});
}

SqlText Equals(const QString &column, const QString &text)
{
    return SqlText(QStringLiteral(" And (") + column + QStringLiteral(" = ?)"), {text});
}

QString Bound(const QString &op, bool negative, const QString &amount)
{
    // Written out from its value, so the text in the statement is always a number.
    return QStringLiteral(" And (BillSum ") + op + (negative ? QStringLiteral(" -") : QStringLiteral(" "))
           + NumberText(amount.toDouble()) + QLatin1Char(')');
}

SqlText PeriodCondition(TBillSearch::Period period, const QDate &workingDate)
{
    if (period == TBillSearch::AllTime)
        return SqlText();
    return Between(TBillSearch::PeriodFirst(period, workingDate), TBillSearch::PeriodLast(period, workingDate));
}

// The bill index settles ties, so a page read later finds every bill in the same place.
const QString OrderByDate = QStringLiteral(" Order By BillCreateTime, BillIndex");
} // namespace

const QStringList &TBillSearch::Kinds()
{
    static const QStringList kinds = {QStringLiteral("所有"), QStringLiteral("出货单"), QStringLiteral("进货单"),
                                      QStringLiteral("财务收入单"), QStringLiteral("财务支出单")};
    return kinds;
}

bool TBillSearch::UsesLines() const
{
    return !productSerial.isEmpty() || !productCategory.isEmpty() || !productName.isEmpty() || !productModel.isEmpty();
}

SqlText TBillSearch::Sql() const
{
    SqlText sql = Columns;
    // The placeholder bill with index 1 is no bill, so no list shows it.
    if (UsesLines()) {
        sql += QStringLiteral("Account,Bill,Store,Product Where (AccountIndex = BillAccount) And (StoreBill = BillIndex) "
                              "And (StoreProduct = ProductIndex) And (BillIndex > 1)");
        if (!productSerial.isEmpty())
            sql += Contains(QStringLiteral("ProductSerial"), productSerial);
        if (!productName.isEmpty())
            sql += Contains(QStringLiteral("ProductName"), productName);
        if (!productModel.isEmpty())
            sql += Contains(QStringLiteral("ProductType"), productModel);
    } else {
        sql += QStringLiteral("Account,Bill Where (AccountIndex = BillAccount) And (BillIndex > 1)");
    }
    sql += Between(from, to);
    // Purchase and expense bills are stored negative, so their bounds turn round.
    const bool negative = kind == 2 || kind == 4;
    if (UsesAmounts() && !lowerAmount.isEmpty())
        sql += Bound(negative ? QStringLiteral("<") : QStringLiteral(">"), negative, lowerAmount);
    if (UsesAmounts() && !upperAmount.isEmpty())
        sql += Bound(negative ? QStringLiteral(">") : QStringLiteral("<"), negative, upperAmount);
    if (!account.isEmpty())
        sql += Equals(QStringLiteral("AccountName"), account);
    if (!reason.isEmpty())
        sql += Equals(QStringLiteral("BillReason"), reason);
    if (!type.isEmpty())
        sql += Equals(QStringLiteral("BillType"), type);
    if (!token.isEmpty())
        sql += Equals(QStringLiteral("BillToken"), token);
    if (kind > 0 && kind < Kinds().size())
        sql += Equals(QStringLiteral("BillKind"), Kinds()[kind]);
    if (!customer.isEmpty())
        sql += Contains(QStringLiteral("BillUser"), customer);
    if (!remark.isEmpty())
        sql += Contains(QStringLiteral("BillRemark"), remark);
    if (!serial.isEmpty())
        sql += Contains(QStringLiteral("BillSerial"), serial);
    if (!man.isEmpty())
        sql += Contains(QStringLiteral("BillMan"), man);
    return sql + OrderByDate;
}

QDate TBillSearch::PeriodFirst(Period period, const QDate &workingDate)
{
    return period == Year ? QDate(workingDate.year(), 1, 1) : MonthSpan(workingDate).first;
}

QDate TBillSearch::PeriodLast(Period period, const QDate &workingDate)
{
    return period == Year ? QDate(workingDate.year(), 12, 31) : MonthSpan(workingDate).last;
}

SqlText TBillSearch::CustomerBills(const QString &customerName, Period period, const QDate &workingDate)
{
    return Columns + QStringLiteral("Account,Bill Where (AccountIndex = BillAccount)")
           + Equals(QStringLiteral("BillUser"), customerName) + PeriodCondition(period, workingDate) + OrderByDate;
}

SqlText TBillSearch::AccountBills(int accountIndex, Period period, const QDate &workingDate)
{
    return Columns + QStringLiteral("Account,Bill Where (AccountIndex = BillAccount) And (BillAccount = ")
           + QString::number(accountIndex) + QStringLiteral(")") + PeriodCondition(period, workingDate) + OrderByDate;
}

TBillSearch::Totals TBillSearch::TotalsOf(const SqlText &sql)
{
    TQuery query(QStringLiteral("BillTotals"));
    query.Open(QStringLiteral("Select Count(*) As Bills, Sum(") + FenSql(QStringLiteral("BillSum"))
                   + QStringLiteral(") As Fen From (") + sql.text + QStringLiteral(") listed"),
               sql.params);
    return {query.FieldByName(QStringLiteral("Bills")).AsLargeInt(), query.FieldByName(QStringLiteral("Fen")).AsLargeInt()};
}

bool TBillSearch::OpenList(TQuery &list, const SqlText &sql)
{
    return RunQuery(list, sql, QStringLiteral("数据库打开失败"), true);
}
