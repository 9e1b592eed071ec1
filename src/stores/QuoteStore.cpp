#include "stores/QuoteStore.h"

#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

TQuoteStore::Result TQuoteStore::SetPrice(int customerIndex, int productIndex, double price)
{
    TQuery row(QStringLiteral("Price"));
    if (!RunQuery(row, QStringLiteral("Select * From Price Where (PriceProduct = ") + QString::number(productIndex)
                           + QStringLiteral(") And (PriceCustomer = ") + QString::number(customerIndex) + QStringLiteral(")"),
                  QStringLiteral("数据库打开失败")))
        return NotRead;
    const bool saved = ShareDataModule->RunInTransaction(QStringLiteral("报价保存失败"), [&] {
        if (row.IsEmpty()) {
            row.Append();
            row.FieldByName(QStringLiteral("PriceProduct")).SetAsInteger(productIndex);
            row.FieldByName(QStringLiteral("PriceCustomer")).SetAsInteger(customerIndex);
        } else {
            row.First();
            row.Edit();
        }
        row.FieldByName(QStringLiteral("PriceValue")).SetAsFloat(price);
        row.Post();
        return true;
    });
    return saved ? Saved : Failed;
}
