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
