#include "stores/CustomerStore.h"

#include "core/Notice.h"
#include "core/NumberTexts.h"
#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

namespace {
void Write(TRecord &row, const Customer &customer)
{
    row.FieldByName(QStringLiteral("CustomerRegion")).SetAsString(customer.region);
    row.FieldByName(QStringLiteral("CustomerName")).SetAsString(customer.name);
    row.FieldByName(QStringLiteral("CustomerOwe")).SetAsFloat(customer.owe);
}

// Inside the write: refuses a name another customer has (the check and the
// write are one step for every counter).
void RefuseTaken(const Customer &customer, const QString &message, bool *taken)
{
    if (RowWrites::NameFree(QStringLiteral("Customer"), QStringLiteral("CustomerName"), customer.name, customer.index))
        return;
    *taken = true;
    throw EConvertError(message);
}
} // namespace

TCustomerStore::Result TCustomerStore::Create(const Customer &customer, int *index)
{
    bool taken = false;
    const int added = RowWrites::Add(QStringLiteral("Customer"), QStringLiteral("客户保存失败"), [&](TRecord &row) {
        RefuseTaken(customer, QStringLiteral("该帐客户名已经存在，请重新操作"), &taken);
        Write(row, customer);
    }, [](int index) { Journal::WriteRow(QStringLiteral("新增"), QStringLiteral("Customer"), {}, Journal::Row(QStringLiteral("Customer"), index)); });
    if (added == 0)
        return taken ? NameTaken : Failed;
    if (index)
        *index = added;
    return Saved;
}

TCustomerStore::Result TCustomerStore::Change(const Customer &customer)
{
    bool taken = false;
    QJsonObject before;
    // The bills and the other receivables carry the name; they move with it, and
    // a bill open elsewhere under the old name is not saved back over the rename.
    const bool saved = RowWrites::Change(QStringLiteral("Customer"), customer.index, customer.version, QStringLiteral("客户资料修改失败"),
                                         [&](TRecord &row) {
        before = Journal::Row(QStringLiteral("Customer"), customer.index);
        const QString oldName = row.FieldByName(QStringLiteral("CustomerName")).AsString();
        if (oldName != customer.name) {
            RefuseTaken(customer, QStringLiteral("该客户名已经存在，请重新操作"), &taken);
            ShareDataModule->Exec(QStringLiteral("Update Bill Set BillUser = ?, BillVersion = BillVersion + 1 Where BillUser = ?"),
                                  {customer.name, oldName});
            ShareDataModule->Exec(QStringLiteral("Update SG Set SGCustomer = ? Where SGCustomer = ?"), {customer.name, oldName});
        }
        Write(row, customer);
    }, [&](int index) { Journal::WriteRow(QStringLiteral("修改"), QStringLiteral("Customer"), before, Journal::Row(QStringLiteral("Customer"), index)); });
    return saved ? Saved : taken ? NameTaken : Failed;
}

bool TCustomerStore::Delete(int customerIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("客户删除失败"), [&] {
        const QJsonObject before = Journal::Row(QStringLiteral("Customer"), customerIndex);
        ShareDataModule->Exec(QStringLiteral("Delete From Price Where PriceCustomer = ?"), {customerIndex});
        RowWrites::DeleteRow(QStringLiteral("Customer"), customerIndex);
        Journal::WriteRow(QStringLiteral("删除"), QStringLiteral("Customer"), before, {});
        return true;
    });
}

// Reads

bool TCustomerStore::Read(TQuery &row, int customerIndex, const QString &failureMessage)
{
    return RunQuery(row, QStringLiteral("Select * From Customer Where CustomerIndex = ?"), failureMessage,
                    QVariantList{customerIndex});
}

// ---------------------------------------------------------------- reads

bool TCustomerStore::Names(QStringList &names, const QString &failureMessage)
{
    return ReadTexts(QStringLiteral("Select * From Customer Where CustomerIndex > 1"), {}, QStringLiteral("CustomerName"), names,
                     failureMessage);
}

bool TCustomerStore::FindByName(const QString &name, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Customer Where CustomerName = ?"), failureMessage, {name});
}

int TCustomerStore::IndexByName(const QString &name, const QString &failureMessage)
{
    TQuery q(QStringLiteral("CustomerByName"));
    const QString sql = QStringLiteral("Select CustomerIndex From Customer Where (CustomerIndex > 1) And (CustomerName = ?)");
    if (failureMessage.isEmpty()) {
        // Silent: the caller reads it again where it matters.
        try {
            q.Open(sql, {name});
        } catch (const EDatabaseError &) {
            return -1;
        }
    } else if (!RunQuery(q, sql, failureMessage, {name})) {
        return -1;
    }
    q.First();
    return q.IsEmpty() ? 0 : q.FieldByName(QStringLiteral("CustomerIndex")).AsInteger();
}
