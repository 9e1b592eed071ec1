#include "figures/ExportSheets.h"

#include "figures/AccountFigures.h"
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"
#include "sheets/ListSheet.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

bool ExportSheets::Customers(const SqlText &customerListSql, const QDate &asOf, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("客户名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("地区"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("期初欠款"), TListSheet::Money);
    // Titled as the customer window titles them.
    for (const QString &title : {QStringLiteral("货款总额"), QStringLiteral("其它应收"), QStringLiteral("已收总额"), QStringLiteral("客户欠款")})
        sheet.AddColumn(title, TListSheet::Money);
    TQuery list(QStringLiteral("CustomerList"));
    if (!RunQuery(list, customerListSql, QStringLiteral("刷新帐户时出错")))
        return false;
    TCustomerFigures figures;
    if (!figures.Load(asOf))
        return false;
    for (list.First(); !list.Eof(); list.Next()) {
        const QString name = list.FieldByName(QStringLiteral("CustomerName")).AsString();
        const double opening = list.FieldByName(QStringLiteral("CustomerOwe")).AsFloat();
        const CustomerSums sums = figures.Of(name);
        sheet.rows << QVariantList{name, list.FieldByName(QStringLiteral("CustomerRegion")).AsString(), opening, sums.Goods(),
                                   sums.Other(), sums.PaidNet(), sums.Debt(opening)};
    }
    return true;
}

bool ExportSheets::Products(const SqlText &productListSql, const QDate &asOf, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("货品编号"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品规格"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("单价"), TListSheet::Price);
    sheet.AddColumn(QStringLiteral("货品信息"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("库存"), TListSheet::Quantity);
    TQuery list(QStringLiteral("ProductList"));
    if (!RunQuery(list, productListSql, QStringLiteral("刷新仓库商品时出错")))
        return false;
    TProductFigures figures;
    if (!figures.LoadSizes(asOf))
        return false;
    for (list.First(); !list.Eof(); list.Next())
        sheet.rows << QVariantList{list.FieldByName(QStringLiteral("ProductSerial")).AsString(),
                                   list.FieldByName(QStringLiteral("ProductName")).AsString(),
                                   list.FieldByName(QStringLiteral("ProductType")).AsString(),
                                   list.FieldByName(QStringLiteral("ProductPrice")).AsFloat(),
                                   list.FieldByName(QStringLiteral("ProductRemark")).AsString(),
                                   figures.SizesOf(list.FieldByName(QStringLiteral("ProductIndex")).AsInteger()).total};
    return true;
}

bool ExportSheets::Accounts(const SqlText &accountListSql, const QDate &asOf, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("帐户名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("余额"), TListSheet::Money);
    TQuery list(QStringLiteral("AccountList"));
    if (!RunQuery(list, accountListSql, QStringLiteral("刷新帐户时出错")))
        return false;
    TAccountFigures figures;
    if (!figures.Load(asOf))
        return false;
    for (list.First(); !list.Eof(); list.Next())
        sheet.rows << QVariantList{list.FieldByName(QStringLiteral("AccountName")).AsString(),
                                   figures.Of(list.FieldByName(QStringLiteral("AccountIndex")).AsInteger()).Balance()};
    return true;
}

bool ExportSheets::Quotes(int customerIndex, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("客户名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品编号"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品规格"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("单价"), TListSheet::Price);
    TQuery q(QStringLiteral("QuoteList"));
    if (!RunQuery(q,
                  SqlText(QStringLiteral("Select CustomerName, ProductSerial, ProductName, ProductType, PriceValue From Product, Customer, Price "
                                         "Where (ProductIndex = PriceProduct) And (CustomerIndex = PriceCustomer) And (CustomerIndex = ?) "
                                         "Order By ProductIndex"),
                          {customerIndex}),
                  QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        sheet.rows << QVariantList{q.FieldByName(QStringLiteral("CustomerName")).AsString(),
                                   q.FieldByName(QStringLiteral("ProductSerial")).AsString(),
                                   q.FieldByName(QStringLiteral("ProductName")).AsString(),
                                   q.FieldByName(QStringLiteral("ProductType")).AsString(),
                                   q.FieldByName(QStringLiteral("PriceValue")).AsFloat()};
    return true;
}

bool ExportSheets::OtherReceivables(const QString &customer, const QDate &asOf, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("客户名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("日期"), TListSheet::Date);
    sheet.AddColumn(QStringLiteral("金额"), TListSheet::Money);
    sheet.AddColumn(QStringLiteral("备注"), TListSheet::Text);
    TQuery q(QStringLiteral("OtherReceivableList"));
    // In the order they were entered.
    if (!RunQuery(q,
                  SqlText(QStringLiteral("Select * From SG Where (SGCustomer = ?) And (SGDate <= ?) Order By SGIndex"),
                          {customer, DateValue(asOf)}),
                  QStringLiteral("数据库打开失败")))
        return false;
    for (q.First(); !q.Eof(); q.Next())
        sheet.rows << QVariantList{q.FieldByName(QStringLiteral("SGCustomer")).AsString(),
                                   q.FieldByName(QStringLiteral("SGDate")).AsDate(),
                                   q.FieldByName(QStringLiteral("SGSum")).AsFloat(),
                                   q.FieldByName(QStringLiteral("SGRemark")).AsString()};
    return true;
}
