#pragma once
// Moving the books from the file onto a PostgreSQL server: every row copied
// into an empty database in one transaction, then every table's rows and every
// customer's, account's and product's kept totals compared on both sides, and
// only then the server made the data source.

#include "db/DataSource.h"

#include <QString>

class TServerMove {
public:
    enum Status { Moved, Failed, NotEmpty, Unreachable, Differs };
    struct Result {
        Status status = Failed;
        QString reason;   // in Chinese, for the user
    };

    // file: the books now in use; server: where they go (its database must be empty).
    static Result ToServer(const QString &file, const TDataSource &server);

    // The tables whose rows differ between two sets of books, and kept totals that differ ("客户 张三").
    static QStringList Differences(QSqlDatabase &a, QSqlDatabase &b);
};
