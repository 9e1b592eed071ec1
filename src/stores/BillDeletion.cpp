#include "stores/BillDeletion.h"

#include "db/SqlEngine.h"
#include "db/ShareDM.h"
#include "db/Journal.h"
#include "stores/KeptLocks.h"
#include "stores/RowWrites.h"

bool DeleteBill(int billIndex, bool withLines)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("单据删除失败，未作任何修改"), [&] {
        // The kept rows first, as every bill write takes them; then the bill is this
        // deletion's: the journal keeps it whole, so it can be saved again.
        KeptLocks locks;
        locks.AddBill(billIndex);
        locks.Take();
        TQuery held(QStringLiteral("BillDeleted"));
        held.Open(QStringLiteral("Select BillIndex From Bill Where BillIndex = ?") + TSqlEngine::Current().LockRows(), {billIndex});
        const QJsonObject before = Journal::Bill(billIndex);
        if (withLines)
            ShareDataModule->Exec(QStringLiteral("Delete From Store Where StoreBill = ?"), {billIndex});
        RowWrites::DeleteRow(QStringLiteral("Bill"), billIndex);
        Journal::WriteBill(QStringLiteral("删除"), before, {});
        return true;
    });
}
