#include "stores/RowWrites.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

namespace {
QString RowSql(const QString &table, int key)
{
    return QStringLiteral("Select * From %1 Where %1Index = %2").arg(table).arg(key);
}
} // namespace

int RowWrites::Add(const QString &table, const QString &failureMessage, const std::function<void(TQuery &)> &write)
{
    TQuery row(table);
    int key = 0;
    const bool saved = ShareDataModule->RunInTransaction(failureMessage, [&] {
        row.Open(RowSql(table, 0));
        row.Append();
        write(row);
        row.Post();
        key = row.FieldByName(table + QStringLiteral("Index")).AsInteger();
        return true;
    });
    return saved ? key : 0;
}

bool RowWrites::Change(const QString &table, int key, const QString &failureMessage, const std::function<void(TQuery &)> &write)
{
    TQuery row(table);
    if (!RunQuery(row, RowSql(table, key), QStringLiteral("数据库打开失败")))
        return false;
    if (row.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
        return false;
    }
    return ShareDataModule->RunInTransaction(failureMessage, [&] {
        row.First();
        row.Edit();
        write(row);
        row.Post();
        return true;
    });
}

void RowWrites::DeleteRow(const QString &table, int key)
{
    TQuery row(table);
    row.Open(RowSql(table, key));
    if (row.IsEmpty())
        throw EDatabaseError(QStringLiteral("要删除的记录已不存在"));
    row.First();
    row.Delete();
}
