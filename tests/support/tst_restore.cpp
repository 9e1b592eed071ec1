// Restoring files from outside: the books are rebuilt from our own schema, so
// nothing of the file's own rules arrives, and a file that does not fit is
// refused with the books byte for byte as they were.
#include "db/Schema.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "db/DataSource.h"
#include "support/BooksCheck.h"
#include "support/BooksImport.h"
#include "support/TestServer.h"
#include "support/MaintenancePage.h"
#include "stores/RowWrites.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolButton>
#include <QUuid>

#include <sys/stat.h>

namespace {
QStringList Files(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

// Runs statements on a database file through a connection of its own; the
// first failure fails the test. Gives the rows of the last one, one text a row.
QStringList Run(const QString &file, const QStringList &statements)
{
    const QString name = QUuid::createUuid().toString();
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
        db.setDatabaseName(file);
        if (!db.open())
            qFatal("cannot open %s", qPrintable(file));
        QSqlQuery q(db);
        for (const QString &sql : statements) {
            rows.clear();
            if (!q.exec(sql))
                qFatal("%s: %s", qPrintable(sql), qPrintable(q.lastError().text()));
            while (q.next()) {
                QStringList values;
                for (int i = 0; i < q.record().count(); ++i)
                    values << q.value(i).toString();
                rows << values.join('|');
            }
        }
    }
    QSqlDatabase::removeDatabase(name);
    return rows;
}

QStringList SchemaObjects(const QString &file)
{
    return Run(file, {"SELECT type, name, sql FROM sqlite_master WHERE name NOT LIKE 'sqlite_%' ORDER BY name"});
}

void LoginAsAdministrator(TestEnv &env)
{
    env.MarkRegistered();
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    FormMain->show();
    env.script.messages.clear();
}

// Books with a customer and three bills, copied out as the file to choose.
QString GoodFile(TestEnv &env)
{
    env.AddCustomer("张三", "本地", 12.5);
    env.AddBill("出货单", "张三", QDate(2024, 3, 1), 100);
    env.AddBill("出货单", "张三", QDate(2024, 3, 2), 200);
    env.AddBill("进货单", "张三", QDate(2024, 3, 3), -50);
    QDir(env.Dir()).mkdir("外面");
    const QString file = env.Dir() + "外面/选中.mdb";
    if (!TestEnv::OnServer())
        ShareDataModule->Exec("VACUUM INTO ?", {file});
    else if (TBooksImport::Export(ShareDataModule->Connection(), file).verdict != TBooksImport::Done)
        qFatal("cannot copy the server's books into %s", qPrintable(file));
    return file;
}

// The tables with their columns, the indexes, sequences, views, triggers and functions of a server's books.
QStringList ServerObjects(QSqlDatabase &db)
{
    QSqlQuery q(db);
    if (!q.exec("Select c.relkind::text || ' ' || c.relname || Coalesce(' ' || a.attname, '') From pg_class c "
                "Join pg_namespace n On n.oid = c.relnamespace "
                "Left Join pg_attribute a On a.attrelid = c.oid And c.relkind = 'r' And a.attnum > 0 And Not a.attisdropped "
                "Where n.nspname = current_schema() "
                "Union All Select 'trigger ' || t.tgname From pg_trigger t Join pg_class c On c.oid = t.tgrelid "
                "Join pg_namespace n On n.oid = c.relnamespace Where n.nspname = current_schema() And Not t.tgisinternal "
                "Union All Select 'function ' || p.proname From pg_proc p Join pg_namespace n On n.oid = p.pronamespace "
                "Where n.nspname = current_schema() Order By 1"))
        qFatal("%s", qPrintable(q.lastError().text()));
    QStringList objects;
    while (q.next())
        objects << q.value(0).toString();
    return objects;
}

// The same of new books on the test server.
QStringList FreshServerObjects()
{
    const TDataSource fresh = TestServer::NewBooks();
    QStringList objects;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(fresh.DriverName(), "fresh");
        fresh.Configure(db);
        if (!db.open())
            qFatal("%s", qPrintable(db.lastError().text()));
        objects = ServerObjects(db);
        db.close();
    }
    QSqlDatabase::removeDatabase("fresh");
    TestServer::Drop(fresh);
    return objects;
}

QString BillCreate(const QString &file)
{
    return Run(file, {"SELECT sql FROM sqlite_master WHERE name = 'Bill'"}).value(0);
}

// Makes table Bill anew from its own CREATE text changed by edit; rows carry over, with extra values appended.
void RebuildBillIn(const QString &file, const std::function<QString(QString)> &edit, const QString &extra = QString())
{
    const QString create = edit(BillCreate(file));
    Run(file, {"CREATE TEMP TABLE Keep AS SELECT * FROM Bill", "DROP TABLE Bill", create,
               "INSERT INTO Bill SELECT *" + extra + " FROM Keep", "DROP TABLE Keep"});
}

const QString Success = "^恭喜您，数据库恢复成功，请重新启动软件\n原来的数据已另存为：";

void Restore(TestEnv &env, const QString &file)
{
    env.script.messages.clear();
    env.script.answers = {true};
    env.script.openFile = file;
    FormMain->TabSheet6->SpeedButtonLoad->click();
}
} // namespace

class TestRestore : public QObject {
    Q_OBJECT
private slots:
    void fileRulesStayBehind_data();
    void fileRulesStayBehind();
    void hostileFileRefused_data();
    void hostileFileRefused();
    void journalIsOursOrNotCopied_data();
    void journalIsOursOrNotCopied();
};

void TestRestore::fileRulesStayBehind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("trigger empties the customers at the next bill") << "delete trigger";
    QTest::newRow("trigger sets the passwords") << "password trigger";
    QTest::newRow("recursive trigger") << "recursive trigger";
    QTest::newRow("user column named rowid on Bill") << "rowid";
    QTest::newRow("Bill WITHOUT ROWID") << "without rowid";
    QTest::newRow("views, indexes, extra tables and columns") << "extras";
    QTest::newRow("WAL mode with rows not yet checkpointed") << "wal";
    QTest::newRow("books of an older version") << "older";
}

void TestRestore::fileRulesStayBehind()
{
    QFETCH(QString, kind);
    TestEnv env;
    LoginAsAdministrator(env);
    QString file = GoodFile(env);
    int customers = 2;   // the placeholder and 张三
    int parameters = 10;
    if (kind == "delete trigger") {
        Run(file, {"CREATE TRIGGER Wipe AFTER INSERT ON Bill BEGIN DELETE FROM Customer; END"});
    } else if (kind == "password trigger") {
        Run(file, {"CREATE TRIGGER Lock AFTER INSERT ON Bill BEGIN UPDATE Power SET PowerKey = 'x'; END",
                   "CREATE TRIGGER Lock2 AFTER UPDATE ON Bill BEGIN UPDATE Power SET PowerKey = 'x'; END"});
    } else if (kind == "recursive trigger") {
        Run(file, {"CREATE TRIGGER Again AFTER INSERT ON Bill BEGIN INSERT INTO Bill (BillKind) VALUES ('x'); END"});
    } else if (kind == "rowid") {
        RebuildBillIn(file, [](QString sql) { return sql.replace(QRegularExpression("\\)\\s*$"), ", rowid INTEGER)"); }, ", 1");
    } else if (kind == "without rowid") {
        RebuildBillIn(file, [](QString sql) {
            return sql.replace("INTEGER PRIMARY KEY AUTOINCREMENT", "INTEGER PRIMARY KEY") + " WITHOUT ROWID";
        });
    } else if (kind == "extras") {
        Run(file, {"CREATE VIEW Everything AS SELECT * FROM Bill", "CREATE INDEX Extra ON Bill (BillRemark)",
                   "CREATE TABLE Notes (Text TEXT)", "INSERT INTO Notes VALUES ('x')",
                   "ALTER TABLE Customer ADD COLUMN Secret TEXT DEFAULT 'x'"});
    } else if (kind == "wal") {
        // The rows of 王五 lie in the -wal file beside the copy only.
        const QString name = QUuid::createUuid().toString();
        {
            QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(file);
            QVERIFY(db.open());
            QSqlQuery q(db);
            QVERIFY(q.exec("PRAGMA journal_mode = WAL") && q.next() && q.value(0).toString() == "wal");
            QVERIFY(q.exec("PRAGMA wal_autocheckpoint = 0"));
            QVERIFY(q.exec("INSERT INTO Customer (CustomerName) VALUES ('王五')"));
            const QString copy = env.Dir() + "外面/wal.mdb";
            QVERIFY(QFile::copy(file, copy) && QFile::copy(file + "-wal", copy + "-wal"));
            QVERIFY(QFileInfo(copy + "-wal").size() > 0);
            file = copy;
            q.finish();
            db.close();
        }
        QSqlDatabase::removeDatabase(name);
        customers = 3;
    } else if (kind == "older") {
        // Indexes as an earlier version made them, and no starting parameter values.
        Run(file, {"DROP INDEX BillByUser", "DROP INDEX BillByDate", "DROP INDEX ParameterByType",
                   "CREATE INDEX BillByUser ON Bill (BillUser, BillCreateTime)",
                   "CREATE INDEX CustomerByRegion ON Customer (CustomerRegion, CustomerName)",
                   "DELETE FROM Parameter",
                   "CREATE UNIQUE INDEX ParameterByValue ON Parameter (ParameterType, ParameterValue)"});
        parameters = 0;
    }

    Restore(env, file);
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(QRegularExpression(Success).match(env.script.messages[0]).hasMatch(), qPrintable(env.script.messages[0]));

    // Exactly our own tables, indexes and nothing else.
    if (TestEnv::OnServer()) {
        QCOMPARE(ServerObjects(ShareDataModule->Connection()), FreshServerObjects());
    } else {
        const QString fresh = env.Dir() + "fresh.mdb";
        QString error;
        QVERIFY2(Schema::CreateDatabase(fresh, &error), qPrintable(error));
        QCOMPARE(SchemaObjects(env.DatabaseFile()), SchemaObjects(fresh));
        QCOMPARE(TBooksCheck::Check(env.DatabaseFile()), TBooksCheck::Good);
    }

    // The file's rows arrived, and the books behave as books.
    QCOMPARE(env.Scalar("Select count(*) From Customer").toInt(), customers);
    QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerName = '张三'").toDouble(), 12.5);
    QCOMPARE(env.Scalar("Select Sum(BillSum) From Bill Where BillUser = '张三'").toDouble(), 250.0);
    QCOMPARE(env.Scalar("Select count(*) From Parameter").toInt(), parameters);
    QVERIFY(ShareDataModule->RunInTransaction("单据新增失败", [&] {
        RowWrites::Insert("Bill", [](TRecord &row) {
            row.FieldByName("BillKind").SetAsString("出货单");
            row.FieldByName("BillUser").SetAsString("张三");
            row.FieldByName("BillSum").SetAsFloat(30);
        });
        return true;
    }));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '张三'").toInt(), 4);
    QCOMPARE(env.Scalar("Select max(BillIndex) From Bill").toInt(), 5);
    QCOMPARE(env.Scalar("Select count(*) From Customer").toInt(), customers);
    QCOMPARE(env.Scalar("Select PowerKey From Power Where PowerName = '管理员'").toString(), QStringLiteral("9999"));
    QSqlQuery change(ShareDataModule->Connection());
    QVERIFY(change.exec("Update Bill Set BillRemark = 'x' Where BillIndex = 3"));
    QCOMPARE(change.numRowsAffected(), 1);
    QVERIFY(env.script.messages.size() == 1);
}

void TestRestore::hostileFileRefused_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString row = "所选数据库中表 %1 的第 %2 行（%3）的 %4 应为%5，实为%6，未作任何修改";
    const QString notFile = "所选的不是普通文件（是文件夹、管道或设备），未作任何修改";
    QTest::newRow("TEXT key, a bill saved with no key")
        << "text key" << row.arg("Bill", "1", "BillIndex = 1", "BillIndex", "整数编号", "“1”");
    QTest::newRow("key left empty") << "null key" << row.arg("Bill", "5", "BillIndex = 空", "BillIndex", "整数编号", "空值");
    QTest::newRow("amount that is a word") << "word amount" << row.arg("Bill", "3", "BillIndex = 3", "BillSum", "金额", "“十二元”");
    QTest::newRow("infinite amount") << "infinite" << row.arg("Customer", "2", "CustomerIndex = 2", "CustomerOwe", "金额", "“inf”");
    QTest::newRow("date that is no day")
        << "bad date" << row.arg("Bill", "2", "BillIndex = 2", "BillCreateTime", "日期（如 2024-03-15）", "“2024-02-30”");
    QTest::newRow("two bills with one key") << "duplicate key" << "所选数据库中表 Bill 的第 3 行（BillIndex = 2）与其他行重复，未作任何修改";
    QTest::newRow("a password row missing")
        << "no administrator" << "所选数据库缺少必需的记录：表 Power 中 PowerName = 管理员 的行，未作任何修改";
    QTest::newRow("a view in place of a table") << "view" << "所选文件不是本软件的数据库，未作任何修改";
    QTest::newRow("a row version beyond its column")
        << "too large" << "所选数据库中表 Bill 的第 2 行（BillIndex = 2）的 BillVersion 为“9223372036854775807”，数字太大，超出了该列能存放的范围，未作任何修改";
    // Records the program never wrote, in a file whose version keeps a journal.
    const QString record = "所选数据库中表 Journal 的第 1 行（JournalIndex = 7）不是本程序记下的修改记录：%1，未作任何修改";
    QTest::newRow("a record of no action") << "journal|2024-03-01 10:00:00||出货单|" << record.arg("操作“”不是本程序记下的操作");
    QTest::newRow("a record dated on no day")
        << "journal|2099-02-30 10:00:00|新增|客户|" << record.arg("时间“2099-02-30 10:00:00”不是有效的时间");
    QTest::newRow("a record of a kind never written")
        << "journal|2024-03-01 10:00:00|删除|银行卡|" << record.arg("种类“银行卡”不是本程序记下的种类");
    QTest::newRow("a bill's image of another kind")
        << "journal|2024-03-01 10:00:00|删除|出货单|{\"before\":{\"BillKind\":\"进货单\"}}" << record.arg("所记内容不是本程序写下的格式");
    QTest::newRow("an image that is no JSON") << "journal|2024-03-01 10:00:00|删除|客户|{before" << record.arg("所记内容不是本程序写下的格式");
    QTest::newRow("a journal without its key") << "journal without key" << "所选数据库中表 Journal 缺少 JournalIndex 列，未作任何修改";
    QTest::newRow("named pipe") << "pipe" << notFile;
    QTest::newRow("symlink to /dev/zero") << "zero" << notFile;
    QTest::newRow("folder") << "folder" << notFile;
    QTest::newRow("larger than ten books and a gigabyte") << "oversized" << "所选文件过大";
    // The cause in words, never a bare error number.
    QTest::newRow("symlink loop") << "loop" << "数据库恢复失败：符号链接循环或层数过多（错误号 40）";
}

void TestRestore::hostileFileRefused()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    TestEnv env;
    LoginAsAdministrator(env);
    QString file = GoodFile(env);
    if (kind == "text key") {
        RebuildBillIn(file, [](QString sql) { return sql.replace("BillIndex      INTEGER PRIMARY KEY AUTOINCREMENT", "BillIndex TEXT"); });
        Run(file, {"INSERT INTO Bill (BillKind, BillUser, BillSum) VALUES ('出货单', '张三', 5)"});
    } else if (kind == "word amount") {
        RebuildBillIn(file, [](QString sql) { return sql.replace("BillSum        REAL", "BillSum NUMERIC"); });
        Run(file, {"UPDATE Bill SET BillSum = '十二元' WHERE BillIndex = 3"});
    } else if (kind == "infinite") {
        Run(file, {"UPDATE Customer SET CustomerOwe = 1e999 WHERE CustomerIndex = 2"});
    } else if (kind == "bad date") {
        Run(file, {"UPDATE Bill SET BillCreateTime = '2024-02-30' WHERE BillIndex = 2"});
    } else if (kind == "null key") {
        // No type at all: the keys stay numbers, and a bill can be saved without one.
        RebuildBillIn(file, [](QString sql) { return sql.replace("BillIndex      INTEGER PRIMARY KEY AUTOINCREMENT", "BillIndex"); });
        Run(file, {"INSERT INTO Bill (BillKind, BillUser, BillSum) VALUES ('出货单', '张三', 5)"});
    } else if (kind == "duplicate key") {
        RebuildBillIn(file, [](QString sql) { return sql.replace("BillIndex      INTEGER PRIMARY KEY AUTOINCREMENT", "BillIndex INTEGER"); });
        Run(file, {"UPDATE Bill SET BillIndex = 2 WHERE BillIndex = 3"});
    } else if (kind == "no administrator") {
        Run(file, {"DELETE FROM Power WHERE PowerName = '管理员'"});
    } else if (kind == "view") {
        Run(file, {"CREATE TABLE OldSG AS SELECT * FROM SG", "DROP TABLE SG", "CREATE VIEW SG AS SELECT * FROM OldSG"});
    } else if (kind == "too large") {
        Run(file, {"UPDATE Bill SET BillVersion = 9223372036854775807 WHERE BillIndex = 2"});
    } else if (kind.startsWith("journal|")) {
        const QStringList v = kind.split('|');
        Run(file, {"DELETE FROM Journal", "INSERT INTO Journal (JournalIndex, JournalMoment, JournalAction, JournalKind, JournalData) "
                                          "VALUES (7, '" + v[1] + "', '" + v[2] + "', '" + v[3] + "', '" + v[4] + "')"});
    } else if (kind == "journal without key") {
        Run(file, {"CREATE TABLE Kept AS SELECT JournalMoment, JournalAction, JournalKind FROM Journal", "DROP TABLE Journal",
                   "ALTER TABLE Kept RENAME TO Journal"});
    } else if (kind == "pipe") {
        file = env.Dir() + "外面/管道.mdb";
        QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
        QCOMPARE(TBooksCheck::Check(file), TBooksCheck::NotOurs);   // the books check never opens it either
    } else if (kind == "zero") {
        file = env.Dir() + "外面/zero.mdb";
        QVERIFY(QFile::link("/dev/zero", file));
    } else if (kind == "loop") {
        file = env.Dir() + "外面/环.mdb";
        QVERIFY(QFile::link(env.Dir() + "外面/环2.mdb", file));
        QVERIFY(QFile::link(file, env.Dir() + "外面/环2.mdb"));
    } else if (kind == "folder") {
        file = env.Dir() + "外面/文件夹.mdb";
        QVERIFY(QDir().mkdir(file));
    } else if (kind == "oversized") {
        // Sparse: it takes no room on the disk.
        QFile big(file);
        QVERIFY(big.resize(10 * QFileInfo(env.DatabaseFile()).size() + (qint64(1) << 30) + 1));
    }

    const QByteArray books = FileBytes(env.DatabaseFile());
    const QStringList rows = env.AllRows();
    const QStringList files = Files(env.Dir());
    Restore(env, file);
    QCOMPARE(env.script.messages.size(), 1);
    if (kind == "oversized") {
        QVERIFY2(env.script.messages[0].startsWith(message) && env.script.messages[0].endsWith("，未作任何修改"),
                 qPrintable(env.script.messages[0]));
    } else {
        QCOMPARE(env.script.messages[0], message);
    }
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
    QCOMPARE(env.AllRows(), rows);
    QCOMPARE(Files(env.Dir()), files);
    QVERIFY(FormMain->isVisible());
    QCOMPARE(env.Scalar("Select count(*) From Customer Where CustomerName = '张三'").toInt(), 1);
}

void TestRestore::journalIsOursOrNotCopied_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("records");   // each record after the restore: action|kind|key|text, * for anything
    const QString restored = "恢复|账套|选中.mdb|从“*”恢复了全部数据";
    QTest::newRow("a file from before the journal: its Journal is not the program's")
        << "older" << QStringList{restored + "；所选数据库为版本 3，还没有修改记录，其中名为 Journal 的表不是本程序的，未恢复"};
    QTest::newRow("a journal without JournalText: the column's default") << "no text" << QStringList{"新增|客户|王五|", restored};
}

void TestRestore::journalIsOursOrNotCopied()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, records);
    TestEnv env;
    LoginAsAdministrator(env);
    const QString file = GoodFile(env);
    if (kind == "older")
        // Forged, dated ahead and empty: none of it comes in.
        Run(file, {"UPDATE BooksInfo SET InfoValue = '3'", "DELETE FROM Journal",
                   "INSERT INTO Journal (JournalMoment, JournalAction, JournalKind, JournalText) VALUES ('2099-01-01 00:00:00', '删除', '出货单', '伪造')",
                   "INSERT INTO Journal DEFAULT VALUES"});
    else
        Run(file, {"DELETE FROM Journal", "ALTER TABLE Journal DROP COLUMN JournalText",
                   "INSERT INTO Journal (JournalMoment, JournalAction, JournalKind, JournalKey) VALUES ('2024-03-01 10:00:00', '新增', '客户', '王五')"});
    Restore(env, file);
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(QRegularExpression(Success).match(env.script.messages[0]).hasMatch(), qPrintable(env.script.messages[0]));
    const QStringList found = env.Rows("Select JournalAction, JournalKind, JournalKey, JournalText From Journal Order By JournalIndex",
                                       "%1|%2|%3|%4", "\n")
                                  .split('\n');
    QCOMPARE(found.size(), records.size());
    for (int i = 0; i < found.size(); ++i) {
        QStringList parts = records[i].split('*');
        for (QString &part : parts)
            part = QRegularExpression::escape(part);
        QVERIFY2(QRegularExpression("^" + parts.join(".*") + "$").match(found[i]).hasMatch(), qPrintable(found[i]));
    }
}

QTEST_MAIN(TestRestore)
#include "tst_restore.moc"
