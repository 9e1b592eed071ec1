// The query class, the query helper, all-or-nothing writes, the data-modification password.
#include "ui/AskForm.h"
#include "ui/ModifyPassword.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "core/Registry.h"
#include "db/Schema.h"
#include "db/SqlEngine.h"
#include "ui/BackgroundWork.h"
#include "ui/Dialogs.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"
#include "stores/GoodsBillStore.h"
#include "stores/RowWrites.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <QSqlDatabase>
#include <QMessageBox>
#include <QApplication>
#include <QTest>

namespace {
// A row written as a store writes one, in a transaction of its own; its key.
int Insert(const QString &table, const QList<QPair<QString, QVariant>> &values)
{
    int key = 0;
    const bool saved = ShareDataModule->RunInTransaction("x", [&] {
        key = RowWrites::Insert(table, [&](TRecord &row) {
            for (const auto &[column, value] : values)
                value.typeId() == QMetaType::QDate ? row.FieldByName(column).SetAsDate(value.toDate())
                                                   : row.FieldByName(column).SetAsString(value.toString());
        });
        return true;
    });
    return saved ? key : 0;
}

// The rows of a read on a connection of its own to the registered books, past the data module.
QStringList Direct(const QString &sql)
{
    QStringList rows;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(TDataSource::Registered().DriverName(), "direct");
        TDataSource::Registered().Configure(db);
        if (!db.open())
            qFatal("cannot open the books");
        QSqlQuery q(db);
        if (!q.exec(sql))
            rows << "failed";
        while (q.next())
            rows << q.value(0).toString();
    }
    QSqlDatabase::removeDatabase("direct");
    return rows;
}
} // namespace

class TestShareDM : public QObject {
    Q_OBJECT
private slots:
    void deliveredRowsAreThere();
    void rowHeldForUpdateWhileSecondQueryRuns();
    void appendGivesTheNewKeyAndDefaults();
    void deleteWalksOn();
    void quotesAndChineseRoundTrip();
    void runQueryFailureThenWorkingQuery();
    void aggregateOverNoRowsReadsAsZero();
    void pagedQueryReadsWhatIsAskedFor_data();
    void pagedQueryReadsWhatIsAskedFor();
    void dateLiteralsCompareAsDates();
    void transactionIsAllOrNothing();
    void nestedFailureRollsBackTheWhole();
    void backgroundWorkLeavesTheWindowAnswering();
    void duringBackgroundWorkOnlyItsOwnMessagesTakeInput();
    void aWindowClosedDuringTheWorkClosesAfterIt();
    void attemptShowsWhatWentWrong_data();
    void attemptShowsWhatWentWrong();
    void writeOfAVanishedRowFails_data();
    void writeOfAVanishedRowFails();
    void missingDatabaseIsNotCreated();
    void foreignOrDamagedFileFailsCleanly_data();
    void foreignOrDamagedFileFailsCleanly();
    void askModifyPassword_data();
    void askModifyPassword();
    void askModifyPasswordWithoutPowerRow();
    void askCancelKeepsInputText();
    void wordsInsideValuesAreValues_data();
    void wordsInsideValuesAreValues();
    void nulIsRefused();
    void oldRowsWithNulAreFound();
    void booksFollowTheProgramFolder_data();
    void booksFollowTheProgramFolder();
    void upgradeSetsAnothersJournalAside_data();
    void upgradeSetsAnothersJournalAside();
};

void TestShareDM::deliveredRowsAreThere()
{
    TestEnv env;
    for (const char *table : {"Account", "Customer", "Product", "Bill"})
        QCOMPARE(env.Scalar(QStringLiteral("Select count(*) From %1 Where %1Index = 1").arg(QLatin1String(table))).toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From Power").toInt(), 3);
    // Starting values for the three bill parameter lists, in the order they are offered.
    QStringList parameters;
    QSqlQuery p(ShareDataModule->Connection());
    p.exec("Select ParameterType, ParameterValue From Parameter Order By ParameterType, ParameterIndex");
    while (p.next())
        parameters << p.value(0).toString() + p.value(1).toString();
    QCOMPARE(parameters.join(','), QStringLiteral("1货款,1订金,1其它,2现金,2银行转账,2微信,2支付宝,3收据,3发票,3无"));
    QCOMPARE(env.Scalar("Select count(*) From PrintList Where ListIndex = 1").toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From PrintBigFont").toInt(), 1);
    QVERIFY(env.Scalar("Select count(*) From PrintGrid").toInt() >= 6);
    // Each starting bill number gives a real proposal.
    TQuery q;
    QVERIFY(RunQuery(q, "Select * From Setting Order By SettingIndex", "x"));
    QCOMPARE(q.RecordCount(), 4);
    for (q.First(); !q.Eof(); q.Next())
        QVERIFY(!BillNumbers::Next(q.FieldByName("SettingValue").AsString()).isEmpty());
}

void TestShareDM::rowHeldForUpdateWhileSecondQueryRuns()
{
    // A change reads the stored row, and writes only what it sets.
    TestEnv env;
    env.Exec("Insert Into Customer (CustomerName, CustomerRegion) Values ('甲', '本地'), ('乙', '省内')");
    TQuery a;
    QVERIFY(RunQuery(a, "Select * From Customer Where CustomerIndex > 1 Order By CustomerIndex", "x"));
    QCOMPARE(a.RecordCount(), 2);
    for (a.First(); !a.Eof(); a.Next()) {
        QString readName;
        QVERIFY(ShareDataModule->RunInTransaction("x", [&] {
            TRecord row(a);
            readName = row.FieldByName("CustomerName").AsString();
            TQuery b;
            b.Open("Select count(*) AS TotalCount From Customer");
            row.FieldByName("CustomerOwe").SetAsFloat(b.FieldByName("TotalCount").AsFloat() * 10);
            RowWrites::Update("Customer", a.FieldByName("CustomerIndex").AsInteger(), row);
            return true;
        }));
        QCOMPARE(readName, a.FieldByName("CustomerName").AsString());
    }
    QCOMPARE(env.Scalar("Select Sum(CustomerOwe) From Customer").toDouble(), 60.0);
    // Unchanged columns are left alone.
    QCOMPARE(env.Scalar("Select CustomerRegion From Customer Where CustomerName = '乙'").toString(), QStringLiteral("省内"));
}

void TestShareDM::appendGivesTheNewKeyAndDefaults()
{
    TestEnv env;
    QCOMPARE(Insert("Account", {{"AccountName", "现金"}}), 2);
    QCOMPARE(Insert("Account", {}), 3);   // nothing set: the columns default
    QVERIFY(!env.Scalar("Select AccountName From Account Where AccountIndex = 3").isNull());
    // A deleted key is never given out again.
    env.Exec("Delete From Account Where AccountIndex = 3");
    QCOMPARE(Insert("Account", {{"AccountName", "银行"}}), 4);
}

void TestShareDM::deleteWalksOn()
{
    TestEnv env;
    env.Exec("Insert Into SG (SGCustomer, SGSum) Values ('a', 1), ('b', 2), ('c', 3)");
    const int b = env.Scalar("Select SGIndex From SG Where SGCustomer = 'b'").toInt();
    QVERIFY(ShareDataModule->RunInTransaction("x", [&] {
        RowWrites::DeleteRow("SG", b);
        return true;
    }));
    QCOMPARE(env.Rows("Select SGCustomer From SG Order By SGIndex", "%1"), QStringLiteral("a,c"));
    // A row already gone is said, and nothing of the transaction lands.
    QVERIFY(!ShareDataModule->RunInTransaction("其它应收删除失败", [&] {
        ShareDataModule->Exec("Delete From SG Where SGCustomer = 'a'");
        RowWrites::DeleteRow("SG", b);
        return true;
    }));
    QCOMPARE(env.script.messages, QStringList{"其它应收删除失败\n原因：要删除的记录已不存在"});
    QCOMPARE(env.Rows("Select SGCustomer From SG Order By SGIndex", "%1"), QStringLiteral("a,c"));
}

void TestShareDM::quotesAndChineseRoundTrip()
{
    TestEnv env;
    const QString name = QStringLiteral("O'Brien 张'三 \"鞋\" #2024-1-1#");
    TQuery q;
    QVERIFY(RunQuery(q, "Select * From Customer Where CustomerName = ?", "x", {name}));
    QVERIFY(q.IsEmpty());
    QVERIFY(Insert("Customer", {{"CustomerName", name}}) > 1);
    QVERIFY(RunQuery(q, "Select * From Customer Where CustomerName = ?", "x", {name}));
    QCOMPARE(q.RecordCount(), 1);
    QCOMPARE(q.FieldByName("CustomerName").AsString(), name);
    QVERIFY(RunQuery(q, "Select * From Customer Where " + TSqlEngine::Current().Contains("CustomerName"), "x", {QStringLiteral("张'三")}));
    QCOMPARE(q.RecordCount(), 1);
}

void TestShareDM::runQueryFailureThenWorkingQuery()
{
    TestEnv env;
    TQuery q;
    QVERIFY(!RunQuery(q, "Select CustomerNam From Customer", "客户查询失败"));
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("客户查询失败\n原因：") && env.script.messages[0].contains("customernam", Qt::CaseInsensitive),
             qPrintable(env.script.messages[0]));
    QVERIFY(!q.Active());
    QVERIFY(RunQuery(q, "Select * From Customer", "客户查询失败"));
    QVERIFY(q.Active());
    QCOMPARE(q.RecordCount(), 1);
    QCOMPARE(env.script.messages.size(), 1);
}

void TestShareDM::aggregateOverNoRowsReadsAsZero()
{
    TestEnv env;
    TQuery q;
    QVERIFY(RunQuery(q, "Select Sum(BillSum) AS TotalMoney From Bill Where BillUser = 'nobody'", "x"));
    QCOMPARE(q.RecordCount(), 1);
    QVERIFY(q.FieldByName("TotalMoney").IsNull());
    QCOMPARE(q.FieldByName("TotalMoney").AsFloat(), 0.0);
    QCOMPARE(q.FieldByName("TotalMoney").AsString(), QString());
}

void TestShareDM::pagedQueryReadsWhatIsAskedFor_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("asked");   // rows asked for in this order; -1: every row
    QTest::newRow("none") << 0 << QList<int>{-1};
    QTest::newRow("one page exactly") << 256 << QList<int>{255, 0};
    QTest::newRow("a row past the page") << 257 << QList<int>{256, 1};
    QTest::newRow("far pages") << 3000 << QList<int>{2999, 1500, 700, 0};
    QTest::newRow("a walk over every row") << 3000 << QList<int>{600, -1};
}

void TestShareDM::pagedQueryReadsWhatIsAskedFor()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, asked);
    TestEnv env;
    env.Exec(QStringLiteral("Create Table Many (K Integer, T Text)"));
    env.Exec(QStringLiteral("With Recursive n(k) As (Select 1 Union All Select k + 1 From n Where k < %1) "
                            "Insert Into Many Select k, '第' || k || '行' From n Where k <= %1").arg(rows));
    // Every page read binds the values again, in their order.
    const QString sql = QStringLiteral("Select K, T From Many Where (K > ?) And (T <> ?) Order By K Desc");
    const QVariantList params = {0, "O'Brien"};
    TQuery all, paged;
    all.Open(sql, params);
    paged.OpenPaged(sql, params);
    QCOMPARE(paged.RecordCount(), rows);
    QCOMPARE(paged.FieldNames(), all.FieldNames());
    for (int row : asked) {
        const int first = row < 0 ? 0 : row, last = row < 0 ? rows : row + 1;
        for (int r = first; r < last; ++r) {
            QCOMPARE(paged.Value(r, QStringLiteral("T")), all.Value(r, QStringLiteral("T")));
            QCOMPARE(paged.ValueAt(r, 0), all.ValueAt(r, 0));
        }
    }
    // Rows gone from the books before their page is read show empty; nothing breaks.
    if (rows > 600) {
        TQuery later;
        later.OpenPaged(sql, params);
        env.Exec(QStringLiteral("Delete From Many Where K <= 10"));
        QCOMPARE(later.Value(rows - 11, QStringLiteral("K")).toInt(), 11);
        QVERIFY(later.Value(rows - 1, QStringLiteral("K")).isNull());
        QCOMPARE(later.RecordCount(), rows);
    }
}

void TestShareDM::dateLiteralsCompareAsDates()
{
    TestEnv env;
    TQuery q;
    for (const QDate &d : {QDate(2024, 2, 29), QDate(2024, 3, 1), QDate(2024, 3, 31), QDate(2024, 4, 1), QDate(2024, 10, 2)})
        QVERIFY(Insert("Bill", {{"BillKind", "出货单"}, {"BillCreateTime", d}}) > 1);
    QVERIFY(RunQuery(q, "Select count(*) AS TotalCount From Bill Where BillCreateTime Between #2024-3-1# And #2024-3-31#", "x"));
    QCOMPARE(q.FieldByName("TotalCount").AsInteger(), 2);
    QVERIFY(RunQuery(q, "Select count(*) AS TotalCount From Bill Where BillKind = '出货单' And BillCreateTime <= #2024-4-1#", "x"));
    QCOMPARE(q.FieldByName("TotalCount").AsInteger(), 4);
    QVERIFY(RunQuery(q, "Select * From Bill Where BillCreateTime = #2024-10-2#", "x"));
    QCOMPARE(q.FieldByName("BillCreateTime").AsDate(), QDate(2024, 10, 2));
    // Bound dates are the same text the rows hold.
    QVERIFY(RunQuery(q, "Select count(*) AS TotalCount From Bill Where BillCreateTime Between ? And ?", "x",
                     {DateValue(QDate(2024, 3, 1)), DateValue(QDate(2024, 3, 31))}));
    QCOMPARE(q.FieldByName("TotalCount").AsInteger(), 2);
    QVERIFY(RunQuery(q, "Select * From Bill Where BillCreateTime = ?", "x", {DateValue(QDate(2024, 10, 2))}));
    QCOMPARE(q.RecordCount(), 1);
}

void TestShareDM::transactionIsAllOrNothing()
{
    TestEnv env;
    const bool ok = ShareDataModule->RunInTransaction("单据保存失败", [&] {
        RowWrites::Insert("Bill", [](TRecord &row) { row.FieldByName("BillKind").SetAsString("出货单"); });
        ShareDataModule->Exec("Insert Into NoSuchTable Values (1)");   // fails half-way
        return true;
    });
    QVERIFY(!ok);
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("单据保存失败\n原因：") && env.script.messages[0].contains("nosuchtable", Qt::CaseInsensitive),
             qPrintable(env.script.messages[0]));
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), 1);

    // A step that says no also undoes what came before it.
    QVERIFY(!ShareDataModule->RunInTransaction("x", [&] {
        ShareDataModule->Exec("Update Power Set PowerKey = 'changed'");
        return false;
    }));
    QCOMPARE(env.Scalar("Select count(*) From Power Where PowerKey = 'changed'").toInt(), 0);

    QVERIFY(ShareDataModule->RunInTransaction("x", [&] {
        ShareDataModule->Exec("Update Power Set PowerKey = ? Where PowerName = '修改'", {QStringLiteral("新")});
        return true;
    }));
    QCOMPARE(env.Scalar("Select PowerKey From Power Where PowerName = '修改'").toString(), QStringLiteral("新"));
}

void TestShareDM::backgroundWorkLeavesTheWindowAnswering()
{
    TestEnv env;
    env.AddCustomer("甲");
    const QString windowConnection = ShareDataModule->Connection().connectionName();
    int ticks = 0;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++ticks; });
    timer.start(10);
    QString workConnection;
    int customers = 0;
    const bool ok = BackgroundWork::Run([&](const BackgroundWork::Progress &progress) {
        workConnection = ShareDataModule->Connection().connectionName();
        TQuery q;
        if (!RunQuery(q, "Select count(*) As N From Customer Where CustomerIndex > 1", "x"))
            return false;
        customers = q.FieldByName("N").AsInteger();
        progress(50);
        Dialogs::ShowMessage("工作中");   // shown on the window's thread
        QThread::msleep(300);
        return true;
    });
    QVERIFY(ok);
    QCOMPARE(customers, 1);
    QVERIFY(workConnection != windowConnection);
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));   // the window's timer kept running
    QCOMPARE(env.script.messages, QStringList{"工作中"});
    QVERIFY(!QSqlDatabase::contains(workConnection));   // closed with the work
    // What the work throws comes back to the caller.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, BackgroundWork::Run([](const BackgroundWork::Progress &) -> bool {
        throw EDatabaseError("坏了");
    }));
}

void TestShareDM::duringBackgroundWorkOnlyItsOwnMessagesTakeInput()
{
    TestEnv env;
    Dialogs::SetHandler(nullptr);   // the real message box, answered with a key
    QLineEdit typedInto;
    typedInto.show();
    int tries = 0;
    bool forced = false;
    QTimer user;
    QObject::connect(&user, &QTimer::timeout, [&] {
        QTest::keyClicks(&typedInto, "x");   // the rest of the program takes nothing
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (++tries > 50) {   // never answerable: close it rather than hang
            forced = true;
            box->done(0);
            return;
        }
        QTest::keyClick(box, Qt::Key_Return);
    });
    user.start(20);
    QVERIFY(BackgroundWork::Run([](const BackgroundWork::Progress &) {
        Dialogs::ShowMessage("今日自动备份失败");
        QThread::msleep(100);
        return true;
    }));
    user.stop();
    QVERIFY(!forced);
    QCOMPARE(typedInto.text(), QString());
}

void TestShareDM::aWindowClosedDuringTheWorkClosesAfterIt()
{
    TestEnv env;
    QWidget window;
    window.show();
    bool closedDuring = true, running = false;
    QVERIFY(BackgroundWork::Run([&](const BackgroundWork::Progress &) {
        QMetaObject::invokeMethod(&window, [&window] { window.close(); }, Qt::QueuedConnection);
        QThread::msleep(200);
        QMetaObject::invokeMethod(&window, [&] {
            closedDuring = !window.isVisible();
            running = BackgroundWork::Running();
        }, Qt::BlockingQueuedConnection);
        return true;
    }));
    QVERIFY(running);
    QVERIFY(!closedDuring);   // not while the work ran
    QVERIFY(!BackgroundWork::Running());
    QTRY_VERIFY(!window.isVisible());   // and not dropped either
}

void TestShareDM::attemptShowsWhatWentWrong_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QStringList>("shown");
    QTest::newRow("fine") << "" << QStringList{};
    QTest::newRow("no number") << "convert" << QStringList{"“99999999999”超出了整数的范围"};
    QTest::newRow("database") << "database" << QStringList{"操作失败\n原因：no such table: Nowhere Unable to execute statement"};
}

void TestShareDM::attemptShowsWhatWentWrong()
{
    // A handler's work: what it throws becomes its message, never crosses Qt's dispatch.
    QFETCH(QString, failure);
    QFETCH(QStringList, shown);
    TestEnv env;
    const bool ok = Dialogs::Attempt([&] {
        if (failure == "convert")
            TextToIntLenient("99999999999");
        else if (failure == "database")
            ShareDataModule->Exec("Delete From Nowhere");
    });
    QCOMPARE(ok, failure.isEmpty());
    if (failure == "database" && TestEnv::OnServer()) {
        // The server's own words about the missing table.
        QCOMPARE(env.script.messages.size(), 1);
        QVERIFY2(env.script.messages[0].startsWith("操作失败\n原因：") && env.script.messages[0].contains("\"nowhere\" does not exist"),
                 qPrintable(env.script.messages[0]));
        return;
    }
    QCOMPARE(env.script.messages, shown);
}

void TestShareDM::writeOfAVanishedRowFails_data()
{
    QTest::addColumn<bool>("change");   // change the row, else delete it
    QTest::newRow("change") << true;
    QTest::newRow("delete") << false;
}

void TestShareDM::writeOfAVanishedRowFails()
{
    // The row was read, then removed behind the query's back (another window, another counter).
    QFETCH(bool, change);
    TestEnv env;
    env.AddCustomer("甲");
    const int other = env.AddCustomer("乙");
    TQuery q;
    QVERIFY(RunQuery(q, "Select * From Customer Where CustomerName = '甲'", "x"));
    env.Exec("Delete From Customer Where CustomerName = '甲'");
    const int gone = q.FieldByName("CustomerIndex").AsInteger();
    const bool ok = ShareDataModule->RunInTransaction("客户修改失败", [&] {
        ShareDataModule->Exec("Update Customer Set CustomerOwe = 9 Where CustomerIndex = ?", {other});
        if (change) {
            TRecord row(q);
            row.FieldByName("CustomerOwe").SetAsFloat(5);
            RowWrites::Update("Customer", gone, row);
        } else {
            RowWrites::DeleteRow("Customer", gone);
        }
        return true;
    });
    QVERIFY(!ok);
    QCOMPARE(env.script.messages, QStringList{change ? "客户修改失败\n原因：要修改的记录已不存在" : "客户修改失败\n原因：要删除的记录已不存在"});
    QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerIndex = " + QString::number(other)).toDouble(), 0.0);   // rolled back
}

void TestShareDM::nestedFailureRollsBackTheWhole()
{
    TestEnv env;
    const bool ok = ShareDataModule->RunInTransaction("外层失败", [&] {
        ShareDataModule->Exec("Insert Into Account (AccountName) Values ('外')");
        ShareDataModule->RunInTransaction("内层失败", [&] {
            ShareDataModule->Exec("Insert Into Account (AccountName) Values ('内')");
            ShareDataModule->Exec("bad sql");
            return true;
        });
        return true;   // the outer work ignores the inner failure
    });
    QVERIFY(!ok);
    // Said once, by the outermost, with what failed inside.
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("内层失败\n原因："), qPrintable(env.script.messages[0]));
    QCOMPARE(env.Scalar("Select count(*) From Account").toInt(), 1);
}

void TestShareDM::missingDatabaseIsNotCreated()
{
    TestEnv env(Db::None);
    TQuery q;
    QVERIFY(!RunQuery(q, "Select * From Power", "数据库打开失败"));
    QCOMPARE(env.script.messages, QStringList{"数据库打开失败\n原因：数据库文件不存在：" + env.DatabaseFile()});
    QVERIFY(!QFile::exists(env.DatabaseFile()));
}

void TestShareDM::foreignOrDamagedFileFailsCleanly_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::newRow("text file") << QByteArray("this is not a database\n");
    QTest::newRow("empty file") << QByteArray();
    QByteArray header("SQLite format 3\0", 16);
    QTest::newRow("damaged header") << (header + QByteArray(200, '\x7f'));
}

void TestShareDM::foreignOrDamagedFileFailsCleanly()
{
    QFETCH(QByteArray, content);
    TestEnv env(Db::None);
    QFile f(env.DatabaseFile());
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(content);
    f.close();
    TQuery q;
    QVERIFY(!RunQuery(q, "Select * From Power Where PowerName = '财务主管'", "数据库打开失败"));
    QCOMPARE(env.script.messages, QStringList{"数据库打开失败\n原因：这不是本程序的帐套"});
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), content);   // left exactly as it was
}

void TestShareDM::askModifyPassword_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("message");
    QTest::newRow("right") << "6666" << "6666" << true << "";
    QTest::newRow("wrong") << "6666" << "666" << false << "密码错误，请重新操作";
    QTest::newRow("other case") << "Abc" << "abc" << false << "密码错误，请重新操作";
    QTest::newRow("empty accepts empty") << "" << "" << true << "";
    QTest::newRow("empty refuses text") << "" << "x" << false << "密码错误，请重新操作";
    QTest::newRow("quotes and Chinese") << "密'码 1" << "密'码 1" << true << "";
    QTest::newRow("trailing blank counts") << "abc" << "abc " << false << "密码错误，请重新操作";
}

void TestShareDM::askModifyPassword()
{
    QFETCH(QString, stored);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, message);
    TestEnv env;
    env.Exec("Update Power Set PowerKey = ? Where PowerName = '修改'", {stored});
    bool masked = false;
    env.script.Then([&](QDialog *d) {
        QCOMPARE(d, static_cast<QDialog *>(FormAsk));
        QCOMPARE(FormAsk->windowTitle(), QStringLiteral("修改密码"));
        QCOMPARE(FormAsk->Label1->text(), QStringLiteral("请输入资料修改密码"));
        masked = FormAsk->Edit1->echoMode() == QLineEdit::Password;
        FormAsk->Edit1->setText(typed);
        FormAsk->BitBtn1->click();
    });
    QCOMPARE(AskModifyPassword("修改密码", "请输入资料修改密码", ""), accepted);
    QVERIFY(masked);
    QCOMPARE(env.script.messages, message.isEmpty() ? QStringList() : QStringList{message});

    // The next use of the dialog shows plain text again.
    QCOMPARE(FormAsk->Edit1->echoMode(), QLineEdit::Normal);
}

void TestShareDM::askModifyPasswordWithoutPowerRow()
{
    TestEnv env;
    env.Exec("Delete From Power Where PowerName = '修改'");
    env.script.Then([](QDialog *) { FormAsk->BitBtn1->click(); });
    QVERIFY(!AskModifyPassword("修改密码", "请输入资料修改密码", ""));
    QCOMPARE(env.script.messages, QStringList{"数据库出错，资料修改密码被删除"});

    // Cancelled: no message, refused.
    env.script.messages.clear();
    QVERIFY(!AskModifyPassword("修改密码", "请输入资料修改密码", ""));
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(FormAsk->Edit1->echoMode(), QLineEdit::Normal);
}

void TestShareDM::askCancelKeepsInputText()
{
    TestEnv env;
    FormAsk->FCaptionText = "标题";
    FormAsk->FPromptText = "请输入";
    FormAsk->FInputText = "原来的";
    env.script.Then([](QDialog *) {
        FormAsk->Edit1->setText("改过的");
        FormAsk->BitBtn2->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormAsk), int(QDialog::Rejected));
    QCOMPARE(FormAsk->FInputText, QStringLiteral("原来的"));
    env.script.Then([](QDialog *) {
        FormAsk->Edit1->setText("改过的");
        FormAsk->BitBtn1->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormAsk), int(QDialog::Accepted));
    QCOMPARE(FormAsk->FInputText, QStringLiteral("改过的"));
}

void TestShareDM::wordsInsideValuesAreValues_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("group by") << "Group By鞋店";
    QTest::newRow("order by") << "order by 'x'";
    QTest::newRow("union") << "Union鞋业";
    QTest::newRow("join") << "鞋 join 帽";
    QTest::newRow("having") << "HAVING";
    QTest::newRow("apostrophe") << "O'Brien";
    QTest::newRow("doubled apostrophe") << "O''Brien";
    QTest::newRow("Chinese with apostrophe") << "张'三";
    QTest::newRow("double quote") << "a\"b";
    QTest::newRow("new line") << "张三\n李四";
    QTest::newRow("tab and control character") << "鞋\t店\x01";
    QTest::newRow("question mark") << "谁? 'x'";
    QTest::newRow("date literal") << "#2024-1-1#";
}

void TestShareDM::wordsInsideValuesAreValues()
{
    QFETCH(QString, name);
    TestEnv env;
    TQuery q;
    const QString find = "Select * From Customer Where CustomerName = ?";
    QVERIFY(RunQuery(q, find, "x", {name}));
    const int key = Insert("Customer", {{"CustomerName", name}});
    QVERIFY(RunQuery(q, find, "x", {name}));
    QCOMPARE(q.RecordCount(), 1);
    q.First();
    QVERIFY(ShareDataModule->RunInTransaction("x", [&] {
        TRecord row(q);
        row.FieldByName("CustomerName").SetAsString(name + "2");
        RowWrites::Update("Customer", key, row);
        return true;
    }));
    QVERIFY(RunQuery(q, find + " Order By CustomerIndex", "x", {name + "2"}));
    QCOMPARE(q.RecordCount(), 1);
    QVERIFY(ShareDataModule->RunInTransaction("x", [&] {
        RowWrites::DeleteRow("Customer", key);
        return true;
    }));
    QCOMPARE(env.Scalar("Select count(*) From Customer Where CustomerIndex > 1").toInt(), 0);
}

void TestShareDM::nulIsRefused()
{
    TestEnv env;
    const QString name = QStringLiteral("鞋") + QChar(0) + QStringLiteral("店");
    // Typed text with a NUL: a clear message and nothing written.
    auto save = [](const QString &serial, const QString &productName) {
        return ShareDataModule->RunInTransaction("保存失败", [&] {
            RowWrites::Insert("Product", [&](TRecord &row) {
                row.FieldByName("ProductSerial").SetAsString(serial);
                row.FieldByName("ProductName").SetAsString(productName);
            });
            return true;
        });
    };
    QVERIFY(!save(name, "布鞋"));
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY(env.script.messages[0].contains("控制字符"));
    QCOMPARE(env.Scalar("Select count(*) From Product Where ProductIndex > 1").toInt(), 0);
    // The same write after it binds its own values, not what the refused one left
    // (the serial comes after the name).
    QVERIFY(save("A2", "运动鞋"));
    QCOMPARE(env.Scalar("Select ProductSerial || '/' || ProductName From Product Where ProductIndex > 1").toString(),
             QStringLiteral("A2/运动鞋"));
}

void TestShareDM::oldRowsWithNulAreFound()
{
    if (TestEnv::OnServer())
        QSKIP("a server keeps no NUL in a text: only older books files hold one");
    TestEnv env;
    const QString name = QStringLiteral("鞋") + QChar(0) + QStringLiteral("店");
    // A row that already holds one (older books) is still found by its text.
    QSqlQuery raw(ShareDataModule->Connection());
    QVERIFY(raw.exec("Insert Into Product (ProductSerial, ProductName) Values ('鞋' || char(0) || '店', 'x')"));
    TQuery q;
    QVERIFY(RunQuery(q, "Select * From Product Where ProductSerial = ?", "数据库打开失败", {name}));
    QCOMPARE(q.RecordCount(), 1);
    QCOMPARE(q.FieldByName("ProductSerial").AsString(), name);
}

void TestShareDM::booksFollowTheProgramFolder_data()
{
    QTest::addColumn<QString>("registered");
    QTest::newRow("registered relative") << "Kestrova.mdb";
    QTest::newRow("folder moved: old path gone") << "/nowhere/old folder/Kestrova.mdb";
    QTest::newRow("folder copied: old path still there") << "ORIGINAL";
    QTest::newRow("relative name climbing into another folder") << "../A/Kestrova.mdb";
    QTest::newRow("relative name of the parent folder") << "..";
}

void TestShareDM::booksFollowTheProgramFolder()
{
    QFETCH(QString, registered);
    if (TestEnv::OnServer())
        QSKIP("books found beside the program are a file");
    TestEnv env;
    env.AddCustomer("这里的客户");
    QTemporaryDir original;
    const QString originalFile = original.filePath("Kestrova.mdb");
    QVERIFY(Schema::CreateDatabase(originalFile, nullptr));
    if (registered == "ORIGINAL")
        registered = originalFile;
    TRegistry reg(RegistryFileName());
    QVERIFY(reg.OpenKey("Software\\ODBC\\ODBC.INI\\Kestrova", true));
    QVERIFY(reg.WriteString("DBQ", registered));
    reg.CloseKey();
    ShareDataModule->Disconnect();
    QCOMPARE(ShareDataModule->DatabaseFile(), env.DatabaseFile());
    QCOMPARE(env.Scalar("Select count(*) From Customer Where CustomerName = '这里的客户'").toInt(), 1);
}

void TestShareDM::upgradeSetsAnothersJournalAside_data()
{
    QTest::addColumn<int>("version");      // of the books before they are opened
    QTest::addColumn<QString>("also");     // what else they hold
    QTest::addColumn<QString>("shown");    // the one message at opening
    const QString aside = "帐套中原有的表 Journal 与本程序的同名表不符，已改名为 %1 保留，本程序另建了自己的 Journal 表";
    QTest::newRow("version 3 with another's Journal") << 3 << "" << aside.arg("Journal_Old");
    QTest::newRow("version 4 an earlier build left so") << 4 << "" << aside.arg("Journal_Old");
    QTest::newRow("that name taken too") << 3 << "Journal_Old" << aside.arg("Journal_Old2");
    QTest::newRow("a table of the books lacks a column")
        << 3 << "no ProductRemark"
        << "数据库打开失败\n原因：帐套升级失败：帐套中的表 Product 缺少 ProductRemark 列，与本程序的帐套不符；帐套未作任何修改";
}

void TestShareDM::upgradeSetsAnothersJournalAside()
{
    QFETCH(int, version);
    QFETCH(QString, also);
    QFETCH(QString, shown);
    TestEnv env;
    env.AddCustomer("张三");
    env.Exec("Drop Table Journal");
    env.Exec("Create Table Journal (Code TEXT, Note TEXT)");
    env.Exec("Insert Into Journal Values ('A1', '他人的记录')");
    if (also == "Journal_Old")
        env.Exec("Create Table Journal_Old (Code TEXT)");
    else if (also == "no ProductRemark")
        env.Exec("Alter Table Product Drop Column ProductRemark");
    env.Exec("Update BooksInfo Set InfoValue = ? Where InfoName = 'SchemaVersion'", {QString::number(version)});
    ShareDataModule->Disconnect();
    env.script.messages.clear();

    TQuery q;
    const bool opened = RunQuery(q, "Select Count(*) As Found From Journal", "数据库打开失败");
    QCOMPARE(env.script.messages, QStringList{shown});
    if (!opened) {
        // Stopped before anything changed.
        QCOMPARE(Direct("Select InfoValue From BooksInfo"), QStringList{"3"});
        QCOMPARE(Direct("Select Note From Journal"), QStringList{"他人的记录"});
        return;
    }
    QCOMPARE(q.FieldByName("Found").AsInteger(), 0);
    QCOMPARE(env.Scalar("Select InfoValue From BooksInfo").toInt(), Schema::Version);
    const QString kept = also == "Journal_Old" ? "Journal_Old2" : "Journal_Old";
    QCOMPARE(env.Scalar("Select Note From " + kept).toString(), QStringLiteral("他人的记录"));

    // The books save again, each save with its record.
    env.script.messages.clear();
    GoodsBill bill;
    bill.customer = "张三";
    bill.date = QDate(2024, 3, 15);
    bill.lines[0].product = 1;
    bill.lines[0].pieces = 2;
    bill.lines[0].price = 13.75;
    QVERIFY(TGoodsBillStore::SaveNew(bill) > 0);
    QCOMPARE(env.Scalar("Select Count(*) From Journal").toInt(), 1);
    // Opened again, nothing more is said or set aside.
    ShareDataModule->Disconnect();
    QCOMPARE(env.Scalar("Select Count(*) From Journal").toInt(), 1);
    QCOMPARE(env.script.messages, QStringList());

    // A save that fails says why.
    env.Refuse("Insert", "Journal");
    QCOMPARE(TGoodsBillStore::SaveNew(bill), 0);
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("单据保存失败，未作任何修改\n原因：") && env.script.messages[0].size() > 20,
             qPrintable(env.script.messages[0]));
    QCOMPARE(env.Scalar("Select Count(*) From Bill Where BillUser = '张三'").toInt(), 1);
}

QTEST_MAIN(TestShareDM)
#include "tst_sharedm.moc"
