#include "stores/KeptLocks.h"

#include "db/KeptTotals.h"
#include "db/ShareDM.h"

#include <algorithm>

void KeptLocks::AddBill(int billIndex)
{
    if (!TSqlEngine::Current().IsServer())
        return;
    TQuery q(QStringLiteral("KeptLocks"));
    q.Open(QStringLiteral("Select BillUser, BillAccount From Bill Where BillIndex = ?"), {billIndex});
    if (!q.IsEmpty()) {
        AddCustomer(q.FieldByName(QStringLiteral("BillUser")).AsString());
        AddAccount(q.FieldByName(QStringLiteral("BillAccount")).AsLargeInt());
    }
    q.Open(QStringLiteral("Select Distinct StoreProduct From Store Where StoreBill = ?"), {billIndex});
    for (q.First(); !q.Eof(); q.Next())
        AddProduct(q.FieldByName(QStringLiteral("StoreProduct")).AsLargeInt());
}

namespace {
template <typename T>
void TakeRows(const QString &table, QList<T> keys)
{
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    const QString sql = KeptTotals::LockStatement(table, int(keys.size()));
    if (sql.isEmpty())
        return;
    QVariantList values;
    for (const T &key : keys)
        values << QVariant::fromValue(key);
    ShareDataModule->Exec(sql, values);
}
} // namespace

void KeptLocks::Take() const
{
    TakeRows(QStringLiteral("KeptCustomer"), customers_);
    TakeRows(QStringLiteral("KeptAccount"), accounts_);
    TakeRows(QStringLiteral("KeptProduct"), products_);
}

void KeptLocks::TakeForBill(int stored, const QString &customer, qint64 account, const QList<qint64> &products)
{
    KeptLocks locks;
    if (stored)
        locks.AddBill(stored);
    locks.AddCustomer(customer);
    locks.AddAccount(account);
    for (qint64 product : products)
        locks.AddProduct(product);
    locks.Take();
}
