#pragma once
#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace Schema {
// The SQL that makes an empty Kestrova.mdb: tables, fixed rows, indexes.
QString Text();
// The same, one statement a text.
QStringList Statements();
// Writes a new database file; refuses to touch an existing one.
bool CreateDatabase(const QString &fileName, QString *error);
// Brings the indexes of an open database made by an earlier build to those of
// the schema, in one transaction; rows are never touched. False when it could
// not (a read-only file, a database of another program): the books still work.
bool UpgradeIndexes(QSqlDatabase &db);
}
