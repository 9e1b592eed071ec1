// The books on a server: moved there from the file, a server refusing what is
// not empty, backups of the server as files and a file restored onto it.
#include "db/KeptTotals.h"
#include "stores/CustomerStore.h"
#include "figures/CustomerFigures.h"
#include "app/MainForm.h"
#include "db/Queries.h"
#include "app/ServerForm.h"
#include "db/ShareDM.h"
#include "support/BackupRestore.h"
#include "support/BooksCheck.h"
#include "support/BooksCopy.h"
#include "support/BooksImport.h"
#include "support/PrivateConnection.h"
#include "support/ServerMove.h"
#include "support/TestEnv.h"
#include "support/TestServer.h"

#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

class TestServerBooks : public QObject {
    Q_OBJECT
private slots:
    void init();
    void fileBooksMoveToTheServer();
    void onlyAnEmptyDatabaseTakesTheBooks_data();
    void onlyAnEmptyDatabaseTakesTheBooks();
    void serverBooksGoToAFileAndBack();
    void administratorMovesTheBooksFromTheWindow();
    void backupAndRestoreOfTheServersBooks();
    void anotherCountersSaveRefreshesTheIdlePages();
    void aLostConnectionIsSaidAndMadeAgain();
    void trialNamesTheReason_data();
    void trialNamesTheReason();
    void openingNamesTheReason_data();
    void openingNamesTheReason();
};

void TestServerBooks::init()
{
    if (!TestServer::Enabled())
        QSKIP("needs the test server (the run with KESTROVA_TEST_ENGINE=postgres)");
}

namespace {
// A small shop: names with quotes, amounts of half a fen as older books hold them, lines, other receivables.
void Shop(TestEnv &env)
{
    env.AddCustomer("O'Brien");
    env.AddCustomer("张'三");
    env.AddAccount("现金");
    const int product = env.AddProduct("皮鞋", "T1", 99.5, "P01");
    const int sale = env.AddBill("出货单", "O'Brien", QDate(2024, 3, 1), 2.005, 1.005, 2);
    env.AddLine(sale, product, -2);
    env.AddBill("进货单", "张'三", QDate(2024, 3, 2), -10.5, 0, 1);
    env.AddSG("张'三", QDate(2024, 3, 3), 7.25, "运费");
    env.Exec("Delete From Bill Where BillIndex = ?", {env.AddBill("出货单", "O'Brien", QDate(2024, 3, 4), 1)});
}

qint64 Debt(const QString &customer)
{
    TCustomerFigures figures;
    figures.Load(QDate(2024, 12, 31));
    return figures.Of(customer).sales + figures.Of(customer).returns + figures.Of(customer).other - figures.Of(customer).paidNet;
}
} // namespace

void TestServerBooks::fileBooksMoveToTheServer()
{
    TestEnv env(Db::File);
    Shop(env);
    const qint64 obrien = Debt("O'Brien"), zhang = Debt("张'三");
    const int lastBill = env.Scalar("Select Max(BillIndex) From Bill").toInt() + 1;   // the deleted one's key stays given
    const TDataSource server = TestServer::NewEmptyDatabase();
    ShareDataModule->Disconnect();
    const TServerMove::Result moved = TServerMove::ToServer(env.DatabaseFile(), server);
    QCOMPARE(moved.reason, QString());
    QCOMPARE(moved.status, TServerMove::Moved);
    // The program now opens the server, and its figures are the file's.
    QCOMPARE(TDataSource::Registered().Describe(), server.Describe());
    QCOMPARE(ShareDataModule->Connection().driverName(), QStringLiteral("QPSQL"));
    QCOMPARE(Debt("O'Brien"), obrien);
    QCOMPARE(Debt("张'三"), zhang);
    // The server's journal says where its books came from.
    QCOMPARE(env.Scalar("Select JournalAction || JournalKind || ' ' || JournalText From Journal Order By JournalIndex Desc").toString(),
             QStringLiteral("迁移账套 从“%1”迁移到%2").arg(QDir::toNativeSeparators(env.DatabaseFile()), server.Describe()));
    // New rows take keys after every key the file gave.
    const int next = env.AddBill("出货单", "O'Brien", QDate(2024, 3, 5), 1);
    QVERIFY2(next > lastBill, qPrintable(QStringLiteral("%1 after %2").arg(next).arg(lastBill)));
    bool ok = false;
    QCOMPARE(KeptTotals::Differences(ShareDataModule->Connection(), &ok), QStringList());
    QVERIFY(ok);
    ShareDataModule->Disconnect();
    TestServer::Drop(server);
}

void TestServerBooks::onlyAnEmptyDatabaseTakesTheBooks_data()
{
    QTest::addColumn<QString>("target");
    QTest::newRow("books already") << "books";
    QTest::newRow("another program's table") << "foreign";
    QTest::newRow("no such database") << "missing";
}

void TestServerBooks::onlyAnEmptyDatabaseTakesTheBooks()
{
    QFETCH(QString, target);
    TestEnv env(Db::File);
    Shop(env);
    TDataSource server = target == "books" ? TestServer::NewBooks() : TestServer::NewEmptyDatabase();
    if (target == "foreign") {
        TPrivateConnection other(server);
        QVERIFY(QSqlQuery(other.Db()).exec("Create Table Orders (Id Integer)"));
    }
    if (target == "missing") {
        TestServer::Drop(server);
    }
    const TServerMove::Status expected = target == "missing" ? TServerMove::Unreachable : TServerMove::NotEmpty;
    QCOMPARE(TServerMove::ToServer(env.DatabaseFile(), server).status, expected);
    QVERIFY(!TDataSource::Registered().server);
    if (target != "missing")
        TestServer::Drop(server);
}

void TestServerBooks::serverBooksGoToAFileAndBack()
{
    TestEnv env;   // on the server
    Shop(env);
    const qint64 obrien = Debt("O'Brien");
    const QString file = env.Dir() + "备份.mdb";
    TBooksImport::Outcome exported = TBooksImport::Export(ShareDataModule->Connection(), file);
    QCOMPARE(exported.reason, QString());
    QCOMPARE(TBooksCheck::Check(file), TBooksCheck::Good);
    {
        TPrivateConnection copy(file, QString());
        QCOMPARE(TServerMove::Differences(copy.Db(), ShareDataModule->Connection()), QStringList());
    }
    // Restored onto the server over changed books: the server holds the file's books again.
    env.Exec("Delete From SG");
    env.AddBill("出货单", "O'Brien", QDate(2024, 3, 9), 100);
    const TBooksImport::Outcome restored = TBooksImport::ImportInto(file, ShareDataModule->Connection());
    QCOMPARE(restored.reason, QString());
    QCOMPARE(Debt("O'Brien"), obrien);
    TPrivateConnection copy(file, QString());
    QCOMPARE(TServerMove::Differences(copy.Db(), ShareDataModule->Connection()), QStringList());
    // A file that is not books changes nothing.
    WriteFile(env.Dir() + "坏.mdb", "not a database");
    QVERIFY(TBooksImport::ImportInto(env.Dir() + "坏.mdb", ShareDataModule->Connection()).verdict != TBooksImport::Done);
    QCOMPARE(Debt("O'Brien"), obrien);
}

void TestServerBooks::administratorMovesTheBooksFromTheWindow()
{
    TestEnv env(Db::File);
    env.StartAsFinance();
    Shop(env);
    const TDataSource server = TestServer::NewEmptyDatabase();
    const TDataSource wrong = [&] {
        TDataSource s = server;
        s.database = "kt_nowhere";
        return s;
    }();
    auto fill = [](TFormServer *form, const TDataSource &source, const QString &port) {
        form->HostEdit->setText(source.host);
        form->PortEdit->setText(port);
        form->DatabaseEdit->setText(source.database);
        form->UserEdit->setText(source.user);
    };
    env.script.Then([&](QDialog *dialog) {
        auto *form = qobject_cast<TFormServer *>(dialog);
        QVERIFY(form->CurrentLabel->text().contains(env.DatabaseFile()));
        fill(form, server, "65536");
        form->TestButton->click();
        fill(form, wrong, QString::number(server.port));
        form->TestButton->click();
        fill(form, server, QString::number(server.port));
        form->TestButton->click();
        env.script.answers = {true};
        form->MoveButton->click();
    });
    FormMain->ActionServer->trigger();
    QCOMPARE(env.script.messages, (QStringList{"端口应为 1 至 65535 之间的整数", "连接失败：服务器上没有这个数据库",
                                               "连接成功：服务器上的数据库是空的，可以把帐套迁移到服务器",
                                               QStringLiteral("帐套已迁移到%1，本机的帐套文件保留不动。程序将关闭，请重新启动").arg(server.Describe())}));
    QVERIFY(!FormMain->isVisible());   // closed, to start again on the server
    QCOMPARE(TDataSource::Registered().database, server.database);
    ShareDataModule->Disconnect();
    TestServer::Drop(server);
}

void TestServerBooks::backupAndRestoreOfTheServersBooks()
{
    TestEnv env;   // on the server
    env.StartAsFinance();
    Shop(env);
    const qint64 obrien = Debt("O'Brien");
    const QString file = env.Dir() + "备份.mdb";
    QCOMPARE(TBooksCopy::Backup(file).status, TBooksCopy::Done);
    QCOMPARE(TBooksCheck::Check(file), TBooksCheck::Good);
    env.AddBill("出货单", "O'Brien", QDate(2024, 3, 9), 100);
    // Only the administrator restores books every counter shares.
    env.script.openFile = file;
    QVERIFY(!TBackupRestore::Load());
    QCOMPARE(env.script.messages, QStringList{"服务器上的帐套由各台电脑共用，只有管理员可以恢复"});
    const TBooksCopy::Result restored = TBooksCopy::Restore(file, QDateTime(QDate(2024, 3, 15), QTime(10, 15)));
    QCOMPARE(restored.reason, QString());
    QCOMPARE(restored.status, TBooksCopy::Done);
    QCOMPARE(Debt("O'Brien"), obrien);
    // What was replaced is kept as a file, the bill added after the backup in it.
    QCOMPARE(TBooksCheck::Check(restored.keptFile), TBooksCheck::Good);
    TPrivateConnection kept(restored.keptFile, QString());
    QSqlQuery q(kept.Db());
    QVERIFY(q.exec("Select Count(*) From Bill Where BillSum = 100") && q.next());
    QCOMPARE(q.value(0).toInt(), 1);
}

void TestServerBooks::anotherCountersSaveRefreshesTheIdlePages()
{
    TestEnv env;   // on the server
    env.StartAsFinance();
    FormMain->show();
    TPrivateConnection other(TDataSource::Registered());
    QVERIFY(other.IsOpen());
    int saves = 0;
    auto save = [&other, &saves] {
        QSqlQuery q(other.Db());
        QVERIFY(q.exec("Begin"));
        QVERIFY(q.exec(QString("Insert Into Customer (CustomerName) Values ('另一台电脑的客户%1')").arg(++saves)));
        QVERIFY(q.exec("Notify kestrova_books"));
        QVERIFY(q.exec("Commit"));
    };
    // A dialog open over the pages: nothing moves under it.
    QDialog dialog(FormMain);
    dialog.setModal(true);
    dialog.show();
    int before = FormMain->RefreshCount;
    save();
    QTest::qWait(1500);
    QCOMPARE(FormMain->RefreshCount, before);
    dialog.close();
    QTRY_VERIFY_WITH_TIMEOUT(FormMain->RefreshCount > before, 2000);
    // Idle: within two seconds, and this counter's own saves do not count.
    before = FormMain->RefreshCount;
    save();
    QTRY_VERIFY_WITH_TIMEOUT(FormMain->RefreshCount > before, 2000);
    before = FormMain->RefreshCount;
    ShareDataModule->RunInTransaction("x", [] {
        ShareDataModule->Exec("Insert Into Customer (CustomerName) Values ('本机客户')");
        return true;
    });
    QTest::qWait(1200);
    QCOMPARE(FormMain->RefreshCount, before);
}

void TestServerBooks::aLostConnectionIsSaidAndMadeAgain()
{
    TestEnv env;
    env.AddCustomer("张'三");
    // The server drops this counter's connection (a restart, a cable pulled).
    auto cut = [] {
        TPrivateConnection admin(TDataSource::Registered());
        QSqlQuery q(admin.Db());
        QVERIFY(q.exec("Select pg_terminate_backend(pid) From pg_stat_activity "
                       "Where datname = current_database() And pid <> pg_backend_pid()"));
    };
    cut();
    QCOMPARE(TCustomerStore::Create(Customer{0, "李四", "本地", 0}), TCustomerStore::Failed);
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("客户保存失败\n与数据库服务器的连接已中断") && env.script.messages[0].endsWith("已重新连接，请再试一次。"),
             qPrintable(env.script.messages[0]));
    // Made again at once: the next try lands, once.
    QCOMPARE(TCustomerStore::Create(Customer{0, "李四", "本地", 0}), TCustomerStore::Saved);
    QCOMPARE(env.Scalar("Select Count(*) From Customer Where CustomerName = '李四'").toInt(), 1);
    // A read says so too.
    cut();
    env.script.messages.clear();
    TQuery q(QStringLiteral("Read"));
    QVERIFY(!RunQuery(q, QStringLiteral("Select * From Customer"), QStringLiteral("数据库打开失败")));
    QVERIFY(env.script.messages.value(0).startsWith("数据库打开失败\n与数据库服务器的连接已中断"));
    QVERIFY(RunQuery(q, QStringLiteral("Select * From Customer"), QStringLiteral("数据库打开失败")));

    // Idle, the connection is made again by itself and the pages catch up with what was missed.
    env.StartAsFinance();
    FormMain->show();
    const int before = FormMain->RefreshCount;
    cut();
    {
        TPrivateConnection other(TDataSource::Registered());
        QSqlQuery save(other.Db());
        QVERIFY(save.exec("Insert Into Customer (CustomerName) Values ('断线时的客户')"));
    }
    QTRY_VERIFY_WITH_TIMEOUT(FormMain->RefreshCount > before, 8000);
    QVERIFY(ShareDataModule->Connected());
}

QTEST_MAIN(TestServerBooks)
#include "tst_server.moc"

namespace {
// A database on the test server holding what `sql` makes.
TDataSource DatabaseWith(const QStringList &sql)
{
    const TDataSource database = TestServer::NewEmptyDatabase();
    TPrivateConnection connection(database);
    for (const QString &statement : sql)
        QSqlQuery(connection.Db()).exec(statement);
    return database;
}
} // namespace

void TestServerBooks::trialNamesTheReason_data()
{
    QTest::addColumn<QString>("answering");   // what answers at the address
    QTest::addColumn<QString>("said");
    QTest::newRow("a web server") << "http" << "连接失败：该地址和端口上不是 PostgreSQL 数据库服务器，请检查服务器地址和端口";
    QTest::newRow("a port that closes at once") << "closes" << "连接失败：该地址和端口上不是 PostgreSQL 数据库服务器，请检查服务器地址和端口";
    QTest::newRow("no such database") << "no database" << "连接失败：服务器上没有这个数据库";
    QTest::newRow("another program's tables") << "foreign" << "连接失败：服务器上的数据库不是本程序的帐套";
}

void TestServerBooks::trialNamesTheReason()
{
    QFETCH(QString, answering);
    QFETCH(QString, said);
    TestEnv env(Db::File);
    env.StartAsFinance();
    TDataSource source = TestServer::Server();
    QTcpServer other;
    if (answering == "http" || answering == "closes") {
        QVERIFY(other.listen(QHostAddress::LocalHost));
        QObject::connect(&other, &QTcpServer::newConnection, &other, [&other, answering] {
            QTcpSocket *peer = other.nextPendingConnection();
            if (answering == "http") {
                peer->write("HTTP/1.1 400 Bad Request\r\nContent-Length: 0\r\n\r\n");
                peer->flush();
            }
            peer->disconnectFromHost();
        });
        source.host = "127.0.0.1";
        source.port = other.serverPort();
        source.database = "books";
    } else if (answering == "no database") {
        source.database = "kt_nowhere";
    } else {
        source = DatabaseWith({"Create Table Stock (Item Text)"});
    }
    env.script.Then([&](QDialog *dialog) {
        auto *form = qobject_cast<TFormServer *>(dialog);
        form->HostEdit->setText(source.host);
        form->PortEdit->setText(QString::number(source.port));
        form->DatabaseEdit->setText(source.database);
        form->UserEdit->setText(source.user);
        form->TestButton->click();
    });
    FormMain->ActionServer->trigger();
    QCOMPARE(env.script.messages, QStringList{said});
    if (answering == "foreign")
        TestServer::Drop(source);
}

void TestServerBooks::openingNamesTheReason_data()
{
    QTest::addColumn<QStringList>("sql");   // what the registered database holds
    QTest::addColumn<QString>("said");
    QTest::newRow("another program's tables") << QStringList{"Create Table Stock (Item Text)"}
                                              << "不是本程序的帐套";
    QTest::newRow("books of a newer version")
        << QStringList{"Create Table BooksInfo (InfoName Text Primary Key, InfoValue Text)",
                       "Insert Into BooksInfo Values ('SchemaVersion', '9')"}
        << "帐套由较新版本的程序建立（版本 9，本程序为版本 4），请先升级本程序";
}

void TestServerBooks::openingNamesTheReason()
{
    QFETCH(QStringList, sql);
    QFETCH(QString, said);
    TestEnv env(Db::File);
    const TDataSource database = DatabaseWith(sql);
    QString error;
    QVERIFY(TDataSource::RegisterServer(database, &error));
    ShareDataModule->Disconnect();
    TQuery q;
    QVERIFY(!RunQuery(q, "Select * From Power", "数据库打开失败"));
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("数据库打开失败\n原因：") && env.script.messages[0].endsWith(said),
             qPrintable(env.script.messages[0]));
    // Nothing of the program was made there.
    TPrivateConnection connection(database);
    QSqlQuery tables(connection.Db());
    QVERIFY(tables.exec("Select Count(*) From pg_tables Where schemaname = current_schema()") && tables.next());
    QCOMPARE(tables.value(0).toInt(), 1);
    ShareDataModule->Disconnect();
    TestServer::Drop(database);
}
