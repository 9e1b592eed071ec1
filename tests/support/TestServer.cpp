#include "support/TestServer.h"

#include "db/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {
const QString Template = QStringLiteral("kestrova_template");

// Runs work on a connection of its own to one database of the server.
template <typename Work>
bool OnDatabase(const QString &database, Work work)
{
    const QString name = QStringLiteral("test-server-") + QUuid::createUuid().toString(QUuid::Id128);
    bool ok = false;
    {
        TDataSource source = TestServer::Server();
        source.database = database;
        QSqlDatabase db = QSqlDatabase::addDatabase(source.DriverName(), name);
        source.Configure(db);
        if (!db.open())
            qFatal("test server: %s", qPrintable(db.lastError().text()));
        ok = work(db);
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return ok;
}

void Run(QSqlDatabase &db, const QString &sql)
{
    QSqlQuery q(db);
    if (!q.exec(sql))
        qFatal("test server: %s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
}

QString NewName()
{
    static int made = 0;
    return QStringLiteral("kt_%1_%2").arg(QCoreApplication::applicationPid()).arg(++made);
}
} // namespace

bool TestServer::Enabled() { return qEnvironmentVariable("KESTROVA_TEST_ENGINE") == QLatin1String("postgres"); }

TDataSource TestServer::Server()
{
    TDataSource source;
    source.server = true;
    QFile info(qEnvironmentVariable("KESTROVA_TEST_PG"));
    if (!info.open(QIODevice::ReadOnly))
        qFatal("test server: KESTROVA_TEST_PG names no server (%s)", qPrintable(info.fileName()));
    for (const QByteArray &line : info.readAll().split('\n')) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(QLatin1String("host=")))
            source.host = text.mid(5);
        else if (text.startsWith(QLatin1String("port=")))
            source.port = text.mid(5).toInt();
        else if (text.startsWith(QLatin1String("user=")))
            source.user = text.mid(5);
    }
    return source;
}

TDataSource TestServer::NewBooks()
{
    const QString name = NewName();
    OnDatabase(QStringLiteral("postgres"), [&name](QSqlDatabase &db) {
        // Test programs run side by side: one makes the template, the others wait for it.
        Run(db, QStringLiteral("Select pg_advisory_lock(20241)"));
        QSqlQuery q(db);
        q.exec(QStringLiteral("Select 1 From pg_database Where datname = '%1'").arg(Template));
        if (!q.next()) {
            Run(db, QStringLiteral("Create Database %1").arg(Template));
            OnDatabase(Template, [](QSqlDatabase &books) {
                QString error;
                if (!Schema::Create(books, &error))
                    qFatal("test server: the schema: %s", qPrintable(error));
                return true;
            });
        }
        Run(db, QStringLiteral("Create Database %1 Template %2").arg(name, Template));
        Run(db, QStringLiteral("Select pg_advisory_unlock(20241)"));
        return true;
    });
    TDataSource books = Server();
    books.database = name;
    return books;
}

TDataSource TestServer::NewEmptyDatabase()
{
    const QString name = NewName();
    OnDatabase(QStringLiteral("postgres"), [&name](QSqlDatabase &db) {
        Run(db, QStringLiteral("Create Database %1").arg(name));
        return true;
    });
    TDataSource books = Server();
    books.database = name;
    return books;
}

void TestServer::Drop(const TDataSource &books)
{
    OnDatabase(QStringLiteral("postgres"), [&books](QSqlDatabase &db) {
        Run(db, QStringLiteral("Drop Database If Exists %1 With (Force)").arg(books.database));
        return true;
    });
}
