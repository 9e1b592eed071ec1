#pragma once
// The books: a connection per thread, transactions, the failures as values, and the query class
// the stores read and write through.

#include "db/DbFailure.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlDriver>
#include <QTimer>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>
#include <deque>
#include <functional>
#include <stdexcept>

// One column of the current row (or of the row being edited).
class TField {
public:
    TField(QVariant *value, bool *changed, QString name);
    QString AsString() const;
    double AsFloat() const;   // NULL reads as 0
    int AsInteger() const;
    qint64 AsLargeInt() const;   // a sum in fen; NULL reads as 0
    bool AsBoolean() const;
    QDate AsDate() const;
    bool IsNull() const;
    void SetAsString(const QString &value);
    void SetAsFloat(double value);
    void SetAsInteger(qint64 value);
    void SetAsBoolean(bool value);
    void SetAsDate(const QDate &value);
    void Clear();

private:
    void Set(const QVariant &value);
    QVariant *value_;
    bool *changed_;   // null when the row is not being edited
    QString name_;
};

class TQuery;

// The values of one row a store writes, column by column. Filled from the
// stored row when one is changed, so the store can read what it replaces; only
// the columns it sets are written (TShareDataModule::InsertRow/UpdateRow).
class TRecord {
public:
    TRecord() = default;
    // The current row of the query, nothing set yet.
    explicit TRecord(TQuery &row);
    TField FieldByName(const QString &name);
    QStringList SetColumns() const;
    QVariantList SetValues() const;

private:
    struct Column {
        QString name;
        QVariant value;
        bool set = false;
    };
    std::deque<Column> columns_;   // a deque: the fields handed out point into it
};

// The materialized result of a read with a cursor over it. It only reads:
// what is written is written by the stores' explicit statements.
class TQuery {
public:
    enum State { Inactive, Browse };

    explicit TQuery(QString name = QString());

    // Throws EDatabaseError; translates the dialect. The values are bound to
    // the "?" marks in order.
    void Open(const QString &sql, const QVariantList &params = {});
    // For a read-only Select of many rows: counts them and reads the first page;
    // the others are read when first asked for, and all the rest at once after a
    // few pages (a walk over every row). The SQL must carry no Limit and end in
    // an Order By that gives every differing row one place.
    void OpenPaged(const QString &sql, const QVariantList &params = {});   // throws EDatabaseError
    void Close();
    bool Active() const { return state_ != Inactive; }
    State GetState() const { return state_; }
    QString SqlText() const { return sql_; }

    // Told once when a page of a paged query cannot be read (its cells stay
    // empty); a reader in the middle of painting must not be thrown at.
    void OnPageFailure(std::function<void(const EDatabaseError &)> told) const { pageFailure_ = std::move(told); }

    int RecordCount() const { return int(rows_.size()); }
    bool IsEmpty() const { return rows_.isEmpty(); }
    bool Eof() const;
    bool Bof() const { return current_ <= 0; }
    int RecNo() const { return current_ + 1; }
    void First();
    void Next();
    void Prior();
    void Last();
    void MoveTo(int row);   // 0-based; past the end is Eof

    QStringList FieldNames() const;
    bool HasField(const QString &name) const;
    TField FieldByName(const QString &name);
    QVariant Value(int row, const QString &name) const;
    // Field n (in FieldNames order) of a row, for readers that walk every row.
    QVariant ValueAt(int row, int field) const;

private:
    int Column(const QString &name) const;
    // Reads the page of a row not read yet; a failed read leaves its cells empty.
    void EnsureRow(int row) const;
    void ReadRows(int first, int count) const;   // count < 0: to the end
    void ReadRowsOrThrow(int first, int count) const;

    static constexpr int PageRows = 256;
    static constexpr int PagesBeforeWholeRead = 4;

    QString name_;
    QString sql_;
    QStringList fields_;
    mutable QVector<QVector<QVariant>> rows_;
    QString pagedText_;               // the translated SQL of a paged query
    QVariantList pagedParams_;        // its values, bound again for every page read
    mutable QVector<bool> pageRead_;
    mutable int pagesRead_ = 0;
    mutable std::function<void(const EDatabaseError &)> pageFailure_;
    int current_ = 0;
    State state_ = Inactive;
};

class TShareDataModule : public QObject {
    Q_OBJECT
public:
    static constexpr const char *ConnectionString =
        "Provider=MSDASQL.1;Password=PlumQuartz;Persist Security Info=True;User ID=admin;Data Source=Kestrova";

    explicit TShareDataModule(QObject *parent = nullptr);
    ~TShareDataModule() override;


    // Opens the connection on first use; throws EDatabaseError when the file is
    // missing or unusable. Work running off the window's thread gets a
    // connection of its own to the same books (a connection serves one thread).
    QSqlDatabase &Connection();
    // The message for a failed read or write: what failed, then why. When the
    // cause was a lost connection to the server, it says so and the connection
    // is made again at once (what failed was the server's transaction: nothing
    // of it stayed), and whether that worked.
    QString Explained(const QString &failureMessage, const EDatabaseError &error);
    // Tests: the next `count` reads or writes of the books (writes only: those
    // in a write transaction) fail as the given kind of failure would, before
    // anything reaches the books.
    enum class Failing { ReadsAndWrites, Writes };
    static void FailNext(TDbFailure kind, int count = 1, Failing which = Failing::ReadsAndWrites);
    // Throws the failure FailNext asked for, if one is due.
    static void CheckFailNext(bool writing = false);
    // Closes the calling worker thread's own connection, at the end of its work.
    void CloseThreadConnection();
    bool Connected() const;
    void Disconnect();
    // The database file the data source names (the registered one, else the one beside the program).
    QString DatabaseFile() const;

    // A statement without rows (bulk updates and deletes); throws EDatabaseError.
    // Gives the number of rows it wrote.
    int Exec(const QString &sql, const QVariantList &params = {});
    // Inside a write: a new row of the table holding what the record sets (the
    // columns' defaults for the rest); gives its key, read from keyColumn.
    // Throws EDatabaseError, or EConvertError for a text that cannot be stored.
    qint64 InsertRow(const QString &table, const QString &keyColumn, const TRecord &record);
    // Inside a write: the row of that key takes what the record sets; false
    // when there is no such row (nothing written).
    bool UpdateRow(const QString &table, const QString &keyColumn, qint64 key, const TRecord &record);

    // All-or-nothing: runs work inside one transaction. On false from work or on
    // a database error everything is rolled back; on a database error the
    // failure message is shown with its reason, once, by the outermost
    // transaction; a text that cannot be stored (EConvertError) shows its own
    // message. A write the server ended as a deadlock or serialization victim
    // is run again whole, a few times, before anything is said: work must
    // leave nothing of itself behind but what it wrote. Other exceptions roll
    // back and pass on.
    bool RunInTransaction(const QString &failureMessage, const std::function<bool()> &work);
    bool InTransaction() const;   // of the calling thread

signals:
    // Another counter committed a write to the books on the server.
    void ChangedElsewhere();


private:
    void Open(QSqlDatabase &db, const QString &name);
    void Notified(const QString &name, QSqlDriver::NotificationSource source, const QVariant &payload);
    // Every few seconds while idle on a server: a connection the server dropped
    // is made again, and the pages catch up with what was missed meanwhile.
    void KeepLink();

    QString connectionName_;
    QSqlDatabase db_;
    QTimer *linkTimer_ = nullptr;
};

extern TShareDataModule *ShareDataModule;

// While one lives, the reads of the calling thread on a server see the books as
// they were at one moment, so a page's or a report's figures agree with each
// other although another counter commits meanwhile. Nothing may be written
// while it lives. A file has one writer: nothing to do there. Guards nest.
class TReadSnapshot {
public:
    TReadSnapshot();
    ~TReadSnapshot();
    TReadSnapshot(const TReadSnapshot &) = delete;
    TReadSnapshot &operator=(const TReadSnapshot &) = delete;

private:
    bool began_ = false;
};
