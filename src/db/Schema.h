#pragma once
#include <QString>

namespace Schema {
// The SQL that makes an empty Kestrova.mdb: tables, fixed rows, indexes.
QString Text();
// Writes a new database file; refuses to touch an existing one.
bool CreateDatabase(const QString &fileName, QString *error);
}
