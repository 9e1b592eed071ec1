#include "stores/ParameterStore.h"

#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"
#include "db/Queries.h"

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

// Reads

int TParameterStore::IndexOf(int type, const QString &value)
{
    TQuery q(QStringLiteral("ParameterByValue"));
    if (!RunQuery(q, QStringLiteral("Select * From Parameter Where (ParameterType = ?) And (ParameterValue = ?)"),
                  QStringLiteral("读入帐款参数失败"), {type, value}))
        return -1;
    q.First();
    return q.IsEmpty() ? 0 : q.FieldByName(QStringLiteral("ParameterIndex")).AsInteger();
}
// ---------------------------------------------------------------- reads

bool TParameterStore::Values(int type, QStringList &values, const QString &failureMessage)
{
    return ReadTexts(QStringLiteral("Select * From Parameter Where ParameterType = ?"), {type}, QStringLiteral("ParameterValue"),
                     values, failureMessage);
}
