#pragma once
// The writes every store makes of one row of a table keyed "<Table>Index":
// added, changed in place, deleted, each checked against the row being there.

#include <QString>
#include <functional>

class TRecord;

namespace RowWrites {
// In a transaction of its own: a new row filled by write. Gives its key, 0
// when nothing was saved (failureMessage shown).
// written runs after, inside the transaction, with the new key (the journal's record).
int Add(const QString &table, const QString &failureMessage, const std::function<void(TRecord &)> &write,
        const std::function<void(int)> &written = {});
// The stored row key rewritten by write in a transaction of its own;
// "找不到要修改的记录" when it is gone. False when nothing was saved.
bool Change(const QString &table, int key, const QString &failureMessage, const std::function<void(TRecord &)> &write,
            const std::function<void(int)> &written = {});
// The same for a row an editor read at `version` (its "<Table>Version"): refused,
// nothing written, when another counter changed it since. first runs inside the
// transaction before anything is written, the row's claim included.
bool Change(const QString &table, int key, int version, const QString &failureMessage,
            const std::function<void(TRecord &)> &write, const std::function<void(int)> &written = {},
            const std::function<void()> &first = {});
// Inside a transaction: takes the row read at `version` for a change, counting
// the version on; throws EConvertError with "该…已被其他电脑修改，请关闭后重新打开"
// when it was changed since, EDatabaseError when it is gone.
void Claim(const QString &table, int key, int version);
// Inside a transaction: whether no row of table but `except` has name in column.
// Those who name rows of the table take turns from here to the end of their
// transaction, so two counters never both find a name free.
bool NameFree(const QString &table, const QString &column, const QString &name, int except = 0);
// Inside a transaction: deletes the row; throws EDatabaseError when it is gone.
void DeleteRow(const QString &table, int key);
// Inside a transaction: a new row filled by write; gives its key.
int Insert(const QString &table, const std::function<void(TRecord &)> &write);
// Inside a transaction: the row takes what the record sets; throws EDatabaseError when it is gone.
void Update(const QString &table, int key, const TRecord &record);
} // namespace RowWrites
