#include "db/Queries.h"

#include "core/Notice.h"
#include "db/ShareDM.h"

bool RunQuery(TQuery &query, const SqlText &sql, const QString &failureMessage, bool paged)
{
    return RunQuery(query, sql.text, failureMessage, sql.params, paged);
}

bool RunQuery(TQuery &query, const QString &sql, const QString &failureMessage, const QVariantList &params, bool paged)
{
    try {
        query.Close();
        if (paged)
            query.OpenPaged(sql, params);
        else
            query.Open(sql, params);
        return true;
    } catch (const EDatabaseError &e) {
        query.Close();
        Notice::Tell(ShareDataModule->Explained(failureMessage, e));
        return false;
    }
}

bool ReadTexts(const QString &sql, const QVariantList &params, const QString &column, QStringList &texts,
               const QString &failureMessage)
{
    TQuery q(column);
    if (!RunQuery(q, sql, failureMessage, params))
        return false;
    texts.clear();
    for (q.First(); !q.Eof(); q.Next())
        texts << q.FieldByName(column).AsString();
    return true;
}

bool FindAndConfirmDeletion(TQuery &query, const std::function<bool(TQuery &)> &read, const QString &question)
{
    if (!read(query))
        return false;
    if (query.IsEmpty()) {
        Notice::Tell(QStringLiteral("找不到要删除的记录"));
        return false;
    }
    if (!Notice::Ask(QStringLiteral("删除警告"), question))
        return false;
    query.First();
    return true;
}
