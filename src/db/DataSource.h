#pragma once
// Where the books are: the SQLite file beside the program (nothing to set up
// for one counter), or a database on a PostgreSQL server that several counters
// open at once. The administrator chooses; the choice is kept with the
// program's registered data source, the server's password in a file only its
// user can read.

#include "db/DbFailure.h"

#include <QString>

class QSqlDatabase;

class TDataSource {
public:
    bool server = false;
    QString file;        // the books file, when not on a server
    QString host;        // a name, an address or a Unix socket folder
    int port = 5432;
    QString database;
    QString user;
    QString password;    // empty: PostgreSQL's own password file or none

    // The data source the program folder registers (the file when nothing says otherwise).
    static TDataSource Registered();
    // Keeps a server as the data source, or goes back to the file; false with a reason when it cannot be written.
    static bool RegisterServer(const TDataSource &source, QString *error);
    static bool RegisterFile(QString *error);
    // Where a registered file name points within the current program folder.
    static QString FileInProgramDir(const QString &registered);
    // The file beside the program that keeps the server's password (private: TPrivateFiles).
    static QString PasswordFile();

    // "服务器 host:port 上的数据库 name" or the file's path, for messages.
    QString Describe() const;
    // Sets a connection's driver options and names; the driver must be the source's.
    void Configure(QSqlDatabase &db) const;
    QString DriverName() const;

    // What a trial connection found.
    enum class Trial { Books, Empty, Unreachable, Refused, NoDatabase, Foreign, NotPostgres };
    Trial Try(QString *detail = nullptr) const;
    static QString TrialText(Trial trial);
    // Why a connection that a trial could not make failed.
    static TDbFailure FailureOf(Trial trial);
};

// Writes the books' entry in the registry file as the first run does.
bool RegisterDataSource(const QString &name, const QString &databaseFile, const QString &description);
