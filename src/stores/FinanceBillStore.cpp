#include "stores/FinanceBillStore.h"

#include "core/Clock.h"
#include "db/ShareDM.h"
#include "stores/BillDeletion.h"
#include "stores/BillNumbers.h"
#include "stores/KeptLocks.h"
#include "db/Journal.h"
#include "stores/RowWrites.h"

namespace {
const QString saveFailed = QStringLiteral("单据保存失败，未作任何修改");

void Write(TRecord &row, const FinanceBill &bill)
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
}

// The kept rows the bill will count on, the stored bill's too when it is a change.
void LockFor(const FinanceBill &bill, int stored = 0) { KeptLocks::TakeForBill(stored, bill.customer, bill.account); }
} // namespace

int TFinanceBillStore::SaveNew(const FinanceBill &bill, QString *serialSaved)
{
    QString serial;
    const int index = RowWrites::Add(QStringLiteral("Bill"), saveFailed, [&](TRecord &row) {
        serial = BillNumbers::Take(bill.SettingIndex(), bill.Kind(), bill.serial, bill.proposed);
        LockFor(bill);
        row.FieldByName(QStringLiteral("BillKind")).SetAsString(bill.Kind());
        row.FieldByName(QStringLiteral("BillRecordTime")).SetAsDate(Clock::Today());
        Write(row, bill);
        row.FieldByName(QStringLiteral("BillSerial")).SetAsString(serial);
    }, [](int index) { Journal::WriteBill(QStringLiteral("新增"), {}, Journal::Bill(index)); });
    if (index != 0 && serialSaved)
        *serialSaved = serial;
    return index;
}

bool TFinanceBillStore::SaveChanged(const FinanceBill &bill)
{
    QJsonObject before;
    return RowWrites::Change(QStringLiteral("Bill"), bill.index, bill.version, saveFailed, [&](TRecord &row) {
        before = Journal::Bill(bill.index);
        BillNumbers::Keep(bill.Kind(), bill.serial, bill.index);
        Write(row, bill);
    }, [&](int index) { Journal::WriteBill(QStringLiteral("修改"), before, Journal::Bill(index)); },
    // Before the claim: counting the version on touches the kept totals too.
    [&] { LockFor(bill, bill.index); });
}

bool TFinanceBillStore::Delete(int billIndex) { return DeleteBill(billIndex, false); }
