// One running copy per program folder, and writers that wait for each other.
#include "shell/ShareDM.h"
#include "support/InstanceLock.h"
#include "support/TestEnv.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QSemaphore>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTest>

#include <thread>

namespace {
// A connection of another program on the same books.
QSqlDatabase OtherTool(const QString &file, const QString &name, int busyTimeout)
{
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(busyTimeout));
    db.setDatabaseName(file);
    db.open();
    return db;
}
} // namespace

class TestOneCopy : public QObject {
    Q_OBJECT
private slots:
    void secondCopyRefused();
    void staleLockTakenOver();
    void writeTakesTheLockAtItsStart();
    void writerWaitsForAnotherWriter();
};

void TestOneCopy::secondCopyRefused()
{
    TestEnv env(Db::Fresh, false);
    {
        TInstanceLock first(env.Dir());
        QVERIFY(first.Acquire());
        // Running for hours does not make the first copy's lock stale.
        QFile lock(env.Dir() + "Kestrova.lock");
        QVERIFY(lock.open(QIODevice::ReadWrite));
        QVERIFY(lock.setFileTime(QDateTime::currentDateTime().addSecs(-5 * 3600), QFileDevice::FileModificationTime));
        lock.close();
        TInstanceLock second(env.Dir());
        QVERIFY(!second.Acquire());
        QCOMPARE(env.script.messages, QStringList{"程序已经在运行"});
    }
    // Once the first copy has ended the folder is free again.
    TInstanceLock next(env.Dir());
    QVERIFY(next.Acquire());
    QCOMPARE(env.script.messages.size(), 1);
}

void TestOneCopy::staleLockTakenOver()
{
    TestEnv env(Db::Fresh, false);
    const QString lockFile = env.Dir() + "Kestrova.lock";
    // The lock of a copy that crashed: written by a real lock, owned by a process that is gone.
    QByteArray content;
    {
        QLockFile lock(lockFile);
        QVERIFY(lock.tryLock(0));
        QFile f(lockFile);
        QVERIFY(f.open(QIODevice::ReadOnly));
        content = f.readAll();
    }
    QProcess gone;
    gone.start("true");
    QVERIFY(gone.waitForStarted());
    const qint64 pid = gone.processId();
    QVERIFY(gone.waitForFinished());
    content = QByteArray::number(pid) + content.mid(content.indexOf('\n'));
    QFile f(lockFile);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();

    TInstanceLock starting(env.Dir());
    QVERIFY(starting.Acquire());
    QVERIFY(env.script.messages.isEmpty());
    QVERIFY(QFile(lockFile).open(QIODevice::ReadOnly));
}

void TestOneCopy::writeTakesTheLockAtItsStart()
{
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
            q.exec("BEGIN IMMEDIATE");
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
        TQuery &q = ShareDataModule->ADOQueryTemp;
        q.Open("Select * From Customer Where CustomerName = '张三'");
        q.First();
        q.Edit();
        q.FieldByName("CustomerOwe").SetAsFloat(q.FieldByName("CustomerOwe").AsFloat() + 10);
        q.Post();
        return true;
    });
    done.acquire();
    other.join();
    QVERIFY(saved);
    QVERIFY2(otherError.isEmpty(), qPrintable(otherError));
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerName = '张三'").toDouble(), 11.0);
}

QTEST_MAIN(TestOneCopy)
#include "tst_onecopy.moc"
