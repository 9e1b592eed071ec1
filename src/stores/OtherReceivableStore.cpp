#include "stores/OtherReceivableStore.h"

#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

int TOtherReceivableStore::Add(const OtherReceivable &entry)
{
    int added = 0;
    const bool saved = ShareDataModule->RunInTransaction(QStringLiteral("其它应收保存失败"), [&] {
        added = RowWrites::Insert(QStringLiteral("SG"), [&](TRecord &row) {
            row.FieldByName(QStringLiteral("SGCustomer")).SetAsString(entry.customer);
            row.FieldByName(QStringLiteral("SGDate")).SetAsDate(entry.date);
            row.FieldByName(QStringLiteral("SGSum")).SetAsFloat(entry.amount);
            row.FieldByName(QStringLiteral("SGRemark")).SetAsString(entry.remark);
        });
        Journal::WriteRow(QStringLiteral("新增"), QStringLiteral("SG"), {}, Journal::Row(QStringLiteral("SG"), added));
        return true;
    });
    return saved ? added : 0;
}

bool TOtherReceivableStore::Delete(int sgIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("其它应收删除失败"), [&] {
        const QJsonObject before = Journal::Row(QStringLiteral("SG"), sgIndex);
        RowWrites::DeleteRow(QStringLiteral("SG"), sgIndex);
        Journal::WriteRow(QStringLiteral("删除"), QStringLiteral("SG"), before, {});
        return true;
    });
}

// Reads

bool TOtherReceivableStore::ReadList(TQuery &list, const QString &customer, const QDate &asOf)
{
    return RunQuery(list, QStringLiteral("Select * From SG Where (SGCustomer = ?) And (SGDate <= ?)"),
                    QStringLiteral("数据库打开失败"), {customer, DateValue(asOf)});
}
