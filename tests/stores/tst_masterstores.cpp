// The stores of products, accounts, parameter values and passwords: their
// writes and refusals, each all-or-nothing, without a window.
#include "stores/AccountStore.h"
#include "stores/ParameterStore.h"
#include "stores/PasswordStore.h"
#include "stores/ProductStore.h"
#include "db/ShareDM.h"
#include "support/BooksEnv.h"

#include <QTest>

namespace {
// Every row of the tables a store touches, as text.
QString Books(BooksEnv &env)
{
    QStringList parts;
    parts << env.Rows("Select ProductIndex, ProductName, ProductType, ProductPrice, ProductSerial From Product Order By ProductIndex",
                      "%1%2%3%4%5", ";")
          << env.Rows("Select AccountIndex, AccountName From Account Order By AccountIndex", "%1%2", ";")
          << env.Rows("Select BillIndex, BillAccount From Bill Order By BillIndex", "%1%2", ";")
          << env.Rows("Select StoreIndex, StoreBill, StoreProduct From Store Order By StoreIndex", "%1:%2:%3", ";")
          << env.Rows("Select ParameterIndex, ParameterValue From Parameter Order By ParameterIndex", "%1%2", ";")
          << env.Rows("Select PowerName, PowerKey From Power Order By PowerName", "%1%2", ";");
    return parts.join('|');
}
} // namespace

class TestMasterStores : public QObject {
    Q_OBJECT
private slots:
    void writes_data();
    void writes();
    void reads_data();
    void reads();
    void readsTellNoneFromUnread();
};

void TestMasterStores::writes_data()
{
    QTest::addColumn<QString>("write");
    QTest::addColumn<bool>("done");
    QTest::addColumn<QStringList>("messages");
    QTest::addColumn<QString>("check");      // a statement giving "ok" when the write did what it should
    QTest::newRow("product created") << "product create" << true << QStringList{}
                                     << "Select 'ok' From Product Where ProductName = '凉''鞋' And ProductPrice = 12.5";
    QTest::newRow("product changed") << "product change" << true << QStringList{}
                                     << "Select 'ok' From Product Where ProductSerial = 'P-9' And ProductName = '皮鞋'";
    QTest::newRow("product gone") << "product change gone" << false << QStringList{"找不到要修改的记录"} << "";
    QTest::newRow("product deleted: lines move to the placeholder") << "product delete" << true << QStringList{}
        << "Select 'ok' From Store Where StoreProduct = 1 And Not Exists (Select * From Product Where ProductName = '皮鞋')";
    QTest::newRow("product delete fails half-way") << "product delete, fail" << false << QStringList{"货品删除失败"} << "";
    QTest::newRow("account created") << "account create 现金" << true << QStringList{} << "Select 'ok' From Account Where AccountName = '现金'";
    QTest::newRow("account name taken") << "account create 银行" << false << QStringList{"该帐户名已经存在，请重新操作"} << "";
    QTest::newRow("account name empty") << "account create " << false << QStringList{"帐户名不得为空"} << "";
    QTest::newRow("account renamed") << "account rename 零用'金" << true << QStringList{} << "Select 'ok' From Account Where AccountName = '零用''金'";
    QTest::newRow("account deleted with its bills") << "account delete" << true << QStringList{}
        << "Select 'ok' Where (Select count(*) From Bill Where BillIndex > 1) = 0 And (Select count(*) From Store) = 0";
    QTest::newRow("account delete fails half-way") << "account delete, fail" << false << QStringList{"帐户删除失败"} << "";
    QTest::newRow("parameter added") << "parameter add" << true << QStringList{} << "Select 'ok' From Parameter Where ParameterValue = '月结'";
    QTest::newRow("parameter changed") << "parameter change" << true << QStringList{} << "Select 'ok' From Parameter Where ParameterValue = '转帐'";
    QTest::newRow("password changed") << "password" << true << QStringList{} << "Select 'ok' From Power Where PowerKey = 'a''b'";
    QTest::newRow("password of no role") << "password nobody" << false << QStringList{} << "";
}

void TestMasterStores::writes()
{
    QFETCH(QString, write);
    QFETCH(bool, done);
    QFETCH(QStringList, messages);
    QFETCH(QString, check);
    BooksEnv env;
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    const int bank = env.AddAccount("银行");
    env.AddLine(env.AddBill("出货单", "甲", QDate(2024, 3, 15), 10, 10, bank), shoe, -1);
    const int parameter = env.Scalar("Select min(ParameterIndex) From Parameter").toInt();
    if (write.endsWith(", fail"))   // the last step of the delete cannot be done
        env.Refuse("Delete", write.startsWith("product") ? "Product" : "Bill");
    const QString before = Books(env);

    bool ok = false;
    Product product{shoe, "皮鞋", "A1", "P-9", "", 10};
    if (write == "product create")
        ok = TProductStore::Create({0, "凉'鞋", "B2", "P2", "", 12.5}) > 1;
    else if (write == "product change")
        ok = TProductStore::Change(product);
    else if (write == "product change gone")
        ok = TProductStore::Change({999, "x", "y", "", "", 1});
    else if (write.startsWith("product delete"))
        ok = TProductStore::Delete(shoe);
    else if (write.startsWith("account create "))
        ok = TAccountStore::Create(write.mid(15)) > 1;
    else if (write.startsWith("account rename "))
        ok = TAccountStore::Rename("银行", write.mid(15)) == TAccountStore::Renamed;
    else if (write.startsWith("account delete"))
        ok = TAccountStore::Delete(bank);
    else if (write == "parameter add")
        ok = TParameterStore::Add(1, "月结") > 1;
    else if (write == "parameter change")
        ok = TParameterStore::Change(parameter, "转帐");
    else if (write == "password")
        ok = TPasswordStore::Change("修改", "a'b") == TPasswordStore::Changed;
    else if (write == "password nobody")
        ok = TPasswordStore::Change("访客", "x") == TPasswordStore::Changed;

    QCOMPARE(ok, done);
    QCOMPARE(env.notices.WhatFailed(), messages);
    if (done)
        QCOMPARE(env.Scalar(check).toString(), QStringLiteral("ok"));
    else
        QCOMPARE(Books(env), before);   // a refused or failed write leaves the books as they were
}

void TestMasterStores::reads_data()
{
    // A read that cannot be done says so and is told apart from one that finds nothing.
    QTest::addColumn<QString>("read");
    QTest::addColumn<bool>("failing");
    QTest::addColumn<QString>("gives");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("product") << "product" << false << "皮鞋" << QStringList{};
    QTest::newRow("product gone") << "product gone" << false << "none" << QStringList{};
    QTest::newRow("product unreadable") << "product" << true << "failed" << QStringList{"货品读入失败"};
    QTest::newRow("parameter") << "parameter 订金" << false << "found" << QStringList{};
    QTest::newRow("parameter of another list") << "parameter 现金" << false << "none" << QStringList{};
    QTest::newRow("parameter unreadable") << "parameter 订金" << true << "failed" << QStringList{"读入帐款参数失败"};
    QTest::newRow("password") << "password 修改" << false << "6666" << QStringList{};
    QTest::newRow("password of no role") << "password 访客" << false << "none" << QStringList{};
    QTest::newRow("password unreadable") << "password 修改" << true << "failed" << QStringList{"数据库打开失败"};
}

void TestMasterStores::reads()
{
    QFETCH(QString, read);
    QFETCH(bool, failing);
    QFETCH(QString, gives);
    QFETCH(QStringList, messages);
    BooksEnv env;
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    if (failing)
        TShareDataModule::FailNext(TDbFailure::DiskFull);
    QString got;
    if (read.startsWith("product")) {
        TQuery row;
        if (!TProductStore::Read(row, read == "product" ? shoe : 999, "货品读入失败"))
            got = "failed";
        else
            got = row.IsEmpty() ? "none" : row.FieldByName("ProductName").AsString();
    } else if (read.startsWith("parameter ")) {
        const int index = TParameterStore::IndexOf(1, read.mid(10));
        got = index < 0 ? "failed" : index == 0 ? "none" : "found";
    } else if (read.startsWith("password ")) {
        QString key;
        const TPasswordStore::Lookup lookup = TPasswordStore::KeyOf(read.mid(9), &key);
        got = lookup == TPasswordStore::Lookup::Failed ? "failed" : lookup == TPasswordStore::Lookup::Missing ? "none" : key;
    }
    QCOMPARE(got, gives);
    QCOMPARE(env.notices.WhatFailed(), messages);
}

void TestMasterStores::readsTellNoneFromUnread()
{
    // A name that is not there is no failure; one that could not be read is said, never taken for none.
    BooksEnv env;
    const int bank = env.AddAccount("银行");
    env.AddProduct("皮鞋", "A1", 10, "P'1");
    TQuery product;
    QCOMPARE(TAccountStore::IndexOf("银行", "帐户读入失败"), bank);
    QCOMPARE(TAccountStore::IndexOf("现金", "帐户读入失败"), 0);
    QVERIFY(TProductStore::FindBySerial("P'1", product, "货品读入失败") && !product.IsEmpty());
    QVERIFY(TProductStore::FindBySerial("P2", product, "货品读入失败") && product.IsEmpty());
    QCOMPARE(env.notices.messages, QStringList());
    TShareDataModule::FailNext(TDbFailure::DiskFull);
    QCOMPARE(TAccountStore::IndexOf("银行", "帐户读入失败"), -1);
    TShareDataModule::FailNext(TDbFailure::DiskFull);
    QVERIFY(!TProductStore::FindBySerial("P'1", product, "货品读入失败"));
    QCOMPARE(env.notices.WhatFailed(), (QStringList{"帐户读入失败", "货品读入失败"}));
}

QTEST_MAIN(TestMasterStores)
#include "tst_masterstores.moc"
