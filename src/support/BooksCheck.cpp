#include "support/BooksCheck.h"

#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "support/ForeignFile.h"
#include "support/PrivateConnection.h"

#include <QFile>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

namespace {
using Tables = QHash<QString, QStringList>;   // lower-case table name -> lower-case columns

Tables ReadTables(QSqlDatabase &db, bool *ok)
{
    // A file to check is SQLite's, whatever engine the books are on.
    const TSqlEngine &file = TSqlEngine::Sqlite();
    Tables tables;
    const QStringList names = file.Tables(db, ok);
    for (const QString &name : names) {
        QStringList columns;
        QString key;
        if (!file.Columns(db, name, &columns, &key)) {
            *ok = false;
            break;
        }
        for (QString &column : columns)
            column = column.toLower();
        tables.insert(name.toLower(), columns);
    }
    return tables;
}

// The tables and columns the delivered schema makes, read from a database built in memory.
const Tables &Expected()
{
    static const Tables expected = [] {
        TPrivateConnection memory(QStringLiteral(":memory:"));
        QSqlQuery q(memory.Db());
        for (const QString &statement : Schema::Statements())
            q.exec(statement);
        q.finish();
        bool ok = false;
        Tables tables = ReadTables(memory.Db(), &ok);
        // Books of an earlier version get these when they are opened.
        for (const Schema::Table &table : Schema::Tables())
            if (table.derived || table.added)
                tables.remove(table.name.toLower());
        for (const auto &[table, column] : Schema::AddedColumns())
            tables[table.toLower()].removeAll(column.toLower());
        return tables;
    }();
    return expected;
}

TBooksCheck::Verdict Fail(TBooksCheck::Verdict verdict, QString *reason, const QString &text)
{
    if (reason)
        *reason = text;
    return verdict;
}
} // namespace

TBooksCheck::Verdict TBooksCheck::Check(const QString &file, QString *reason)
{
    // An empty or a text file is refused before SQLite would take it for an
    // empty database; a pipe or a device is never opened.
    switch (TForeignFile::Inspect(file, -1)) {
    case TForeignFile::Fine:
        break;
    case TForeignFile::Unreadable:
        return Fail(NotOurs, reason, QStringLiteral("cannot read the file"));
    case TForeignFile::NotRegular:
        return Fail(NotOurs, reason, QStringLiteral("not a regular file"));
    case TForeignFile::TooLarge:
    case TForeignFile::NotSQLite:
        return Fail(NotOurs, reason, QStringLiteral("not an SQLite database"));
    }

    // immutable: read as it lies, never touching the file or creating files beside it.
    TPrivateConnection copy(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?immutable=1"),
                    QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    if (!copy.IsOpen())
        return Fail(Damaged, reason, copy.Db().lastError().text());
    return CheckOpen(copy.Db(), reason);
}

TBooksCheck::Verdict TBooksCheck::CheckOpen(QSqlDatabase &db, QString *reason)
{
    bool ok = false;
    const Tables found = ReadTables(db, &ok);
    if (!ok)
        return Fail(Damaged, reason, QStringLiteral("the table list cannot be read"));
    const Tables &expected = Expected();
    if (expected.isEmpty())
        return Fail(NotOurs, reason, QStringLiteral("the schema to compare with is missing"));
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        const auto table = found.constFind(it.key());
        if (table == found.constEnd())
            return Fail(NotOurs, reason, QStringLiteral("table %1 missing").arg(it.key()));
        for (const QString &column : it.value())
            if (!table->contains(column))
                return Fail(NotOurs, reason, QStringLiteral("column %1.%2 missing").arg(it.key(), column));
    }

    QSqlQuery integrity(db);
    if (!integrity.exec(TSqlEngine::Sqlite().IntegrityCheck()))
        return Fail(Damaged, reason, integrity.lastError().text());
    QStringList problems;
    while (integrity.next())
        problems << integrity.value(0).toString();
    if (integrity.lastError().isValid())
        return Fail(Damaged, reason, integrity.lastError().text());
    integrity.finish();
    if (problems != QStringList{QStringLiteral("ok")})
        return Fail(Damaged, reason, problems.join(QLatin1Char('\n')));
    return Good;
}
