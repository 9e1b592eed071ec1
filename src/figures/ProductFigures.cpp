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

namespace {
QString Column(int size) { return QStringLiteral("StoreNum%1").arg(size + 1); }

QString Whole(const QString &column)
{
    return QStringLiteral("(") + column + QStringLiteral(" <> '' And ") + column + QStringLiteral(" Not Glob '*[^0-9]*')");
}
} // namespace

QString TProductFigures::SizeValueSql(int size)
{
    // A size text counts when it is a whole number; anything else counts 0 and flags the line.
    return QStringLiteral("(Case When ") + Whole(Column(size)) + QStringLiteral(" Then Cast(") + Column(size)
           + QStringLiteral(" As Integer) Else 0 End)");
}

QString TProductFigures::SumOfSizesSql()
{
    QStringList values;
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        values << SizeValueSql(k);
    return QStringLiteral("(") + values.join(QStringLiteral(" + ")) + QStringLiteral(")");
}

QString TProductFigures::OddSizeTextSql()
{
    QStringList odd;
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        odd << QStringLiteral("(") + Column(k) + QStringLiteral(" <> '' And Not ") + Whole(Column(k)) + QStringLiteral(")");
    return QStringLiteral("(") + odd.join(QStringLiteral(" Or ")) + QStringLiteral(")");
}

QString TProductFigures::SizeSql(const QDate &asOf, int productIndex, int exceptBill)
{
    QString sizes;
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        sizes += QStringLiteral(", Sum(Case When StoreNumber < 0 Then -") + SizeValueSql(k) + QStringLiteral(" Else ")
                 + SizeValueSql(k) + QStringLiteral(" End) As Size%1").arg(k + 1);
    // For every product the lines are read in table order, not fetched one by one through
    // the product index, and the empty line slots (product 0) are left out.
    return QStringLiteral("Select StoreProduct, Sum(StoreNumber) As Total") + sizes
           + QStringLiteral(", Sum(Case When (Abs(StoreNumber) <> ") + SumOfSizesSql() + QStringLiteral(") Or ")
           + OddSizeTextSql() + QStringLiteral(" Then 1 Else 0 End) As Odd From Store")
           + (productIndex > 0 ? QString() : QStringLiteral(" Not Indexed"))
           + QStringLiteral(", Bill Where (StoreBill = BillIndex) And (BillCreateTime <= ") + SqlDate(asOf) + QStringLiteral(")")
           + (productIndex > 0 ? QStringLiteral(" And (StoreProduct = %1)").arg(productIndex) : QStringLiteral(" And (StoreProduct > 0)"))
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
