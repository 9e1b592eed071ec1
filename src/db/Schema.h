#pragma once
#include "db/SqlEngine.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace Schema {
// The books' own version: 1 before kept totals (no BooksInfo table), 2 with them,
// 3 with the row versions of bills, customers and products, 4 with the change journal.
constexpr int Version = 4;
// The version that began the change journal: books of an earlier one have none of their own.
constexpr int JournalVersion = 4;

// The SQL that makes an empty Kestrova.mdb: tables, fixed rows, indexes.
QString Text();
// The same, one statement a text, for an engine (the file's by default).
QStringList Statements(const TSqlEngine &engine = TSqlEngine::Sqlite());
// Writes a new database file; refuses to touch an existing one.
bool CreateDatabase(const QString &fileName, QString *error);
// Makes the tables, fixed rows and indexes in an open, empty database, in one transaction.
bool Create(QSqlDatabase &db, QString *error);
// The same inside the caller's transaction, without the unique indexes (rows to come may need MakeUnique's leniency).
bool CreateWithin(QSqlDatabase &db, QString *error);
// Inside the caller's transaction: the indexes that keep customer and account
// names and each kind's bill numbers unique, each where the rows allow it. Books
// from before they were kept may hold a name twice; that table goes without
// until it is mended, and saves still check names and numbers first.
bool MakeUnique(QSqlDatabase &db);

// What a column holds, so that rows read from a file of unknown origin can be
// checked before they reach the books. Dates are the TEXT columns named
// ...Time or ...Date and hold yyyy-MM-dd.
enum class Kind { Key, Integer, Amount, Date, Text };
struct Column {
    QString name;
    Kind kind;
    bool nullable;
    bool defaulted;     // a row written without it takes a value of the schema's (never the key)
};
struct Table {
    QString name;
    QList<Column> columns;
    QString key;        // the primary key column
    bool autoKey;       // AUTOINCREMENT: keys once given are never given again
    bool scratch;       // a print table, overwritten before each print (Print...)
    bool derived;       // kept totals and the version: made from the other tables, never copied
    bool added;         // made by JournalVersion (the journal): books of an earlier version lack it
};
// The columns version 3 added, as table and column: books of an earlier
// version lack them, and their rows take the column's default.
QList<QPair<QString, QString>> AddedColumns();
// Every table of the schema, in the order it makes them.
const QList<Table> &Tables();
// Brings the indexes of an open database made by an earlier build to those of
// the schema, in one transaction; rows are never touched. False when it could
// not (a read-only file, a database of another program): the books still work.
bool UpgradeIndexes(QSqlDatabase &db);

// The version an open database says it has; 0 when it cannot be read.
int VersionOf(QSqlDatabase &db);
enum class Upgrade { Current, Upgraded, Newer, Foreign, Failed };
// Brings books of an earlier version to this one, one transaction a step
// (kept totals added up from the rows), then the indexes. Books of a later
// version are left alone (Newer), and so is a database without the books'
// own tables (Foreign). Each step first looks at the tables it finds: a
// table it would make that is there under the program's name but not of its
// shape is another's, renamed aside and kept (*notice says so, for the user);
// a table of the books that lacks its columns stops the upgrade, nothing
// changed, *error naming it. Books of this version whose journal is not the
// program's get theirs made the same way.
Upgrade UpgradeBooks(QSqlDatabase &db, QString *error, QString *notice = nullptr);
}
