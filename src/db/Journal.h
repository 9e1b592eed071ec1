#pragma once
// The change journal: every write of the books leaves one record in the same
// transaction (when, the role logged in, the computer, the program version,
// what was changed and how). Records are only ever added.

#include "core/SqlText.h"

#include <QDate>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace Journal {
struct Record {
    QString action;        // 新增, 修改, 删除, 恢复, 导入, 修正 …
    QString kind;          // 出货单, 客户, 货品, 帐户, 报价, 参数, 其它应收款, 密码, 账套 …
    QString key;           // the bill number, the customer's name …
    QString customer;
    QStringList changes;   // "单据金额 1200 → 1020"
    QJsonObject before, after;
};

// Inside the change's transaction; throws EDatabaseError when the record
// cannot be written, so the change fails with it. Within a Batch the record
// is left out: the batch writes its own.
void Write(const Record &record);
// The same on a connection of its own (books being made from a restored file),
// inside its transaction (or on its own); false when it failed, saying why.
bool WriteTo(QSqlDatabase &db, const Record &record, QString *error = nullptr);

// Whether single records are written on this thread (not within a Batch).
bool Recording();
// A row as the journal keeps it: every column but its version, by name;
// nothing within a Batch, where it would not be written.
QJsonObject Row(const QString &table, int key);
// A bill: its row, its account's name and its lines with their products.
QJsonObject Bill(int billIndex);
// "单价 12 → 12.5", an empty value shown as （空）: how every change is told.
QString ChangeText(const QString &caption, const QString &from, const QString &to);
// What differs between two images, as "caption old → new", for the named columns.
QStringList Changes(const QJsonObject &before, const QJsonObject &after, const QList<QPair<QString, QString>> &captions);
QStringList BillChanges(const QJsonObject &before, const QJsonObject &after);
// "新增"/"修改"/"删除" of a customer, product, account, other receivable or
// parameter row, by its images before and after (empty for none).
void WriteRow(const QString &action, const QString &table, const QJsonObject &before, const QJsonObject &after);
// "新增"/"修改"/"删除" of a bill, read from the books (after) or given (before).
void WriteBill(const QString &action, const QJsonObject &before, const QJsonObject &after);

// While one lives on this thread, single records are left out: an import or
// a bill's restore writes one record of its own.
class Batch {
public:
    Batch();
    ~Batch();
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;
};
// The records newest first, within the days, of a kind ("" for all), whose
// customer or key holds the texts given.
SqlText ListSql(const QDate &from, const QDate &to, const QString &kind, const QString &customer, const QString &key);
// The kinds records are written for, as a filter offers them.
QStringList Kinds();
// The actions records are written for.
QStringList Actions();
// Why a row come from elsewhere is not a record the program writes: its moment,
// action, kind or images (JSON) do not fit. Empty when it fits.
QString Misfit(const QString &moment, const QString &action, const QString &kind, const QString &data);
} // namespace Journal
