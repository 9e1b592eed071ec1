#pragma once
// What differs between the two database engines the books can live on: an
// SQLite file (one counter) or a PostgreSQL server (several). Everything else
// writes one SQL for both; identifiers are left unquoted, so PostgreSQL folds
// them to lower case and every name keeps meaning the same column on both.

#include "db/DbFailure.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

class QSqlDatabase;
class QSqlError;
class QSqlQuery;

class TSqlEngine {
public:
    virtual ~TSqlEngine() = default;

    static const TSqlEngine &Sqlite();
    static const TSqlEngine &Postgres();
    // The engine of an open connection, by its driver.
    static const TSqlEngine &Of(const QSqlDatabase &db);
    // The engine of the books the program works on; SQLite until the data module says otherwise.
    static const TSqlEngine &Current();
    static void SetCurrent(const TSqlEngine &engine);

    virtual bool IsServer() const = 0;
    virtual QString DriverName() const = 0;

    // The statement that starts a transaction which will write.
    virtual QString BeginWrite() const = 0;
    // Appended to a Select inside a write transaction: its rows stay this transaction's until it ends.
    virtual QString LockRows() const = 0;
    // The channel on which a committed write is told to the other counters; empty when none.
    virtual QString ChangeChannel() const = 0;
    // Makes the transaction just begun read one snapshot of the books throughout.
    virtual QString ReadSnapshot() const = 0;
    // A number truncated toward zero, as a whole number.
    virtual QString Truncated(const QString &expression) const = 0;
    // A condition: the text holds a whole number of at most nine digits and nothing else.
    virtual QString IsDigits(const QString &text) const = 0;
    // Such a text as a number.
    virtual QString DigitsValue(const QString &text) const = 0;
    // A condition: the text holds the value of the next "?" somewhere in it.
    virtual QString Contains(const QString &text) const = 0;
    // A statement whose rows tell damage to the stored books, one "ok" row when there is none;
    // empty where the server looks after its own storage.
    virtual QString IntegrityCheck() const = 0;
    // A name in SQL text, spelt so that it means the unquoted name.
    virtual QString Identifier(const QString &name) const = 0;
    // What identifies a row of a table for a write: the key, or SQLite's rowid.
    virtual QString RowIdentity(const QString &key) const = 0;

    // The schema's statements (written for SQLite) as this engine takes them.
    virtual QStringList Translated(const QStringList &statements) const = 0;
    // An after-row trigger: event is "Insert", "Delete", "Update" or "Update Of <column>".
    virtual QStringList Trigger(const QString &name, const QString &event, const QString &table,
                                const QStringList &body, const QString &when) const = 0;
    // While rows are copied in bulk the kept totals are added up once afterwards, not row by row.
    virtual QStringList TriggersOff(const QString &table) const = 0;
    virtual QStringList TriggersOn(const QString &table) const = 0;
    // Statements that remove every table and trigger of the books, to make them again.
    virtual QStringList DropAll(QSqlDatabase &db) const = 0;
    // The names of the tables of the books, as they were created; *ok (when
    // asked) false when they could not be read, which is not "no tables".
    virtual QStringList Tables(QSqlDatabase &db, bool *ok = nullptr) const = 0;
    // A table's columns in order, and its primary key column; false when there is no such table.
    virtual bool Columns(QSqlDatabase &db, const QString &table, QStringList *columns, QString *key) const = 0;
    // The columns of an index in order; empty when there is none.
    virtual QStringList IndexColumns(QSqlDatabase &db, const QString &index) const = 0;
    // Keys once given are never given again. What an auto-key table last gave,
    // by table name in lower case; statements that forget it (the table about
    // to be refilled); statements after rows were written with their keys, so
    // new rows take keys after them and after `given`.
    virtual QHash<QString, qlonglong> GivenKeys(QSqlDatabase &db) const = 0;
    virtual QStringList ForgetKeys(const QString &table) const = 0;
    virtual QStringList KeysAfter(const QString &table, const QString &key, qlonglong given) const = 0;
    // After rows were loaded in bulk: what lets the planner know them (a server
    // plans its first queries blind otherwise, reading whole tables). Only
    // these tables: the database may hold others that are not ours to touch.
    virtual QStringList Analyzed(const QStringList &tables) const = 0;
    // Run once on every new connection of the program's own.
    virtual QStringList Session() const = 0;
    // A read that fails at once when the connection is not to a database at all.
    virtual QString Probe() const = 0;
    // Statements that remove the kept-total tables, their triggers and the
    // version table, whatever an interrupted or foreign attempt left of them.
    virtual QStringList DropKept(QSqlDatabase &db) const = 0;
    // What kind of failure an error of this engine is.
    virtual TDbFailure Classify(const QSqlError &error) const = 0;
};
