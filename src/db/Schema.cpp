#include "db/Schema.h"

#include "db/KeptTotals.h"
#include "db/SqlEngine.h"

#include <QFile>
#include <QFileInfo>
#include <QList>
#include <QPair>
#include <QSqlDatabase>
#include <QSqlError>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QUuid>

#include <functional>

static void InitSchemaResource() { Q_INIT_RESOURCE(schema); }

QString Schema::Text()
{
    InitSchemaResource();
    QFile file(QStringLiteral(":/db/schema.sql"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll());
}

namespace {
struct IndexDefinition {
    QString name;
    QString statement;
    QStringList columns;
    QString table;
};

QList<IndexDefinition> Indexes()
{
    static const QRegularExpression create(
        QStringLiteral("CREATE\\s+(?:UNIQUE\\s+)?INDEX\\s+(\\w+)\\s+ON\\s+(\\w+)\\s*\\(([^)]*)\\)\\s*;"),
        QRegularExpression::CaseInsensitiveOption);
    QList<IndexDefinition> list;
    auto it = create.globalMatch(Schema::Text());
    while (it.hasNext()) {
        const auto m = it.next();
        IndexDefinition index{m.captured(1), m.captured(0).chopped(1), {}, m.captured(2)};
        for (const QString &column : m.captured(3).split(QLatin1Char(',')))
            index.columns << column.trimmed();
        list << index;
    }
    return list;
}

struct UniqueIndex {
    const char *name, *table, *columns, *where;
};
const UniqueIndex uniqueIndexes[] = {
    {"CustomerNameOnce", "Customer", "CustomerName", ""},
    {"AccountNameOnce", "Account", "AccountName", ""},
    // A bill may go without a number; those are not counted.
    {"BillNumberOnce", "Bill", "BillKind, BillSerial", "BillSerial <> ''"},
};
} // namespace

bool Schema::MakeUnique(QSqlDatabase &db)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    QSqlQuery q(db);
    for (const UniqueIndex &index : uniqueIndexes) {
        if (!engine.IndexColumns(db, QLatin1String(index.name)).isEmpty())
            continue;
        const QString where = *index.where ? QStringLiteral(" Where ") + QLatin1String(index.where) : QString();
        if (!q.exec(QStringLiteral("Select 1 From %1%2 Group By %3 Having Count(*) > 1")
                        .arg(QLatin1String(index.table), where, QLatin1String(index.columns))))
            return false;
        if (q.next()) {
            // The lookups the index serves stay quick meanwhile.
            if (!q.exec(QStringLiteral("Create Index If Not Exists %1Plain On %2 (%3)%4")
                            .arg(QLatin1String(index.name), QLatin1String(index.table), QLatin1String(index.columns), where)))
                return false;
            continue;
        }
        if (!q.exec(QStringLiteral("Create Unique Index %1 On %2 (%3)%4")
                        .arg(QLatin1String(index.name), QLatin1String(index.table), QLatin1String(index.columns), where)))
            return false;
    }
    return true;
}

bool Schema::UpgradeIndexes(QSqlDatabase &db)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    QList<IndexDefinition> stale;
    for (const IndexDefinition &index : Indexes())
        if (engine.IndexColumns(db, index.name).join(QLatin1Char(',')).compare(index.columns.join(QLatin1Char(',')), Qt::CaseInsensitive) != 0)
            stale << index;
    if (stale.isEmpty())
        return true;
    QSqlQuery q(db);
    bool ok = db.transaction();
    for (const IndexDefinition &index : stale) {
        ok = ok && q.exec(QStringLiteral("DROP INDEX IF EXISTS %1").arg(engine.Identifier(index.name)));
        ok = ok && q.exec(index.statement);
    }
    q.finish();
    if (ok)
        ok = db.commit();
    if (!ok)
        db.rollback();
    return ok;
}

namespace {
const QString VersionName = QStringLiteral("SchemaVersion");

QStringList VersionStatements()
{
    return {QStringLiteral("Create Table BooksInfo (InfoName TEXT PRIMARY KEY, InfoValue TEXT NOT NULL DEFAULT '')"),
            QStringLiteral("Insert Into BooksInfo (InfoName, InfoValue) Values ('%1', '%2')").arg(VersionName).arg(Schema::Version)};
}

// One step of an upgrade, whole or not at all: its work, then the books' new version.
bool UpgradeStep(QSqlDatabase &db, int version, const std::function<bool(QSqlQuery &, QString *)> &work, QString *error)
{
    QSqlQuery q(db);
    QString message;
    bool ok = q.exec(TSqlEngine::Of(db).BeginWrite()) && work(q, &message);
    ok = ok && q.exec(QStringLiteral("Update BooksInfo Set InfoValue = '%1' Where InfoName = '%2'").arg(version).arg(VersionName));
    ok = ok && q.exec(QStringLiteral("COMMIT"));
    if (!ok) {
        if (message.isEmpty())
            message = q.lastError().text();
        q.exec(QStringLiteral("ROLLBACK"));
        if (error)
            *error = message;
    }
    return ok;
}

const Schema::Table *TableNamed(const QString &name)
{
    for (const Schema::Table &table : Schema::Tables())
        if (table.name.compare(name, Qt::CaseInsensitive) == 0)
            return &table;
    return nullptr;
}

// The columns of one of the program's tables in books of a version.
QStringList ColumnsAt(const Schema::Table &table, int version)
{
    QStringList columns;
    for (const Schema::Column &column : table.columns)
        columns << column.name;
    if (version < 3)
        for (const auto &[name, column] : Schema::AddedColumns())
            if (name == table.name)
                columns.removeAll(column);
    return columns;
}

// Of the program's table of that name, the columns the books' table lacks;
// *there false when the books have no such table. False when it cannot be read.
bool Lacking(QSqlDatabase &db, const QString &table, int version, bool *there, QStringList *lacking, QString *message)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    lacking->clear();
    bool read = false;
    *there = engine.Tables(db, &read).contains(table, Qt::CaseInsensitive);
    QStringList found;
    QString key;
    if (read && *there)
        read = engine.Columns(db, table, &found, &key);
    if (!read) {
        *message = QStringLiteral("无法读出帐套中表 %1 的结构").arg(table);
        return false;
    }
    if (*there)
        for (const QString &column : ColumnsAt(*TableNamed(table), version))
            if (!found.contains(column, Qt::CaseInsensitive))
                *lacking << column;
    return true;
}

// A table under one of the program's names that is not of its shape belongs
// to someone else: renamed out of the way and kept, never dropped.
bool SetAside(QSqlDatabase &db, QSqlQuery &q, const QString &table, QStringList *notices)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    const QStringList tables = engine.Tables(db);
    QString aside = table + QStringLiteral("_Old");
    for (int n = 2; tables.contains(aside, Qt::CaseInsensitive); ++n)
        aside = table + QStringLiteral("_Old%1").arg(n);
    if (!q.exec(QStringLiteral("Alter Table %1 Rename To %2").arg(engine.Identifier(table), engine.Identifier(aside))))
        return false;
    // Its indexes went with it under their names, which the program's own are about to take.
    for (const IndexDefinition &index : Indexes())
        if (index.table.compare(table, Qt::CaseInsensitive) == 0
            && !q.exec(QStringLiteral("Drop Index If Exists %1").arg(engine.Identifier(index.name))))
            return false;
    *notices << QStringLiteral("帐套中原有的表 %1 与本程序的同名表不符，已改名为 %2 保留，本程序另建了自己的 %1 表").arg(table, aside);
    return true;
}

// Makes way for a step that makes these tables: one of the program's shape is
// left to the step; another's is set aside.
bool ClearWay(QSqlDatabase &db, QSqlQuery &q, const QStringList &tables, int version, QStringList *notices, QString *message)
{
    for (const QString &table : tables) {
        bool there = false;
        QStringList lacking;
        if (!Lacking(db, table, version, &there, &lacking, message))
            return false;
        if (there && !lacking.isEmpty() && !SetAside(db, q, table, notices))
            return false;
    }
    return true;
}

// The journal as the program keeps it, unless the books hold it already.
bool MakeJournal(QSqlDatabase &db, QSqlQuery &q, QStringList *notices, QString *message)
{
    const QString journal = QStringLiteral("Journal");
    if (!ClearWay(db, q, {journal}, Schema::JournalVersion, notices, message))
        return false;
    const TSqlEngine &engine = TSqlEngine::Of(db);
    if (engine.Tables(db).contains(journal, Qt::CaseInsensitive))
        return true;
    for (const QString &statement : Schema::Statements(engine))
        if (statement.contains(journal) && !q.exec(statement))
            return false;
    return true;
}
} // namespace

int Schema::VersionOf(QSqlDatabase &db)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    const QStringList tables = engine.Tables(db);
    if (tables.isEmpty())
        return 0;
    if (!tables.contains(QStringLiteral("BooksInfo"), Qt::CaseInsensitive))
        return 1;
    QSqlQuery q(db);
    q.prepare(QStringLiteral("Select InfoValue From BooksInfo Where InfoName = ?"));
    q.addBindValue(VersionName);
    if (!q.exec()) {
        // Another's table of that name: the books are from before the version was kept.
        QStringList columns;
        QString key;
        if (engine.Columns(db, QStringLiteral("BooksInfo"), &columns, &key)
            && !(columns.contains(QStringLiteral("InfoName"), Qt::CaseInsensitive)
                 && columns.contains(QStringLiteral("InfoValue"), Qt::CaseInsensitive)))
            return 1;
        return 0;
    }
    if (!q.next())
        return 1;
    bool whole = false;
    const int version = q.value(0).toString().toInt(&whole);
    return whole && version >= 1 ? version : 0;
}

Schema::Upgrade Schema::UpgradeBooks(QSqlDatabase &db, QString *error, QString *notice)
{
    const int version = VersionOf(db);
    if (version > Version)
        return Upgrade::Newer;
    if (version == 0 && TSqlEngine::Of(db).Tables(db).isEmpty())
        return Upgrade::Foreign;
    if (version == 0) {
        if (error)
            *error = QStringLiteral("无法读出帐套的版本");
        return Upgrade::Failed;
    }
    // Only books of the program's own are upgraded: another program's tables are left as they are.
    if (version == 1) {
        const QStringList tables = TSqlEngine::Of(db).Tables(db);
        for (const char *own : {"Bill", "Store", "Customer", "Product", "Account", "Power", "Setting"})
            if (!tables.contains(QString::fromLatin1(own), Qt::CaseInsensitive))
                return Upgrade::Foreign;
    }
    // The steps read and change the books' own tables: one without its columns is not
    // what they were written for, and nothing is changed.
    if (version < Version)
        for (const Table &table : Tables()) {
            if (table.derived || table.added)
                continue;
            bool there = false;
            QStringList lacking;
            QString message;
            if (!Lacking(db, table.name, version, &there, &lacking, &message) || !lacking.isEmpty()) {
                if (error)
                    *error = !message.isEmpty() ? message
                                                : QStringLiteral("帐套中的表 %1 缺少 %2 列，与本程序的帐套不符；帐套未作任何修改")
                                                      .arg(table.name, lacking.join(QStringLiteral("、")));
                return Upgrade::Failed;
            }
        }
    QStringList notices, stepNotices;
    // Each step brings the books from the version before it, in order.
    const QList<QPair<int, std::function<bool(QSqlQuery &, QString *)>>> steps = {
        // Kept totals: the tables, their triggers, and the sums of every row so far.
        {2, [&db, &stepNotices](QSqlQuery &q, QString *message) {
             // What an interrupted attempt left goes first; another's tables of those names stay, aside.
             if (!ClearWay(db, q, KeptTotals::TableNames() << QStringLiteral("BooksInfo"), 2, &stepNotices, message))
                 return false;
             const QStringList statements = TSqlEngine::Of(db).DropKept(db) + KeptTotals::Statements(TSqlEngine::Of(db))
                                            + VersionStatements();
             for (const QString &sql : statements)
                 if (!q.exec(sql))
                     return false;
             return KeptTotals::Rebuild(db, message);
         }},
        // Row versions: every row starts at 0, as if read by no editor yet.
        {3, [&db](QSqlQuery &q, QString *) {
             const TSqlEngine &engine = TSqlEngine::Of(db);
             for (const auto &[table, column] : AddedColumns()) {
                 QStringList columns;
                 QString key;
                 if (!engine.Columns(db, table, &columns, &key))
                     return false;
                 if (!columns.contains(column, Qt::CaseInsensitive)
                     && !q.exec(engine.Translated({QStringLiteral("Alter Table %1 Add Column %2 INTEGER NOT NULL DEFAULT 0").arg(table, column)})
                                    .first()))
                     return false;
             }
             return true;
         }},
        // The journal starts empty: what happened before it was kept is not known.
        {JournalVersion, [&db, &stepNotices](QSqlQuery &q, QString *message) { return MakeJournal(db, q, &stepNotices, message); }},
    };
    Upgrade result = Upgrade::Current;
    for (const auto &[to, work] : steps) {
        if (version >= to)
            continue;
        stepNotices.clear();
        if (!UpgradeStep(db, to, work, error))
            return Upgrade::Failed;
        notices += stepNotices;
        result = Upgrade::Upgraded;
    }
    // Books an earlier build upgraded over another's Journal kept that table and could not save.
    if (version >= JournalVersion) {
        bool there = false;
        QStringList lacking;
        QString message;
        if (!Lacking(db, QStringLiteral("Journal"), version, &there, &lacking, &message)) {
            if (error)
                *error = message;
            return Upgrade::Failed;
        }
        if (!there || !lacking.isEmpty()) {
            stepNotices.clear();
            if (!UpgradeStep(db, version, steps.last().second, error))
                return Upgrade::Failed;
            notices += stepNotices;
            result = Upgrade::Upgraded;
        }
    }
    if (notice)
        *notice = notices.join(QLatin1Char('\n'));
    UpgradeIndexes(db);
    if (db.transaction()) {
        if (MakeUnique(db))
            db.commit();
        else
            db.rollback();
    }
    return result;
}

QStringList Schema::Statements(const TSqlEngine &engine)
{
    QStringList statements;
    QString current;
    for (const QString &line : Text().split(QLatin1Char('\n'))) {
        if (line.trimmed().startsWith(QLatin1String("--")))
            continue;
        current += line + QLatin1Char('\n');
        if (line.trimmed().endsWith(QLatin1Char(';'))) {
            statements << current.trimmed();
            current.clear();
        }
    }
    return engine.Translated(statements) + KeptTotals::Statements(engine) + engine.Translated(VersionStatements());
}

bool Schema::CreateWithin(QSqlDatabase &db, QString *error)
{
    const TSqlEngine &engine = TSqlEngine::Of(db);
    QStringList statements = Statements(engine);
    if (statements.isEmpty()) {
        if (error)
            *error = QStringLiteral("schema text missing");
        return false;
    }
    // The fixed rows came with their keys: on a server new rows take keys after
    // them (the table list is made in an SQLite file, so never asked for here then).
    if (engine.IsServer())
        for (const Table &table : Tables())
            if (table.autoKey)
                statements += engine.KeysAfter(table.name, table.key, 0);
    QSqlQuery q(db);
    for (const QString &sql : statements)
        if (!q.exec(sql)) {
            if (error)
                *error = q.lastError().text() + QStringLiteral(" in: ") + sql.left(80);
            return false;
        }
    return true;
}

bool Schema::Create(QSqlDatabase &db, QString *error)
{
    QSqlQuery q(db);
    QString message;
    bool ok = q.exec(QStringLiteral("BEGIN"));
    if (!ok)
        message = q.lastError().text();
    ok = ok && CreateWithin(db, &message);
    if (ok && !MakeUnique(db)) {
        ok = false;
        message = QStringLiteral("the unique indexes cannot be made");
    }
    if (ok && !q.exec(QStringLiteral("COMMIT"))) {
        ok = false;
        message = q.lastError().text();
    }
    if (!ok)
        q.exec(QStringLiteral("ROLLBACK"));
    q.finish();
    if (!ok && error)
        *error = message;
    return ok;
}

QList<QPair<QString, QString>> Schema::AddedColumns()
{
    return {{QStringLiteral("Bill"), QStringLiteral("BillVersion")},
            {QStringLiteral("Customer"), QStringLiteral("CustomerVersion")},
            {QStringLiteral("Product"), QStringLiteral("ProductVersion")}};
}

const QList<Schema::Table> &Schema::Tables()
{
    static const QList<Table> tables = [] {
        QList<Table> list;
        const QString connection = QStringLiteral("schema-tables-") + QUuid::createUuid().toString(QUuid::Id128);
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
            db.setDatabaseName(QStringLiteral(":memory:"));
            if (db.open() && Create(db, nullptr)) {
                QSqlQuery q(db);
                q.exec(QStringLiteral("SELECT name, sql FROM sqlite_master WHERE type = 'table' "
                                      "AND name NOT LIKE 'sqlite_%' ORDER BY rowid"));
                while (q.next()) {
                    const QString name = q.value(0).toString();
                    list.append(Table{name, {}, QString(),
                                      q.value(1).toString().contains(QLatin1String("AUTOINCREMENT"), Qt::CaseInsensitive),
                                      name.startsWith(QLatin1String("Print")),
                                      name == QLatin1String("BooksInfo") || KeptTotals::TableNames().contains(name),
                                      name == QLatin1String("Journal")});
                }
                for (Table &table : list) {
                    QSqlQuery info(db);
                    info.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table.name));
                    while (info.next()) {
                        const QString column = info.value(1).toString();
                        const QString type = info.value(2).toString().toUpper();
                        const bool key = info.value(5).toInt() > 0;
                        Kind kind = Kind::Text;
                        if (type == QLatin1String("INTEGER"))
                            kind = key ? Kind::Key : Kind::Integer;
                        else if (type == QLatin1String("REAL"))
                            kind = Kind::Amount;
                        else if (column.endsWith(QLatin1String("Time")) || column.endsWith(QLatin1String("Date")))
                            kind = Kind::Date;
                        if (key)
                            table.key = column;
                        const bool nullable = info.value(3).toInt() == 0 && !key;
                        table.columns.append(Column{column, kind, nullable, !key && (nullable || !info.value(4).isNull())});
                    }
                }
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(connection);
        return list;
    }();
    return tables;
}

bool Schema::CreateDatabase(const QString &fileName, QString *error)
{
    auto fail = [error](const QString &text) {
        if (error)
            *error = text;
        return false;
    };
    if (QFileInfo::exists(fileName))
        return fail(QStringLiteral("%1 already exists").arg(fileName));

    // Build beside the target and move it in place only when complete.
    const QString temp = fileName + QStringLiteral(".part");
    QFile::remove(temp);
    const QString connection = QStringLiteral("schema-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = true;
    QString message;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(temp);
        if (!db.open()) {
            ok = false;
            message = db.lastError().text();
        } else {
            ok = Create(db, &message);
            db.close();
        }
    }
    QSqlDatabase::removeDatabase(connection);
    if (!ok) {
        QFile::remove(temp);
        return fail(message);
    }
    if (!QFile::rename(temp, fileName)) {
        QFile::remove(temp);
        return fail(QStringLiteral("cannot move %1 into place").arg(temp));
    }
    return true;
}
