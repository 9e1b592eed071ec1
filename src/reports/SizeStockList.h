#pragma once
// The size stock list: one line per product of a list, with the stock of each
// size 35# to 44# and the total, as of a date. Printed, and exported as it is.

#include "core/SqlText.h"

#include <QDate>
#include <QString>

class TListSheet;
class TReportDataSet;

// productListSql selects the products (ProductIndex, ProductSerial, ProductName,
// ProductType) in the order to list. Columns: 货品编号, 货品名称, 货品规格,
// 35# ... 44#, 合计. False after a failed query's message.
bool SizeStockList(const SqlText &productListSql, const QDate &asOf, TListSheet &sheet);
// The same lines for the printout: ProductSerial, ProductName, ProductType,
// Size1 ... Size10, Total.
TReportDataSet SizeStockRows(const TListSheet &sheet);
