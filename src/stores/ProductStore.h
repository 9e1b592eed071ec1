#pragma once
// The one door through which products are written, each write one transaction.

#include "stores/Product.h"

class TProductStore {
public:
    // Gives the new ProductIndex, 0 when nothing was saved.
    static int Create(const Product &product);
    // Rewrites product.index ("找不到要修改的记录" when it is gone).
    static bool Change(const Product &product);
    // The bills keep their lines: they move onto the placeholder product 1.
    static bool Delete(int productIndex);
};
