// The change journal: what each write leaves, nothing for a failed one, a deleted bill saved again.
#include "db/Journal.h"
#include "core/Session.h"
#include "stores/AccountStore.h"
#include "stores/BillRestore.h"
#include "stores/FinanceBillStore.h"
#include "stores/CustomerStore.h"
#include "stores/GoodsBillStore.h"
#include "stores/ParameterStore.h"
#include "stores/PasswordStore.h"
#include "stores/ProductStore.h"
#include "stores/QuoteStore.h"
#include "support/JournalForm.h"
#include "grid/FooterGrid.h"
#include "support/TestEnv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QPushButton>
#include <QTableView>
#include <QTest>

namespace {
const QDate Day(2024, 3, 15);

struct Books {
    TestEnv env;
    int customer = 0, shoe = 0, boot = 0, bank = 0;
    Books()
    {
        customer = env.AddCustomer("张'三");
        shoe = env.AddProduct("皮鞋", "黑", 10, "P1");
        boot = env.AddProduct("靴子", "棕", 20, "P2");
        bank = env.AddAccount("银行");
        Session->SetRole(QStringLiteral("管理员"));
    }
    GoodsBill Sale() const
    {
        GoodsBill bill;
        bill.customer = QStringLiteral("张'三");
        bill.date = Day;
        bill.total = 1200;
        bill.paid = 200;
        bill.account = bank;
        bill.serial = QStringLiteral("XS10023");
        bill.remark = QStringLiteral("急\"单");
        bill.lines[0] = GoodsLine{shoe, {"", "", "2", "", "", "", "", "", "", ""}, 2, 100, 200, {}, {}, {}};
        bill.lines[1] = GoodsLine{boot, {"", "", "", "10", "", "", "", "", "", ""}, 10, 100, 1000, {}, {}, {}};
        return bill;
    }
    QString Last() { return env.Rows("Select JournalRole, JournalAction || JournalKind, JournalKey, JournalCustomer, JournalText From Journal "
                                     "Order By JournalIndex Desc Limit 1", "%1 %2 %3 %4：%5"); }
    int Count() { return env.Scalar("Select Count(*) From Journal").toInt(); }
};
} // namespace

class TestJournal : public QObject {
    Q_OBJECT
private slots:
    void changesLeaveRecords_data();
    void changesLeaveRecords();
    void failedWriteLeavesNone();
    void deletedBillComesBack();
    void restoreTakesTheLines_data();
    void restoreTakesTheLines();
};

void TestJournal::changesLeaveRecords_data()
{
    QTest::addColumn<int>("change");
    QTest::addColumn<QString>("record");
    QTest::newRow("bill saved") << 0 << "管理员 新增出货单 XS10023 张'三：单据金额 1200";
    QTest::newRow("bill changed") << 1 << "管理员 修改出货单 XS10023 张'三：单据金额 1200 → 1000；第2行 38# 10 → 8，数量 10 → 8，金额 1000 → 800";
    QTest::newRow("bill deleted") << 2 << "管理员 删除出货单 XS10023 张'三：单据金额 1200";
    QTest::newRow("customer renamed") << 3 << "管理员 修改客户 李四 李四：客户名称 张'三 → 李四；期初欠款 0 → 5.5";
    QTest::newRow("quote") << 4 << "管理员 新增报价 P1 皮鞋 张'三：单价 9.5";
    QTest::newRow("parameter") << 5 << "管理员 新增参数 运费 ：列表 1；内容 运费";
    QTest::newRow("password, never the password") << 6 << "管理员 修改密码 修改 ：修改了“修改”的密码";
    QTest::newRow("account renamed") << 7 << "管理员 修改帐户 工行 ：帐户名称 银行 → 工行";
    QTest::newRow("product deleted") << 8 << "管理员 删除货品 靴子 ：货品编号 P2；货品名称 靴子；货品规格 棕；单价 20";
}

void TestJournal::changesLeaveRecords()
{
    QFETCH(int, change);
    QFETCH(QString, record);
    Books books;
    GoodsBill bill = books.Sale();
    int index = 0;
    if (change <= 2) {
        index = TGoodsBillStore::SaveNew(bill);
        QVERIFY(index > 0);
    }
    switch (change) {
    case 1: {
        GoodsBill stored;
        QVERIFY(TGoodsBillStore::Load(index, stored));
        stored.lines[1].sizes[3] = "8";
        stored.lines[1].pieces = 8;
        QVERIFY(TGoodsBillStore::SaveChanged(stored));
        break;
    }
    case 2: QVERIFY(TGoodsBillStore::Delete(index)); break;
    case 3: QCOMPARE(TCustomerStore::Change(Customer{books.customer, "李四", "本地", 5.5, 0}), TCustomerStore::Saved); break;
    case 4: QCOMPARE(TQuoteStore::SetPrice(books.customer, books.shoe, 9.5), TQuoteStore::Saved); break;
    case 5: QVERIFY(TParameterStore::Add(1, "运费") > 0); break;
    case 6: QCOMPARE(TPasswordStore::Change("修改", "secret-7"), TPasswordStore::Changed); break;
    case 7: QCOMPARE(TAccountStore::Rename("银行", "工行"), TAccountStore::Renamed); break;
    case 8: QVERIFY(TProductStore::Delete(books.boot)); break;
    }
    QCOMPARE(books.Last(), record);
    QVERIFY(!books.env.Rows("Select JournalMoment || JournalComputer || JournalProgram || JournalData From Journal", "%1").contains("secret-7"));
    QVERIFY(books.env.Rows("Select JournalProgram From Journal", "%1").startsWith("Mirelo进销存 "));
}

void TestJournal::failedWriteLeavesNone()
{
    Books books;
    books.env.Refuse("Insert", "Store");
    QCOMPARE(TGoodsBillStore::SaveNew(books.Sale()), 0);
    QCOMPARE(books.Count(), 0);
    // Nor does a change the journal cannot take.
    books.env.Refuse("Insert", "Journal");
    QCOMPARE(TCustomerStore::Create(Customer{0, "王五", "本地", 0, 0}), TCustomerStore::Failed);
    QCOMPARE(books.env.Scalar("Select Count(*) From Customer Where CustomerName = '王五'").toInt(), 0);
}

void TestJournal::deletedBillComesBack()
{
    Books books;
    const int first = TGoodsBillStore::SaveNew(books.Sale());
    const QJsonObject saved = Journal::Bill(first);
    QVERIFY(TGoodsBillStore::Delete(first));
    // Through the window: the deletion is listed and its bill saved again, under its old number.
    books.env.script.answers = {true};
    books.env.script.Then([](QDialog *window) {
        auto *form = static_cast<TFormJournal *>(window);
        QCOMPARE(form->Grid->RowCount(), 2);   // newest first: the deletion, then the save
        form->Grid->SetCurrentRow(0);
        QVERIFY(form->RestoreButton->isEnabled());
        form->RestoreButton->click();
        QCOMPARE(form->Grid->RowCount(), 3);
    });
    TFormJournal journal;
    Dialogs::ShowModal(&journal);
    QCOMPARE(books.env.script.messages, QStringList{"单据已恢复，编号 XS10023"});
    const int back = books.env.Scalar("Select Max(BillIndex) From Bill").toInt();
    auto same = [](QJsonObject bill) {
        for (const char *field : {"BillIndex", "BillRecordTime"})
            bill.remove(QLatin1String(field));
        return bill;
    };
    QCOMPARE(same(Journal::Bill(back)), same(saved));
    QCOMPARE(books.Last(), "管理员 恢复出货单 XS10023 张'三：按删除记录恢复了单据");

    // Deleted again after another bill took its number: it comes back under the next one.
    QVERIFY(TGoodsBillStore::Delete(back));
    const int deletion = books.env.Scalar("Select Max(JournalIndex) From Journal").toInt();
    QVERIFY(TGoodsBillStore::SaveNew(books.Sale()) > 0);
    QString message;
    QVERIFY(BillRestore::Restore(deletion, &message) > 0);
    QCOMPARE(message, "单据已恢复。原编号 XS10023 已被使用，改用编号 XS10024");
    QVERIFY(!BillRestore::Restorable(deletion - 1));   // a save is nothing to restore

    // A finance bill comes back whole too, its header and who took it included.
    FinanceBill pay;
    pay.income = false;
    pay.account = books.bank;
    pay.date = Day;
    pay.customer = QStringLiteral("张'三");
    pay.amount = 88.5;
    pay.reason = QStringLiteral("运费");
    pay.token = QStringLiteral("收据");
    pay.remark = QStringLiteral("退\"款");
    pay.man = QStringLiteral("小王");
    pay.serial = QStringLiteral("ZC001");
    const int paid = TFinanceBillStore::SaveNew(pay);
    QVERIFY(paid > 0);
    const QJsonObject payImage = Journal::Bill(paid);
    QVERIFY(TFinanceBillStore::Delete(paid));
    const int payBack = BillRestore::Restore(books.env.Scalar("Select Max(JournalIndex) From Journal").toInt(), &message);
    QVERIFY(payBack > 0);
    QCOMPARE(same(Journal::Bill(payBack)), same(payImage));
}

void TestJournal::restoreTakesTheLines_data()
{
    // What a deletion record is made to hold, in its bill and its first line; the message, none when restored.
    QTest::addColumn<QJsonObject>("head");
    QTest::addColumn<QJsonObject>("line");
    QTest::addColumn<QString>("shown");
    QTest::newRow("total and date disagree with the lines")
        << QJsonObject{{"BillSum", 99999.99}, {"BillCreateTime", "2024-03-01"}} << QJsonObject{{"StorePrice", 13.75}, {"StoreSum", 99999.99}}
        << "";
    QTest::newRow("a date that is no date") << QJsonObject{{"BillCreateTime", "9999-99-99"}} << QJsonObject{}
                                            << "删除记录中的单据日期“9999-99-99”不是有效的日期，无法恢复";
    QTest::newRow("a total beyond any amount") << QJsonObject{{"BillSum", 1e300}} << QJsonObject{}
                                               << "删除记录中的单据金额“*”不是有效的金额，无法恢复";
    QTest::newRow("a price that is a word") << QJsonObject{} << QJsonObject{{"StorePrice", "十元"}}
                                            << "删除记录中的第1行的单价“十元”不是有效的金额，无法恢复";
    QTest::newRow("pieces beyond any count") << QJsonObject{} << QJsonObject{{"StoreNumber", 3e9}}
                                             << "删除记录中的第1行的数量“3000000000”不是有效的整数，无法恢复";
}

void TestJournal::restoreTakesTheLines()
{
    QFETCH(QJsonObject, head);
    QFETCH(QJsonObject, line);
    QFETCH(QString, shown);
    Books books;
    QVERIFY(TGoodsBillStore::Delete(TGoodsBillStore::SaveNew(books.Sale())));
    const int deletion = books.env.Scalar("Select Max(JournalIndex) From Journal").toInt();
    // The record as something other than the program left it.
    QJsonObject data = QJsonDocument::fromJson(books.env.Scalar("Select JournalData From Journal Where JournalIndex = ?", {deletion})
                                                   .toString()
                                                   .toUtf8())
                           .object();
    QJsonObject bill = data["before"].toObject();
    for (auto it = head.begin(); it != head.end(); ++it)
        bill[it.key()] = it.value();
    QJsonArray lines = bill["Lines"].toArray();
    QJsonObject first = lines[0].toObject();
    for (auto it = line.begin(); it != line.end(); ++it)
        first[it.key()] = it.value();
    lines[0] = first;
    bill["Lines"] = lines;
    data["before"] = bill;
    books.env.Exec("Update Journal Set JournalData = ? Where JournalIndex = ?",
                   {QString::fromUtf8(QJsonDocument(data).toJson(QJsonDocument::Compact)), deletion});
    const QStringList rows = books.env.AllRows();
    books.env.script.messages.clear();

    QString message;
    const int back = BillRestore::Restore(deletion, &message);
    if (!shown.isEmpty()) {
        QCOMPARE(back, 0);
        QCOMPARE(books.env.script.messages.size(), 1);
        const QString said = books.env.script.messages[0];
        const QStringList parts = shown.split('*');
        QVERIFY2(parts.size() == 1 ? said == shown : said.startsWith(parts[0]) && said.endsWith(parts[1]), qPrintable(said));
        QCOMPARE(books.env.AllRows(), rows);
        return;
    }
    // The bill the lines make: 2 x 13.75 and 10 x 100, on the day it had.
    QVERIFY(back > 0);
    QCOMPARE(books.env.Scalar("Select BillSum From Bill Where BillIndex = ?", {back}).toDouble(), 1027.5);
    QCOMPARE(books.env.Scalar("Select BillCreateTime From Bill Where BillIndex = ?", {back}).toString(), QStringLiteral("2024-03-01"));
    QCOMPARE(books.env.Rows("Select StoreSum From Store Where StoreBill = ? And StoreProduct > 0 Order By StoreIndex", "%1", ",", {back}),
             QStringLiteral("27.5,1000.0"));
}

QTEST_MAIN(TestJournal)
#include "tst_journal.moc"
