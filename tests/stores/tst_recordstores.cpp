// The record stores: customers, other receivables and quotes written whole or
// not at all, without a window, with the messages the windows showed.
#include "stores/CustomerStore.h"
#include "stores/OtherReceivableStore.h"
#include "stores/QuoteStore.h"
#include "support/BooksEnv.h"

#include <QTest>

namespace {
const QDate Day(2024, 3, 15);

// 张三 with a bill, an other receivable and a quote; 李四 with nothing.
struct Fixture {
    BooksEnv env;
    int zhang = 0, shoe = 0, sg = 0;
    Fixture()
    {
        zhang = env.AddCustomer(QStringLiteral("张三"), QStringLiteral("本地"), 5);
        env.AddCustomer(QStringLiteral("李四"));
        shoe = env.AddProduct(QStringLiteral("皮鞋"));
        env.AddBill(QStringLiteral("出货单"), QStringLiteral("张三"), Day, 30);
        env.AddSG(QStringLiteral("张三"), Day, 7, QStringLiteral("运费"));
        sg = env.Scalar(QStringLiteral("Select max(SGIndex) From SG")).toInt();
        env.Exec(QStringLiteral("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, ?)"), {shoe, zhang, 9});
    }
    // A write of this kind ("Insert On SG") fails half-way; none when empty.
    void Break(const QString &trigger)
    {
        if (!trigger.isEmpty())
            env.Refuse(trigger.section(" On ", 0, 0), trigger.section(" On ", 1));
    }
    // Everything these stores touch, as one text.
    QString Books()
    {
        return env.Rows("Select CustomerName, CustomerRegion, CustomerOwe From Customer Where CustomerIndex > 1 Order By CustomerIndex",
                        "%1/%2/%3")
            + '|' + env.Rows("Select BillUser From Bill Where BillIndex > 1 Order By BillIndex", "%1")
            + '|' + env.Rows("Select SGCustomer, SGDate, SGSum, SGRemark From SG Order By SGIndex", "%1/%2/%3/%4")
            + '|' + env.Rows("Select PriceCustomer, PriceProduct, PriceValue From Price Order By PriceIndex", "%1:%2=%3");
    }
};

const QString Unchanged;   // the books as before
} // namespace

class TestRecordStores : public QObject {
    Q_OBJECT
private slots:
    void customerWrites_data();
    void customerWrites();
    void otherReceivableWrites_data();
    void otherReceivableWrites();
    void quoteWrites_data();
    void quoteWrites();
};

void TestRecordStores::customerWrites_data()
{
    QTest::addColumn<QString>("action");   // create, change or delete
    QTest::addColumn<bool>("gone");        // the customer to change or delete is no longer there
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("region");
    QTest::addColumn<double>("owe");
    QTest::addColumn<QString>("trigger");  // a write that fails, made before the store runs
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("books");

    const int saved = TCustomerStore::Saved, taken = TCustomerStore::NameTaken, failed = TCustomerStore::Failed;
    const QString zhang = "|张三|张三/2024-03-15/7.0/运费|2:2=9.0";
    QTest::newRow("create") << "create" << false << "王'五" << "省内" << 12.5 << "" << saved << QStringList()
                            << "张三/本地/5.0,李四/本地/0.0,王'五/省内/12.5" + zhang;
    QTest::newRow("create: name taken") << "create" << false << "李四" << "省内" << 0.0 << "" << taken
                                        << QStringList{"该帐客户名已经存在，请重新操作"} << Unchanged;
    QTest::newRow("create: cannot be written") << "create" << false << "王五" << "省内" << 0.0
                                               << "Insert On Customer" << failed << QStringList{"客户保存失败"} << Unchanged;
    QTest::newRow("change in place") << "change" << false << "张三" << "其它" << 8.0 << "" << saved << QStringList()
                                     << "张三/其它/8.0,李四/本地/0.0" + zhang;
    QTest::newRow("rename carries bills and receivables")
        << "change" << false << "张三丰" << "本地" << 5.0 << "" << saved << QStringList()
        << "张三丰/本地/5.0,李四/本地/0.0|张三丰|张三丰/2024-03-15/7.0/运费|2:2=9.0";
    QTest::newRow("rename: name taken") << "change" << false << "李四" << "本地" << 5.0 << "" << taken
                                        << QStringList{"该客户名已经存在，请重新操作"} << Unchanged;
    QTest::newRow("rename: receivables cannot move") << "change" << false << "张三丰" << "本地" << 5.0 << "Update On SG"
                                                     << failed << QStringList{"客户资料修改失败"} << Unchanged;
    QTest::newRow("rename: customer cannot be written") << "change" << false << "张三丰" << "本地" << 5.0
                                                        << "Update On Customer" << failed
                                                        << QStringList{"客户资料修改失败"} << Unchanged;
    QTest::newRow("change: gone") << "change" << true << "张三" << "本地" << 5.0 << "" << failed
                                  << QStringList{"找不到要修改的客户"} << Unchanged;
    QTest::newRow("delete with its prices") << "delete" << false << "" << "" << 0.0 << "" << saved << QStringList()
                                            << "李四/本地/0.0|张三|张三/2024-03-15/7.0/运费|";
    QTest::newRow("delete: customer cannot go") << "delete" << false << "" << "" << 0.0 << "Delete On Customer" << failed
                                                << QStringList{"客户删除失败"} << Unchanged;
    QTest::newRow("delete: gone") << "delete" << true << "" << "" << 0.0 << "" << failed << QStringList{"客户删除失败"}
                                  << Unchanged;
}

void TestRecordStores::customerWrites()
{
    QFETCH(QString, action);
    QFETCH(bool, gone);
    QFETCH(QString, name);
    QFETCH(QString, region);
    QFETCH(double, owe);
    QFETCH(QString, trigger);
    QFETCH(int, result);
    QFETCH(QStringList, messages);
    QFETCH(QString, books);

    Fixture f;
    const QString before = f.Books();
    f.Break(trigger);
    const Customer customer{gone ? 999 : f.zhang, name, region, owe};
    int added = 0;
    int got = 0;
    if (action == "create")
        got = TCustomerStore::Create(customer, &added);
    else if (action == "change")
        got = TCustomerStore::Change(customer);
    else
        got = TCustomerStore::Delete(customer.index) ? TCustomerStore::Saved : TCustomerStore::Failed;

    QCOMPARE(got, result);
    QCOMPARE(f.env.notices.WhatFailed(), messages);
    QCOMPARE(f.Books(), books.isEmpty() ? before : books);
    if (action == "create" && result == TCustomerStore::Saved)
        QCOMPARE(f.env.Scalar("Select CustomerName From Customer Where CustomerIndex = " + QString::number(added)).toString(), name);
}

void TestRecordStores::otherReceivableWrites_data()
{
    QTest::addColumn<bool>("add");         // else delete the fixture's entry
    QTest::addColumn<bool>("gone");        // the entry to delete is no longer there
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("books");

    const QString customers = "张三/本地/5.0,李四/本地/0.0|张三|";
    QTest::newRow("add") << true << false << "" << QStringList()
                         << customers + "张三/2024-03-15/7.0/运费,李四/2024-03-16/-2.5/退'款|2:2=9.0";
    QTest::newRow("add: cannot be written") << true << false << "Insert On SG" << QStringList{"其它应收保存失败"} << Unchanged;
    QTest::newRow("delete") << false << false << "" << QStringList() << customers + "|2:2=9.0";
    QTest::newRow("delete: cannot go") << false << false << "Delete On SG" << QStringList{"其它应收删除失败"} << Unchanged;
    QTest::newRow("delete: gone") << false << true << "" << QStringList{"其它应收删除失败"} << Unchanged;
}

void TestRecordStores::otherReceivableWrites()
{
    QFETCH(bool, add);
    QFETCH(bool, gone);
    QFETCH(QString, trigger);
    QFETCH(QStringList, messages);
    QFETCH(QString, books);

    Fixture f;
    const QString before = f.Books();
    f.Break(trigger);
    bool done = false;
    if (add) {
        const int index = TOtherReceivableStore::Add({0, "李四", Day.addDays(1), -2.5, "退'款"});
        done = index > f.sg;
        QCOMPARE(index == 0, !done);
    } else {
        done = TOtherReceivableStore::Delete(gone ? 999 : f.sg);
    }
    QCOMPARE(done, messages.isEmpty());
    QCOMPARE(f.env.notices.WhatFailed(), messages);
    QCOMPARE(f.Books(), books.isEmpty() ? before : books);
}

void TestRecordStores::quoteWrites_data()
{
    QTest::addColumn<bool>("replace");     // the customer already has a quote for the product
    QTest::addColumn<QString>("trigger");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("books");

    const QString rest = "张三/本地/5.0,李四/本地/0.0|张三|张三/2024-03-15/7.0/运费|";
    QTest::newRow("new quote") << false << "" << int(TQuoteStore::Saved) << QStringList() << rest + "2:2=9.0,3:2=11.5";
    QTest::newRow("replaces the quote") << true << "" << int(TQuoteStore::Saved) << QStringList() << rest + "2:2=11.5";
    QTest::newRow("new quote: cannot be written") << false << "Insert On Price" << int(TQuoteStore::Failed)
                                                  << QStringList{"报价保存失败"} << Unchanged;
    QTest::newRow("replace: cannot be written") << true << "Update On Price" << int(TQuoteStore::Failed)
                                                << QStringList{"报价保存失败"} << Unchanged;
}

void TestRecordStores::quoteWrites()
{
    QFETCH(bool, replace);
    QFETCH(QString, trigger);
    QFETCH(int, result);
    QFETCH(QStringList, messages);
    QFETCH(QString, books);

    Fixture f;
    const QString before = f.Books();
    f.Break(trigger);
    const int customer = replace ? f.zhang : f.zhang + 1;
    QCOMPARE(int(TQuoteStore::SetPrice(customer, f.shoe, 11.5)), result);
    QCOMPARE(f.env.notices.WhatFailed(), messages);
    QCOMPARE(f.Books(), books.isEmpty() ? before : books);
}

QTEST_MAIN(TestRecordStores)
#include "tst_recordstores.moc"
