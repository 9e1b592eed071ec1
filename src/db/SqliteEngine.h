#pragma once
// The books as one SQLite file.

#include "db/SqlEngine.h"

class TSqliteEngine : public TSqlEngine {
public:
    bool IsServer() const override { return false; }
    QString DriverName() const override;
    QString BeginWrite() const override;
    QString Truncated(const QString &expression) const override;
    QString IsDigits(const QString &text) const override;
    QString DigitsValue(const QString &text) const override;
    QString Identifier(const QString &name) const override;
    QString RowIdentity(const QString &key) const override;
    QStringList Translated(const QStringList &statements) const override { return statements; }
    QStringList Trigger(const QString &name, const QString &event, const QString &table, const QStringList &body,
                        const QString &when) const override;
    QStringList Tables(QSqlDatabase &db) const override;
    bool Columns(QSqlDatabase &db, const QString &table, QStringList *columns, QString *key) const override;
    QStringList IndexColumns(QSqlDatabase &db, const QString &index) const override;
    // AUTOINCREMENT keeps the largest key given, written ones included.
    QStringList KeysAfterRows(const QString &, const QString &) const override { return {}; }
};
