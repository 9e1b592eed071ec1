#pragma once
// The lists the card pages and the customer's windows export, as sheets with
// a kind for every column: a product number "00123" stays a text, amounts are
// money, quotes prices. Widget-free; each gives false after a failed query
// (its message already shown).

#include "core/SqlText.h"

#include <QDate>
#include <QString>

class TListSheet;

namespace ExportSheets {

// The customers a Customer statement selects, in its order, with the figures
// the customer window shows as of the date. The first three titles are read
// back by the import: 客户名称, 地区, 期初欠款.
bool Customers(const SqlText &customerListSql, const QDate &asOf, TListSheet &sheet);
// The products a Product statement selects, in its order, with their stock as of the date.
bool Products(const SqlText &productListSql, const QDate &asOf, TListSheet &sheet);
// The accounts an Account statement selects, with their balances as of the date.
bool Accounts(const SqlText &accountListSql, const QDate &asOf, TListSheet &sheet);
// One customer's quotes, by product.
bool Quotes(int customerIndex, TListSheet &sheet);
// One customer's other receivables dated up to the date, as its window lists them.
bool OtherReceivables(const QString &customer, const QDate &asOf, TListSheet &sheet);

} // namespace ExportSheets
