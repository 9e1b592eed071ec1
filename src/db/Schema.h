#pragma once
#include <QString>
#include <QStringList>

namespace Schema {
// The SQL that makes an empty Kestrova.mdb: tables, fixed rows, indexes.
QString Text();
// The same, one statement a text.
QStringList Statements();
// Writes a new database file; refuses to touch an existing one.
bool CreateDatabase(const QString &fileName, QString *error);
}
