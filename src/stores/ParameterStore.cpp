#include "stores/ParameterStore.h"

#include "shell/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

int TParameterStore::Add(int type, const QString &value)
{
    return RowWrites::Add(QStringLiteral("Parameter"), QStringLiteral("参数保存失败"), [&](TRecord &row) {
        row.FieldByName(QStringLiteral("ParameterType")).SetAsInteger(type);
        row.FieldByName(QStringLiteral("ParameterValue")).SetAsString(value);
    }, [](int index) { Journal::WriteRow(QStringLiteral("新增"), QStringLiteral("Parameter"), {}, Journal::Row(QStringLiteral("Parameter"), index)); });
}

bool TParameterStore::Change(int parameterIndex, const QString &value)
{
    QJsonObject before;
    return RowWrites::Change(
        QStringLiteral("Parameter"), parameterIndex, QStringLiteral("参数保存失败"),
        [&](TRecord &row) {
            before = Journal::Row(QStringLiteral("Parameter"), parameterIndex);
            row.FieldByName(QStringLiteral("ParameterValue")).SetAsString(value);
        },
        [&](int index) { Journal::WriteRow(QStringLiteral("修改"), QStringLiteral("Parameter"), before, Journal::Row(QStringLiteral("Parameter"), index)); });
}

bool TParameterStore::Delete(int parameterIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("参数删除失败"), [&] {
        const QJsonObject before = Journal::Row(QStringLiteral("Parameter"), parameterIndex);
        RowWrites::DeleteRow(QStringLiteral("Parameter"), parameterIndex);
        Journal::WriteRow(QStringLiteral("删除"), QStringLiteral("Parameter"), before, {});
        return true;
    });
}
