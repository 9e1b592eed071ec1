#include "stores/FinanceBillStore.h"

#include "shell/Clock.h"
#include "shell/Dialogs.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"
#include "stores/BillDeletion.h"
#include "stores/BillNumbers.h"

namespace {
const QString saveFailed = QStringLiteral("单据保存失败，未作任何修改");

void Write(TQuery &row, const FinanceBill &bill)
{
    // Money in is positive, money out negative, in both columns.
    const double amount = (bill.income ? 1 : -1) * bill.amount;
    row.FieldByName(QStringLiteral("BillAccount")).SetAsInteger(bill.account);
    row.FieldByName(QStringLiteral("BillCreateTime")).SetAsDate(bill.date);
    row.FieldByName(QStringLiteral("BillUser")).SetAsString(bill.customer);
    row.FieldByName(QStringLiteral("BillReason")).SetAsString(bill.reason);
    row.FieldByName(QStringLiteral("BillSum")).SetAsFloat(amount);
    row.FieldByName(QStringLiteral("BillMoney")).SetAsFloat(amount);
    row.FieldByName(QStringLiteral("BillType")).SetAsString(bill.type);
    row.FieldByName(QStringLiteral("BillToken")).SetAsString(bill.token);
    row.FieldByName(QStringLiteral("BillRemark")).SetAsString(bill.remark);
    row.FieldByName(QStringLiteral("BillSerial")).SetAsString(bill.serial);
    row.FieldByName(QStringLiteral("BillMan")).SetAsString(bill.man);
    row.Post();
}
} // namespace

int TFinanceBillStore::SaveNew(const FinanceBill &bill)
{
    TQuery row(QStringLiteral("FinanceBill"));
    int billIndex = 0;
    const bool saved = ShareDataModule->RunInTransaction(saveFailed, [&] {
        row.Open(QStringLiteral("Select * From Bill Where BillIndex = 0"));
        row.Append();
        row.FieldByName(QStringLiteral("BillKind")).SetAsString(bill.Kind());
        row.FieldByName(QStringLiteral("BillRecordTime")).SetAsDate(Clock::Today());
        Write(row, bill);
        billIndex = row.FieldByName(QStringLiteral("BillIndex")).AsInteger();
        BillNumbers::WriteBack(bill.SettingIndex(), bill.serial);
        return true;
    });
    return saved ? billIndex : 0;
}

bool TFinanceBillStore::SaveChanged(const FinanceBill &bill)
{
    TQuery row(QStringLiteral("FinanceBill"));
    if (!RunQuery(row, QStringLiteral("Select * From Bill Where BillIndex = ") + QString::number(bill.index),
                  QStringLiteral("数据库打开失败")))
        return false;
    if (row.IsEmpty()) {
        Dialogs::ShowMessage(QStringLiteral("找不到要修改的记录"));
        return false;
    }
    return ShareDataModule->RunInTransaction(saveFailed, [&] {
        row.First();
        row.Edit();
        Write(row, bill);
        return true;
    });
}

bool TFinanceBillStore::Delete(int billIndex) { return DeleteBill(billIndex, false); }
