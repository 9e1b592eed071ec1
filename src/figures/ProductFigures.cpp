#include "figures/ProductFigures.h"

#include "shell/MonthSpan.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

QString TProductFigures::MonthSql(const QDate &day)
{
    return QStringLiteral("Select StoreProduct,"
                          " Sum(Case When StoreNumber > 0 Then StoreNumber Else 0 End) As QuantityIn,"
                          " Sum(Case When StoreNumber > 0 Then StoreSum Else 0 End) As AmountIn,"
                          " Sum(Case When StoreNumber < 0 Then -StoreNumber Else 0 End) As QuantityOut,"
                          " Sum(Case When StoreNumber < 0 Then StoreSum Else 0 End) As AmountOut"
                          " From Bill, Store Where (StoreBill = BillIndex) And ")
           + MonthSpan(day).BetweenSql(QStringLiteral("BillCreateTime")) + QStringLiteral(" Group By StoreProduct");
}

bool TProductFigures::LoadMonth(const QDate &day)
{
    months_.clear();
    TQuery q(QStringLiteral("ProductMonth"));
    if (!RunQuery(q, MonthSql(day), QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        ProductMonth &m = months_[q.FieldByName(QStringLiteral("StoreProduct")).AsInteger()];
        m.quantityIn = q.FieldByName(QStringLiteral("QuantityIn")).AsInteger();
        m.amountIn = RoundMoney(q.FieldByName(QStringLiteral("AmountIn")).AsFloat());
        m.quantityOut = q.FieldByName(QStringLiteral("QuantityOut")).AsInteger();
        m.amountOut = RoundMoney(q.FieldByName(QStringLiteral("AmountOut")).AsFloat());
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

QString TProductFigures::SizeSql(const QDate &asOf, int productIndex, int exceptBill)
{
    // A size text counts when it is a whole number; anything else counts 0 and flags the product.
    auto whole = [](const QString &column) {
        return QStringLiteral("(") + column + QStringLiteral(" <> '' And ") + column + QStringLiteral(" Not Glob '*[^0-9]*')");
    };
    QString sizes, sumOfSizes, odd;
    for (int k = 1; k <= SizeStock::SizeCount; ++k) {
        const QString column = QStringLiteral("StoreNum%1").arg(k);
        const QString value = QStringLiteral("(Case When ") + whole(column) + QStringLiteral(" Then Cast(") + column
                              + QStringLiteral(" As Integer) Else 0 End)");
        sizes += QStringLiteral(", Sum(Case When StoreNumber < 0 Then -") + value + QStringLiteral(" Else ") + value
                 + QStringLiteral(" End) As Size%1").arg(k);
        sumOfSizes += (k > 1 ? QStringLiteral(" + ") : QString()) + value;
        odd += QStringLiteral(" Or (") + column + QStringLiteral(" <> '' And Not ") + whole(column) + QStringLiteral(")");
    }
    return QStringLiteral("Select StoreProduct, Sum(StoreNumber) As Total") + sizes
           + QStringLiteral(", Sum(Case When (Abs(StoreNumber) <> ") + sumOfSizes + QStringLiteral(")") + odd
           + QStringLiteral(" Then 1 Else 0 End) As Odd From Store, Bill Where (StoreBill = BillIndex) And (BillCreateTime <= ")
           + SqlDate(asOf) + QStringLiteral(")")
           + (productIndex > 0 ? QStringLiteral(" And (StoreProduct = %1)").arg(productIndex) : QString())
           + (exceptBill > 0 ? QStringLiteral(" And (StoreBill <> %1)").arg(exceptBill) : QString())
           + QStringLiteral(" Group By StoreProduct");
}

bool TProductFigures::LoadSizes(const QDate &asOf, int productIndex, int exceptBill)
{
    sizes_.clear();
    TQuery q(QStringLiteral("SizeStock"));
    if (!RunQuery(q, SizeSql(asOf, productIndex, exceptBill), QStringLiteral("统计仓库金额时出错")))
        return false;
    for (q.First(); !q.Eof(); q.Next()) {
        SizeStock &s = sizes_[q.FieldByName(QStringLiteral("StoreProduct")).AsInteger()];
        s.total = q.FieldByName(QStringLiteral("Total")).AsInteger();
        for (int k = 0; k < SizeStock::SizeCount; ++k)
            s.size[k] = q.FieldByName(QStringLiteral("Size%1").arg(k + 1)).AsInteger();
        s.flagged = q.FieldByName(QStringLiteral("Odd")).AsInteger() > 0;
    }
    return true;
}
