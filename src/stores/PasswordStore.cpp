#include "stores/PasswordStore.h"

#include "db/Queries.h"
#include "db/ShareDM.h"
#include "db/Journal.h"

TPasswordStore::Outcome TPasswordStore::Change(const QString &powerName, const QString &newKey)
{
    TQuery q(QStringLiteral("Password"));
    if (!RunQuery(q, QStringLiteral("Select * From Power Where PowerName = ?"), QStringLiteral("数据库打开失败"), {powerName}))
        return Failed;
    if (q.RecordCount() < 1)
        return Missing;
    const bool written = ShareDataModule->RunInTransaction(QStringLiteral("密码保存失败"), [&] {
        if (ShareDataModule->Exec(QStringLiteral("Update Power Set PowerKey = ? Where PowerName = ?"), {newKey, powerName}) != 1)
            throw EDatabaseError(QStringLiteral("要修改的记录已不存在"));
        // Which password changed, never what it is.
        Journal::Write({QStringLiteral("修改"), QStringLiteral("密码"), powerName, QString(), {QStringLiteral("修改了“%1”的密码").arg(powerName)}, {}, {}});
        return true;
    });
    return written ? Changed : Failed;
}

// Reads

TPasswordStore::Lookup TPasswordStore::KeyOf(const QString &powerName, QString *key)
{
    TQuery q(QStringLiteral("PowerKey"));
    if (!RunQuery(q, QStringLiteral("Select * From Power Where PowerName = ?"), QStringLiteral("数据库打开失败"), {powerName}))
        return Lookup::Failed;
    if (q.RecordCount() < 1)
        return Lookup::Missing;
    q.First();
    *key = q.FieldByName(QStringLiteral("PowerKey")).AsString();
    return Lookup::Found;
}
