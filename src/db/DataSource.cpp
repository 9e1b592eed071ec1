#include "db/DataSource.h"

#include "db/SqlEngine.h"
#include "core/PrivateFiles.h"
#include "core/ProgramFiles.h"
#include "core/Notice.h"
#include "core/Registry.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTcpSocket>
#include <QUrl>
#include <QUuid>

namespace {
const QString SourceKey = QStringLiteral("Software\\ODBC\\ODBC.INI\\Kestrova");
const QString FileDriver = QStringLiteral("QSQLITE");
const QString ServerDriver = QStringLiteral("QPSQL");
constexpr int ConnectSeconds = 5;
} // namespace

QString TDataSource::FileInProgramDir(const QString &registered)
{
    // The books travel with the program folder: a relative name is beside the
    // program, and an absolute one left by a folder that was since moved or
    // copied means the file of that name here, never the old folder's books.
    if (registered.isEmpty())
        return ProgramDir + QStringLiteral("Kestrova.mdb");
    // A relative name that climbs out ("../A/Kestrova.mdb") is confined the same way.
    const QFileInfo info(registered);
    const QString file = QDir::cleanPath(info.isRelative() ? ProgramDir + registered : registered);
    if (QFileInfo(QFileInfo(file).absolutePath() + QLatin1Char('/')).absoluteFilePath()
        == QFileInfo(ProgramDir).absoluteFilePath())
        return file;
    const QString name = info.fileName();
    return name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") ? ProgramDir + QStringLiteral("Kestrova.mdb") : ProgramDir + name;
}

QString TDataSource::PasswordFile() { return ProgramDir + QStringLiteral("Kestrova.pgpass"); }

TDataSource TDataSource::Registered()
{
    TDataSource source;
    TRegistry reg(RegistryFileName());
    QString file;
    if (reg.OpenKeyReadOnly(SourceKey)) {
        file = reg.ReadString(QStringLiteral("DBQ"));
        if (reg.ReadString(QStringLiteral("Driver")) == ServerDriver) {
            source.server = true;
            source.host = reg.ReadString(QStringLiteral("Server"));
            source.port = reg.ValueExists(QStringLiteral("Port")) ? reg.ReadInteger(QStringLiteral("Port")) : 5432;
            source.database = reg.ReadString(QStringLiteral("Database"));
            source.user = reg.ReadString(QStringLiteral("UID"));
        }
    }
    source.file = FileInProgramDir(file);
    if (source.server) {
        QFile secret(PasswordFile());
        if (secret.open(QIODevice::ReadOnly))
            source.password = QString::fromUtf8(secret.readAll()).trimmed();
    }
    return source;
}

bool TDataSource::RegisterServer(const TDataSource &source, QString *error)
{
    // The password first: a source naming the server without it would fail to open.
    if (!source.password.isEmpty()) {
        QSaveFile secret(PasswordFile());
        if (!TPrivateFiles::Open(secret) || secret.write(source.password.toUtf8()) < 0 || !secret.commit()) {
            if (error)
                *error = QStringLiteral("无法写入密码文件 %1").arg(PasswordFile());
            return false;
        }
    } else {
        QFile::remove(PasswordFile());
    }
    TRegistry reg(RegistryFileName());
    const bool ok = reg.OpenKey(SourceKey, true) && reg.WriteString(QStringLiteral("Driver"), ServerDriver)
                    && reg.WriteString(QStringLiteral("Server"), source.host) && reg.WriteInteger(QStringLiteral("Port"), source.port)
                    && reg.WriteString(QStringLiteral("Database"), source.database)
                    && reg.WriteString(QStringLiteral("UID"), source.user);
    reg.CloseKey();
    if (!ok && error)
        *error = QStringLiteral("无法写入 %1").arg(RegistryFileName());
    return ok;
}

bool TDataSource::RegisterFile(QString *error)
{
    TRegistry reg(RegistryFileName());
    const bool ok = reg.OpenKey(SourceKey, true) && reg.WriteString(QStringLiteral("Driver"), FileDriver);
    reg.CloseKey();
    if (!ok && error)
        *error = QStringLiteral("无法写入 %1").arg(RegistryFileName());
    return ok;
}

QString TDataSource::Describe() const
{
    if (!server)
        return file;
    return QStringLiteral("服务器 %1:%2 上的数据库 %3").arg(host).arg(port).arg(database);
}

QString TDataSource::DriverName() const { return server ? ServerDriver : FileDriver; }

void TDataSource::Configure(QSqlDatabase &db) const
{
    if (!server) {
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_URI;QSQLITE_BUSY_TIMEOUT=5000"));
        db.setDatabaseName(QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded) + QStringLiteral("?mode=rw"));
        return;
    }
    db.setHostName(host);
    db.setPort(port);
    db.setDatabaseName(database);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("connect_timeout=%1;application_name=Kestrova").arg(ConnectSeconds));
}

TDataSource::Trial TDataSource::Try(QString *detail) const
{
    // Whether anything answers at all, before the driver's own waiting.
    if (host.startsWith(QLatin1Char('/'))) {
        if (!QFileInfo::exists(QStringLiteral("%1/.s.PGSQL.%2").arg(host).arg(port)))
            return Trial::Unreachable;
    } else {
        QTcpSocket socket;
        socket.connectToHost(host.isEmpty() ? QStringLiteral("localhost") : host, quint16(port));
        if (!socket.waitForConnected(ConnectSeconds * 1000)) {
            if (detail)
                *detail = socket.errorString();
            return Trial::Unreachable;
        }
        // A PostgreSQL server answers a request for encryption with one letter, S or N,
        // whatever its language; a web server or a port that closes at once does not.
        const QByteArray sslRequest("\x00\x00\x00\x08\x04\xd2\x16\x2f", 8);
        socket.write(sslRequest);
        QByteArray answer;
        if (socket.waitForBytesWritten(ConnectSeconds * 1000))
            while (answer.isEmpty() && socket.waitForReadyRead(ConnectSeconds * 1000))
                answer += socket.read(2);
        socket.abort();
        if (answer.size() != 1 || (answer[0] != 'S' && answer[0] != 'N')) {
            if (detail)
                *detail = answer.isEmpty() ? QStringLiteral("no answer") : QString::fromLatin1(answer.toHex());
            return Trial::NotPostgres;
        }
    }
    const QString name = QStringLiteral("trial-") + QUuid::createUuid().toString(QUuid::Id128);
    Trial trial = Trial::Books;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(ServerDriver, name);
        Configure(db);
        if (db.open()) {
            const TSqlEngine &engine = TSqlEngine::Postgres();
            QSqlQuery q(db);
            const bool read = q.exec(engine.Probe());
            if (!read && detail)
                *detail = q.lastError().text();
            q = QSqlQuery();
            const QStringList tables = read ? engine.Tables(db) : QStringList();
            trial = !read ? Trial::Foreign
                    : tables.contains(QStringLiteral("booksinfo"), Qt::CaseInsensitive) ? Trial::Books
                    : tables.isEmpty() ? Trial::Empty : Trial::Foreign;
        } else {
            if (detail)
                *detail = db.lastError().text();
            // The same user on the server's own database tells a missing database from a refused login.
            db.setDatabaseName(QStringLiteral("postgres"));
            trial = db.open() ? Trial::NoDatabase : Trial::Refused;
        }
        db.close();
    }
    QSqlDatabase::removeDatabase(name);
    return trial;
}

QString TDataSource::TrialText(Trial trial)
{
    switch (trial) {
    case Trial::Books:
        return QStringLiteral("连接成功：服务器上是本程序的帐套");
    case Trial::Empty:
        return QStringLiteral("连接成功：服务器上的数据库是空的，可以把帐套迁移到服务器");
    case Trial::Unreachable:
        return QStringLiteral("连接失败：无法连接到服务器，请检查服务器地址和端口，以及服务器是否已启动");
    case Trial::Refused:
        return QStringLiteral("连接失败：服务器拒绝登录，请检查用户名和密码");
    case Trial::NoDatabase:
        return QStringLiteral("连接失败：服务器上没有这个数据库");
    case Trial::Foreign:
        return QStringLiteral("连接失败：服务器上的数据库不是本程序的帐套");
    case Trial::NotPostgres:
        return QStringLiteral("连接失败：") + FailureReason(TDbFailure::NotPostgres);
    }
    return QString();
}

TDbFailure TDataSource::FailureOf(Trial trial)
{
    switch (trial) {
    case Trial::Unreachable:
        return TDbFailure::Unreachable;
    case Trial::Refused:
        return TDbFailure::LoginRefused;
    case Trial::NoDatabase:
        return TDbFailure::DatabaseMissing;
    case Trial::NotPostgres:
        return TDbFailure::NotPostgres;
    case Trial::Foreign:
        return TDbFailure::NotOurBooks;
    case Trial::Books:
    case Trial::Empty:
        break;
    }
    return TDbFailure::Other;
}

bool RegisterDataSource(const QString &name, const QString &databaseFile, const QString &description)
{
    // Taken for a first run (the ini lost), a counter whose books were moved to a
    // server must stay on the server, never fall back to the file left beside it.
    const bool onServer = TDataSource::Registered().server;
    TRegistry reg(RegistryFileName());
    if (!reg.OpenKey(QStringLiteral("Software\\ODBC\\ODBC.INI\\ODBC Data Sources"), true)) {
        Notice::Tell(QStringLiteral("注册表键值创建失败"));
        return false;
    }
    bool ok = reg.WriteString(name, QStringLiteral("Microsoft Access Driver (*.mdb)"));
    reg.CloseKey();

    const QString sourceKey = QStringLiteral("Software\\ODBC\\ODBC.INI\\") + name;
    if (!ok || !reg.OpenKey(sourceKey, true)) {
        Notice::Tell(QStringLiteral("注册键HKEY_LOCAL_MACHINE\\") + sourceKey + QStringLiteral("打开失败"));
        return false;
    }
    // The driver here is Qt's SQLite driver rather than the Access one.
    ok = reg.WriteString(QStringLiteral("DBQ"), databaseFile)
         && reg.WriteString(QStringLiteral("Description"), description)
         && (onServer || reg.WriteString(QStringLiteral("Driver"), QStringLiteral("QSQLITE")))
         && reg.WriteInteger(QStringLiteral("DriverId"), 25)
         && reg.WriteString(QStringLiteral("FIL"), QStringLiteral("Ms Access;"))
         && reg.WriteInteger(QStringLiteral("SafeTransaction"), 0)
         && (onServer || reg.WriteString(QStringLiteral("UID"), QString()))
         && reg.WriteBinary(QStringLiteral("Exclusive"), QByteArray(1, '\0'))
         && reg.WriteBinary(QStringLiteral("ReadOnly"), QByteArray(1, '\0'));
    reg.CloseKey();

    const QString jetKey = sourceKey + QStringLiteral("\\Engines\\Jet");
    if (!ok || !reg.OpenKey(jetKey, true)) {
        Notice::Tell(QStringLiteral("注册键HKEY_LOCAL_MACHINE\\") + jetKey + QStringLiteral("打开失败"));
        return false;
    }
    ok = reg.WriteString(QStringLiteral("ImplicitCommitSync"), QStringLiteral("Yes"))
         && reg.WriteInteger(QStringLiteral("MaxBufferSize"), 512)
         && reg.WriteInteger(QStringLiteral("PageTimeout"), 10)
         && reg.WriteInteger(QStringLiteral("Threads"), 3)
         && reg.WriteString(QStringLiteral("UserCommitSync"), QStringLiteral("Yes"));
    reg.CloseKey();
    return ok;
}
