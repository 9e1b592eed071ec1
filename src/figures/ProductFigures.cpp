#include "figures/ProductFigures.h"

#include "db/KeptTotals.h"
#include "core/MonthSpan.h"
#include "db/Money.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

SqlText TProductFigures::MonthSql(const QDate &day)
{
    const QString fen = FenSql(QStringLiteral("StoreSum"));
    return QStringLiteral("Select StoreProduct,"
                          " Sum(Case When StoreNumber > 0 Then StoreNumber Else 0 End) As QuantityIn,"
                          " Sum(Case When StoreNumber > 0 Then %1 Else 0 End) As AmountIn,"
                          " Sum(Case When StoreNumber < 0 Then -StoreNumber Else 0 End) As QuantityOut,"
                          " Sum(Case When StoreNumber < 0 Then %1 Else 0 End) As AmountOut"
                          " From Bill, Store Where (StoreBill = BillIndex) And ")
               .arg(fen)
           + MonthSpan(day).BetweenSql(QStringLiteral("BillCreateTime")) + QStringLiteral(" Group By StoreProduct");
}

bool TProductFigures::LoadMonth(const QDate &day)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    months_.clear();
    TQuery q(QStringLiteral("ProductMonth"));
    if (!RunQuery(q, MonthSql(day), QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        ProductMonth &m = months_[q.FieldByName(QStringLiteral("StoreProduct")).AsInteger()];
        m.quantityIn = q.FieldByName(QStringLiteral("QuantityIn")).AsInteger();
        m.amountIn = FenToYuan(q.FieldByName(QStringLiteral("AmountIn")).AsLargeInt());
        m.quantityOut = q.FieldByName(QStringLiteral("QuantityOut")).AsInteger();
        m.amountOut = FenToYuan(q.FieldByName(QStringLiteral("AmountOut")).AsLargeInt());
    }
    return true;
}

bool SizeStock::AddsUp() const
{
    int sum = 0;
    for (int n : size)
        sum += n;
    return sum == total;
}

QString TProductFigures::SizeCaption(int size) { return QStringLiteral("%1#").arg(35 + size); }

SqlText TProductFigures::AfterSql(const QDate &day)
{
    return SqlText(QStringLiteral("((BillCreateTime > ?) Or (BillCreateTime Is Null))"), {DateValue(day)});
}

SqlText TProductFigures::LinesSql(const SqlText &billWhere, int productIndex)
{
    QString sizes;
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        sizes += QStringLiteral(", Sum(%1) As KeptSize%2").arg(KeptTotals::LineSize(k)).arg(k + 1);
    return QStringLiteral("Select StoreProduct As KeptProduct, Sum(StoreNumber) As KeptPieces") + sizes
           + QStringLiteral(", Sum(") + KeptTotals::LineOdd() + QStringLiteral(") As KeptOdd From Store Where StoreBill In (Select BillIndex From Bill Where ")
           + billWhere + QStringLiteral(")") + (productIndex > 0 ? QStringLiteral(" And (StoreProduct = %1)").arg(productIndex) : QString())
           + QStringLiteral(" Group By StoreProduct");
}

bool TProductFigures::Add(const SqlText &sql, int sign)
{
    TQuery q(QStringLiteral("SizeStock"));
    if (!RunQuery(q, sql, QStringLiteral("统计仓库金额时出错")))
        return false;
    QStringList columns;
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        columns << QStringLiteral("KeptSize%1").arg(k + 1);
    for (q.First(); !q.Eof(); q.Next()) {
        const int product = q.FieldByName(QStringLiteral("KeptProduct")).AsInteger();
        if (product <= 0)
            continue;   // the empty line slots
        SizeStock &s = sizes_[product];
        s.total += sign * q.FieldByName(QStringLiteral("KeptPieces")).AsInteger();
        for (int k = 0; k < SizeStock::SizeCount; ++k)
            s.size[k] += sign * q.FieldByName(columns[k]).AsInteger();
        s.odd += sign * q.FieldByName(QStringLiteral("KeptOdd")).AsInteger();
    }
    return true;
}

bool TProductFigures::LoadSizes(const QDate &asOf, int productIndex, int exceptBill)
{
    const TReadSnapshot oneMoment;   // the kept totals and the rows beside them, as of one moment
    sizes_.clear();
    const SqlText kept = QStringLiteral("Select * From KeptProduct")
                         + (productIndex > 0 ? QStringLiteral(" Where KeptProduct = %1").arg(productIndex) : QString());
    if (!Add(kept, 1) || !Add(LinesSql(AfterSql(asOf), productIndex), -1))
        return false;
    if (exceptBill > 0
        && !Add(LinesSql(SqlText(QStringLiteral("(BillIndex = %1) And (BillCreateTime <= ?)").arg(exceptBill), {DateValue(asOf)}),
                         productIndex),
                -1))
        return false;
    for (SizeStock &s : sizes_)
        s.flagged = s.odd > 0;
    return true;
}
