// Backup and restore through the main window's actions, and the daily backup at login.
#include "db/KeptTotals.h"
#include "db/Schema.h"
#include "core/Clock.h"
#include "db/DataSource.h"
#include "app/MainForm.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "support/BooksCheck.h"
#include "support/BooksCopy.h"
#include "support/BooksImport.h"
#include "support/DailyBackup.h"
#include "support/Leftovers.h"
#include "support/MaintenancePage.h"
#include "stores/RowWrites.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolButton>
#include <QTabWidget>
#include <QUuid>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QStringList Files(const QString &dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

// The books: their file, or none when they are on the test server.
QString Books(const TestEnv &env)
{
    return TestEnv::OnServer() ? QString() : env.DatabaseFile();
}

// Works on a database file, or with no file on the registered server's books, through a connection of its own.
void OnBooks(const QString &file, const std::function<void(QSqlDatabase &)> &work)
{
    const QString name = QUuid::createUuid().toString();
    {
        QSqlDatabase db;
        if (file.isEmpty()) {
            const TDataSource server = TDataSource::Registered();
            db = QSqlDatabase::addDatabase(server.DriverName(), name);
            server.Configure(db);
        } else {
            db = QSqlDatabase::addDatabase("QSQLITE", name);
            db.setDatabaseName(file);
        }
        if (db.open())
            work(db);
    }
    QSqlDatabase::removeDatabase(name);
}

// Runs a one-value query on the books of a file (or the server's) through a connection of its own.
QVariant ValueIn(const QString &file, const QString &sql)
{
    QVariant value;
    OnBooks(file, [&](QSqlDatabase &db) {
        QSqlQuery q(db);
        if (q.exec(sql) && q.next())
            value = q.value(0);
    });
    return value;
}

// Every row of every table, in key order.
QStringList Rows(const QString &file)
{
    QStringList rows;
    OnBooks(file, [&](QSqlDatabase &db) {
        // Kept totals are made from the rows; they must agree with them.
        bool ok = false;
        const QStringList differences = KeptTotals::Differences(db, &ok);
        if (!ok || !differences.isEmpty())
            rows << "kept totals differ: " + differences.join(", ");
        for (const Schema::Table &table : Schema::Tables()) {
            if (table.derived)
                continue;
            QSqlQuery q(db);
            q.exec("SELECT * FROM " + table.name + " ORDER BY 1");
            while (q.next()) {
                QString row = table.name;
                for (int i = 0; i < q.record().count(); ++i)
                    row += '|' + q.value(i).toString();
                rows << row;
            }
        }
    });
    return rows;
}

void LoginAsAdministrator(TestEnv &env)
{
    env.MarkRegistered();
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    FormMain->show();
    env.script.messages.clear();
}

// A good copy of the books as they are now, made outside the program's roads.
QString GoodCopy(TestEnv &env, const QString &name)
{
    const QString file = env.Dir() + name;
    if (!TestEnv::OnServer())
        ShareDataModule->Exec("VACUUM INTO ?", {file});
    else if (TBooksImport::Export(ShareDataModule->Connection(), file).verdict != TBooksImport::Done)
        return QString();
    return file;
}

void SaveBill(const QString &serial)
{
    QVERIFY(ShareDataModule->RunInTransaction("单据新增失败", [&] {
        RowWrites::Insert("Bill", [&](TRecord &row) {
            row.FieldByName("BillKind").SetAsString("出货单");
            row.FieldByName("BillSerial").SetAsString(serial);
            row.FieldByName("BillSum").SetAsFloat(120.5);
        });
        return true;
    }));
}

// The folder as it stands at this moment, in another: its files as hard links,
// so each keeps the identity the daily list records.
void Snapshot(const QString &folder, const QString &into)
{
    QVERIFY(QDir().mkpath(into));
    for (const QString &name : Files(folder))
        QCOMPARE(::link(QFile::encodeName(folder + name).constData(), QFile::encodeName(into + name).constData()), 0);
}

// "name device:inode" of each daily copy in the folder.
QStringList DailyCopies(const QString &folder)
{
    QStringList copies;
    for (const QString &name : QDir(folder).entryList({"Kestrova-*.mdb"}, QDir::Files, QDir::Name)) {
        struct stat st;
        if (::lstat(QFile::encodeName(folder + name).constData(), &st) == 0 && S_ISREG(st.st_mode))
            copies << QStringLiteral("%1 %2:%3").arg(name).arg(qulonglong(st.st_dev)).arg(qulonglong(st.st_ino));
    }
    return copies;
}

// "name device:inode" of each copy the daily list names, sorted.
QStringList ListedCopies(const QString &folder)
{
    QStringList listed;
    for (const QByteArray &line : FileBytes(folder + TDailyBackup::ListName()).split('\n')) {
        const QStringList parts = QString::fromUtf8(line).split('\t');
        if (parts.size() >= 2 && !line.startsWith('#'))
            listed << parts[0] + ' ' + parts[1];
    }
    listed.sort();
    return listed;
}

// On a server every counter loses its books, and the warning names the server.
QString RestoreWarning()
{
    if (TestEnv::OnServer())
        return "恢复警告|数据库恢复将替换" + TDataSource::Registered().Describe() + "上的帐套，各台电脑的当前数据全部丢失，是否继续？";
    return "恢复警告|数据库恢复将导致当前数据全部丢失，是否继续？";
}
// The daily copies of 1 February to 1 March, each made on its own day.
void DailyCopiesOfFebruary()
{
    for (QDate day(2024, 2, 1); day <= QDate(2024, 3, 1); day = day.addDays(1)) {
        Clock::Fix(day);
        TDailyBackup::Run();
    }
}
} // namespace

class TestBackup : public QObject {
    Q_OBJECT
private slots:
    void backupHoldsEveryCommittedBill();
    void backupFailureIsReported_data();
    void backupFailureIsReported();
    void dialogsStartOnTheDesktopOrHome_data();
    void dialogsStartOnTheDesktopOrHome();
    void restoreRefusesWhatIsNotOurBooks_data();
    void restoreRefusesWhatIsNotOurBooks();
    void restoreFailureKeepsTheBooks();
    void restoreOfAGoodBackup();
    void declinedOrCancelledChangesNothing_data();
    void declinedOrCancelledChangesNothing();
    void dailyBackupOncePerDayKeepsThirty();
    void dailyBackupFailureShownOnce();
    void dailyBackupPrunesOnlyItsOwn_data();
    void dailyBackupPrunesOnlyItsOwn();
    void dailyBackupListAfterAKill_data();
    void dailyBackupListAfterAKill();
    void failureReasonsInChinese_data();
    void failureReasonsInChinese();
};

void TestBackup::backupHoldsEveryCommittedBill()
{
    TestEnv env;
    env.StartAsFinance();
    QVERIFY(QDir(env.Dir()).mkdir("外面"));
    SaveBill("XS-0001");
    // Rows held open on the program's connection while the copy is taken.
    QSqlQuery reading(ShareDataModule->Connection());
    QVERIFY(reading.exec("Select * From Bill") && reading.next());
    TQuery held;
    held.Open("Select * From Customer Where CustomerIndex = 1");

    // A name with a space, a quote and no extension; the left bar's button runs the backup.
    env.script.saveFile = env.Dir() + "外面/备份 O'Brien";
    FormMain->ActionButtonSave2->click();
    QCOMPARE(env.script.messages, QStringList{"恭喜您，数据库备份成功"});
    const QString copy = env.Dir() + "外面/备份 O'Brien.mdb";
    QCOMPARE(Files(env.Dir() + "外面"), QStringList{"备份 O'Brien.mdb"});
    QCOMPARE(TBooksCheck::Check(copy), TBooksCheck::Good);
    QCOMPARE(ValueIn(copy, "Select BillSum From Bill Where BillSerial = 'XS-0001'").toDouble(), 120.5);

    // The same name again the same day: replaced without asking, holding the newer bill too.
    reading.finish();
    held.Close();
    SaveBill("XS-0002");
    FormMain->ActionSave->trigger();
    QCOMPARE(env.script.messages.size(), 2);
    QCOMPARE(env.script.messages[1], QStringLiteral("恭喜您，数据库备份成功"));
    QVERIFY(env.script.questions.isEmpty());
    QCOMPARE(ValueIn(copy, "Select count(*) From Bill Where BillSerial Like 'XS-%'").toInt(), 2);
    QCOMPARE(Files(env.Dir() + "外面").size(), 1);
}

void TestBackup::backupFailureIsReported_data()
{
    QTest::addColumn<QString>("target");
    QTest::addColumn<QString>("message");
    const QString failed = "数据库备份失败：";
    QTest::newRow("folder missing") << "没有的文件夹/x.mdb" << failed + "文件或文件夹不存在（错误号 2）";
    QTest::newRow("folder is a file") << "Kestrova.ini/x.mdb" << failed + "路径中有一项不是文件夹（错误号 20）";
    QTest::newRow("name is a folder") << "目录.mdb" << failed + "所选的是文件夹，不是文件（错误号 21）";
    QTest::newRow("the books themselves") << "Kestrova.mdb" << "数据库备份失败：不能把备份保存在正在使用的数据库文件上";
}

void TestBackup::backupFailureIsReported()
{
    QFETCH(QString, target);
    QFETCH(QString, message);
    if (target == "Kestrova.mdb" && TestEnv::OnServer())
        QSKIP("the books are no file here to be written over");
    TestEnv env;
    env.StartAsFinance();
    QVERIFY(QDir(env.Dir()).mkdir("目录.mdb"));
    const QStringList before = Files(env.Dir());
    const QByteArray books = FileBytes(env.DatabaseFile());
    env.script.saveFile = env.Dir() + target;
    FormMain->ActionSave->trigger();
    QCOMPARE(env.script.messages, QStringList{message});
    QCOMPARE(Files(env.Dir()), before);   // no half-made copy left behind
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
}

void TestBackup::dialogsStartOnTheDesktopOrHome_data()
{
    QTest::addColumn<bool>("desktop");
    QTest::newRow("desktop folder") << true;
    QTest::newRow("no desktop folder") << false;
}

void TestBackup::dialogsStartOnTheDesktopOrHome()
{
    QFETCH(bool, desktop);
    QTemporaryDir home;
    struct Environment {
        QByteArray home = qgetenv("HOME"), config = qgetenv("XDG_CONFIG_HOME");
        ~Environment()
        {
            qputenv("HOME", home);
            qputenv("XDG_CONFIG_HOME", config);
        }
    } restore;
    qputenv("HOME", QFile::encodeName(home.path()));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.path() + "/.config"));
    if (desktop)
        QVERIFY(QDir(home.path()).mkdir("Desktop"));
    const QString start = desktop ? home.path() + "/Desktop" : home.path();
    QCOMPARE(GetDesktopFolder(), desktop ? start : QString());
    TestEnv env;
    LoginAsAdministrator(env);
    FormMain->TabSheet6->SpeedButtonSave->click();   // cancelled
    env.script.answers = {true};
    FormMain->TabSheet6->SpeedButtonLoad->click();   // cancelled
    QCOMPARE(env.script.fileDialogs,
             (QStringList{"备份数据|" + start + "/Mirelo进销存2024-3-15.mdb|Mdb Files (*.mdb *.MDB)",
                          "恢复数据|" + start + "|Mdb Files (*.mdb *.MDB)"}));
    QVERIFY(env.script.messages.isEmpty());
}

void TestBackup::restoreRefusesWhatIsNotOurBooks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("message");
    const QString notOurs = "所选文件不是本软件的数据库，未作任何修改";
    const QString damaged = "所选数据库文件已损坏，未作任何修改";
    QTest::newRow("text file renamed .mdb") << "text" << notOurs;
    QTest::newRow("empty file") << "empty" << notOurs;
    QTest::newRow("another program's database") << "foreign" << notOurs;
    QTest::newRow("our books less a column") << "column" << notOurs;
    QTest::newRow("truncated copy") << "truncated" << damaged;
    QTest::newRow("damaged page") << "garbled" << damaged;
    QTest::newRow("index out of step with its table") << "index" << damaged;
    QTest::newRow("the books themselves") << "current" << "所选文件就是正在使用的数据库，未作任何修改";
}

void TestBackup::restoreRefusesWhatIsNotOurBooks()
{
    QFETCH(QString, kind);
    QFETCH(QString, message);
    if (kind == "current" && TestEnv::OnServer())
        QSKIP("the books are no file here to be chosen");
    TestEnv env;
    LoginAsAdministrator(env);
    env.AddCustomer("张三");
    // Enough rows that a cut or a garbled page lands in the data.
    env.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 300) "
             "INSERT INTO Bill (BillKind, BillUser, BillSum) SELECT '出货单', '张三', i FROM n");

    QVERIFY(QDir(env.Dir()).mkdir("外面"));
    QString chosen = env.Dir() + "外面/选中的 文件.mdb";
    if (kind == "text") {
        WriteFile(chosen, "这不是数据库\n");
    } else if (kind == "empty") {
        WriteFile(chosen, QByteArray());
    } else if (kind == "foreign") {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "foreign");
        db.setDatabaseName(chosen);
        QVERIFY(db.open());
        QSqlQuery(db).exec("CREATE TABLE Notes (Id INTEGER PRIMARY KEY, Text TEXT)");
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("foreign");
    } else if (kind == "column" || kind == "index") {
        QVERIFY(QFile::rename(GoodCopy(env, "good.mdb"), chosen));
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "change");
        db.setDatabaseName(chosen);
        QVERIFY(db.open());
        QSqlQuery q(db);
        if (kind == "column") {
            QVERIFY(q.exec("ALTER TABLE Product DROP COLUMN ProductRemark"));
        } else {
            // The index now claims to hold regions while it holds names.
            QVERIFY(q.exec("PRAGMA writable_schema = ON"));
            QVERIFY(q.exec("UPDATE sqlite_master SET sql = 'CREATE INDEX CustomerByName ON Customer (CustomerRegion)' "
                           "WHERE name = 'CustomerByName'"));
        }
        q = QSqlQuery();
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase("change");
    } else if (kind == "truncated") {
        const QByteArray good = FileBytes(GoodCopy(env, "good.mdb"));
        WriteFile(chosen, good.left(good.size() / 2));
    } else if (kind == "garbled") {
        QByteArray good = FileBytes(GoodCopy(env, "good.mdb"));
        // The leaf pages of the Bill table sit past the first pages of the schema.
        for (qsizetype i = good.size() / 2; i < good.size() / 2 + 4096; ++i)
            good[i] = char(0xA5);
        WriteFile(chosen, good);
    } else {
        chosen = env.DatabaseFile();
    }
    QFile::remove(env.Dir() + "good.mdb");

    const QByteArray books = FileBytes(env.DatabaseFile());
    const QStringList rows = Rows(Books(env));
    const QStringList files = Files(env.Dir());
    env.script.answers = {true};
    env.script.openFile = chosen;
    FormMain->TabSheet6->SpeedButtonLoad->click();
    QCOMPARE(env.script.messages, QStringList{message});
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
    QCOMPARE(Rows(Books(env)), rows);
    QCOMPARE(Files(env.Dir()), files);
    QVERIFY(FormMain->isVisible());
    QCOMPARE(env.Scalar("Select count(*) From Customer Where CustomerName = '张三'").toInt(), 1);
}

void TestBackup::restoreFailureKeepsTheBooks()
{
    TestEnv env;
    LoginAsAdministrator(env);
    const QByteArray books = FileBytes(env.DatabaseFile());
    const QStringList rows = Rows(Books(env));
    const QStringList files = Files(env.Dir());
    env.script.answers = {true};
    env.script.openFile = env.Dir() + "不存在.mdb";
    FormMain->ActionLoad->trigger();
    QCOMPARE(env.script.messages, QStringList{"数据库恢复失败：文件或文件夹不存在（错误号 2）"});
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
    QCOMPARE(Rows(Books(env)), rows);
    QCOMPARE(Files(env.Dir()), files);
    QVERIFY(FormMain->isVisible());
}

void TestBackup::restoreOfAGoodBackup()
{
    TestEnv env;
    LoginAsAdministrator(env);
    env.AddCustomer("张三");
    env.script.saveFile = env.Dir() + "saved.mdb";
    FormMain->ActionSave->trigger();
    QCOMPARE(env.script.messages, QStringList{"恭喜您，数据库备份成功"});
    env.AddCustomer("李四");   // written after the backup: kept aside by the restore

    env.script.messages.clear();
    env.script.answers = {true};
    env.script.openFile = env.Dir() + "saved.mdb";
    FormMain->TabSheet6->SpeedButtonLoad->click();

    QCOMPARE(env.script.questions, QStringList{RestoreWarning()});
    QCOMPARE(env.script.messages.size(), 1);
    const QRegularExpression done("^恭喜您，数据库恢复成功，请重新启动软件\n原来的数据已另存为：(.*)$");
    const auto m = done.match(env.script.messages[0]);
    QVERIFY2(m.hasMatch(), qPrintable(env.script.messages[0]));
    const QString kept = m.captured(1);
    QVERIFY2(QRegularExpression("^" + QRegularExpression::escape(env.DatabaseFile()) + "\\.恢复前-2024-3-15-\\d{6}$")
                 .match(kept).hasMatch(), qPrintable(kept));
    // The program ends on the new books; the old ones lie beside them, whole.
    QVERIFY(!FormMain->isVisible());
    QVERIFY(!ShareDataModule->Connected());
    QCOMPARE(ValueIn(Books(env), "Select count(*) From Customer Where CustomerName In ('张三', '李四')").toInt(), 1);
    QCOMPARE(ValueIn(Books(env), "Select CustomerName From Customer Where CustomerName = '张三'").toString(), QStringLiteral("张三"));
    QCOMPARE(TBooksCheck::Check(kept), TBooksCheck::Good);
    QCOMPARE(ValueIn(kept, "Select count(*) From Customer Where CustomerName In ('张三', '李四')").toInt(), 2);
    // New books made from our schema, holding every row of the copy, and the journal says where from.
    QStringList restored = Rows(Books(env));
    const QStringList record = restored.filter(QRegularExpression("^Journal\\|"));
    QCOMPARE(record.size(), 1);
    QVERIFY2(record[0].contains("|恢复|账套|saved.mdb||从“" + env.Dir() + "saved.mdb”恢复了全部数据|"), qPrintable(record[0]));
    restored.removeAll(record[0]);
    QCOMPARE(restored, Rows(env.Dir() + "saved.mdb"));
    // Nothing half-made stays in the program folder.
    for (const QString &file : Files(env.Dir()))
        QVERIFY2(!file.startsWith('.'), qPrintable(file));
}

void TestBackup::declinedOrCancelledChangesNothing_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<bool>("yes");
    QTest::addColumn<int>("fileDialogs");
    QTest::newRow("No to the restore warning") << "ActionLoad" << false << 0;
    QTest::newRow("restore dialog cancelled") << "ActionLoad" << true << 1;
    QTest::newRow("backup dialog cancelled") << "ActionSave" << false << 1;
}

void TestBackup::declinedOrCancelledChangesNothing()
{
    QFETCH(QString, action);
    QFETCH(bool, yes);
    QFETCH(int, fileDialogs);
    TestEnv env;
    LoginAsAdministrator(env);
    const QByteArray books = FileBytes(env.DatabaseFile());
    const QStringList rows = Rows(Books(env));
    const QStringList files = Files(env.Dir());
    env.script.answers = {yes};
    FormMain->findChild<QAction *>(action)->trigger();
    QCOMPARE(env.script.questions, action == "ActionLoad" ? QStringList{RestoreWarning()} : QStringList());
    QCOMPARE(env.script.fileDialogs.size(), fileDialogs);
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
    QCOMPARE(Rows(Books(env)), rows);
    QCOMPARE(Files(env.Dir()), files);
    QVERIFY(FormMain->isVisible());
}

void TestBackup::dailyBackupOncePerDayKeepsThirty()
{
    TestEnv env;
    const QString folder = env.Dir() + "Backup/";
    QVERIFY(QDir().mkpath(folder));
    // Thirty older daily copies the program made on earlier days, and two files of the user's own.
    DailyCopiesOfFebruary();
    Clock::Fix(QDate(2024, 3, 15));
    WriteFile(folder + "notes.txt", "mine");
    WriteFile(folder + "Mirelo进销存2023-1-1.mdb", "mine");

    env.StartAsFinance();
    const QString today = folder + "Kestrova-2024-03-15.mdb";
    QCOMPARE(TBooksCheck::Check(today), TBooksCheck::Good);
    QStringList daily = QDir(folder).entryList({"Kestrova-*.mdb"}, QDir::Files, QDir::Name);
    QCOMPARE(daily.size(), 30);
    QCOMPARE(daily.first(), QStringLiteral("Kestrova-2024-02-02.mdb"));   // the oldest went
    QVERIFY(QFile::exists(folder + "notes.txt") && QFile::exists(folder + "Mirelo进销存2023-1-1.mdb"));

    // A later login the same day leaves today's copy alone.
    env.AddCustomer("张三");
    const QByteArray made = FileBytes(today);
    env.script.LoginAs("财务主管", "8888");
    FormMain->ActionLogin->trigger();
    QCOMPARE(FileBytes(today), made);

    // The next day's first login adds a copy and drops the oldest.
    Clock::Fix(QDate(2024, 3, 16));
    env.script.LoginAs("财务主管", "8888");
    FormMain->ActionLogin->trigger();
    daily = QDir(folder).entryList({"Kestrova-*.mdb"}, QDir::Files, QDir::Name);
    QCOMPARE(daily.size(), 30);
    QCOMPARE(daily.first(), QStringLiteral("Kestrova-2024-02-03.mdb"));
    QCOMPARE(daily.last(), QStringLiteral("Kestrova-2024-03-16.mdb"));
    QCOMPARE(ValueIn(folder + daily.last(), "Select count(*) From Customer Where CustomerName = '张三'").toInt(), 1);
    QVERIFY(env.script.messages.isEmpty());
}

void TestBackup::dailyBackupFailureShownOnce()
{
    TestEnv env;
    WriteFile(env.Dir() + "Backup", "a file where the folder should be");
    env.MarkRegistered();
    env.script.LoginAs("财务主管", "8888");
    QVERIFY(FormMain->FormShow());
    QCOMPARE(env.script.messages,
             QStringList{"今日自动备份失败：路径中有一项不是文件夹（错误号 20）\n备份文件夹：" + env.Dir() + "Backup/"});
    QVERIFY(FormMain->PageControl1->isTabVisible(0));   // the program goes on
    env.script.LoginAs("财务主管", "8888");
    FormMain->ActionLogin->trigger();
    QCOMPARE(env.script.messages.size(), 1);
}

void TestBackup::dailyBackupPrunesOnlyItsOwn_data()
{
    QTest::addColumn<QList<QDate>>("made");   // the days of the copies, in the order they were made
    QTest::addColumn<QList<QDate>>("kept");
    QList<QDate> made, kept;
    for (QDate day(2024, 2, 1); day <= QDate(2024, 3, 6); day = day.addDays(1))
        made << day;
    QTest::newRow("thirty-five days in order") << made << made.mid(5);
    made.clear();
    for (QDate day(2024, 3, 1); day <= QDate(2024, 3, 30); day = day.addDays(1))
        made << day;
    for (QDate day(2020, 1, 1); day <= QDate(2020, 1, 5); day = day.addDays(1))
        made << day;
    QTest::newRow("clock set back after thirty days") << made << made.mid(5);
}

void TestBackup::dailyBackupPrunesOnlyItsOwn()
{
    QFETCH(QList<QDate>, made);
    QFETCH(QList<QDate>, kept);
    TestEnv env;
    const QString folder = env.Dir() + "Backup/";
    QVERIFY(QDir().mkpath(folder));
    // The user's own full copy and a symlink, both named like the oldest daily copies.
    QVERIFY(!GoodCopy(env, "Backup/Kestrova-1999-12-31.mdb").isEmpty());
    WriteFile(env.Dir() + "mine.mdb", "mine");
    QVERIFY(QFile::link(env.Dir() + "mine.mdb", folder + "Kestrova-2000-01-01.mdb"));
    WriteFile(folder + "notes.txt", "mine");
    const QByteArray own = FileBytes(folder + "Kestrova-1999-12-31.mdb");

    for (const QDate &day : made) {
        Clock::Fix(day);
        TDailyBackup::Run();
    }
    QStringList expected{"Kestrova-1999-12-31.mdb", "Kestrova-2000-01-01.mdb"};
    for (const QDate &day : kept)
        expected << TDailyBackup::FileName(day);
    expected.sort();
    QCOMPARE(QDir(folder).entryList({"Kestrova-*.mdb"}, QDir::Files | QDir::System, QDir::Name), expected);
    QCOMPARE(FileBytes(folder + "Kestrova-1999-12-31.mdb"), own);
    QVERIFY(QFileInfo(folder + "Kestrova-2000-01-01.mdb").isSymLink());
    QCOMPARE(FileBytes(env.Dir() + "mine.mdb"), QByteArray("mine"));
    QVERIFY(QFile::exists(folder + "notes.txt"));
    QVERIFY(env.script.messages.isEmpty());
}

void TestBackup::dailyBackupListAfterAKill_data()
{
    QTest::addColumn<int>("step");    // the kill falls just after it
    QTest::addColumn<int>("copies");  // whole daily copies the kill leaves
    QTest::addColumn<int>("listed");
    QTest::newRow("copy whole under its hidden name") << int(TDailyBackup::CopyChecked) << 30 << 30;
    QTest::newRow("copy named in the list") << int(TDailyBackup::Listed) << 30 << 31;
    QTest::newRow("copy under its own name") << int(TDailyBackup::Placed) << 31 << 31;
    QTest::newRow("oldest pruned") << int(TDailyBackup::Pruned) << 30 << 30;
}

void TestBackup::dailyBackupListAfterAKill()
{
    QFETCH(int, step);
    QFETCH(int, copies);
    QFETCH(int, listed);
    TestEnv env;
    const QString folder = env.Dir() + "Backup/";
    QVERIFY(QDir().mkpath(folder));
    DailyCopiesOfFebruary();
    // The run of 2 March, killed just after the step: the folder as that kill leaves it.
    const QString killed = env.Dir() + "killed/";
    TDailyBackup::Watch([&](TDailyBackup::Step reached) {
        if (reached == step)
            Snapshot(folder, killed);
    });
    Clock::Fix(QDate(2024, 3, 2));
    TDailyBackup::Run();
    TDailyBackup::Watch({});
    QVERIFY(QDir(folder).removeRecursively());
    QVERIFY(QDir().rename(killed, folder));
    const QStringList left = DailyCopies(folder);
    QCOMPARE(left.size(), copies);
    QCOMPARE(ListedCopies(folder).size(), listed);
    for (const QString &copy : left)
        QVERIFY2(ListedCopies(folder).contains(copy), qPrintable(copy));

    // The next start cleans up and the next day's run keeps thirty, each one listed.
    Clock::Fix(QDate(2024, 3, 3));
    TLeftovers::CleanProgramFolder();
    TDailyBackup::Run();
    QCOMPARE(ListedCopies(folder), DailyCopies(folder));
    QCOMPARE(DailyCopies(folder).size(), 30);
    QVERIFY(DailyCopies(folder).last().startsWith("Kestrova-2024-03-03.mdb "));
    QStringList expected = QDir(folder).entryList({"Kestrova-*.mdb"}, QDir::Files, QDir::Name);
    expected << TDailyBackup::ListName();
    expected.sort();
    QCOMPARE(Files(folder), expected);
    QVERIFY(env.script.messages.isEmpty());
}

void TestBackup::failureReasonsInChinese_data()
{
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("text");
    QTest::newRow("disk full") << "database or disk is full Unable to fetch row" << "磁盘已满，请腾出空间后再试";
    QTest::newRow("read-only") << "attempt to write a readonly database" << "磁盘或文件只读，不能写入";
    QTest::newRow("in use") << "database is locked" << "文件正被其他程序使用";
    QTest::newRow("unknown") << "disk I/O error" << "读写数据库文件出错（disk I/O error）";
    QTest::newRow("already Chinese") << "备份副本未通过完整性检查" << "备份副本未通过完整性检查";
}

void TestBackup::failureReasonsInChinese()
{
    QFETCH(QString, reason);
    QFETCH(QString, text);
    TBooksCopy::Result result;
    result.reason = reason;
    QCOMPARE(TBooksCopy::FailureText("今日自动备份失败", result), "今日自动备份失败：" + text);
}

QTEST_MAIN(TestBackup)
#include "tst_backup.moc"
