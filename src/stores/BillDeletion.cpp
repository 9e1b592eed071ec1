#include "stores/BillDeletion.h"

#include "shell/ShareDM.h"
#include "stores/RowWrites.h"

bool DeleteBill(int billIndex, bool withLines)
{
    return ShareDataModule->RunInTransaction(QStringLiteral("单据删除失败，未作任何修改"), [&] {
        if (withLines)
            ShareDataModule->Exec(QStringLiteral("Delete From Store Where StoreBill = ?"), {billIndex});
        RowWrites::DeleteRow(QStringLiteral("Bill"), billIndex);
        return true;
    });
}
