#pragma once
// The writes every store makes of one row of a table keyed "<Table>Index":
// added, changed in place, deleted, each checked against the row being there.

#include <QString>
#include <functional>

class TQuery;

namespace RowWrites {
// In a transaction of its own: a new row filled by write. Gives its key, 0
// when nothing was saved (failureMessage shown).
int Add(const QString &table, const QString &failureMessage, const std::function<void(TQuery &)> &write);
// The stored row key rewritten by write in a transaction of its own;
// "找不到要修改的记录" when it is gone. False when nothing was saved.
bool Change(const QString &table, int key, const QString &failureMessage, const std::function<void(TQuery &)> &write);
// Inside a transaction: deletes the row; throws EDatabaseError when it is gone.
void DeleteRow(const QString &table, int key);
} // namespace RowWrites
