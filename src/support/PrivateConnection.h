#pragma once
// A connection of its own to a database file other than the books in use (a
// file being restored or checked, a schema built in memory), closed and
// removed however the work ends.

#include "db/DataSource.h"

#include <QSqlDatabase>
#include <QString>

class TPrivateConnection {
public:
    // database: a file name or URI as QSQLITE takes it; options: its connect options.
    explicit TPrivateConnection(const QString &database, const QString &options = QString());
    // The books a data source names (a file or a server).
    explicit TPrivateConnection(const TDataSource &source);
    ~TPrivateConnection();
    TPrivateConnection(const TPrivateConnection &) = delete;
    TPrivateConnection &operator=(const TPrivateConnection &) = delete;

    bool IsOpen() const { return open_; }
    QSqlDatabase &Db() { return db_; }

private:
    QString name_;
    QSqlDatabase db_;
    bool open_ = false;
};
