#include "db/SqliteEngine.h"

#include "db/KeptTotals.h"

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

QString TSqliteEngine::DriverName() const { return QStringLiteral("QSQLITE"); }

// Takes the write lock at once, so two writers never both read and then fail to commit.
QString TSqliteEngine::BeginWrite() const { return QStringLiteral("BEGIN IMMEDIATE"); }

QString TSqliteEngine::Truncated(const QString &expression) const
{
    return QStringLiteral("Cast(") + expression + QStringLiteral(" As Integer)");
}

QString TSqliteEngine::IsDigits(const QString &text) const
{
    return QStringLiteral("(%1 <> '' And Length(%1) <= 9 And %1 Not Glob '*[^0-9]*')").arg(text);
}

QString TSqliteEngine::DigitsValue(const QString &text) const { return QStringLiteral("Cast(%1 As Integer)").arg(text); }

QString TSqliteEngine::Identifier(const QString &name) const
{
    return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"');
}

QString TSqliteEngine::RowIdentity(const QString &) const { return QStringLiteral("rowid"); }

QStringList TSqliteEngine::Trigger(const QString &name, const QString &event, const QString &table, const QStringList &body,
                                   const QString &when) const
{
    return {QStringLiteral("Create Trigger %1 After %2 On %3 For Each Row%4 Begin\n  %5;\nEnd")
                .arg(name, event, table, when.isEmpty() ? QString() : QStringLiteral(" When ") + when,
                     body.join(QStringLiteral(";\n  ")))};
}

QStringList TSqliteEngine::Tables(QSqlDatabase &db, bool *ok) const
{
    QStringList names;
    QSqlQuery q(db);
    bool read = q.exec(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite_%' "
                                      "AND sql NOT LIKE 'CREATE VIRTUAL%' ORDER BY rowid"));
    while (read && q.next())
        names << q.value(0).toString();
    read = read && !q.lastError().isValid();
    if (ok)
        *ok = read;
    return names;
}

bool TSqliteEngine::Columns(QSqlDatabase &db, const QString &table, QStringList *columns, QString *key) const
{
    QSqlQuery q(db);
    if (!q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(Identifier(table))))
        return false;
    columns->clear();
    key->clear();
    int keyParts = 0;
    while (q.next()) {
        *columns << q.value(1).toString();
        if (q.value(5).toInt() > 0) {
            ++keyParts;
            *key = q.value(1).toString();
        }
    }
    if (keyParts != 1)
        key->clear();
    return !columns->isEmpty();
}

QStringList TSqliteEngine::IndexColumns(QSqlDatabase &db, const QString &index) const
{
    QStringList columns;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("PRAGMA index_info(%1)").arg(Identifier(index))))
        while (q.next())
            columns << q.value(2).toString();
    return columns;
}


QHash<QString, qlonglong> TSqliteEngine::GivenKeys(QSqlDatabase &db) const
{
    QHash<QString, qlonglong> given;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("SELECT name, seq FROM sqlite_sequence WHERE typeof(seq) = 'integer'")))
        while (q.next())
            given.insert(q.value(0).toString().toLower(), q.value(1).toLongLong());
    return given;
}

QStringList TSqliteEngine::ForgetKeys(const QString &table) const
{
    return {QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(QString(table).replace(QLatin1Char('\''), QLatin1String("''")))};
}

QStringList TSqliteEngine::KeysAfter(const QString &table, const QString &, qlonglong given) const
{
    // AUTOINCREMENT keeps the largest key written by itself; only a larger one given earlier needs saying.
    if (given <= 0)
        return {};
    const QString name = QString(table).replace(QLatin1Char('\''), QLatin1String("''"));
    return {QStringLiteral("UPDATE sqlite_sequence SET seq = %2 WHERE name = '%1' AND seq < %2").arg(name).arg(given),
            QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT '%1', %2 "
                           "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = '%1')")
                .arg(name)
                .arg(given)};
}

QStringList TSqliteEngine::DropAll(QSqlDatabase &db) const
{
    QStringList statements;
    for (const QString &table : Tables(db))
        statements << QStringLiteral("DROP TABLE IF EXISTS %1").arg(Identifier(table));
    return statements;
}

TDbFailure TSqliteEngine::Classify(const QSqlError &error) const
{
    // The driver gives SQLite's result code; its low byte is the primary code.
    bool number = false;
    const int code = error.nativeErrorCode().toInt(&number) & 0xff;
    if (!number)
        return TDbFailure::Other;
    switch (code) {
    case 5:    // busy
    case 6:    // locked
        return TDbFailure::Locked;
    case 13:   // full
        return TDbFailure::DiskFull;
    case 11:   // corrupt
    case 26:   // not a database
        return TDbFailure::NotOurBooks;
    case 18:   // too big
    case 19:   // constraint
    case 20:   // mismatch
        return TDbFailure::ValueRefused;
    default:
        return TDbFailure::Other;
    }
}

QStringList TSqliteEngine::DropKept(QSqlDatabase &db) const
{
    QStringList statements;
    QSqlQuery q(db);
    if (q.exec(QStringLiteral("Select name From sqlite_master Where type = 'trigger' And name Like 'Kept%'")))
        while (q.next())
            statements << QStringLiteral("Drop Trigger If Exists %1").arg(Identifier(q.value(0).toString()));
    // Tables by their names only: another's table that merely begins alike is not ours to drop.
    const QStringList tables = KeptTotals::TableNames() << QStringLiteral("BooksInfo");
    for (const QString &table : tables)
        statements << QStringLiteral("Drop Table If Exists %1").arg(Identifier(table));
    return statements;
}
