#pragma once
// The one door through which products are written, each write one transaction.

#include "stores/Product.h"

#include <QStringList>

class TQuery;

class TProductStore {
public:
    // Gives the new ProductIndex, 0 when nothing was saved.
    static int Create(const Product &product);
    // Rewrites product.index ("找不到要修改的记录" when it is gone).
    static bool Change(const Product &product);
    // The bills keep their lines: they move onto the placeholder product 1.
    static bool Delete(int productIndex);

    // Reads: what the windows show of products.
    // The product's row (every column) into row, empty when it is gone; false
    // when the read failed, after failureMessage was shown.
    static bool Read(TQuery &row, int productIndex, const QString &failureMessage = QStringLiteral("数据库打开失败"));
    // Every real product (not the placeholder 1) to pick one from: ProductIndex,
    // ProductSerial, ProductName, ProductType, ProductPrice. False after its message.
    static bool ReadPickList(TQuery &list);
    // Reads. False: the books could not be read, failureMessage said. A row
    // read into a query is none (the query empty) when there is no such product.
    static bool FindBySerial(const QString &serial, TQuery &into, const QString &failureMessage);
    static bool FindByModel(const QString &name, const QString &type, TQuery &into, const QString &failureMessage);
    // Every product of that name.
    static bool FindByName(const QString &name, TQuery &into, const QString &failureMessage);
    // Each value of the column (ProductSerial, ProductName or ProductType) once,
    // in order, the placeholder product's not.
    static bool Distinct(const QString &column, QStringList &values, const QString &failureMessage);
    // The models (ProductType) of the products of that name.
    static bool TypesOf(const QString &name, QStringList &types, const QString &failureMessage);
};
