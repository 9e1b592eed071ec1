#include "figures/CardLists.h"

#include "db/SqlEngine.h"
#include "core/MonthSpan.h"

#include <QList>
#include <QPair>

SqlText TCardLists::Customers(const QString &region)
{
    // In the order the customers were made, on a server as in a file.
    if (region.isEmpty())
        return QStringLiteral("Select * From Customer Where CustomerIndex > 1 Order By CustomerIndex");
    return SqlText(QStringLiteral("Select * From Customer Where (CustomerIndex > 1) And (CustomerRegion = ?) Order By CustomerIndex"),
                   {region});
}

SqlText TCardLists::Products(const QString &serial, const QString &name, const QString &type)
{
    SqlText filter;
    const QList<QPair<QString, QString>> parts = {
        {serial, QStringLiteral("ProductSerial")}, {name, QStringLiteral("ProductName")}, {type, QStringLiteral("ProductType")}};
    for (const auto &[text, column] : parts)
        if (!text.isEmpty())
            filter += SqlText(QStringLiteral(" And ") + TSqlEngine::Current().Contains(column), {text});
    return QStringLiteral("Select * From Product Where (ProductIndex > 1)") + filter + QStringLiteral(" Order By ProductName");
}

SqlText TCardLists::Accounts()
{
    return QStringLiteral("Select * From Account Where AccountIndex > 1 Order By AccountIndex");
}

SqlText TCardLists::Dated(const QDate &day, bool wholeMonth)
{
    if (!wholeMonth)
        return SqlText(QStringLiteral("(BillCreateTime = ?)"), {DateValue(day)});
    return MonthSpan(day).BetweenSql(QStringLiteral("BillCreateTime"));
}

SqlText TCardLists::GoodsBills(const QDate &day, bool wholeMonth)
{
    return QStringLiteral("Select * From Bill Where (BillIndex > 1) And (BillKind = '进货单' Or BillKind = '出货单') And ")
           + Dated(day, wholeMonth) + QStringLiteral(" Order By BillSum Desc");
}

SqlText TCardLists::FinanceBills(const QDate &day, bool wholeMonth)
{
    return QStringLiteral("Select * From Bill Where (BillIndex > 1) And (BillKind = '财务收入单' Or BillKind = '财务支出单') And ")
           + Dated(day, wholeMonth) + QStringLiteral(" Order By BillMoney Desc");
}
