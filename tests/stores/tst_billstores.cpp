// The bill stores: a bill and its lines written whole or not at all, without a window.
#include "stores/FinanceBillStore.h"
#include "stores/GoodsBillStore.h"
#include "db/Money.h"
#include "db/ShareDM.h"
#include "support/BooksEnv.h"

#include <QTest>

namespace {
const QDate Day(2024, 3, 15);

GoodsBill Sale(int product)
{
    GoodsBill bill;
    bill.customer = QStringLiteral("张'三");
    bill.date = Day;
    bill.total = 30;
    bill.paid = 10;
    bill.account = 1;
    bill.serial = QStringLiteral("XS10001");
    bill.lines[0].product = product;
    bill.lines[0].sizes[3] = QStringLiteral("3");
    bill.lines[0].pieces = 3;
    bill.lines[0].price = 10;
    bill.lines[0].sum = 30;
    return bill;
}

QString Books(BooksEnv &env)
{
    return env.Rows("Select BillKind, BillUser, BillSum, BillMoney, BillSerial From Bill Where BillIndex > 1 Order By BillIndex",
                    "%1%2%3/%4%5", ";")
        + '|' + env.Rows("Select StoreNumber, StoreSum From Store Order By StoreIndex", "%1:%2")
        + '|' + env.Rows("Select SettingValue From Setting Order By SettingIndex", "%1");
}
} // namespace

class TestBillStores : public QObject {
    Q_OBJECT
private slots:
    void goodsBillWrites_data();
    void goodsBillWrites();
    void financeBillWrites();
    void billMakesItsMoney_data();
    void billMakesItsMoney();
};

void TestBillStores::goodsBillWrites_data()
{
    QTest::addColumn<bool>("sales");
    QTest::addColumn<bool>("failHalfWay");   // the fourth line cannot be written
    QTest::newRow("sale") << true << false;
    QTest::newRow("purchase") << false << false;
    QTest::newRow("a line fails: nothing lands") << true << true;
}

void TestBillStores::goodsBillWrites()
{
    QFETCH(bool, sales);
    QFETCH(bool, failHalfWay);
    BooksEnv env;
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    const QString before = Books(env);
    if (failHalfWay)
        env.Refuse("Insert", "Store", "(Select count(*) From Store) > 3");
    GoodsBill bill = Sale(shoe);
    bill.sales = sales;
    const int index = TGoodsBillStore::SaveNew(bill);
    if (failHalfWay) {
        QCOMPARE(index, 0);
        QCOMPARE(env.notices.WhatFailed(), QStringList{"单据保存失败，未作任何修改"});
        QCOMPARE(Books(env), before);
        return;
    }
    QVERIFY(index > 1);
    const QString sign = sales ? "" : "-";
    QCOMPARE(env.Rows("Select BillKind, BillUser, BillSum, BillMoney, BillSerial From Bill Where BillIndex = ?",
                      "%1%2%3/%4%5", ";", {index}),
             QString(sales ? "出货单" : "进货单") + "张'三" + sign + "30.0/" + sign + "10.0XS10001");
    QCOMPARE(env.Rows("Select StoreNumber, StoreNum4 From Store Where StoreBill = ? Order By StoreIndex", "%1:%2", ",", {index}),
             QString(sales ? "-3:3,0:,0:,0:,0:,0:" : "3:3,0:,0:,0:,0:,0:"));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = " + QString::number(sales ? 1 : 2)).toString(),
             QStringLiteral("XS10001"));

    // Loaded back as the same value, amounts without sign, the product as shown.
    GoodsBill loaded;
    QVERIFY(TGoodsBillStore::Load(index, loaded));
    QCOMPARE(loaded.sales, sales);
    QCOMPARE(loaded.customer + loaded.serial + loaded.date.toString(Qt::ISODate), bill.customer + bill.serial + "2024-03-15");
    QCOMPARE(loaded.total, bill.total);
    QCOMPARE(loaded.paid, bill.paid);
    QCOMPARE(loaded.lines[0].product, shoe);
    QCOMPARE(loaded.lines[0].serial + loaded.lines[0].name + loaded.lines[0].type, QStringLiteral("P1皮鞋A1"));
    QCOMPARE(loaded.lines[0].sizes, bill.lines[0].sizes);
    QCOMPARE(loaded.lines[0].pieces, 3);
    QCOMPARE(loaded.lines[0].sum, 30.0);
    QCOMPARE(loaded.lines[1].product, 0);

    // Changed: the header and the lines rewritten in place; the total is the
    // lines', not one handed in.
    bill.index = index;
    bill.total = 999;
    bill.lines[1] = bill.lines[0];
    bill.lines[1].sizes[3] = QStringLiteral("1");
    bill.lines[1].pieces = 1;
    QVERIFY(TGoodsBillStore::SaveChanged(bill));
    QCOMPARE(env.Scalar("Select abs(BillSum) From Bill Where BillIndex = " + QString::number(index)).toDouble(), 40.0);
    QCOMPARE(env.Scalar("Select count(*) From Store Where StoreBill = " + QString::number(index)).toInt(), 6);
    QCOMPARE(env.Scalar("Select Sum(StoreSum) From Store Where StoreBill = " + QString::number(index)).toDouble(), 40.0);

    // Deleted with its lines; a bill that is gone is neither changed nor deleted.
    QVERIFY(TGoodsBillStore::Delete(index));
    QCOMPARE(env.Scalar("Select count(*) From Store").toInt(), 0);
    QVERIFY(!TGoodsBillStore::SaveChanged(bill));
    QVERIFY(!TGoodsBillStore::Delete(index));
    QVERIFY(!TGoodsBillStore::Load(index, loaded));
    QCOMPARE(env.notices.messages, (QStringList{"找不到要修改的记录", "单据删除失败，未作任何修改\n原因：要删除的记录已不存在", "找不到要修改的记录"}));
}

void TestBillStores::financeBillWrites()
{
    BooksEnv env;
    const int bank = env.AddAccount("银行");
    FinanceBill bill;
    bill.income = false;
    bill.account = bank;
    bill.date = Day;
    bill.customer = QStringLiteral("O'Neil鞋业");
    bill.amount = 80;
    bill.serial = QStringLiteral("ZC10001");
    bill.man = QStringLiteral("小王");
    const int index = TFinanceBillStore::SaveNew(bill);
    QVERIFY(index > 1);
    QCOMPARE(env.Rows("Select BillKind, BillSum, BillMoney, BillMan From Bill Where BillIndex = ?", "%1%2/%3%4", ";", {index}),
             QStringLiteral("财务支出单-80.0/-80.0小王"));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = 4").toString(), QStringLiteral("ZC10001"));
    bill.index = index;
    bill.amount = 90;
    QVERIFY(TFinanceBillStore::SaveChanged(bill));
    QCOMPARE(env.Scalar("Select BillSum From Bill Where BillIndex = " + QString::number(index)).toDouble(), -90.0);

    // The number cannot be written back: the bill does not land either.
    const QString before = Books(env);
    env.Refuse("Update", "Setting");
    bill.index = 0;
    QCOMPARE(TFinanceBillStore::SaveNew(bill), 0);
    QCOMPARE(Books(env), before);
    QVERIFY(TFinanceBillStore::Delete(index));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillIndex > 1").toInt(), 0);
}

void TestBillStores::billMakesItsMoney_data()
{
    QTest::addColumn<QList<int>>("pieces");
    QTest::addColumn<QList<double>>("prices");
    QTest::addColumn<QList<int>>("lineFen");
    QTest::addColumn<int>("totalFen");
    QTest::newRow("1.005 is half a fen, typed") << QList<int>{1} << QList<double>{1.005} << QList<int>{101} << 101;
    QTest::newRow("eighths of a yuan") << QList<int>{1, 3} << QList<double>{0.125, 0.125} << QList<int>{13, 38} << 51;
    QTest::newRow("four decimals") << QList<int>{3, 7} << QList<double>{33.3333, 0.0049} << QList<int>{10000, 3} << 10003;
    QTest::newRow("each line rounded, then added") << QList<int>{1, 1, 1, 1, 1, 1} << QList<double>{0.005, 0.005, 0.005, 0.005, 0.005, 0.005}
                                                   << QList<int>{1, 1, 1, 1, 1, 1} << 6;
    QTest::newRow("six lines") << QList<int>{1, 2, 3, 4, 5, 6} << QList<double>{1.005, 0.125, 2.675, 33.3333, 0.0049, 19.99}
                               << QList<int>{101, 25, 803, 13333, 2, 11994} << 26258;
    QTest::newRow("no pieces, no money") << QList<int>{0} << QList<double>{12.5} << QList<int>{0} << 0;
}

void TestBillStores::billMakesItsMoney()
{
    QFETCH(QList<int>, pieces);
    QFETCH(QList<double>, prices);
    QFETCH(QList<int>, lineFen);
    QFETCH(int, totalFen);
    BooksEnv env;
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    GoodsBill bill = Sale(shoe);
    bill.total = 1;   // handed in, and wrong
    for (int i = 0; i < pieces.size(); ++i) {
        GoodsLine &line = bill.lines[i];
        line.product = shoe;
        line.sizes = {};
        line.sizes[0] = QString::number(pieces[i]);
        line.pieces = pieces[i];
        line.price = prices[i];
        line.sum = 0;
        QCOMPARE(line.AmountFen(), qint64(lineFen[i]));
    }
    QCOMPARE(bill.TotalFen(), qint64(totalFen));
    // Written as the value made them: each line, and the bill's total.
    const int index = TGoodsBillStore::SaveNew(bill);
    QVERIFY(index > 1);
    QStringList stored, expected;
    TQuery q(QStringLiteral("Lines"));
    q.Open(QStringLiteral("Select StoreSum From Store Where StoreBill = ? Order By StoreIndex"), {index});
    for (q.First(); !q.Eof(); q.Next())
        stored << QString::number(Fen(q.FieldByName(QStringLiteral("StoreSum")).AsFloat()));
    for (int i = 0; i < GoodsBill::LineCount; ++i)
        expected << QString::number(i < lineFen.size() ? lineFen[i] : 0);
    QCOMPARE(stored, expected);
    QCOMPARE(Fen(env.Scalar("Select BillSum From Bill Where BillIndex = " + QString::number(index)).toDouble()), qint64(totalFen));
}

QTEST_MAIN(TestBillStores)
#include "tst_billstores.moc"
