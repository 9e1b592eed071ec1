#include "stores/QuoteStore.h"

#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

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
        auto write = [&](TRecord &quote) { quote.FieldByName(QStringLiteral("PriceValue")).SetAsFloat(price); };
        if (row.IsEmpty()) {
            RowWrites::Insert(QStringLiteral("Price"), [&](TRecord &quote) {
                quote.FieldByName(QStringLiteral("PriceProduct")).SetAsInteger(productIndex);
                quote.FieldByName(QStringLiteral("PriceCustomer")).SetAsInteger(customerIndex);
                write(quote);
            });
        } else {
            TRecord quote;
            write(quote);
            RowWrites::Update(QStringLiteral("Price"), row.FieldByName(QStringLiteral("PriceIndex")).AsInteger(), quote);
        }
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

// Reads

bool TQuoteStore::ReadQuotes(TQuery &list, int customerIndex)
{
    return RunQuery(list,
                    QStringLiteral("Select ProductIndex,ProductName,ProductType,PriceValue From Product,Customer,Price Where "
                                   "(ProductIndex = PriceProduct) And (CustomerIndex = PriceCustomer) And (CustomerIndex = ?) "
                                   "Order By ProductIndex"),
                    QStringLiteral("数据库打开失败"), QVariantList{customerIndex});
}

// ---------------------------------------------------------------- reads

bool TQuoteStore::Find(int customerIndex, int productIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Price Where (PriceCustomer = ?) And (PriceProduct = ?)"), failureMessage,
                    {customerIndex, productIndex});
}
