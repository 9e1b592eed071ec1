#include "stores/RowWrites.h"

#include "core/Notice.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/SqlEngine.h"
#include "db/ShareDM.h"

namespace {
QString RowSql(const QString &table, int key)
{
    return QStringLiteral("Select * From %1 Where %1Index = %2").arg(table).arg(key);
}
} // namespace

int RowWrites::Add(const QString &table, const QString &failureMessage, const std::function<void(TRecord &)> &write,
                   const std::function<void(int)> &written)
{
    int key = 0;
    const bool saved = ShareDataModule->RunInTransaction(failureMessage, [&] {
        key = Insert(table, write);
        if (written)
            written(key);
        return true;
    });
    return saved ? key : 0;
}

bool RowWrites::Change(const QString &table, int key, const QString &failureMessage, const std::function<void(TRecord &)> &write,
                       const std::function<void(int)> &written)
{
    return Change(table, key, -1, failureMessage, write, written);
}

bool RowWrites::Change(const QString &table, int key, int version, const QString &failureMessage,
                       const std::function<void(TRecord &)> &write, const std::function<void(int)> &written,
                       const std::function<void()> &first)
{
    TQuery row(table);
    if (!RunQuery(row, RowSql(table, key), QStringLiteral("数据库打开失败")))
        return false;
    if (row.IsEmpty()) {
        Notice::Tell(table == QLatin1String("Customer") ? QStringLiteral("找不到要修改的客户") : QStringLiteral("找不到要修改的记录"));
        return false;
    }
    row.First();
    return ShareDataModule->RunInTransaction(failureMessage, [&] {
        if (first)
            first();
        if (version >= 0)
            Claim(table, key, version);
        TRecord record(row);
        write(record);
        Update(table, key, record);
        if (written)
            written(key);
        return true;
    });
}

void RowWrites::Claim(const QString &table, int key, int version)
{
    const int claimed = ShareDataModule->Exec(QStringLiteral("Update %1 Set %1Version = %1Version + 1 Where %1Index = ? And %1Version = ?").arg(table),
                                              {key, version});
    if (claimed == 1)
        return;
    TQuery row(table);
    row.Open(RowSql(table, key));
    if (row.IsEmpty())
        throw EDatabaseError(QStringLiteral("要修改的记录已不存在"));
    const QString what = table == QLatin1String("Bill")       ? QStringLiteral("该单据")
                         : table == QLatin1String("Customer") ? QStringLiteral("该客户资料")
                         : table == QLatin1String("Product")  ? QStringLiteral("该货品")
                                                              : QStringLiteral("该记录");
    throw EConvertError(what + QStringLiteral("已被其他电脑修改，请关闭后重新打开"));
}

bool RowWrites::NameFree(const QString &table, const QString &column, const QString &name, int except)
{
    // The placeholder row 1 every table has is the turnstile.
    TQuery q(table);
    q.Open(QStringLiteral("Select %1Index From %1 Where %1Index = 1").arg(table) + TSqlEngine::Current().LockRows());
    q.Open(QStringLiteral("Select Count(*) As Taken From %1 Where %2 = ? And %1Index <> ?").arg(table, column), {name, except});
    return q.FieldByName(QStringLiteral("Taken")).AsInteger() == 0;
}

void RowWrites::DeleteRow(const QString &table, int key)
{
    if (ShareDataModule->Exec(QStringLiteral("Delete From %1 Where %1Index = ?").arg(table), {key}) != 1)
        throw EDatabaseError(QStringLiteral("要删除的记录已不存在"));
}

int RowWrites::Insert(const QString &table, const std::function<void(TRecord &)> &write)
{
    TRecord record;
    write(record);
    return int(ShareDataModule->InsertRow(table, table + QStringLiteral("Index"), record));
}

void RowWrites::Update(const QString &table, int key, const TRecord &record)
{
    // The row was there when read; if it is gone now, nothing was saved.
    if (!ShareDataModule->UpdateRow(table, table + QStringLiteral("Index"), key, record))
        throw EDatabaseError(QStringLiteral("要修改的记录已不存在"));
}
