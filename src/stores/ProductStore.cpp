#include "stores/ProductStore.h"

#include "shell/ShareDM.h"
#include "stores/RowWrites.h"

namespace {
const QString saveFailed = QStringLiteral("货品保存失败");

void Write(TQuery &row, const Product &product)
{
    row.FieldByName(QStringLiteral("ProductName")).SetAsString(product.name);
    row.FieldByName(QStringLiteral("ProductType")).SetAsString(product.type);
    row.FieldByName(QStringLiteral("ProductPrice")).SetAsFloat(product.price);
    row.FieldByName(QStringLiteral("ProductSerial")).SetAsString(product.serial);
    row.FieldByName(QStringLiteral("ProductRemark")).SetAsString(product.remark);
}
} // namespace

int TProductStore::Create(const Product &product)
{
    return RowWrites::Add(QStringLiteral("Product"), saveFailed, [&](TQuery &row) { Write(row, product); });
}

bool TProductStore::Change(const Product &product)
{
    return RowWrites::Change(QStringLiteral("Product"), product.index, product.version, saveFailed,
                             [&](TQuery &row) { Write(row, product); });
}

bool TProductStore::Delete(int productIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("货品删除失败"), [&] {
        // A bill open elsewhere with these lines would write the product back.
        ShareDataModule->Exec(QStringLiteral("Update Bill Set BillVersion = BillVersion + 1 "
                                             "Where BillIndex In (Select StoreBill From Store Where StoreProduct = ?)"),
                              {productIndex});
        ShareDataModule->Exec(QStringLiteral("Update Store Set StoreProduct = 1 Where StoreProduct = ?"), {productIndex});
        RowWrites::DeleteRow(QStringLiteral("Product"), productIndex);
        return true;
    });
}
