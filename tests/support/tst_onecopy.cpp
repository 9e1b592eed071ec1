// One running copy per books file, a lock no dead copy can leave behind, and
// writers that wait for each other.
#include "db/SqlEngine.h"
#include "db/DataSource.h"
#include "db/ShareDM.h"
#include "support/InstanceLock.h"
#include "stores/RowWrites.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QFile>
#include <QSysInfo>
#include <QProcess>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <cstdio>
#include <thread>
#include <unistd.h>

namespace {
// A connection of another program on the same books: the file, or the server's database.
QSqlDatabase OtherTool(const QString &file, const QString &name, int busyTimeout)
{
    const TDataSource books = TDataSource::Registered();
    QSqlDatabase db = QSqlDatabase::addDatabase(books.DriverName(), name);
    if (books.server) {
        books.Configure(db);
    } else {
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
        db.setDatabaseName(file);
    }
    db.open();
    return db;
}
} // namespace

class TestOneCopy : public QObject {
    Q_OBJECT
private slots:
    void secondCopyRefused();
    void staleLockFileIgnored_data();
    void staleLockFileIgnored();
    void deadCopyNeverBlocks();
    void twoFoldersOnOneBooksRefused();
    void writeTakesTheLockAtItsStart();
    void writerWaitsForAnotherWriter();
};

void TestOneCopy::secondCopyRefused()
{
    if (TestEnv::OnServer())
        QSKIP("one copy per books file: many counters share a server");
    TestEnv env(Db::Fresh, false);
    {
        TInstanceLock first(env.DatabaseFile());
        QVERIFY(first.Acquire());
        TInstanceLock second(env.DatabaseFile());
        QVERIFY(!second.Acquire());
        QCOMPARE(env.script.messages, QStringList{"程序已经在运行"});
    }
    // Once the first copy has ended the books are free again.
    TInstanceLock next(env.DatabaseFile());
    QVERIFY(next.Acquire());
    QCOMPARE(env.script.messages.size(), 1);
}

void TestOneCopy::staleLockFileIgnored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("empty, as a power cut leaves it") << "empty";
    QTest::newRow("random bytes") << "garbage";
    QTest::newRow("written on another host") << "host";
    QTest::newRow("of a copy that crashed") << "crashed";
    QTest::newRow("a folder") << "folder";
    QTest::newRow("unreadable") << "unreadable";
}

void TestOneCopy::staleLockFileIgnored()
{
    if (TestEnv::OnServer())
        QSKIP("one copy per books file: many counters share a server");
    QFETCH(QString, kind);
    TestEnv env(Db::Fresh, false);
    // What earlier versions left as their lock beside the books.
    const QString lockFile = env.Dir() + "Kestrova.lock";
    if (kind == "folder") {
        QVERIFY(QDir().mkdir(lockFile));
    } else {
        QFile f(lockFile);
        QVERIFY(f.open(QIODevice::WriteOnly));
        if (kind == "garbage")
            f.write(QByteArray("\x93\xff\x00\x17garbage\n\x01", 15));
        else if (kind == "host")
            f.write("4242\nKestrova\nother-host.example\n");
        else if (kind == "crashed")
            f.write(QByteArray::number(QCoreApplication::applicationPid()) + "\nKestrova\n" + QSysInfo::machineHostName().toUtf8() + "\n");
        f.close();
        if (kind == "unreadable")
            QVERIFY(f.setPermissions(QFileDevice::Permissions()));
    }
    TInstanceLock starting(env.DatabaseFile());
    QVERIFY(starting.Acquire());
    QVERIFY(env.script.messages.isEmpty());
    QFile(lockFile).setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
}

void TestOneCopy::deadCopyNeverBlocks()
{
    if (TestEnv::OnServer())
        QSKIP("one copy per books file: many counters share a server");
    TestEnv env(Db::Fresh, false);
    // Another process takes the lock, then is killed without a chance to let go.
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), {"--hold-lock", env.DatabaseFile()});
    QVERIFY(holder.waitForReadyRead(30000));
    QCOMPARE(holder.readAll().trimmed(), QByteArray("locked"));
    {
        TInstanceLock whileAlive(env.DatabaseFile());
        QVERIFY(!whileAlive.Acquire());
    }
    holder.kill();
    QVERIFY(holder.waitForFinished(30000));
    TInstanceLock afterwards(env.DatabaseFile());
    QVERIFY(afterwards.Acquire());
    QCOMPARE(env.script.messages, QStringList{"程序已经在运行"});
}

void TestOneCopy::twoFoldersOnOneBooksRefused()
{
    if (TestEnv::OnServer())
        QSKIP("one copy per books file: many counters share a server");
    TestEnv env(Db::Fresh, false);
    // A second program folder whose books are the first one's, through a symlink.
    QTemporaryDir other;
    QVERIFY(QFile::link(env.DatabaseFile(), other.filePath("Kestrova.mdb")));
    TInstanceLock first(env.DatabaseFile());
    QVERIFY(first.Acquire());
    TInstanceLock second(other.filePath("Kestrova.mdb"));
    QVERIFY(!second.Acquire());
    QCOMPARE(env.script.messages, QStringList{"程序已经在运行"});
}

void TestOneCopy::writeTakesTheLockAtItsStart()
{
    if (TestEnv::OnServer())
        QSKIP("a server locks the rows written, not the whole books");
    TestEnv env;
    env.Exec("Select 1");
    QSqlDatabase other = OtherTool(env.DatabaseFile(), "other", 0);
    QVERIFY(other.isOpen());
    bool otherCouldWrite = true;
    QVERIFY(ShareDataModule->RunInTransaction("保存失败", [&] {
        // Nothing written yet, and still no one else may start writing.
        QSqlQuery q(other);
        otherCouldWrite = q.exec("BEGIN IMMEDIATE");
        if (otherCouldWrite)
            q.exec("ROLLBACK");
        return true;
    }));
    QVERIFY(!otherCouldWrite);
    other.close();
    other = QSqlDatabase();
    QSqlDatabase::removeDatabase("other");
}

void TestOneCopy::writerWaitsForAnotherWriter()
{
    TestEnv env;
    env.AddCustomer("张三");
    QSemaphore holding, done;
    QString otherError;
    // Another program writes and holds its write open for a moment.
    std::thread other([&] {
        {
            QSqlDatabase db = OtherTool(env.DatabaseFile(), "writer", 5000);
            QSqlQuery q(db);
            q.exec(TSqlEngine::Of(db).BeginWrite());
            q.exec("UPDATE Customer SET CustomerOwe = CustomerOwe + 1 WHERE CustomerName = '张三'");
            holding.release();
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            if (!q.exec("COMMIT"))
                otherError = q.lastError().text();
            q = QSqlQuery();
            db.close();
        }
        QSqlDatabase::removeDatabase("writer");
        done.release();
    });
    holding.acquire();
    // A save that reads, then writes: it waits for the other writer instead of failing.
    const bool saved = ShareDataModule->RunInTransaction("保存失败", [&] {
        // A store takes the rows it reads in order to write them.
        TQuery q;
        q.Open("Select * From Customer Where CustomerName = '张三'" + TSqlEngine::Current().LockRows());
        q.First();
        TRecord row(q);
        row.FieldByName("CustomerOwe").SetAsFloat(q.FieldByName("CustomerOwe").AsFloat() + 10);
        RowWrites::Update("Customer", q.FieldByName("CustomerIndex").AsInteger(), row);
        return true;
    });
    done.acquire();
    other.join();
    QVERIFY(saved);
    QVERIFY2(otherError.isEmpty(), qPrintable(otherError));
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerName = '张三'").toDouble(), 11.0);
}

// With "--hold-lock <books>" the test program takes the lock, says so and waits to be killed.
int main(int argc, char *argv[])
{
    if (argc == 3 && qstrcmp(argv[1], "--hold-lock") == 0) {
        TInstanceLock lock(QFile::decodeName(argv[2]));
        if (!lock.Acquire())
            return 1;
        std::fputs("locked\n", stdout);
        std::fflush(stdout);
        for (;;)
            ::pause();
    }
    QApplication app(argc, argv);
    TestOneCopy test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_onecopy.moc"
