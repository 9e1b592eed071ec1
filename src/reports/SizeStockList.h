#pragma once
// The size stock list: one line per product of a list, with the stock of each
// size 35# to 44# and the total, as of a date.

#include "db/SqlText.h"

#include <QDate>
#include <QString>

class TReportDataSet;

// productListSql selects the products (ProductIndex, ProductSerial, ProductName,
// ProductType) in the order to print. Columns: ProductSerial, ProductName,
// ProductType, Size1 ... Size10, Total. False after a failed query's message.
bool SizeStockList(const SqlText &productListSql, const QDate &asOf, TReportDataSet &rows);
