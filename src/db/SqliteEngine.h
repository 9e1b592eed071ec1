#pragma once
// The books as one SQLite file.

#include "db/SqlEngine.h"

class TSqliteEngine : public TSqlEngine {
public:
    bool IsServer() const override { return false; }
    QString DriverName() const override;
    QString BeginWrite() const override;
    // The write transaction already holds the whole file.
    QString LockRows() const override { return QString(); }
    // One program at a time works on a file: nobody to tell.
    QString ChangeChannel() const override { return QString(); }
    // A read transaction sees one state of the file throughout.
    QString ReadSnapshot() const override { return QStringLiteral("SELECT 1"); }
    QString Truncated(const QString &expression) const override;
    QString IsDigits(const QString &text) const override;
    QString DigitsValue(const QString &text) const override;
    QString Contains(const QString &text) const override { return QStringLiteral("(InStr(%1, ?) > 0)").arg(text); }
    QString IntegrityCheck() const override { return QStringLiteral("PRAGMA integrity_check"); }
    QString Identifier(const QString &name) const override;
    QString RowIdentity(const QString &key) const override;
    QStringList Translated(const QStringList &statements) const override { return statements; }
    QStringList Trigger(const QString &name, const QString &event, const QString &table, const QStringList &body,
                        const QString &when) const override;
    // A file is filled with its triggers on: the rows arrive in one local transaction.
    QStringList TriggersOff(const QString &) const override { return {}; }
    QStringList TriggersOn(const QString &) const override { return {}; }
    QStringList DropAll(QSqlDatabase &db) const override;
    QStringList Tables(QSqlDatabase &db, bool *ok = nullptr) const override;
    bool Columns(QSqlDatabase &db, const QString &table, QStringList *columns, QString *key) const override;
    QStringList IndexColumns(QSqlDatabase &db, const QString &index) const override;
    QHash<QString, qlonglong> GivenKeys(QSqlDatabase &db) const override;
    QStringList ForgetKeys(const QString &table) const override;
    QStringList KeysAfter(const QString &table, const QString &key, qlonglong given) const override;
    QStringList Analyzed(const QStringList &) const override { return {}; }
    // A desktop file: a page cache that holds the figures' indexes, sorting in memory.
    QStringList Session() const override
    {
        return {QStringLiteral("PRAGMA cache_size = -32768"), QStringLiteral("PRAGMA temp_store = MEMORY")};
    }
    QString Probe() const override { return QStringLiteral("SELECT count(*) FROM sqlite_master"); }
    QStringList DropKept(QSqlDatabase &db) const override;
    TDbFailure Classify(const QSqlError &error) const override;
};
