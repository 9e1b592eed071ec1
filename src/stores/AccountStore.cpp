#include "stores/AccountStore.h"

#include "core/Notice.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

namespace {
// An account without a name could never be chosen on a bill; two of one name could not be told apart.
bool NameUsable(const QString &name)
{
    if (name.isEmpty()) {
        Notice::Tell(QStringLiteral("帐户名不得为空"));
        return false;
    }
    return true;
}

// Inside the write: refuses a name another account has.
void RefuseTaken(const QString &name, int index, bool *taken)
{
    if (RowWrites::NameFree(QStringLiteral("Account"), QStringLiteral("AccountName"), name, index))
        return;
    if (taken)
        *taken = true;
    throw EConvertError(QStringLiteral("该帐户名已经存在，请重新操作"));
}
} // namespace

int TAccountStore::IndexOf(const QString &name) { return IndexOf(name, QStringLiteral("无法打开数据库")); }

int TAccountStore::Create(const QString &name)
{
    if (!NameUsable(name))
        return 0;
    return RowWrites::Add(QStringLiteral("Account"), QStringLiteral("帐户保存失败"), [&](TRecord &row) {
        RefuseTaken(name, 0, nullptr);
        row.FieldByName(QStringLiteral("AccountName")).SetAsString(name);
    }, [](int index) { Journal::WriteRow(QStringLiteral("新增"), QStringLiteral("Account"), {}, Journal::Row(QStringLiteral("Account"), index)); });
}

TAccountStore::Outcome TAccountStore::Rename(const QString &oldName, const QString &name)
{
    if (!NameUsable(name))
        return Refused;
    const int index = IndexOf(oldName);
    if (index < 0)
        return Refused;
    if (index == 0) {
        Notice::Tell(QStringLiteral("找不到要修改的帐户"));
        return Failed;
    }
    bool taken = false;
    const bool renamed = RowWrites::Change(QStringLiteral("Account"), index, QStringLiteral("帐户修改失败"), [&](TRecord &row) {
        RefuseTaken(name, index, &taken);
        row.FieldByName(QStringLiteral("AccountName")).SetAsString(name);
    }, [&](int key) {
        Journal::WriteRow(QStringLiteral("修改"), QStringLiteral("Account"), QJsonObject{{QStringLiteral("AccountName"), oldName}},
                          Journal::Row(QStringLiteral("Account"), key));
    });
    return renamed ? Renamed : taken ? Refused : Failed;
}

bool TAccountStore::Delete(int accountIndex)
{
    // The account, its bills and their lines go together or not at all.
    return ShareDataModule->RunInTransaction(QStringLiteral("帐户删除失败"), [&] {
        const QJsonObject before = Journal::Row(QStringLiteral("Account"), accountIndex);
        TQuery bills(QStringLiteral("Bill"));
        bills.Open(QStringLiteral("Select Count(*) As Bills From Bill Where BillAccount = ?"), {accountIndex});
        const int billCount = bills.FieldByName(QStringLiteral("Bills")).AsInteger();
        RowWrites::DeleteRow(QStringLiteral("Account"), accountIndex);
        ShareDataModule->Exec(QStringLiteral("Delete From Store Where StoreBill In (Select BillIndex From Bill Where BillAccount = ?)"),
                              {accountIndex});
        ShareDataModule->Exec(QStringLiteral("Delete From Bill Where BillAccount = ?"), {accountIndex});
        Journal::Record record;
        record.action = QStringLiteral("删除");
        record.kind = QStringLiteral("帐户");
        record.key = before.value(QStringLiteral("AccountName")).toString();
        record.changes << QStringLiteral("连同该帐户的 %1 张单据").arg(billCount);
        record.before = before;
        Journal::Write(record);
        return true;
    });
}

// Reads

int TAccountStore::IndexOf(const QString &name, const QString &failureMessage)
{
    TQuery q(QStringLiteral("AccountByName"));
    if (!RunQuery(q, QStringLiteral("Select AccountIndex From Account Where AccountName = ?"), failureMessage, {name}))
        return -1;
    q.First();
    return q.IsEmpty() ? 0 : q.FieldByName(QStringLiteral("AccountIndex")).AsInteger();
}

// ---------------------------------------------------------------- reads

bool TAccountStore::Names(QStringList &names, const QString &failureMessage)
{
    return ReadTexts(QStringLiteral("Select * From Account Where (AccountIndex > 1)"), {}, QStringLiteral("AccountName"), names,
                     failureMessage);
}

