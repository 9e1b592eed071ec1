#include "stores/ParameterStore.h"

#include "shell/ShareDM.h"
#include "stores/RowWrites.h"

int TParameterStore::Add(int type, const QString &value)
{
    return RowWrites::Add(QStringLiteral("Parameter"), QStringLiteral("参数保存失败"), [&](TQuery &row) {
        row.FieldByName(QStringLiteral("ParameterType")).SetAsInteger(type);
        row.FieldByName(QStringLiteral("ParameterValue")).SetAsString(value);
    });
}

bool TParameterStore::Change(int parameterIndex, const QString &value)
{
    return RowWrites::Change(QStringLiteral("Parameter"), parameterIndex, QStringLiteral("参数保存失败"),
                             [&](TQuery &row) { row.FieldByName(QStringLiteral("ParameterValue")).SetAsString(value); });
}

bool TParameterStore::Delete(int parameterIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("参数删除失败"), [&] {
        RowWrites::DeleteRow(QStringLiteral("Parameter"), parameterIndex);
        return true;
    });
}
