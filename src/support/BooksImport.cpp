#include "support/BooksImport.h"

#include "db/Schema.h"
#include "support/BooksCheck.h"
#include "support/PrivateConnection.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QUrl>

#include <cmath>
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

QString Quoted(const QString &name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'); }

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

bool IsWhole(const QVariant &value, const QString &type)
{
    if (type != QLatin1String("integer"))
        return false;
    const qlonglong v = value.toLongLong();
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
}

// Whether a value fits its column; the books hold 15 significant digits of an amount.
bool Fits(const Schema::Column &column, const QVariant &value, const QString &type)
{
    if (type == QLatin1String("null"))
        return column.nullable;
    switch (column.kind) {
    case Schema::Kind::Key:
    case Schema::Kind::Integer:
        return IsWhole(value, type);
    case Schema::Kind::Amount: {
        if (type != QLatin1String("integer") && type != QLatin1String("real"))
            return false;
        const double v = value.toDouble();
        return std::isfinite(v) && std::fabs(v) < 1e15;
    }
    case Schema::Kind::Date: {
        static const QRegularExpression iso(QStringLiteral("^\\d{4}-\\d{2}-\\d{2}$"));
        const QString text = value.toString();
        return type == QLatin1String("text") && iso.match(text).hasMatch()
               && QDate::fromString(text, Qt::ISODate).isValid();
    }
    case Schema::Kind::Text:
        return type == QLatin1String("text");
    }
    return false;
}

QString RowName(const Schema::Table &table, int row, const QString &keyText)
{
    QString name = QStringLiteral("表 %1 的第 %2 行").arg(table.name).arg(row);
    if (!keyText.isEmpty())
        name += QStringLiteral("（%1 = %2）").arg(table.key, keyText);
    return name;
}

// Copies the rows of one table; an empty text when all went in.
QString CopyTable(QSqlDatabase &from, QSqlDatabase &to, const Schema::Table &table, bool *readFailed)
{
    QStringList selected, names, marks;
    for (const Schema::Column &column : table.columns) {
        selected << Quoted(column.name) << QStringLiteral("typeof(%1)").arg(Quoted(column.name));
        names << Quoted(column.name);
        marks << QStringLiteral("?");
    }
    QSqlQuery out(to);
    if (!out.exec(QStringLiteral("DELETE FROM %1").arg(Quoted(table.name)))
        || !out.exec(QStringLiteral("DELETE FROM sqlite_sequence WHERE name = '%1'").arg(table.name))
        || !out.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(Quoted(table.name), names.join(QLatin1Char(',')), marks.join(QLatin1Char(','))))) {
        *readFailed = true;
        return out.lastError().text();
    }
    QSqlQuery in(from);
    in.setForwardOnly(true);
    if (!in.exec(QStringLiteral("SELECT %1 FROM %2").arg(selected.join(QLatin1Char(',')), Quoted(table.name)))) {
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
    while (in.next()) {
        ++row;
        const QString keyText = keyColumn < 0 ? QString()
                                : in.value(2 * keyColumn + 1).toString() == QLatin1String("null")
                                    ? QStringLiteral("空")
                                    : in.value(2 * keyColumn).toString().left(20);
        for (int i = 0; i < table.columns.size(); ++i) {
            const QVariant value = in.value(2 * i);
            const QString type = in.value(2 * i + 1).toString();
            const Schema::Column &column = table.columns[i];
            if (!Fits(column, value, type))
                return QStringLiteral("%1的 %2 应为%3，实为%4")
                    .arg(RowName(table, row, keyText), column.name, KindText(column.kind), ValueText(value, type));
            out.bindValue(i, value);
        }
        if (!out.exec())
            return QStringLiteral("%1与其他行重复").arg(RowName(table, row, keyText));
    }
    if (in.lastError().isValid()) {
        *readFailed = true;
        return in.lastError().text();
    }
    return QString();
}

// Keys once given stay given: the file's sequence carries on where it was.
bool CopySequences(QSqlDatabase &from, QSqlDatabase &to)
{
    QHash<QString, qlonglong> given;
    QSqlQuery in(from);
    if (in.exec(QStringLiteral("SELECT name, seq, typeof(seq) FROM sqlite_sequence")))
        while (in.next())
            if (IsWhole(in.value(1), in.value(2).toString()))
                given.insert(in.value(0).toString().toLower(), in.value(1).toLongLong());
    QSqlQuery out(to);
    for (const Schema::Table &table : Schema::Tables()) {
        if (!table.autoKey || table.scratch || !given.contains(table.name.toLower()))
            continue;
        const qlonglong seq = given.value(table.name.toLower());
        out.prepare(QStringLiteral("UPDATE sqlite_sequence SET seq = ? WHERE name = ? AND seq < ?"));
        out.addBindValue(seq);
        out.addBindValue(table.name);
        out.addBindValue(seq);
        if (!out.exec())
            return false;
        out.prepare(QStringLiteral("INSERT INTO sqlite_sequence (name, seq) SELECT ?, ? "
                                   "WHERE NOT EXISTS (SELECT 1 FROM sqlite_sequence WHERE name = ?)"));
        out.addBindValue(table.name);
        out.addBindValue(seq);
        out.addBindValue(table.name);
        if (!out.exec())
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

TBooksImport::Outcome TBooksImport::Import(const QString &source, const QString &target)
{
    // Read-only, but not immutable: a file in WAL mode keeps committed rows beside it.
    TPrivateConnection from(QUrl::fromLocalFile(source).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"),
                    QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    if (!from.IsOpen())
        return Outcome(Damaged, from.Db().lastError().text());
    if (!Harden(from.Db()))
        return Outcome(Failed, QStringLiteral("the file cannot be opened safely"));
    QString reason;
    switch (TBooksCheck::CheckOpen(from.Db(), &reason)) {
    case TBooksCheck::Good:
        break;
    case TBooksCheck::NotOurs:
        return Outcome(NotOurs, reason);
    case TBooksCheck::Damaged:
        return Outcome(Damaged, reason);
    }
    // Books a later version wrote may hold what this one cannot keep right.
    const int version = Schema::VersionOf(from.Db());
    if (version > Schema::Version)
        return Outcome(Refused, QStringLiteral("所选数据库由较新版本的程序建立（版本 %1，本程序为版本 %2），请先升级本程序再恢复")
                                    .arg(version)
                                    .arg(Schema::Version));
    // Only tables count: a view or a virtual table of a known name is not our books.
    {
        QSqlQuery kinds(from.Db());
        for (const Schema::Table &table : Schema::Tables()) {
            if (table.derived)
                continue;
            kinds.prepare(QStringLiteral("SELECT count(*) FROM sqlite_master WHERE type = 'table' AND name = ? COLLATE NOCASE "
                                         "AND sql NOT LIKE 'CREATE VIRTUAL%'"));
            kinds.addBindValue(table.name);
            if (!kinds.exec() || !kinds.next() || kinds.value(0).toInt() != 1)
                return Outcome(NotOurs, QStringLiteral("%1 is not a plain table").arg(table.name));
        }
    }

    TPrivateConnection to(target, QString());
    if (!to.IsOpen())
        return Outcome(Failed, to.Db().lastError().text());
    {
        // A file of our own that is thrown away on any failure: no journal needed while it is filled.
        QSqlQuery q(to.Db());
        q.exec(QStringLiteral("PRAGMA journal_mode = OFF"));
        q.exec(QStringLiteral("PRAGMA synchronous = OFF"));
    }
    if (!Schema::Create(to.Db(), &reason))
        return Outcome(Failed, reason);
    QSqlQuery q(to.Db());
    if (!q.exec(QStringLiteral("BEGIN")))
        return Outcome(Failed, q.lastError().text());
    for (const Schema::Table &table : Schema::Tables()) {
        // The print tables are overwritten before each print: the delivered rows serve.
        // Kept totals are added up by the triggers as the rows arrive.
        if (table.scratch || table.derived)
            continue;
        bool readFailed = false;
        const QString problem = CopyTable(from.Db(), to.Db(), table, &readFailed);
        if (!problem.isEmpty())
            return Outcome(readFailed ? Damaged : Refused, readFailed ? problem : QStringLiteral("所选数据库中") + problem);
    }
    if (!CopySequences(from.Db(), to.Db()))
        return Outcome(Failed, QStringLiteral("the key sequences cannot be written"));
    const QString missing = MissingRow(to.Db());
    if (!missing.isEmpty())
        return Outcome(Refused, QStringLiteral("所选数据库缺少必需的记录：") + missing);
    if (!q.exec(QStringLiteral("COMMIT")) || !q.exec(QStringLiteral("PRAGMA journal_mode = DELETE")))
        return Outcome(Failed, q.lastError().text());
    q.finish();
    return Outcome(Done, QString());
}
