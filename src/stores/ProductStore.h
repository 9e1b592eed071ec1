#pragma once
// The one door through which products are written, each write one transaction.

#include "stores/Product.h"

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
};
