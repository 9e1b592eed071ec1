#include "stores/ProductStore.h"

#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"
#include "db/Queries.h"

namespace {
const QString saveFailed = QStringLiteral("货品保存失败");

void Write(TRecord &row, const Product &product)
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
    return RowWrites::Add(QStringLiteral("Product"), saveFailed, [&](TRecord &row) { Write(row, product); }, [](int index) {
        Journal::WriteRow(QStringLiteral("新增"), QStringLiteral("Product"), {}, Journal::Row(QStringLiteral("Product"), index));
    });
}

bool TProductStore::Change(const Product &product)
{
    QJsonObject before;
    return RowWrites::Change(
        QStringLiteral("Product"), product.index, product.version, saveFailed,
        [&](TRecord &row) {
            before = Journal::Row(QStringLiteral("Product"), product.index);
            Write(row, product);
        },
        [&](int index) { Journal::WriteRow(QStringLiteral("修改"), QStringLiteral("Product"), before, Journal::Row(QStringLiteral("Product"), index)); });
}

bool TProductStore::Delete(int productIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("货品删除失败"), [&] {
        const QJsonObject before = Journal::Row(QStringLiteral("Product"), productIndex);
        // A bill open elsewhere with these lines would write the product back.
        ShareDataModule->Exec(QStringLiteral("Update Bill Set BillVersion = BillVersion + 1 "
                                             "Where BillIndex In (Select StoreBill From Store Where StoreProduct = ?)"),
                              {productIndex});
        ShareDataModule->Exec(QStringLiteral("Update Store Set StoreProduct = 1 Where StoreProduct = ?"), {productIndex});
        RowWrites::DeleteRow(QStringLiteral("Product"), productIndex);
        Journal::WriteRow(QStringLiteral("删除"), QStringLiteral("Product"), before, {});
        return true;
    });
}

// Reads

bool TProductStore::Read(TQuery &row, int productIndex, const QString &failureMessage)
{
    return RunQuery(row, QStringLiteral("Select * From Product Where ProductIndex = ?"), failureMessage,
                    QVariantList{productIndex});
}

bool TProductStore::ReadPickList(TQuery &list)
{
    return RunQuery(list, QStringLiteral("Select ProductIndex,ProductSerial,ProductName,ProductType,ProductPrice From Product Where ProductIndex > 1"),
                    QStringLiteral("数据库打开失败"));
}

// ---------------------------------------------------------------- reads

bool TProductStore::FindBySerial(const QString &serial, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Product Where ProductSerial = ?"), failureMessage, {serial});
}

bool TProductStore::FindByModel(const QString &name, const QString &type, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Product Where (ProductName = ?) And (ProductType = ?)"), failureMessage,
                    {name, type});
}

bool TProductStore::FindByName(const QString &name, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Product Where ProductName = ?"), failureMessage, {name});
}

bool TProductStore::Distinct(const QString &column, QStringList &values, const QString &failureMessage)
{
    // A column name goes into the text: only these three.
    Q_ASSERT(column == QLatin1String("ProductSerial") || column == QLatin1String("ProductName")
             || column == QLatin1String("ProductType"));
    return ReadTexts(QStringLiteral("Select DISTINCT %1 From Product Where ProductIndex > 1 Order By %1").arg(column), {}, column, values,
                     failureMessage);
}

bool TProductStore::TypesOf(const QString &name, QStringList &types, const QString &failureMessage)
{
    return ReadTexts(QStringLiteral("Select * From Product Where (ProductName = ?) Order By ProductName"), {name},
                     QStringLiteral("ProductType"), types, failureMessage);
}
