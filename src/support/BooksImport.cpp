#include "support/BooksImport.h"

#include "db/Journal.h"

#include "db/KeptTotals.h"
#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "support/BooksCheck.h"
#include "support/PrivateConnection.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cmath>
#include <memory>
#include <limits>
#include <sqlite3.h>

namespace {
// Whatever the file's schema declares runs nowhere: no triggers, no views, no
// functions from its schema, no writes to the file.
bool Harden(QSqlDatabase &db)
{
    const QVariant handle = db.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return false;
    sqlite3 *connection = *static_cast<sqlite3 *const *>(handle.constData());
    if (!connection)
        return false;
    int ignored = 0;
    bool ok = sqlite3_db_config(connection, SQLITE_DBCONFIG_DEFENSIVE, 1, &ignored) == SQLITE_OK
              && sqlite3_db_config(connection, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, &ignored) == SQLITE_OK
              && sqlite3_db_config(connection, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, &ignored) == SQLITE_OK
              && sqlite3_db_config(connection, SQLITE_DBCONFIG_ENABLE_VIEW, 0, &ignored) == SQLITE_OK;
    QSqlQuery q(db);
    ok = ok && q.exec(QStringLiteral("PRAGMA query_only = ON")) && q.exec(QStringLiteral("PRAGMA cell_size_check = ON"));
    return ok;
}


QString KindText(Schema::Kind kind)
{
    switch (kind) {
    case Schema::Kind::Key: return QStringLiteral("整数编号");
    case Schema::Kind::Integer: return QStringLiteral("整数");
    case Schema::Kind::Amount: return QStringLiteral("金额");
    case Schema::Kind::Date: return QStringLiteral("日期（如 2024-03-15）");
    case Schema::Kind::Text: return QStringLiteral("文字");
    }
    return QString();
}

QString ValueText(const QVariant &value, const QString &type)
{
    if (type == QLatin1String("null"))
        return QStringLiteral("空值");
    if (type == QLatin1String("blob"))
        return QStringLiteral("二进制数据");
    QString text = value.toString();
    if (text.size() > 20)
        text = text.left(20) + QStringLiteral("…");
    return QStringLiteral("“%1”").arg(text);
}

enum class Fit { Fits, Misfits, TooLarge };

// Whether a value fits its column; the books hold 15 significant digits of an amount.
Fit FitOf(const Schema::Column &column, const QVariant &value, const QString &type)
{
    auto fits = [](bool yes) { return yes ? Fit::Fits : Fit::Misfits; };
    if (type == QLatin1String("null"))
        return fits(column.nullable);
    switch (column.kind) {
    case Schema::Kind::Key:
    case Schema::Kind::Integer: {
        if (type != QLatin1String("integer"))
            return Fit::Misfits;
        const qlonglong v = value.toLongLong();
        return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max() ? Fit::Fits : Fit::TooLarge;
    }
    case Schema::Kind::Amount: {
        if (type != QLatin1String("integer") && type != QLatin1String("real"))
            return Fit::Misfits;
        const double v = value.toDouble();
        if (!std::isfinite(v))
            return Fit::Misfits;
        return std::fabs(v) < 1e15 ? Fit::Fits : Fit::TooLarge;
    }
    case Schema::Kind::Date: {
        static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        const QString text = value.toString();
        return fits(type == QLatin1String("text") && iso.match(text).hasMatch() && QDate::fromString(text, Qt::ISODate).isValid());
    }
    case Schema::Kind::Text:
        return fits(type == QLatin1String("text"));
    }
    return Fit::Misfits;
}

QString RowName(const Schema::Table &table, int row, const QString &keyText)
{
    QString name = QStringLiteral("表 %1 的第 %2 行").arg(table.name).arg(row);
    if (!keyText.isEmpty())
        name += QStringLiteral("（%1 = %2）").arg(table.key, keyText);
    return name;
}

// What SQLite's typeof() says of a value read from another engine, whose columns are typed.
QString TypeOf(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("null");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return QStringLiteral("integer");
    case QMetaType::Double:
    case QMetaType::Float:
        return QStringLiteral("real");
    case QMetaType::QByteArray:
        return QStringLiteral("blob");
    default:
        return QStringLiteral("text");
    }
}

// Rows go in many to a statement: a server answers each statement over the wire.
constexpr int RowsAStatement = 100;

// Copies the rows of one table into its emptied twin; an empty text when all went in.
QString CopyTable(QSqlDatabase &from, QSqlDatabase &to, const Schema::Table &whole, bool *readFailed)
{
    const TSqlEngine &source = TSqlEngine::Of(from), &target = TSqlEngine::Of(to);
    // A column the file's table lacks (books of an earlier version lack those
    // added since) takes its default: it is never selected, where SQLite would
    // read a quoted name it cannot find as a text of that name.
    Schema::Table table = whole;
    QStringList present;
    QString presentKey;
    if (!source.Columns(from, table.name, &present, &presentKey)) {
        *readFailed = true;
        return QStringLiteral("the columns of %1 cannot be read").arg(table.name);
    }
    for (const Schema::Column &column : whole.columns)
        if (!present.contains(column.name, Qt::CaseInsensitive)) {
            if (!column.defaulted)
                return QStringLiteral("表 %1 缺少 %2 列").arg(table.name, column.name);
            table.columns.removeIf([&](const Schema::Column &c) { return c.name == column.name; });
        }
    const bool journal = table.name == QLatin1String("Journal");
    const bool typed = !source.IsServer();
    QStringList selected, names, marks;
    for (const Schema::Column &column : table.columns) {
        selected << source.Identifier(column.name);
        if (typed)
            selected << QStringLiteral("typeof(%1)").arg(source.Identifier(column.name));
        names << target.Identifier(column.name);
        marks << QStringLiteral("?");
    }
    const int width = typed ? 2 : 1;
    QSqlQuery out(to);
    if (!out.exec(QStringLiteral("DELETE FROM %1").arg(target.Identifier(table.name)))) {
        *readFailed = true;
        return out.lastError().text();
    }
    for (const QString &statement : target.ForgetKeys(table.name))
        if (!out.exec(statement)) {
            *readFailed = true;
            return out.lastError().text();
        }
    const QString insert = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(target.Identifier(table.name), names.join(QLatin1Char(',')));
    const QString oneRow = QLatin1Char('(') + marks.join(QLatin1Char(',')) + QLatin1Char(')');
    QVariantList pending;
    int pendingRows = 0, firstPending = 0;
    auto flush = [&]() {
        if (pendingRows == 0)
            return true;
        QStringList rows;
        for (int r = 0; r < pendingRows; ++r)
            rows << oneRow;
        out.prepare(insert + rows.join(QLatin1Char(',')));
        for (int i = 0; i < pending.size(); ++i)
            out.bindValue(i, pending[i]);
        const bool ok = out.exec();
        pending.clear();
        pendingRows = 0;
        return ok;
    };
    QSqlQuery in(from);
    in.setForwardOnly(true);
    if (!in.exec(QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QLatin1Char(',')), source.Identifier(table.name)))) {
        *readFailed = true;
        return in.lastError().text();
    }
    const int keyColumn = [&] {
        for (int i = 0; i < table.columns.size(); ++i)
            if (table.columns[i].name == table.key)
                return i;
        return -1;
    }();
    int row = 0;
    QSet<QString> keys;
    while (in.next()) {
        ++row;
        auto typeAt = [&](int i) { return typed ? in.value(width * i + 1).toString() : TypeOf(in.value(width * i)); };
        const QString keyText = keyColumn < 0 ? QString()
                                : typeAt(keyColumn) == QLatin1String("null") ? QStringLiteral("空")
                                                                             : in.value(width * keyColumn).toString().left(20);
        QHash<QString, QString> texts;
        for (int i = 0; i < table.columns.size(); ++i) {
            const QVariant value = in.value(width * i);
            const QString type = typeAt(i);
            const Schema::Column &column = table.columns[i];
            switch (FitOf(column, value, type)) {
            case Fit::Fits:
                break;
            case Fit::Misfits:
                return QStringLiteral("%1的 %2 应为%3，实为%4")
                    .arg(RowName(table, row, keyText), column.name, KindText(column.kind), ValueText(value, type));
            case Fit::TooLarge:
                return QStringLiteral("%1的 %2 为%3，数字%4，超出了该列能存放的范围")
                    .arg(RowName(table, row, keyText), column.name, ValueText(value, type),
                         value.toDouble() < 0 ? QStringLiteral("的绝对值太大") : QStringLiteral("太大"));
            }
            if (journal)
                texts.insert(column.name, value.toString());
            pending << value;
        }
        // A record the program never wrote would pass for one of its own.
        if (journal) {
            const QString misfit = Journal::Misfit(texts.value(QStringLiteral("JournalMoment")), texts.value(QStringLiteral("JournalAction")),
                                                   texts.value(QStringLiteral("JournalKind")), texts.value(QStringLiteral("JournalData")));
            if (!misfit.isEmpty())
                return QStringLiteral("%1不是本程序记下的修改记录：%2").arg(RowName(table, row, keyText), misfit);
        }
        // A key twice is told by its row; the other unique values by the rows of their statement.
        if (keyColumn >= 0 && typeAt(keyColumn) != QLatin1String("null")) {
            const QString key = in.value(width * keyColumn).toString();
            if (keys.contains(key))
                return QStringLiteral("%1与其他行重复").arg(RowName(table, row, keyText));
            keys.insert(key);
        }
        if (pendingRows++ == 0)
            firstPending = row;
        if (pendingRows == RowsAStatement && !flush())
            return QStringLiteral("表 %1 的第 %2 至 %3 行中有与其他行重复的行").arg(table.name).arg(firstPending).arg(row);
    }
    if (in.lastError().isValid()) {
        *readFailed = true;
        return in.lastError().text();
    }
    if (!flush())
        return QStringLiteral("表 %1 的第 %2 至 %3 行中有与其他行重复的行").arg(table.name).arg(firstPending).arg(row);
    return QString();
}

// Keys once given stay given: the source's sequences carry on where they were.
bool CopySequences(QSqlDatabase &from, QSqlDatabase &to)
{
    const QHash<QString, qlonglong> given = TSqlEngine::Of(from).GivenKeys(from);
    const TSqlEngine &target = TSqlEngine::Of(to);
    QSqlQuery out(to);
    for (const Schema::Table &table : Schema::Tables()) {
        if (!table.autoKey || table.scratch)
            continue;
        for (const QString &statement : target.KeysAfter(table.name, table.key, given.value(table.name.toLower())))
            if (!out.exec(statement))
                return false;
    }
    return true;
}

// The rows the program cannot work without; the first one missing, or the empty text.
QString MissingRow(QSqlDatabase &db)
{
    const struct {
        const char *table, *column;
        QVariant value;
    } required[] = {
        {"Account", "AccountIndex", 1}, {"Customer", "CustomerIndex", 1}, {"Product", "ProductIndex", 1},
        {"Bill", "BillIndex", 1},       {"Power", "PowerName", QStringLiteral("财务主管")},
        {"Power", "PowerName", QStringLiteral("管理员")}, {"Power", "PowerName", QStringLiteral("修改")},
    };
    QSqlQuery q(db);
    for (const auto &row : required) {
        q.prepare(QStringLiteral("SELECT count(*) FROM %1 WHERE %2 = ?").arg(QLatin1String(row.table), QLatin1String(row.column)));
        q.addBindValue(row.value);
        if (!q.exec() || !q.next() || q.value(0).toInt() < 1)
            return QStringLiteral("表 %1 中 %2 = %3 的行").arg(QLatin1String(row.table), QLatin1String(row.column), row.value.toString());
    }
    return QString();
}
} // namespace

namespace {
// The source file opened read-only and hardened, then checked to be our books of no later version.
TBooksImport::Outcome OpenSource(TPrivateConnection &from)
{
    using O = TBooksImport::Outcome;
    if (!from.IsOpen())
        return O{TBooksImport::Damaged, from.Db().lastError().text()};
    if (!Harden(from.Db()))
        return O{TBooksImport::Failed, QStringLiteral("the file cannot be opened safely")};
    QString reason;
    switch (TBooksCheck::CheckOpen(from.Db(), &reason)) {
    case TBooksCheck::Good:
        break;
    case TBooksCheck::NotOurs:
        return O{TBooksImport::NotOurs, reason};
    case TBooksCheck::Damaged:
        return O{TBooksImport::Damaged, reason};
    }
    // Books a later version wrote may hold what this one cannot keep right.
    const int version = Schema::VersionOf(from.Db());
    if (version == 0)
        return O{TBooksImport::Damaged, QStringLiteral("the version of the books cannot be read")};
    if (version > Schema::Version)
        return O{TBooksImport::Refused, QStringLiteral("所选数据库由较新版本的程序建立（版本 %1，本程序为版本 %2），请先升级本程序再恢复")
                                            .arg(version)
                                            .arg(Schema::Version)};
    // Only tables count: a view or a virtual table of a known name is not our books.
    QSqlQuery kinds(from.Db());
    for (const Schema::Table &table : Schema::Tables()) {
        if (table.derived)
            continue;
        kinds.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                     "AND sql NOT LIKE 'CREATE VIRTUAL%'"));
        kinds.addBindValue(table.name);
        if (!kinds.exec() || !kinds.next())
            return O{TBooksImport::NotOurs, QStringLiteral("%1 cannot be looked up").arg(table.name)};
        if (kinds.value(0).toInt() == 1)
            continue;
        // Books of an earlier version go without the tables added since, but nothing else may take the name.
        kinds.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE name = ? COLLATE NOCASE"));
        kinds.addBindValue(table.name);
        if (!table.added || !kinds.exec() || !kinds.next() || kinds.value(0).toInt() != 0)
            return O{TBooksImport::NotOurs, QStringLiteral("%1 is not a plain table").arg(table.name)};
    }
    return O{TBooksImport::Done, QString()};
}

// Books from the schema on `to`, filled with the rows of `from`, inside the caller's transaction.
TBooksImport::Outcome Fill(QSqlDatabase &from, QSqlDatabase &to, const Journal::Record *record)
{
    using O = TBooksImport::Outcome;
    const TSqlEngine &target = TSqlEngine::Of(to);
    QString reason;
    if (!Schema::CreateWithin(to, &reason))
        return O{TBooksImport::Failed, reason};
    QSqlQuery q(to);
    auto run = [&q](const QStringList &statements) {
        for (const QString &statement : statements)
            if (!q.exec(statement))
                return false;
        return true;
    };
    const QStringList counted = {QStringLiteral("Bill"), QStringLiteral("Store"), QStringLiteral("SG"), QStringLiteral("Account")};
    for (const QString &table : counted)
        if (!run(target.TriggersOff(table)))
            return O{TBooksImport::Failed, q.lastError().text()};
    // Books from before the journal have none of the program's: a table of its name there is not one.
    const int version = Schema::VersionOf(from);
    Journal::Record written = record ? *record : Journal::Record();
    for (const Schema::Table &table : Schema::Tables()) {
        // The print tables are overwritten before each print: the delivered rows serve.
        if (table.scratch || table.derived)
            continue;
        if (table.added) {
            const bool there = TSqlEngine::Of(from).Tables(from).contains(table.name, Qt::CaseInsensitive);
            if (there && version < Schema::JournalVersion)
                written.changes << QStringLiteral("所选数据库为版本 %1，还没有修改记录，其中名为 %2 的表不是本程序的，未恢复").arg(version).arg(table.name);
            if (!there || version < Schema::JournalVersion)
                continue;
        }
        bool readFailed = false;
        const QString problem = CopyTable(from, to, table, &readFailed);
        if (!problem.isEmpty())
            return O{readFailed ? TBooksImport::Damaged : TBooksImport::Refused,
                     readFailed ? problem : QStringLiteral("所选数据库中") + problem};
    }
    for (const QString &table : counted)
        if (!run(target.TriggersOn(table)))
            return O{TBooksImport::Failed, q.lastError().text()};
    if (!Schema::MakeUnique(to))
        return O{TBooksImport::Failed, QStringLiteral("the unique indexes cannot be made")};
    // Kept totals the triggers did not add up as the rows arrived are added up once.
    if (!target.TriggersOff(counted.first()).isEmpty() && !KeptTotals::Rebuild(to, &reason))
        return O{TBooksImport::Failed, reason};
    if (!CopySequences(from, to))
        return O{TBooksImport::Failed, QStringLiteral("the key sequences cannot be written")};
    if (record && !Journal::WriteTo(to, written))
        return O{TBooksImport::Failed, QStringLiteral("the journal record cannot be written")};
    const QString missing = MissingRow(to);
    if (!missing.isEmpty())
        return O{TBooksImport::Refused, QStringLiteral("所选数据库缺少必需的记录：") + missing};
    QStringList ours;
    for (const Schema::Table &table : Schema::Tables())
        ours << table.name;
    if (!run(target.Analyzed(ours)))
        return O{TBooksImport::Failed, q.lastError().text()};
    return O{TBooksImport::Done, QString()};
}

TPrivateConnection *ReadOnlySource(const QString &source)
{
    // Read-only, but not immutable: a file in WAL mode keeps committed rows beside it.
    return new TPrivateConnection(QUrl::fromLocalFile(source).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"),
                                  QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
}
} // namespace

namespace {
// A new file of ours, made from the schema and filled with the rows of `from`.
TBooksImport::Outcome FillFile(QSqlDatabase &from, const QString &target, const Journal::Record *record = nullptr)
{
    using O = TBooksImport::Outcome;
    TPrivateConnection to(target, QString());
    if (!to.IsOpen())
        return O{TBooksImport::Failed, to.Db().lastError().text()};
    QSqlQuery q(to.Db());
    // A file of our own that is thrown away on any failure: no journal needed while it is filled.
    q.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
    q.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    if (!q.exec(QStringLiteral("BEGIN")))
        return O{TBooksImport::Failed, q.lastError().text()};
    const O filled = Fill(from, to.Db(), record);
    if (filled.verdict != TBooksImport::Done)
        return filled;
    if (!q.exec(QStringLiteral("COMMIT")) || !q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")))
        return O{TBooksImport::Failed, q.lastError().text()};
    return O{TBooksImport::Done, QString()};
}
} // namespace

TBooksImport::Outcome TBooksImport::Import(const QString &source, const QString &target, const Journal::Record *record)
{
    std::unique_ptr<TPrivateConnection> from(ReadOnlySource(source));
    const Outcome opened = OpenSource(*from);
    return opened.verdict != Done ? opened : FillFile(from->Db(), target, record);
}

TBooksImport::Outcome TBooksImport::ImportInto(const QString &source, QSqlDatabase &to, const Journal::Record *record)
{
    std::unique_ptr<TPrivateConnection> from(ReadOnlySource(source));
    Outcome opened = OpenSource(*from);
    if (opened.verdict != Done)
        return opened;
    QSqlQuery q(to);
    if (!q.exec(TSqlEngine::Of(to).BeginWrite()))
        return Outcome{Failed, q.lastError().text()};
    Outcome filled{Failed, QString()};
    bool dropped = true;
    for (const QString &statement : TSqlEngine::Of(to).DropAll(to))
        if (!q.exec(statement)) {
            dropped = false;
            filled.reason = q.lastError().text();
            break;
        }
    if (dropped)
        filled = Fill(from->Db(), to, record);
    if (filled.verdict == Done && !q.exec(QStringLiteral("COMMIT")))
        filled = Outcome{Failed, q.lastError().text()};
    if (filled.verdict != Done)
        q.exec(QStringLiteral("ROLLBACK"));
    return filled;
}

TBooksImport::Outcome TBooksImport::Export(QSqlDatabase &from, const QString &target)
{
    // One snapshot of the books: what other counters commit meanwhile is not half in it.
    QSqlQuery snapshot(from);
    if (!snapshot.exec(QStringLiteral("BEGIN")) || !snapshot.exec(TSqlEngine::Of(from).ReadSnapshot()))
        return Outcome{Failed, snapshot.lastError().text()};
    const Outcome filled = FillFile(from, target);
    snapshot.exec(QStringLiteral("COMMIT"));
    return filled;
}
