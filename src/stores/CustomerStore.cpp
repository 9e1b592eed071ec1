#include "stores/CustomerStore.h"

#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "stores/RowWrites.h"

namespace {
const QString openFailed = QStringLiteral("无法打开数据库");

SqlText ByName(const QString &name) { return SqlText(QStringLiteral("Select * From Customer Where CustomerName = ?"), {name}); }
QString ByIndex(int index) { return QStringLiteral("Select * From Customer Where CustomerIndex = ") + QString::number(index); }

// Reads the customer row; false, with the message shown, when it cannot be read or is gone.
bool Find(TQuery &row, int index)
{
    if (!RunQuery(row, ByIndex(index), openFailed))
        return false;
    if (row.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的客户"));
        return false;
    }
    row.First();
    return true;
}

void Write(TQuery &row, const Customer &customer)
{
    row.FieldByName(QStringLiteral("CustomerRegion")).SetAsString(customer.region);
    row.FieldByName(QStringLiteral("CustomerName")).SetAsString(customer.name);
    row.FieldByName(QStringLiteral("CustomerOwe")).SetAsFloat(customer.owe);
    row.Post();
}
} // namespace

TCustomerStore::Result TCustomerStore::Create(const Customer &customer, int *index)
{
    TQuery row(QStringLiteral("Customer"));
    if (!RunQuery(row, ByName(customer.name), openFailed))
        return Failed;
    if (!row.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("该帐客户名已经存在，请重新操作"));
        return NameTaken;
    }
    int added = 0;
    if (!ShareDataModule->RunInTransaction(QStringLiteral("客户保存失败"), [&] {
            row.Append();
            Write(row, customer);
            added = row.FieldByName(QStringLiteral("CustomerIndex")).AsInteger();
            return true;
        }))
        return Failed;
    if (index)
        *index = added;
    return Saved;
}

TCustomerStore::Result TCustomerStore::Change(const Customer &customer)
{
    TQuery row(QStringLiteral("Customer"));
    if (!Find(row, customer.index))
        return Failed;
    const QString oldName = row.FieldByName(QStringLiteral("CustomerName")).AsString();
    if (oldName != customer.name) {
        if (!RunQuery(row, ByName(customer.name), openFailed))
            return Failed;
        if (!row.IsEmpty()) {
            Dialogs::ShowMessage(QStringLiteral("该客户名已经存在，请重新操作"));
            return NameTaken;
        }
        if (!Find(row, customer.index))
            return Failed;
    }
    // The bills and the other receivables carry the name; they move with it.
    const bool saved = ShareDataModule->RunInTransaction(QStringLiteral("客户资料修改失败"), [&] {
        if (oldName != customer.name) {
            ShareDataModule->Exec(QStringLiteral("Update Bill Set BillUser = ? Where BillUser = ?"), {customer.name, oldName});
            ShareDataModule->Exec(QStringLiteral("Update SG Set SGCustomer = ? Where SGCustomer = ?"), {customer.name, oldName});
        }
        row.Edit();
        Write(row, customer);
        return true;
    });
    return saved ? Saved : Failed;
}

bool TCustomerStore::Delete(int customerIndex)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("客户删除失败"), [&] {
        ShareDataModule->Exec(QStringLiteral("Delete From Price Where PriceCustomer = ?"), {customerIndex});
        RowWrites::DeleteRow(QStringLiteral("Customer"), customerIndex);
        return true;
    });
}
