#include "stores/BillDeletion.h"

#include "shell/ShareDM.h"
#include "db/Journal.h"
#include "stores/KeptLocks.h"
#include "stores/RowWrites.h"

bool DeleteBill(int billIndex, bool withLines)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("单据删除失败，未作任何修改"), [&] {
        // The journal keeps the whole bill, so it can be saved again.
        const QJsonObject before = Journal::Bill(billIndex);
        KeptLocks locks;
        locks.AddBill(billIndex);
        locks.Take();
        if (withLines)
            ShareDataModule->Exec(QStringLiteral("Delete From Store Where StoreBill = ?"), {billIndex});
        RowWrites::DeleteRow(QStringLiteral("Bill"), billIndex);
        Journal::WriteBill(QStringLiteral("删除"), before, {});
        return true;
    });
}
