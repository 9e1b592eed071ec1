#include "support/PrivateConnection.h"

#include <QUuid>

TPrivateConnection::TPrivateConnection(const QString &database, const QString &options)
    : name_(QStringLiteral("private-") + QUuid::createUuid().toString(QUuid::Id128))
{
    db_ = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name_);
    db_.setConnectOptions(options);
    db_.setDatabaseName(database);
    open_ = db_.open();
}

TPrivateConnection::TPrivateConnection(const TDataSource &source)
    : name_(QStringLiteral("private-") + QUuid::createUuid().toString(QUuid::Id128))
{
    db_ = QSqlDatabase::addDatabase(source.DriverName(), name_);
    source.Configure(db_);
    open_ = db_.open();
}

TPrivateConnection::~TPrivateConnection()
{
    db_.close();
    db_ = QSqlDatabase();
    QSqlDatabase::removeDatabase(name_);
}
