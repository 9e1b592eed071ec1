// Figures read from the kept totals equal the same figures added up from the
// rows, after any sequence of writes, by the program's stores or by direct SQL.
#include "db/KeptTotals.h"
#include "db/Schema.h"
#include "support/BooksImport.h"
#include "support/PrivateConnection.h"

#include <QFile>
#include "figures/AccountFigures.h"
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"
#include "db/Money.h"
#include "db/ShareDM.h"
#include "stores/AccountStore.h"
#include "stores/CustomerStore.h"
#include "stores/FinanceBillStore.h"
#include "stores/GoodsBillStore.h"
#include "stores/OtherReceivableStore.h"
#include "support/TestEnv.h"

#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>

namespace {
const QDate Start(2023, 1, 1);

// What the rows say, as of a day, computed here without the kept totals.
QMap<QString, QList<qint64>> RawCustomers(TestEnv &env, const QDate &day)
{
    QMap<QString, QList<qint64>> result;
    const QString d = "'" + day.toString(Qt::ISODate) + "'";
    QSqlQuery q(ShareDataModule->Connection());
    q.exec("Select BillUser, Sum(" + KeptTotals::SalesFen() + "), Sum(" + KeptTotals::ReturnsFen() + "), Sum(" + KeptTotals::PaidFen()
           + ") From Bill Where BillCreateTime <= " + d + " Group By BillUser");
    while (q.next())
        result[q.value(0).toString()] = {q.value(1).toLongLong(), q.value(2).toLongLong(), q.value(3).toLongLong(), 0};
    q.exec("Select SGCustomer, Sum(" + KeptTotals::OtherFen() + ") From SG Where SGDate <= " + d + " Group By SGCustomer");
    while (q.next()) {
        auto &row = result[q.value(0).toString()];
        row.resize(4);
        row[3] = q.value(1).toLongLong();
    }
    Q_UNUSED(env);
    return result;
}

QString Describe(const CustomerSums &s) { return QStringLiteral("%1/%2/%3/%4").arg(s.sales).arg(s.returns).arg(s.paidNet).arg(s.other); }
} // namespace

class TestKeptFigures : public QObject {
    Q_OBJECT
private slots:
    void randomWritesKeepFiguresEqual_data();
    void randomWritesKeepFiguresEqual();
    void olderBooksAreUpgradedNewerRefused();
};

void TestKeptFigures::randomWritesKeepFiguresEqual_data()
{
    QTest::addColumn<quint32>("seed");
    for (quint32 seed : {1u, 7u, 2024u})
        QTest::newRow(qPrintable(QStringLiteral("seed %1").arg(seed))) << seed;
}

void TestKeptFigures::randomWritesKeepFiguresEqual()
{
    QFETCH(quint32, seed);
    QRandomGenerator rng(seed);
    TestEnv env;
    QStringList customers{"张'三", "李四", "Group By鞋店", "王五"};
    for (const QString &c : customers)
        env.AddCustomer(c);
    QList<int> accounts{env.AddAccount("现金"), env.AddAccount("银行"), env.AddAccount("微信")};
    QList<int> products{env.AddProduct("皮鞋", "A1", 10, "P1"), env.AddProduct("布鞋", "B2", 20, "P2"),
                        env.AddProduct("凉鞋", "C3", 30, "P3")};
    QList<int> bills;
    QList<int> others;
    auto pick = [&rng](const auto &list) { return list[int(rng.bounded(quint32(list.size())))]; };
    auto day = [&] { return Start.addDays(int(rng.bounded(730u))); };
    // Prices of up to four decimals: line amounts land on half a fen often.
    auto price = [&] { return double(rng.bounded(1, 200000)) / 10000; };

    auto goodsBill = [&] {
        GoodsBill bill;
        bill.sales = rng.bounded(3u) != 0;
        bill.date = day();
        bill.customer = pick(customers);
        bill.serial = (bill.sales ? "XS" : "JH") + QString::number(10000 + bill.index + int(rng.bounded(90000u)));
        bill.account = rng.bounded(2u) ? pick(accounts) : 1;
        bill.paid = bill.account > 1 ? double(rng.bounded(0, 100000)) / 100 : 0;
        for (int l = 0; l < int(rng.bounded(1u, 5u)); ++l) {
            GoodsLine &line = bill.lines[l];
            line.product = pick(products);
            for (int k = 0; k < 10; ++k)
                if (rng.bounded(4u) == 0) {
                    const int n = int(rng.bounded(1u, 6u));
                    line.pieces += n;
                    line.sizes[k] = QString::number(n);
                }
            if (rng.bounded(10u) == 0)
                line.sizes[0] = "x";   // an odd size text
            line.price = price();
            line.sum = RoundMoney(line.pieces * line.price);
            bill.total += line.sum;
        }
        return bill;
    };

    for (int step = 0; step < 120; ++step) {
        const quint32 op = rng.bounded(12u);
        if (op <= 2 || bills.isEmpty()) {
            const int index = TGoodsBillStore::SaveNew(goodsBill());
            QVERIFY(index > 0);
            bills << index;
        } else if (op == 3) {
            GoodsBill bill = goodsBill();
            bill.index = pick(bills);
            bill.version = env.Scalar("Select BillVersion From Bill Where BillIndex = ?", {bill.index}).toInt();
            QVERIFY(TGoodsBillStore::SaveChanged(bill));
        } else if (op == 4) {
            const int index = pick(bills);
            QVERIFY(TGoodsBillStore::Delete(index));
            bills.removeAll(index);
        } else if (op == 5) {
            FinanceBill bill;
            bill.income = rng.bounded(2u);
            bill.account = pick(accounts);
            bill.date = day();
            bill.customer = pick(customers);
            bill.amount = double(rng.bounded(1, 500000)) / 100;
            bill.serial = "SR" + QString::number(step);
            QVERIFY(TFinanceBillStore::SaveNew(bill) > 0);
        } else if (op == 6) {
            OtherReceivable entry{0, pick(customers), day(), double(rng.bounded(1, 100000)) / 1000 - 20, "r"};
            const int index = TOtherReceivableStore::Add(entry);
            QVERIFY(index > 0);
            others << index;
        } else if (op == 7 && !others.isEmpty()) {
            const int index = pick(others);
            QVERIFY(TOtherReceivableStore::Delete(index));
            others.removeAll(index);
        } else if (op == 8) {
            // A rename carries the customer's bills and receivables.
            const QString old = pick(customers);
            const QString name = old + "改";
            const int index = env.Scalar("Select CustomerIndex From Customer Where CustomerName = ?", {old}).toInt();
            const int version = env.Scalar("Select CustomerVersion From Customer Where CustomerIndex = ?", {index}).toInt();
            QCOMPARE(TCustomerStore::Change(Customer{index, name, "本地", 0, version}), TCustomerStore::Saved);
            customers.replace(customers.indexOf(old), name);
        } else if (op == 9 && accounts.size() > 1 && rng.bounded(4u) == 0) {
            const int account = pick(accounts);
            QVERIFY(TAccountStore::Delete(account));
            accounts.removeAll(account);
            bills.clear();
            QSqlQuery q(ShareDataModule->Connection());
            q.exec("Select BillIndex From Bill Where BillIndex > 1 And BillKind In ('出货单', '进货单')");
            while (q.next())
                bills << q.value(0).toInt();
        } else {
            // Direct SQL, as a repair tool or another program would write.
            const int bill = pick(bills);
            switch (rng.bounded(6u)) {
            case 0:
                env.Exec("Update Bill Set BillSum = BillSum + 0.005, BillMoney = BillMoney - 1.0049 Where BillIndex = ?", {bill});
                break;
            case 1:
                env.Exec("Update Bill Set BillCreateTime = Null Where BillIndex = ?", {bill});
                break;
            case 2:
                env.Exec("Delete From Store Where StoreIndex = (Select Min(StoreIndex) From Store Where StoreBill = ?)", {bill});
                break;
            case 3:
                env.Exec("Update Store Set StoreNum2 = '7', StoreNumber = StoreNumber - 3, StoreProduct = ? Where StoreBill = ?",
                         {pick(products), bill});
                break;
            case 4:
                // A bill gone without its lines: they count no more.
                env.Exec("Delete From Bill Where BillIndex = ?", {bill});
                bills.removeAll(bill);
                break;
            default:
                env.Exec("Update Bill Set BillAccount = ?, BillUser = ? Where BillIndex = ?", {pick(accounts), pick(customers), bill});
                break;
            }
        }
        if (step % 6 != 5)
            continue;

        bool ok = false;
        QCOMPARE(KeptTotals::Differences(ShareDataModule->Connection(), &ok), QStringList());
        QVERIFY(ok);
        for (const QDate &asOf : {Start.addDays(-1), Start.addDays(200), Start.addDays(400), Start.addDays(800)}) {
            const QString d = "'" + asOf.toString(Qt::ISODate) + "'";
            TCustomerFigures figures;
            QVERIFY(figures.Load(asOf));
            const auto raw = RawCustomers(env, asOf);
            for (const QString &name : raw.keys()) {
                const QList<qint64> r = raw[name];
                CustomerSums expected;
                expected.sales = r[0], expected.returns = r[1], expected.paidNet = r[2], expected.other = r[3];
                QCOMPARE(Describe(figures.Of(name)), Describe(expected));
                TCustomerFigures one;
                QVERIFY(one.LoadCustomer(name, asOf));
                QCOMPARE(Describe(one.Of(name)), Describe(expected));
            }

            TAccountFigures accountFigures;
            QVERIFY(accountFigures.Load(asOf));
            QSqlQuery q(ShareDataModule->Connection());
            q.exec("Select AccountIndex, (Select Sum(" + KeptTotals::MoneyFen() + ") From Bill Where BillAccount = AccountIndex "
                   "And BillCreateTime <= " + d + ") From Account");
            while (q.next())
                QCOMPARE(accountFigures.Of(q.value(0).toInt()).balance, q.value(1).toLongLong());

            TProductFigures productFigures;
            QVERIFY(productFigures.LoadSizes(asOf));
            for (int product : products) {
                QString sizes;
                for (int k = 0; k < 10; ++k)
                    sizes += ", Sum(" + KeptTotals::LineSize(k) + ")";
                q.exec("Select Sum(StoreNumber)" + sizes + ", Sum(" + KeptTotals::LineOdd() + ") From Store, Bill "
                       "Where StoreBill = BillIndex And BillCreateTime <= " + d + " And StoreProduct = " + QString::number(product));
                QVERIFY(q.next());
                const SizeStock s = productFigures.SizesOf(product);
                QCOMPARE(s.total, q.value(0).toInt());
                for (int k = 0; k < 10; ++k)
                    QCOMPARE(s.size[k], q.value(1 + k).toInt());
                QCOMPARE(s.flagged, q.value(11).toInt() > 0);
                // One product alone, and leaving one bill out, agree as well.
                TProductFigures single;
                QVERIFY(single.LoadSizes(asOf, product));
                QCOMPARE(single.SizesOf(product).total, s.total);
                if (!bills.isEmpty()) {
                    const int except = bills.first();
                    QVERIFY(single.LoadSizes(asOf, product, except));
                    q.exec("Select Coalesce(Sum(StoreNumber), 0) From Store, Bill Where StoreBill = BillIndex And BillCreateTime <= " + d
                           + " And StoreProduct = " + QString::number(product) + " And BillIndex <> " + QString::number(except));
                    QVERIFY(q.next());
                    QCOMPARE(single.SizesOf(product).total, q.value(0).toInt());
                }
            }
        }
    }
    QVERIFY(env.script.messages.isEmpty());
}

namespace {
// Makes the open books look as the previous version left them: no kept totals, no version.
void MakeOlder(TestEnv &env)
{
    QSqlQuery q(ShareDataModule->Connection());
    q.exec("Select type, name From sqlite_master Where name Like 'Kept%' Or name = 'BooksInfo'");
    QStringList drops;
    while (q.next())
        drops << "Drop " + q.value(0).toString() + " If Exists " + q.value(1).toString();
    q.finish();
    for (const QString &drop : drops)
        env.Exec(drop);
    // Nor had they row versions.
    for (const auto &[table, column] : Schema::AddedColumns())
        env.Exec("Alter Table " + table + " Drop Column " + column);
    // Nor a journal.
    env.Exec("Drop Table Journal");
}

QString Figures()
{
    TCustomerFigures customers;
    TAccountFigures accounts;
    TProductFigures products;
    if (!customers.Load(QDate(2024, 3, 15)) || !accounts.Load(QDate(2024, 3, 15)) || !products.LoadSizes(QDate(2024, 3, 15)))
        return "failed";
    return Describe(customers.Of("张'三")) + "|" + QString::number(accounts.Of(2).balance) + "|"
           + QString::number(products.SizesOf(2).total);
}
} // namespace

void TestKeptFigures::olderBooksAreUpgradedNewerRefused()
{
    if (TestEnv::OnServer())
        QSKIP("older and newer books are files");
    TestEnv env;
    env.AddCustomer("张'三");
    const int bank = env.AddAccount("银行");
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    QCOMPARE(bank, 2);
    QCOMPARE(shoe, 2);
    const int bill = env.AddBill("出货单", "张'三", QDate(2024, 3, 1), 1.005, 0.5, bank);
    env.AddLine(bill, shoe, -3);
    env.AddSG("张'三", QDate(2024, 3, 2), 2.675);
    const QString before = Figures();
    QCOMPARE(before, QStringLiteral("101/0/50/268|50|-3"));

    // Opened by this version: the kept totals are made once, the figures stay,
    // and a table of another's that merely begins like a kept one stays too.
    MakeOlder(env);
    env.Exec("Create Table KeptNotes (Note TEXT)");
    env.Exec("Insert Into KeptNotes Values ('mine')");
    ShareDataModule->Disconnect();
    QCOMPARE(Figures(), before);
    QCOMPARE(env.Scalar("Select Note From KeptNotes").toString(), QStringLiteral("mine"));
    QCOMPARE(env.Scalar("Select InfoValue From BooksInfo Where InfoName = 'SchemaVersion'").toInt(), Schema::Version);
    QCOMPARE(env.Scalar("Select KeptSales From KeptCustomer Where KeptName = '张''三'").toInt(), 101);

    // A restore takes older books and makes their kept totals; it refuses newer ones.
    const QString older = env.Dir() + "older.mdb";
    MakeOlder(env);
    ShareDataModule->Disconnect();
    QVERIFY(QFile::copy(env.DatabaseFile(), older));
    const QString restored = env.Dir() + "restored.mdb";
    QCOMPARE(TBooksImport::Import(older, restored).verdict, TBooksImport::Done);
    {
        TPrivateConnection db(restored);
        bool ok = false;
        QCOMPARE(KeptTotals::Differences(db.Db(), &ok), QStringList());
        QVERIFY(ok);
        QCOMPARE(Schema::VersionOf(db.Db()), Schema::Version);
    }
    QVERIFY(QFile::remove(restored));
    QCOMPARE(Figures(), before);   // reopened, and upgraded again
    env.Exec("Update BooksInfo Set InfoValue = '5'");
    ShareDataModule->Disconnect();
    QVERIFY(QFile::copy(env.DatabaseFile(), env.Dir() + "newer.mdb"));
    const TBooksImport::Outcome newer = TBooksImport::Import(env.Dir() + "newer.mdb", restored);
    QCOMPARE(newer.verdict, TBooksImport::Refused);
    QCOMPARE(newer.reason, QStringLiteral("所选数据库由较新版本的程序建立（版本 5，本程序为版本 4），请先升级本程序再恢复"));
    // Nor are newer books opened as the working books.
    QVERIFY_THROWS_EXCEPTION(EDatabaseError, ShareDataModule->Connection());
}

QTEST_MAIN(TestKeptFigures)
#include "tst_keptfigures.moc"
