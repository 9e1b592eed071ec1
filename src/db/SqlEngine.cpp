#include "db/SqlEngine.h"

#include "db/PostgresEngine.h"
#include "db/SqliteEngine.h"

#include <QSqlDatabase>
#include <atomic>

namespace {
std::atomic<const TSqlEngine *> current{nullptr};
} // namespace

const TSqlEngine &TSqlEngine::Sqlite()
{
    static const TSqliteEngine engine;
    return engine;
}

const TSqlEngine &TSqlEngine::Postgres()
{
    static const TPostgresEngine engine;
    return engine;
}

const TSqlEngine &TSqlEngine::Of(const QSqlDatabase &db)
{
    return db.driverName() == Postgres().DriverName() ? Postgres() : Sqlite();
}

const TSqlEngine &TSqlEngine::Current()
{
    const TSqlEngine *engine = current.load();
    return engine ? *engine : Sqlite();
}

void TSqlEngine::SetCurrent(const TSqlEngine &engine) { current.store(&engine); }
