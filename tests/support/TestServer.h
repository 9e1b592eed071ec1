#pragma once
// The fixture switch between the two engines: with KESTROVA_TEST_ENGINE=postgres
// every fresh test books is a new database on the throwaway server that
// KESTROVA_TEST_PG names (see pg-throwaway.sh), made from a template of the
// schema; otherwise the books are an SQLite file.

#include "db/DataSource.h"

#include <QString>

namespace TestServer {
bool Enabled();
// The server's connection, without a database named.
TDataSource Server();
// A new database holding fresh books; its data source.
TDataSource NewBooks();
// A new empty database (no tables).
TDataSource NewEmptyDatabase();
void Drop(const TDataSource &books);
} // namespace TestServer
