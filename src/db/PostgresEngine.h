#pragma once
// The books on a PostgreSQL server, shared by several counters.

#include "db/SqlEngine.h"

class TPostgresEngine : public TSqlEngine {
public:
    bool IsServer() const override { return true; }
    QString DriverName() const override;
    QString BeginWrite() const override;
    QString LockRows() const override { return QStringLiteral(" For Update"); }
    QString ChangeChannel() const override { return QStringLiteral("kestrova_books"); }
    QString ReadSnapshot() const override { return QStringLiteral("Set Transaction Isolation Level Repeatable Read, Read Only"); }
    QString Truncated(const QString &expression) const override;
    QString IsDigits(const QString &text) const override;
    QString DigitsValue(const QString &text) const override;
    QString Contains(const QString &text) const override { return QStringLiteral("(StrPos(%1, ?) > 0)").arg(text); }
    QString IntegrityCheck() const override { return QString(); }
    QString Identifier(const QString &name) const override;
    QString RowIdentity(const QString &key) const override;
    QStringList Translated(const QStringList &statements) const override;
    QStringList Trigger(const QString &name, const QString &event, const QString &table, const QStringList &body,
                        const QString &when) const override;
    QStringList TriggersOff(const QString &table) const override;
    QStringList TriggersOn(const QString &table) const override;
    QStringList DropAll(QSqlDatabase &db) const override;
    QStringList Tables(QSqlDatabase &db, bool *ok = nullptr) const override;
    bool Columns(QSqlDatabase &db, const QString &table, QStringList *columns, QString *key) const override;
    QStringList IndexColumns(QSqlDatabase &db, const QString &index) const override;
    QHash<QString, qlonglong> GivenKeys(QSqlDatabase &db) const override;
    QStringList ForgetKeys(const QString &) const override { return {}; }
    QStringList KeysAfter(const QString &table, const QString &key, qlonglong given) const override;
    QStringList Analyzed(const QStringList &tables) const override;
    // A statement kept for the connection is planned for the values of each run:
    // a date decides whether an index or the whole table is the quick way.
    QStringList Session() const override { return {QStringLiteral("Set plan_cache_mode = force_custom_plan")}; }
    TDbFailure Classify(const QSqlError &error) const override;
    QString Probe() const override { return QStringLiteral("Select 1"); }
    QStringList DropKept(QSqlDatabase &db) const override;
};
