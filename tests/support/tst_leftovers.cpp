// A backup or a restore killed half-way leaves hidden temporary files; the
// next start removes them, and nothing that is not the program's own.
#include "core/Clock.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "support/BooksCheck.h"
#include "support/BooksCopy.h"
#include "support/BooksImport.h"
#include "support/Leftovers.h"
#include "support/TestEnv.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {
QStringList Hidden(const QString &dir)
{
    return QDir(dir).entryList({".Kestrova-*"}, QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// Books large enough that a copy takes a while: some tens of megabytes in a file;
// a server's books are copied row by row through the program, so a tenth does.
int LineCount() { return TestEnv::OnServer() ? 30000 : 300000; }

void FillBooks(TestEnv &env)
{
    env.AddCustomer("张三");
    env.Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                            "INSERT INTO Store (StoreBill, StoreProduct, StoreNum1, StoreNum2, StoreNum3, StoreNumber, StorePrice, StoreSum) "
                            "SELECT i, 1, '十二双鞋子' || i, '三十五码' || i, '四十四码' || i, i, 12.5, i * 12.5 FROM n")
                 .arg(LineCount()));
}
} // namespace

class TestLeftovers : public QObject {
    Q_OBJECT
private slots:
    void killedCopyCleanedAtNextStart_data();
    void killedCopyCleanedAtNextStart();
};

void TestLeftovers::killedCopyCleanedAtNextStart_data()
{
    QTest::addColumn<QString>("operation");
    QTest::newRow("daily backup") << "backup";
    QTest::newRow("restore") << "restore";
}

void TestLeftovers::killedCopyCleanedAtNextStart()
{
    QFETCH(QString, operation);
    TestEnv env;
    FillBooks(env);
    QVERIFY(QDir(env.Dir()).mkdir("Backup"));
    QVERIFY(QDir(env.Dir()).mkdir("外面"));
    const QString source = env.Dir() + "外面/source.mdb";
    if (TestEnv::OnServer())
        QCOMPARE(TBooksImport::Export(ShareDataModule->Connection(), source).verdict, TBooksImport::Done);
    else
        ShareDataModule->Exec("VACUUM INTO ?", {source});
    ShareDataModule->Disconnect();
    const QByteArray books = FileBytes(env.DatabaseFile());
    const QString watched = operation == "backup" ? env.Dir() + "Backup" : env.Dir();

    // Another copy of the program at work on the folder, killed as soon as its temporary file is there.
    QStringList left;
    for (int attempt = 0; attempt < 5 && left.isEmpty(); ++attempt) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(QCoreApplication::applicationFilePath(), {"--child", operation, env.Dir(), source});
        QVERIFY(child.waitForStarted());
        QElapsedTimer guard;
        guard.start();
        while (Hidden(watched).isEmpty() && child.state() == QProcess::Running && guard.elapsed() < 120000)
            QThread::usleep(200);
        child.kill();
        QVERIFY(child.waitForFinished(30000));
        left = Hidden(watched);
    }
    QVERIFY2(!left.isEmpty(), "the child was never caught half-way");

    // Files that only look like ours stay: another program folder's, and a symlink.
    const QString others = env.Dir() + "Backup/.Kestrova-backup-0badf00d-Ab12Cd";
    QFile(others).open(QIODevice::WriteOnly);
    QFile(env.Dir() + "外面/target").open(QIODevice::WriteOnly);
    const QString link = env.Dir() + ".Kestrova-restore-Zz9Yy8";
    QVERIFY(QFile::link(env.Dir() + "外面/target", link));

    env.StartAsFinance();
    QCOMPARE(Hidden(env.Dir()), QStringList{".Kestrova-restore-Zz9Yy8"});
    QCOMPARE(Hidden(env.Dir() + "Backup"), QStringList{".Kestrova-backup-0badf00d-Ab12Cd"});
    QVERIFY(QFile::exists(env.Dir() + "外面/target"));
    // The books were never touched by the killed copy (a finished restore would have put the same rows in).
    if (!TestEnv::OnServer())
        QCOMPARE(TBooksCheck::Check(env.DatabaseFile()), TBooksCheck::Good);
    if (operation == "backup")
        QCOMPARE(FileBytes(env.DatabaseFile()), books);
    QCOMPARE(env.Scalar("Select count(*) From Store").toInt(), LineCount());
    // Today's daily copy was made after the clean-up and stands whole.
    QCOMPARE(TBooksCheck::Check(env.Dir() + "Backup/Kestrova-2024-03-15.mdb"), TBooksCheck::Good);
}

// With "--child backup|restore <program folder> <source>" the test program
// runs one backup into Backup/ or one restore from source, and waits to be killed.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc == 5 && qstrcmp(argv[1], "--child") == 0) {
        const QString dir = QFile::decodeName(argv[3]);
        SetProgramDirOverride(dir);
        DialogScript script;
        Dialogs::SetHandler(&script);
        CreateForms();
        if (qstrcmp(argv[2], "backup") == 0)
            TBooksCopy::Backup(dir + QStringLiteral("/Backup/Kestrova-2024-03-14.mdb"));
        else
            TBooksCopy::Restore(QFile::decodeName(argv[4]), QDateTime::currentDateTime());
        for (;;)
            QThread::sleep(60);
    }
    TestLeftovers test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_leftovers.moc"
