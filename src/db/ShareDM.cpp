#include "db/ShareDM.h"

#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "db/DataSource.h"
#include "core/Notice.h"
#include "core/NumberTexts.h"
#include "db/SqlDialect.h"

#include <QDate>
#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QRandomGenerator>
#include <atomic>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>
#include <QThread>
#include <QSqlRecord>
#include <QUrl>

TShareDataModule *ShareDataModule = nullptr;

// ---------------------------------------------------------------- TField

TField::TField(QVariant *value, bool *changed, QString name)
    : value_(value), changed_(changed), name_(std::move(name)) {}

QString TField::AsString() const
{
    if (!value_ || value_->isNull())
        return QString();
    if (value_->typeId() == QMetaType::Double)
        return NumberText(value_->toDouble());
    return value_->toString();
}

double TField::AsFloat() const
{
    if (!value_ || value_->isNull())
        return 0;
    return value_->toDouble();
}

int TField::AsInteger() const
{
    if (!value_ || value_->isNull())
        return 0;
    if (value_->typeId() == QMetaType::Double)
        return int(qRound64(value_->toDouble()));
    return value_->toInt();
}

qint64 TField::AsLargeInt() const
{
    if (!value_ || value_->isNull())
        return 0;
    if (value_->typeId() == QMetaType::Double)
        return qRound64(value_->toDouble());
    return value_->toLongLong();
}

bool TField::AsBoolean() const { return AsInteger() != 0; }

QDate TField::AsDate() const
{
    if (!value_ || value_->isNull())
        return QDate();
    return QDate::fromString(value_->toString().left(10), Qt::ISODate);
}

bool TField::IsNull() const { return !value_ || value_->isNull(); }

void TField::Set(const QVariant &value)
{
    if (!changed_ || !value_)
        throw EDatabaseError(QStringLiteral("字段 %1 不在编辑状态").arg(name_));
    *value_ = value;
    *changed_ = true;
}

void TField::SetAsString(const QString &value) { Set(QVariant(value.isNull() ? QString(QLatin1String("")) : value)); }
void TField::SetAsFloat(double value) { Set(QVariant(value)); }
void TField::SetAsInteger(qint64 value) { Set(QVariant(value)); }
void TField::SetAsBoolean(bool value) { Set(QVariant(qint64(value ? 1 : 0))); }
void TField::SetAsDate(const QDate &value) { Set(value.isValid() ? QVariant(value.toString(Qt::ISODate)) : QVariant()); }
void TField::Clear() { Set(QVariant()); }

// ---------------------------------------------------------------- TQuery

namespace {

QSqlDatabase &Db()
{
    TShareDataModule::CheckFailNext();
    return ShareDataModule->Connection();
}

QString ErrorText(const QSqlQuery &q) { return q.lastError().text(); }

// The failure of a statement, with its kind.
EDatabaseError Failure(const QSqlQuery &q)
{
    const bool server = q.driver() && q.driver()->dbmsType() == QSqlDriver::PostgreSQL;
    const TSqlEngine &engine = server ? TSqlEngine::Postgres() : TSqlEngine::Sqlite();
    return EDatabaseError(ErrorText(q), engine.Classify(q.lastError()));
}

enum class Nul { Refused, Kept };

// Binds the values to the "?" marks in order; a refused value binds none, so
// a kept statement is never left half bound.
void Bind(QSqlQuery &q, const QVariantList &params, Nul nul = Nul::Refused)
{
    // A NUL cannot be stored by other servers: refuse it in what is written. A search
    // may carry one, so the rows older books hold with one are still found.
    for (const QVariant &v : params)
        if (nul == Nul::Refused && v.typeId() == QMetaType::QString && v.toString().contains(QChar(0)))
            throw EConvertError(QStringLiteral("“%1”中含有无法保存的控制字符，请删除后重新输入")
                                    .arg(v.toString().replace(QChar(0), QLatin1Char(' '))));
    // A text that was never set is an empty text, not NULL: text columns hold no NULLs.
    for (const QVariant &v : params) {
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            q.addBindValue(QString(QLatin1String("")));
        else
            q.addBindValue(v);
    }
}

// On a server, making a prepared statement and dropping it again are a round
// trip each: a connection keeps the statements with values it ran, by text.
// A file keeps its row writes too (each is finished at once, so none holds a
// lock): preparing one compiles the kept-total triggers of its table anew.
thread_local QHash<QString, QSqlQuery> keptStatements;

QSqlQuery *Kept(QSqlDatabase &db, const QString &text, bool onFileToo = false)
{
    if (!onFileToo && !TSqlEngine::Of(db).IsServer())
        return nullptr;
    const QString key = db.connectionName() + QChar(0x1f) + text;
    auto it = keptStatements.find(key);
    if (it == keptStatements.end()) {
        if (keptStatements.size() >= 512)
            keptStatements.clear();
        QSqlQuery q(db);
        q.setForwardOnly(true);
        if (!q.prepare(text))
            return nullptr;   // the caller's own query says why
        it = keptStatements.insert(key, q);
    }
    return &it.value();
}

void ForgetKept(const QString &connectionName)
{
    const QString prefix = connectionName + QChar(0x1f);
    keptStatements.removeIf([&](const auto &entry) { return entry.key().startsWith(prefix); });
}

// The statement a row write runs: a kept one, or the caller's own prepared.
// It is finished when the guard goes, whatever happened.
class TRowWrite {
public:
    TRowWrite(QSqlDatabase &db, const QString &text) : own_(db), q_(Kept(db, text, true))
    {
        if (!q_) {
            q_ = &own_;
            q_->prepare(text);
        }
    }
    ~TRowWrite() { q_->finish(); }
    TRowWrite(const TRowWrite &) = delete;
    TRowWrite &operator=(const TRowWrite &) = delete;
    QSqlQuery &operator*() const { return *q_; }

private:
    QSqlQuery own_;
    QSqlQuery *q_;
};

// Runs a read with its values bound: the query that ran, with the error on it
// when *ok is false. One without values runs as it is, as Exec does.
QSqlQuery &RunRead(QSqlDatabase &db, QSqlQuery &own, const QString &text, const QVariantList &params, bool *ok)
{
    if (params.isEmpty()) {
        *ok = own.exec(text);
        return own;
    }
    QSqlQuery *q = Kept(db, text);
    if (!q) {
        q = &own;
        if (!q->prepare(text)) {
            *ok = false;
            return own;
        }
    }
    Bind(*q, params, Nul::Kept);
    *ok = q->exec();
    return *q;
}
} // namespace

TQuery::TQuery(QString name) : name_(std::move(name)) {}

void TQuery::Close()
{
    rows_.clear();
    fields_.clear();
    pagedText_.clear();
    pagedParams_.clear();
    pageRead_.clear();
    pagesRead_ = 0;
    current_ = 0;
    state_ = Inactive;
}

void TQuery::Open(const QString &sql, const QVariantList &params)
{
    Close();
    sql_ = sql;
    const QString text = TranslateSql(sql);
    QSqlQuery own(Db());
    own.setForwardOnly(true);
    bool ok = false;
    QSqlQuery &q = RunRead(Db(), own, text, params, &ok);
    if (!ok)
        throw Failure(q);
    const QSqlRecord rec = q.record();
    const int n = rec.count();
    for (int i = 0; i < n; ++i)
        fields_ << rec.fieldName(i);
    while (q.next()) {
        QVector<QVariant> row(n);
        for (int i = 0; i < n; ++i)
            row[i] = q.value(i);
        rows_.append(std::move(row));
    }
    if (q.lastError().isValid())
        throw Failure(q);
    q.finish();
    current_ = 0;
    state_ = Browse;
}

void TQuery::OpenPaged(const QString &sql, const QVariantList &params)
{
    Close();
    sql_ = sql;
    const QString text = TranslateSql(sql);
    QSqlQuery own(Db());
    own.setForwardOnly(true);
    bool ok = false;
    QSqlQuery *counted = &RunRead(Db(), own, QStringLiteral("Select Count(*) From (") + text + QStringLiteral(") counted"), params, &ok);
    if (!ok || !counted->next())
        throw Failure(*counted);
    const qint64 count = counted->value(0).toLongLong();
    counted->finish();
    QSqlQuery &q = RunRead(Db(), own, text + QStringLiteral(" Limit %1").arg(PageRows), params, &ok);
    if (!ok)
        throw Failure(q);
    const QSqlRecord rec = q.record();
    for (int i = 0; i < rec.count(); ++i)
        fields_ << rec.fieldName(i);
    rows_.resize(int(count));
    int r = 0;
    for (; r < rows_.size() && q.next(); ++r) {
        QVector<QVariant> row(rec.count());
        for (int i = 0; i < rec.count(); ++i)
            row[i] = q.value(i);
        rows_[r] = std::move(row);
    }
    if (q.lastError().isValid())
        throw Failure(q);
    q.finish();
    pagedText_ = text;
    pagedParams_ = params;
    pageRead_ = QVector<bool>((rows_.size() + PageRows - 1) / PageRows, false);
    if (!pageRead_.isEmpty())
        pageRead_[0] = true;
    current_ = 0;
    state_ = Browse;
}

void TQuery::EnsureRow(int row) const
{
    if (pagedText_.isEmpty() || row < 0 || row >= rows_.size() || pageRead_[row / PageRows])
        return;
    if (++pagesRead_ > PagesBeforeWholeRead)
        ReadRows(0, -1);
    else
        ReadRows(row / PageRows * PageRows, PageRows);
}

void TQuery::ReadRows(int first, int count) const
{
    try {
        ReadRowsOrThrow(first, count);
    } catch (const EDatabaseError &e) {
        // What could not be read stays empty, and is not asked for again while painting.
        const int n = int(fields_.size());
        const int last = count < 0 ? int(rows_.size()) : qMin(int(rows_.size()), first + count);
        for (int k = first; k < last; ++k)
            if (rows_[k].isEmpty())
                rows_[k] = QVector<QVariant>(n);
        for (int p = first / PageRows; p * PageRows < last; ++p)
            pageRead_[p] = true;
        if (pageFailure_)
            pageFailure_(e);
    }
}

void TQuery::ReadRowsOrThrow(int first, int count) const
{
    QSqlQuery own(Db());
    own.setForwardOnly(true);
    const QString text = count < 0 ? pagedText_ : pagedText_ + QStringLiteral(" Limit %1 Offset %2").arg(count).arg(first);
    const int n = int(fields_.size());
    int r = first;
    bool ok = false;
    QSqlQuery &q = RunRead(Db(), own, text, pagedParams_, &ok);
    if (ok) {
        for (; r < rows_.size() && (count < 0 || r < first + count) && q.next(); ++r) {
            if (pageRead_[r / PageRows])
                continue;
            QVector<QVariant> row(n);
            for (int i = 0; i < n; ++i)
                row[i] = q.value(i);
            rows_[r] = std::move(row);
        }
    }
    if (q.lastError().isValid()) {
        const EDatabaseError failure = Failure(q);
        q.finish();
        throw failure;
    }
    q.finish();
    // Rows the books no longer have stay empty rather than being asked for again.
    const int last = count < 0 ? int(rows_.size()) : qMin(int(rows_.size()), first + count);
    for (int k = first; k < last; ++k) {
        if (rows_[k].isEmpty())
            rows_[k] = QVector<QVariant>(n);
    }
    for (int p = first / PageRows; p * PageRows < last; ++p)
        pageRead_[p] = true;
}

bool TQuery::Eof() const { return current_ >= rows_.size(); }
void TQuery::First() { current_ = 0; }
void TQuery::Next() { if (current_ < rows_.size()) ++current_; }
void TQuery::Prior() { if (current_ > 0) --current_; }
void TQuery::MoveTo(int row) { current_ = std::clamp(row, 0, int(rows_.size())); }
void TQuery::Last() { current_ = rows_.isEmpty() ? 0 : int(rows_.size()) - 1; }

QStringList TQuery::FieldNames() const { return fields_; }

int TQuery::Column(const QString &name) const
{
    for (int i = 0; i < fields_.size(); ++i)
        if (fields_[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

bool TQuery::HasField(const QString &name) const { return Column(name) >= 0; }

TField TQuery::FieldByName(const QString &name)
{
    const int col = Column(name);
    if (col < 0)
        throw EDatabaseError(QStringLiteral("%1: 找不到字段 %2").arg(name_, name));
    if (Eof())
        return TField(nullptr, nullptr, name);
    EnsureRow(current_);
    return TField(&rows_[current_][col], nullptr, name);
}

QVariant TQuery::Value(int row, const QString &name) const
{
    const int col = Column(name);
    if (col < 0 || row < 0 || row >= rows_.size())
        return QVariant();
    EnsureRow(row);
    return rows_[row][col];
}

QVariant TQuery::ValueAt(int row, int field) const
{
    const int col = field;
    if (field < 0 || field >= fields_.size() || row < 0 || row >= rows_.size())
        return QVariant();
    EnsureRow(row);
    return rows_[row][col];
}

// ---------------------------------------------------------------- TRecord

TRecord::TRecord(TQuery &row)
{
    for (const QString &name : row.FieldNames())
        columns_.push_back({name, row.Eof() ? QVariant() : row.Value(row.RecNo() - 1, name), false});
}

TField TRecord::FieldByName(const QString &name)
{
    auto it = std::find_if(columns_.begin(), columns_.end(),
                           [&name](const Column &c) { return c.name.compare(name, Qt::CaseInsensitive) == 0; });
    if (it == columns_.end()) {
        columns_.push_back({name, QVariant(), false});
        it = columns_.end() - 1;
    }
    return TField(&it->value, &it->set, name);
}

QStringList TRecord::SetColumns() const
{
    QStringList names;
    for (const Column &c : columns_)
        if (c.set)
            names << c.name;
    return names;
}

QVariantList TRecord::SetValues() const
{
    QVariantList values;
    for (const Column &c : columns_)
        if (c.set)
            values << c.value;
    return values;
}

// ---------------------------------------------------------------- TShareDataModule

TShareDataModule::TShareDataModule(QObject *parent)
    : QObject(parent), connectionName_(QStringLiteral("Kestrova-%1").arg(quintptr(this)))
{
    setObjectName(QStringLiteral("ShareDataModule"));
}

TShareDataModule::~TShareDataModule()
{
    Disconnect();
}

QString TShareDataModule::DatabaseFile() const { return TDataSource::Registered().file; }

bool TShareDataModule::Connected() const { return db_.isValid() && db_.isOpen(); }

namespace {
// Each thread's transaction and, off the window's thread, its own connection.
thread_local int transactionDepth = 0;
thread_local bool rollbackOnly = false;
thread_local QSqlDatabase threadDb;
} // namespace

bool TShareDataModule::InTransaction() const { return transactionDepth > 0; }

QSqlDatabase &TShareDataModule::Connection()
{
    if (QThread::currentThread() != thread()) {
        if (!(threadDb.isValid() && threadDb.isOpen()))
            Open(threadDb, connectionName_ + QStringLiteral("-thread-%1").arg(quintptr(QThread::currentThread())));
        return threadDb;
    }
    if (!(db_.isValid() && db_.isOpen()))
        Open(db_, connectionName_);
    return db_;
}

void TShareDataModule::CloseThreadConnection()
{
    if (!threadDb.isValid())
        return;
    const QString name = threadDb.connectionName();
    ForgetKept(name);
    threadDb.close();
    threadDb = QSqlDatabase();
    QSqlDatabase::removeDatabase(name);
}

void TShareDataModule::Open(QSqlDatabase &db, const QString &name)
{
    const TDataSource source = TDataSource::Registered();
    const TSqlEngine &engine = source.server ? TSqlEngine::Postgres() : TSqlEngine::Sqlite();
    TSqlEngine::SetCurrent(engine);
    // Never let the driver create an empty database in place of a missing one.
    if (!source.server && !QFileInfo(source.file).isFile())
        throw EDatabaseError(QStringLiteral("数据库文件不存在：%1").arg(source.file));
    if (QSqlDatabase::contains(name) && QSqlDatabase::database(name, false).driverName() != source.DriverName())
        QSqlDatabase::removeDatabase(name);
    db = QSqlDatabase::contains(name) ? QSqlDatabase::database(name, false) : QSqlDatabase::addDatabase(source.DriverName(), name);
    source.Configure(db);
    if (!db.open()) {
        if (!source.server)
            throw EDatabaseError(db.lastError().text(), engine.Classify(db.lastError()));
        // The driver's words do not tell a refused login from a missing database or
        // from something else answering at the port: a trial connection does.
        const QString words = db.lastError().text();
        QString detail;
        const TDbFailure kind = TDataSource::FailureOf(source.Try(&detail));
        throw EDatabaseError(QStringLiteral("无法连接%1：%2").arg(source.Describe(), words), kind);
    }
    QSqlQuery check(db);
    // A file that is not a database fails here, before anything relies on it.
    if (!check.exec(engine.Probe())) {
        const EDatabaseError failure(ErrorText(check), source.server ? engine.Classify(check.lastError()) : TDbFailure::NotOurBooks);
        check = QSqlQuery();
        db.close();
        throw failure;
    }
    check.finish();
    for (const QString &statement : engine.Session())
        check.exec(statement);
    check.finish();
    // The window's connection hears when another counter has written.
    if (!engine.ChangeChannel().isEmpty() && QThread::currentThread() == thread()) {
        db.driver()->subscribeToNotification(engine.ChangeChannel());
        connect(db.driver(), &QSqlDriver::notification, this, &TShareDataModule::Notified, Qt::UniqueConnection);
        if (!linkTimer_) {
            linkTimer_ = new QTimer(this);
            linkTimer_->setInterval(5000);
            connect(linkTimer_, &QTimer::timeout, this, &TShareDataModule::KeepLink);
        }
        linkTimer_->start();
    }
    // Books of an earlier version are brought up to this one as they are opened.
    QString why, notice;
    const Schema::Upgrade upgrade = Schema::UpgradeBooks(db, &why, &notice);
    if (upgrade == Schema::Upgrade::Newer || upgrade == Schema::Upgrade::Failed || upgrade == Schema::Upgrade::Foreign) {
        const int version = Schema::VersionOf(db);
        check = QSqlQuery();
        db.close();
        if (upgrade == Schema::Upgrade::Newer)
            throw EDatabaseError(QStringLiteral("帐套由较新版本的程序建立（版本 %1，本程序为版本 %2），请先升级本程序")
                                     .arg(version)
                                     .arg(Schema::Version),
                                 TDbFailure::NewerBooks);
        if (upgrade == Schema::Upgrade::Foreign)
            throw EDatabaseError(QStringLiteral("%1 不是本程序的帐套").arg(source.Describe()), TDbFailure::NotOurBooks);
        throw EDatabaseError(QStringLiteral("帐套升级失败：") + why);
    }
    // A table of another's the upgrade set aside: the user learns where it is now.
    if (!notice.isEmpty()) {
        if (QThread::currentThread() == thread())
            Notice::Tell(notice);
        else
            QMetaObject::invokeMethod(this, [notice] { Notice::Tell(notice); }, Qt::QueuedConnection);
    }
}

void TShareDataModule::Disconnect()
{
    // The window's connection is closed on its own thread, whoever asks.
    if (QThread::currentThread() != thread()) {
        QMetaObject::invokeMethod(this, [this] { Disconnect(); }, Qt::BlockingQueuedConnection);
        return;
    }
    if (linkTimer_)
        linkTimer_->stop();
    if (!QSqlDatabase::contains(connectionName_))
        return;
    ForgetKept(connectionName_);
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(connectionName_);
}

int TShareDataModule::Exec(const QString &sql, const QVariantList &params)
{
    CheckFailNext(true);
    QSqlQuery q(Connection());
    // A statement without values runs as it is: a server cannot prepare every kind (Create Table, Begin).
    if (params.isEmpty()) {
        if (!q.exec(TranslateSql(sql)))
            throw Failure(q);
    } else {
        if (!q.prepare(TranslateSql(sql)))
            throw Failure(q);
        Bind(q, params);
        if (!q.exec())
            throw Failure(q);
    }
    const int rows = q.numRowsAffected();
    q.finish();
    return rows;
}

qint64 TShareDataModule::InsertRow(const QString &table, const QString &keyColumn, const TRecord &record)
{
    CheckFailNext(true);
    QSqlDatabase &db = Connection();
    const TSqlEngine &engine = TSqlEngine::Of(db);
    const QStringList columns = record.SetColumns();
    QString insert;
    if (columns.isEmpty()) {
        insert = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(engine.Identifier(table));
    } else {
        QStringList quoted, marks;
        for (const QString &c : columns) {
            quoted << engine.Identifier(c);
            marks << QStringLiteral("?");
        }
        insert = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                     .arg(engine.Identifier(table), quoted.join(QStringLiteral(", ")), marks.join(QStringLiteral(", ")));
    }
    TRowWrite write(db, insert + QStringLiteral(" RETURNING ") + engine.Identifier(keyColumn));
    QSqlQuery &q = *write;
    Bind(q, record.SetValues());
    if (!q.exec() || !q.next())
        throw Failure(q);
    return q.value(0).toLongLong();
}

bool TShareDataModule::UpdateRow(const QString &table, const QString &keyColumn, qint64 key, const TRecord &record)
{
    CheckFailNext(true);
    QSqlDatabase &db = Connection();
    const TSqlEngine &engine = TSqlEngine::Of(db);
    const QStringList columns = record.SetColumns();
    QStringList sets;
    for (const QString &c : columns)
        sets << engine.Identifier(c) + QStringLiteral(" = ?");
    // Nothing set still tells whether the row is there.
    if (sets.isEmpty())
        sets << engine.Identifier(keyColumn) + QStringLiteral(" = ") + engine.Identifier(keyColumn);
    TRowWrite write(db, QStringLiteral("UPDATE %1 SET %2 WHERE %3 = ?")
                            .arg(engine.Identifier(table), sets.join(QStringLiteral(", ")), engine.Identifier(keyColumn)));
    QSqlQuery &q = *write;
    Bind(q, record.SetValues() << QVariant(key));
    if (!q.exec())
        throw Failure(q);
    return q.numRowsAffected() == 1;
}

void TShareDataModule::Notified(const QString &, QSqlDriver::NotificationSource source, const QVariant &)
{
    if (source != QSqlDriver::SelfSource)
        emit ChangedElsewhere();
}

namespace {
// The failure message of the innermost transaction that failed, said by the outermost.
thread_local QString innerFailure;
// Tests' failures to come: how many, and of what kind.
std::atomic<int> failuresDue{0};
std::atomic<int> failureKind{0};
std::atomic<bool> failingWritesOnly{false};
} // namespace

void TShareDataModule::FailNext(TDbFailure kind, int count, Failing which)
{
    failureKind = int(kind);
    failingWritesOnly = which == Failing::Writes;
    failuresDue = count;
}

void TShareDataModule::CheckFailNext(bool writing)
{
    if (failingWritesOnly && !writing && transactionDepth == 0)
        return;
    int due = failuresDue.load();
    while (due > 0 && !failuresDue.compare_exchange_weak(due, due - 1)) {
    }
    if (due > 0)
        throw EDatabaseError(QStringLiteral("（测试）"), TDbFailure(failureKind.load()));
}

bool TShareDataModule::RunInTransaction(const QString &failureMessage, const std::function<bool()> &work)
{
    if (transactionDepth > 0) {
        // Within another transaction: a failure ends the whole, and the outermost says it.
        ++transactionDepth;
        bool ok = false;
        try {
            ok = work();
        } catch (...) {
            --transactionDepth;
            rollbackOnly = true;
            if (innerFailure.isEmpty())
                innerFailure = failureMessage;
            throw;
        }
        --transactionDepth;
        if (!ok)
            rollbackOnly = true;
        return ok;
    }
    // A write another counter's write met in the middle is run again, after a moment of a length of its own.
    constexpr int Attempts = 6;
    for (int attempt = 1;; ++attempt) {
        bool began = false;
        innerFailure.clear();
        try {
            // Take the write lock at the start: a writer that meets another one
            // waits out the busy timeout here instead of failing half-way.
            Exec(TSqlEngine::Of(Connection()).BeginWrite());
            began = true;
            rollbackOnly = false;
            transactionDepth = 1;
            bool ok = false;
            try {
                ok = work();
            } catch (...) {
                transactionDepth = 0;
                throw;
            }
            transactionDepth = 0;
            if (!ok || rollbackOnly) {
                Connection().rollback();
                return false;
            }
            // The other counters hear of it when it is committed.
            const QString channel = TSqlEngine::Of(Connection()).ChangeChannel();
            if (!channel.isEmpty())
                QSqlQuery(Connection()).exec(QStringLiteral("Notify ") + channel);
            if (!Connection().commit())
                throw EDatabaseError(Connection().lastError().text(), TSqlEngine::Of(Connection()).Classify(Connection().lastError()));
            return true;
        } catch (const EDatabaseError &e) {
            if (began && Connected())
                Connection().rollback();
            if (e.Kind() == TDbFailure::Conflict && attempt < Attempts) {
                QThread::msleep(QRandomGenerator::global()->bounded(5u, 20u * unsigned(attempt)));
                continue;
            }
            const QString what = innerFailure.isEmpty() ? failureMessage : innerFailure;
            innerFailure.clear();
            Notice::Tell(Explained(what, e));
            return false;
        } catch (const EConvertError &e) {
            // A typed text that cannot be stored: nothing lands, and the user learns why.
            if (began && Connected())
                Connection().rollback();
            innerFailure.clear();
            Notice::Tell(e.Message());
            return false;
        } catch (...) {
            if (began && Connected())
                Connection().rollback();
            innerFailure.clear();
            throw;
        }
    }
}

void TShareDataModule::KeepLink()
{
    if (transactionDepth > 0 || !db_.isValid() || !TSqlEngine::Of(db_).IsServer())
        return;
    if (db_.isOpen() && QSqlQuery(db_).exec(QStringLiteral("Select 1")))
        return;
    ForgetKept(connectionName_);
    db_.close();
    try {
        Connection();
        emit ChangedElsewhere();
    } catch (const EDatabaseError &) {
        // Still away: the next tick, or the next thing the user does, tries again.
    }
}

QString TShareDataModule::Explained(const QString &failureMessage, const EDatabaseError &error)
{
    QSqlDatabase &db = QThread::currentThread() == thread() ? db_ : threadDb;
    if (error.Kind() != TDbFailure::ConnectionLost || !db.isValid() || !TSqlEngine::Of(db).IsServer()) {
        const QString reason = error.Reason();
        return reason.isEmpty() || reason == failureMessage ? failureMessage
                                                            : failureMessage + QStringLiteral("\n原因：") + reason;
    }
    // Inside a transaction a server answers nothing until it ends: it is made again by the outermost.
    bool again = false;
    if (transactionDepth == 0) {
        ForgetKept(db.connectionName());
        db.close();
        try {
            again = Connection().isOpen();
        } catch (const EDatabaseError &) {
        }
        // What this counter heard of the others may have been lost with it.
        if (again && &db == &db_)
            emit ChangedElsewhere();
    }
    return failureMessage + QStringLiteral("\n与数据库服务器的连接已中断，刚才的操作没有完成，也没有留下任何改动。")
           + (again ? QStringLiteral("已重新连接，请再试一次。") : QStringLiteral("暂时无法重新连接，请检查网络和服务器后再试。"));
}

namespace {
thread_local int snapshotDepth = 0;
} // namespace

TReadSnapshot::TReadSnapshot()
{
    if (snapshotDepth++ > 0 || !ShareDataModule || ShareDataModule->InTransaction())
        return;
    try {
        QSqlDatabase &db = ShareDataModule->Connection();
        const TSqlEngine &engine = TSqlEngine::Of(db);
        if (!engine.IsServer())
            return;
        QSqlQuery q(db);
        began_ = q.exec(QStringLiteral("BEGIN")) && q.exec(engine.ReadSnapshot());
        if (!began_)
            db.rollback();
    } catch (const EDatabaseError &) {
        // The reads themselves meet it and say why.
    }
}

TReadSnapshot::~TReadSnapshot()
{
    --snapshotDepth;
    if (!began_ || !ShareDataModule)
        return;
    try {
        QSqlQuery(ShareDataModule->Connection()).exec(QStringLiteral("COMMIT"));
    } catch (const EDatabaseError &) {
    }
}
