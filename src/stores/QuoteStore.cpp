#include "stores/QuoteStore.h"

#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "db/Journal.h"

TQuoteStore::Result TQuoteStore::SetPrice(int customerIndex, int productIndex, double price)
{
    TQuery row(QStringLiteral("Price"));
    if (!RunQuery(row, QStringLiteral("Select * From Price Where (PriceProduct = ") + QString::number(productIndex)
                           + QStringLiteral(") And (PriceCustomer = ") + QString::number(customerIndex) + QStringLiteral(")"),
                  QStringLiteral("数据库打开失败")))
        return NotRead;
    const bool saved = ShareDataModule->RunInTransaction(QStringLiteral("报价保存失败"), [&] {
        row.First();
        const QString before = row.IsEmpty() ? QString() : NumberText(row.FieldByName(QStringLiteral("PriceValue")).AsFloat());
        if (row.IsEmpty()) {
            row.Append();
            row.FieldByName(QStringLiteral("PriceProduct")).SetAsInteger(productIndex);
            row.FieldByName(QStringLiteral("PriceCustomer")).SetAsInteger(customerIndex);
        } else {
            row.Edit();
        }
        row.FieldByName(QStringLiteral("PriceValue")).SetAsFloat(price);
        row.Post();
        if (!Journal::Recording())
            return true;
        TQuery names(QStringLiteral("Names"));
        names.Open(QStringLiteral("Select CustomerName, ProductSerial, ProductName From Customer, Product Where CustomerIndex = ? And ProductIndex = ?"),
                   {customerIndex, productIndex});
        const QString customer = names.FieldByName(QStringLiteral("CustomerName")).AsString();
        const QString product = (names.FieldByName(QStringLiteral("ProductSerial")).AsString() + QLatin1Char(' ')
                                 + names.FieldByName(QStringLiteral("ProductName")).AsString()).trimmed();
        Journal::Write({before.isEmpty() ? QStringLiteral("新增") : QStringLiteral("修改"), QStringLiteral("报价"), product, customer,
                        {before.isEmpty() ? QStringLiteral("单价 %1").arg(NumberText(price))
                                          : QStringLiteral("单价 %1 → %2").arg(before, NumberText(price))}, {}, {}});
        return true;
    });
    return saved ? Saved : Failed;
}

// ---------------------------------------------------------------- reads

bool TQuoteStore::Find(int customerIndex, int productIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Price Where (PriceCustomer = ?) And (PriceProduct = ?)"), failureMessage,
                    {customerIndex, productIndex});
}
