#include "stores/JournalList.h"

#include "db/Journal.h"
#include "db/Queries.h"
#include "db/ShareDM.h"

bool TJournalList::Read(TQuery &list, const QDate &from, const QDate &to, const QString &kind, const QString &customer,
                        const QString &key)
{
    return RunQuery(list, Journal::ListSql(from, to, kind, customer, key), QStringLiteral("修改记录读取失败"));
}
