#include "stores/BillStore.h"

#include "db/Queries.h"
#include "db/ShareDM.h"

bool TBillStore::Find(int billIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Bill Where BillIndex = ?"), failureMessage, QVariantList{billIndex});
}

bool TBillStore::FindWithAccount(int billIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into, QStringLiteral("Select * From Account,Bill Where (AccountIndex = BillAccount) And (BillIndex = ?)"),
                    failureMessage, QVariantList{billIndex});
}

bool TBillStore::FindPrintHeader(int billIndex, TQuery &into, const QString &failureMessage)
{
    return RunQuery(into,
                    QStringLiteral("Select AccountName,BillIndex,BillKind,BillSerial,BillCreateTime,BillUser,ABS(BillMoney) As BillMoney2,"
                                   "ABS(BillSum) As BillSum2,ABS(BillSum - BillMoney) As LeftMoney,BillMan,BillReason,BillType,"
                                   "BillToken,BillRemark From Account,Bill Where (AccountIndex = BillAccount) And (BillIndex = ?)"),
                    failureMessage, QVariantList{billIndex});
}
