#include "support/ServerMove.h"

#include "db/Journal.h"
#include "db/KeptTotals.h"
#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "support/BooksImport.h"
#include "support/PrivateConnection.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QUrl>

namespace {
// A value as both engines give it back: whole numbers and amounts as numbers, the rest as text.
QString Comparable(const QVariant &value)
{
    if (value.isNull())
        return QStringLiteral("\x01null");
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
        return QString::number(value.toDouble(), 'g', 17);
    default:
        return value.toString();
    }
}

// Whether one table holds the same rows on both sides, read in key order.
bool SameRows(QSqlDatabase &a, QSqlDatabase &b, const Schema::Table &table)
{
    QSqlQuery qa(a), qb(b);
    qa.setForwardOnly(true);
    qb.setForwardOnly(true);
    // Only the columns both sides have: SQLite reads a quoted name it cannot find as a text of
    // that name, and a column the file lacks took its default on the way over.
    QStringList inA, inB, both;
    QString key;
    if (!TSqlEngine::Of(a).Columns(a, table.name, &inA, &key) || !TSqlEngine::Of(b).Columns(b, table.name, &inB, &key))
        return false;
    for (const Schema::Column &column : table.columns)
        if (inA.contains(column.name, Qt::CaseInsensitive) && inB.contains(column.name, Qt::CaseInsensitive))
            both << column.name;
    auto select = [&table, &both](const TSqlEngine &engine) {
        QStringList columns;
        for (const QString &column : both)
            columns << engine.Identifier(column);
        return QStringLiteral("Select %1 From %2 Order By %3")
            .arg(columns.join(QStringLiteral(", ")), engine.Identifier(table.name), engine.Identifier(table.key));
    };
    if (!qa.exec(select(TSqlEngine::Of(a))) || !qb.exec(select(TSqlEngine::Of(b))))
        return false;
    const int n = int(both.size());
    for (;;) {
        const bool moreA = qa.next(), moreB = qb.next();
        if (moreA != moreB)
            return false;
        if (!moreA)
            break;
        for (int i = 0; i < n; ++i)
            if (Comparable(qa.value(i)) != Comparable(qb.value(i)))
                return false;
    }
    return !qa.lastError().isValid() && !qb.lastError().isValid();
}
} // namespace

QStringList TServerMove::Differences(QSqlDatabase &a, QSqlDatabase &b)
{
    QStringList differ;
    for (const Schema::Table &table : Schema::Tables())
        if (!table.scratch && !table.derived && !table.key.isEmpty() && !SameRows(a, b, table))
            differ << table.name;
    return differ;
}

TServerMove::Result TServerMove::ToServer(const QString &file, const TDataSource &server)
{
    Result result;
    const TDataSource::Trial trial = server.Try();
    switch (trial) {
    case TDataSource::Trial::Empty:
        break;
    case TDataSource::Trial::Books:
    case TDataSource::Trial::Foreign:
        result.status = NotEmpty;
        result.reason = QStringLiteral("服务器上的数据库不是空的，未作任何修改。请为帐套新建一个空的数据库");
        return result;
    case TDataSource::Trial::Unreachable:
    case TDataSource::Trial::NotPostgres:
    case TDataSource::Trial::Refused:
    case TDataSource::Trial::NoDatabase:
        result.status = Unreachable;
        result.reason = TDataSource::TrialText(trial);
        return result;
    }
    TPrivateConnection to(server);
    if (!to.IsOpen()) {
        result.reason = to.Db().lastError().text();
        return result;
    }
    const TBooksImport::Outcome copied = TBooksImport::ImportInto(file, to.Db());
    if (copied.verdict != TBooksImport::Done) {
        result.reason = QStringLiteral("迁移失败，服务器上的数据库未作任何修改：") + copied.reason;
        return result;
    }
    TPrivateConnection from(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=ro"),
                            QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_OPEN_READONLY"));
    QStringList differ = from.IsOpen() ? Differences(from.Db(), to.Db()) : QStringList{QStringLiteral("?")};
    // The same rows give the same figures; the server's kept totals must be those figures.
    bool read = true;
    differ += KeptTotals::Differences(to.Db(), &read);
    if (!read)
        differ << QStringLiteral("预存合计");
    // What went over is not these books: the server's database is left empty again.
    auto leaveEmpty = [&to] {
        QSqlQuery q(to.Db());
        q.exec(QStringLiteral("BEGIN"));
        for (const QString &statement : TSqlEngine::Of(to.Db()).DropAll(to.Db()))
            q.exec(statement);
        q.exec(QStringLiteral("COMMIT"));
    };
    if (!differ.isEmpty()) {
        leaveEmpty();
        result.status = Differs;
        result.reason = QStringLiteral("迁移后核对不符（%1），服务器上的数据库已清空，仍使用本机帐套").arg(differ.join(QStringLiteral("、")));
        return result;
    }
    // The server's books go on from the file's journal, saying where they came from.
    const Journal::Record record{QStringLiteral("迁移"), QStringLiteral("账套"), QFileInfo(file).fileName(), QString(),
                                 {QStringLiteral("从“%1”迁移到%2").arg(QDir::toNativeSeparators(file), server.Describe())}, {}, {}};
    QString why;
    if (!Journal::WriteTo(to.Db(), record, &why)) {
        result.reason = QStringLiteral("迁移失败，服务器上的数据库已清空，仍使用本机帐套：") + why;
        leaveEmpty();
        return result;
    }
    if (!TDataSource::RegisterServer(server, &result.reason))
        return result;
    result.status = Moved;
    return result;
}
