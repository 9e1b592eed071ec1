#include "stores/BillDeletion.h"

#include "shell/ShareDM.h"

bool DeleteBill(int billIndex, bool withLines)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("单据删除失败，未作任何修改"), [&] {
        if (withLines)
            ShareDataModule->Exec(QStringLiteral("Delete From Store Where StoreBill = ?"), {billIndex});
        TQuery row(QStringLiteral("DeletedBill"));
        row.Open(QStringLiteral("Select * From Bill Where BillIndex = ") + QString::number(billIndex));
        if (row.IsEmpty())
            throw EDatabaseError(QStringLiteral("要删除的记录已不存在"));
        row.First();
        row.Delete();
        return true;
    });
}
