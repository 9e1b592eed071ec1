// Product editor, money accounts, and the bill parameter lists.
#include "cards/AccountPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "masterdata/AccountForm.h"
#include "masterdata/ParameterLists.h"
#include "masterdata/ProductForm.h"
#include "ui/AskForm.h"
#include "app/MainForm.h"
#include "app/SettingsPage.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>
#include <QToolButton>

namespace {
const QDate Today(2024, 3, 15);

void TypeProduct(const QStringList &values)
{
    QLineEdit *edits[5] = {FormProduct->Edit2, FormProduct->Edit3, FormProduct->Edit4, FormProduct->Edit7, FormProduct->Edit8};
    for (int i = 0; i < 5; ++i)
        edits[i]->setText(values.value(i));
}

// Answers the next input dialog with a text, or cancels it.
void Answer(TestEnv &env, const QString &text, bool ok = true)
{
    env.script.Then([text, ok](QDialog *) {
        FormAsk->Edit1->setText(text);
        (ok ? FormAsk->BitBtn1 : FormAsk->BitBtn2)->click();
    });
}

QStringList Items(QListWidget *list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i)
        items << list->item(i)->text();
    return items;
}
} // namespace

class TestProductsAccounts : public QObject {
    Q_OBJECT
private slots:
    void productChecks_data();
    void productChecks();
    void productCreateAndChange();
    void productDeleteMovesLines();
    void accountCreate();
    void accountRename();
    void accountDeleteTakesItsBills();
    void parameterLists();
    void parameterListsRefusals();
};

void TestProductsAccounts::productChecks_data()
{
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<QString>("message");
    QTest::newRow("no name") << QStringList{"", "A1", "x"} << "货品名称不能为空";
    QTest::newRow("no model") << QStringList{"鞋", "", "x"} << "货品规格不能为空";
    QTest::newRow("no price") << QStringList{"鞋", "A1", ""} << "金额格式有误，请重新输入";
    QTest::newRow("minus") << QStringList{"鞋", "A1", "-1"} << "金额格式有误，请重新输入";
    QTest::newRow("blank") << QStringList{"鞋", "A1", "1 2"} << "金额格式有误，请重新输入";
    QTest::newRow("three decimals") << QStringList{"鞋", "A1", "1.234"} << "金额内容可能有误，请重新输入";
    QTest::newRow("lone point") << QStringList{"鞋", "A1", "."} << "金额格式有误，请重新输入";
    QTest::newRow("1.2.3") << QStringList{"鞋", "A1", "1.2.3"} << "金额内容可能有误，请重新输入";
    QTest::newRow("1.2.") << QStringList{"鞋", "A1", "1.2."} << "金额格式有误，请重新输入";
}

void TestProductsAccounts::productChecks()
{
    QFETCH(QStringList, values);
    QFETCH(QString, message);
    TestEnv env;
    const int id = env.AddProduct("旧", "T", 1);
    // Both for a new product and for a change: the password comes only after the checks.
    for (int mode : {0, 1}) {
        env.script.messages.clear();
        FormProduct->FEditMode = mode;
        FormProduct->FProductIndex = id;
        env.script.Then([&](QDialog *) {
            TypeProduct(values);
            FormProduct->BitBtn1->click();
        });
        QCOMPARE(Dialogs::ShowModal(FormProduct), int(QDialog::Rejected));
        QCOMPARE(env.script.messages, QStringList{message});
        QVERIFY(!env.script.modals.contains("FormAsk"));
        QCOMPARE(env.Scalar("Select count(*) From Product").toInt(), 2);
        QCOMPARE(env.Scalar("Select ProductName From Product Where ProductIndex = " + QString::number(id)).toString(), QStringLiteral("旧"));
    }
}

void TestProductsAccounts::productCreateAndChange()
{
    TestEnv env;
    env.StartAsFinance();
    // Creating asks no password; the same name and model may exist twice.
    for (int i = 0; i < 2; ++i) {
        env.script.Then([](QDialog *) {
            TypeProduct({"O'Neil 皮鞋", "A 1", "12.50", "", ""});
            FormProduct->BitBtn1->click();
        });
        FormMain->TabSheet2->NewButton->click();
    }
    QCOMPARE(env.script.messages, (QStringList{"货品记录新增成功", "货品记录新增成功"}));
    QCOMPARE(env.Scalar("Select count(*) From Product Where ProductName = 'O''Neil 皮鞋' And ProductType = 'A 1' And ProductPrice = 12.5").toInt(), 2);
    QCOMPARE(FormMain->TabSheet2->TotalLabel->text(), QStringLiteral("共 2 类货品"));

    // A card opens the product; the change needs the password.
    env.script.messages.clear();
    env.script.Then([&](QDialog *) {
        QVERIFY(!FormProduct->BitBtn3->isHidden());
        QCOMPARE(FormProduct->Edit4->text(), QStringLiteral("12.5"));
        FormProduct->Edit2->setText("改名");
        env.GivePassword("x");
        FormProduct->BitBtn1->click();
        QCOMPARE(env.Scalar("Select count(*) From Product Where ProductName = '改名'").toInt(), 0);
        env.GivePassword();
        FormProduct->BitBtn1->click();
    });
    FormMain->TabSheet2->OpenStoreCard(0);
    QCOMPARE(env.script.messages, (QStringList{"密码错误，请重新操作", "记录修改成功"}));
    QCOMPARE(env.Scalar("Select count(*) From Product Where ProductName = '改名'").toInt(), 1);
    QCOMPARE(FormMain->TabSheet2->Value[0][1]->text(), QStringLiteral("改名"));

    // A price of four decimals (imported) stays as it is through a rename; typed, it takes two.
    env.Exec("Update Product Set ProductPrice = 12.3456 Where ProductIndex > 1");
    env.script.messages.clear();
    env.script.Then([&](QDialog *) {
        QCOMPARE(FormProduct->Edit4->text(), QStringLiteral("12.3456"));
        FormProduct->Edit2->setText("再改名");
        FormProduct->Edit4->setText("12.345");
        FormProduct->BitBtn1->click();
        FormProduct->Edit4->setText("12.3456");
        env.GivePassword();
        FormProduct->BitBtn1->click();
    });
    FormMain->TabSheet2->OpenStoreCard(0);
    QCOMPARE(env.script.messages, (QStringList{"金额内容可能有误，请重新输入", "记录修改成功"}));
    QCOMPARE(env.Scalar("Select count(*) From Product Where ProductName = '再改名' And ProductPrice = 12.3456").toInt(), 1);
}

void TestProductsAccounts::productDeleteMovesLines()
{
    TestEnv env;
    env.StartAsFinance();
    const int gone = env.AddProduct("要删的", "A", 10);
    const int kept = env.AddProduct("留下的", "B", 10);
    const int bill = env.AddBill("进货单", "甲", Today, -300);
    env.AddLine(bill, gone, 20);
    env.AddLine(bill, kept, 10);
    FormMain->FillStorePage();
    FormProduct->FEditMode = 1;
    FormProduct->FProductIndex = gone;
    env.script.Then([&](QDialog *) {
        env.GivePassword();
        env.script.answers.push_back(false);
        FormProduct->BitBtn3->click();
        QCOMPARE(env.Scalar("Select count(*) From Product").toInt(), 3);
        env.GivePassword();
        env.script.answers.push_back(true);
        FormProduct->BitBtn3->click();
    });
    const int refreshes = FormMain->RefreshCount;
    QCOMPARE(Dialogs::ShowModal(FormProduct), int(QDialog::Rejected));
    QCOMPARE(env.script.questions, (QStringList(2, "删除警告|确实要删除该货品吗？")));
    QCOMPARE(FormMain->RefreshCount, refreshes + 1);
    QCOMPARE(env.Scalar("Select count(*) From Product Where ProductIndex = " + QString::number(gone)).toInt(), 0);
    QCOMPARE(env.Scalar("Select count(*) From Store Where StoreBill = " + QString::number(bill)).toInt(), 2);
    QCOMPARE(env.Scalar("Select StoreNumber From Store Where StoreProduct = 1").toInt(), 20);
    QCOMPARE(env.Scalar("Select BillSum From Bill Where BillIndex = " + QString::number(bill)).toDouble(), -300.0);
    QCOMPARE(FormMain->TabSheet2->TotalLabel->text(), QStringLiteral("共 1 类货品"));
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("10"));
}

void TestProductsAccounts::accountCreate()
{
    TestEnv env;
    env.StartAsFinance();
    TAccountPage *page = FormMain->TabSheet3;
    Answer(env, "");
    page->NewButton->click();
    Answer(env, "工商'银行");
    page->NewButton->click();
    Answer(env, "工商'银行");
    page->NewButton->click();
    Answer(env, "现金", false);
    page->NewButton->click();
    QCOMPARE(env.script.messages, (QStringList{"帐户名不得为空", "帐户　工商'银行　新增成功", "该帐户名已经存在，请重新操作"}));
    QCOMPARE(env.Scalar("Select count(*) From Account").toInt(), 2);
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("工商'银行"));
    QCOMPARE(FormAsk->windowTitle(), QStringLiteral("新增帐户"));
}

void TestProductsAccounts::accountRename()
{
    TestEnv env;
    env.StartAsFinance();
    const int cash = env.AddAccount("现金");
    env.AddAccount("银行");
    env.AddBill("财务收入单", "甲", Today, 100, 100, cash);
    FormMain->FillAccountPage();
    TAccountPage *page = FormMain->TabSheet3;

    auto rename = [&](const QString &to) {
        env.script.messages.clear();
        env.script.Then([&, to](QDialog *) {
            QCOMPARE(FormAccount->Label3->text(), QStringLiteral("现金"));
            QCOMPARE(FormAccount->Label4->text(), QStringLiteral("100 元"));
            env.GivePassword();
            Answer(env, to);
            FormAccount->SpeedButton4->click();
        });
        return Dialogs::ShowModal(FormAccount);
    };
    page->OpenAccountCard(0);   // sets the name and balance text from the card
    FormAccount->FAccountName = page->Value[0][0]->text();
    QCOMPARE(rename(""), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"帐户名不得为空"});
    QCOMPARE(rename("银行"), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"该帐户名已经存在，请重新操作"});
    QCOMPARE(rename("现金"), int(QDialog::Accepted));
    QCOMPARE(env.script.messages, QStringList{"帐户　现金　修改成功"});
    QCOMPARE(rename("零用'金"), int(QDialog::Accepted));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillAccount = " + QString::number(cash)).toInt(), 1);
    QCOMPARE(env.Scalar("Select AccountName From Account Where AccountIndex = " + QString::number(cash)).toString(), QStringLiteral("零用'金"));
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("零用'金"));
}

void TestProductsAccounts::accountDeleteTakesItsBills()
{
    TestEnv env;
    env.StartAsFinance();
    const int cash = env.AddAccount("现金");
    const int bank = env.AddAccount("银行");
    env.AddCustomer("甲");
    const int shoe = env.AddProduct("鞋");
    const int bought = env.AddBill("进货单", "甲", Today, -100, -100, bank);
    env.AddLine(bought, shoe, 10);
    const int sold = env.AddBill("出货单", "甲", Today, 70, 70, cash);
    env.AddLine(sold, shoe, -4);
    env.AddBill("财务收入单", "甲", Today, 30, 30, cash);
    FormMain->RefreshAllPages();
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("6"));

    // Without a place for the copy taken first, nothing is deleted.
    QVERIFY(QDir(env.Dir() + "Backup").removeRecursively());
    QFile blocker(env.Dir() + "Backup");
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto deleteCash = [&] {
        FormAccount->FAccountName = "现金";
        env.script.Then([&](QDialog *) {
            env.GivePassword();
            env.script.answers.push_back(true);
            FormAccount->SpeedButton5->click();
        });
        Dialogs::ShowModal(FormAccount);
    };
    deleteCash();
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("删除前的备份失败，帐户未删除"), qPrintable(env.script.messages[0]));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillAccount = " + QString::number(cash)).toInt(), 2);
    QVERIFY(QFile::remove(env.Dir() + "Backup"));   // the folder is made when missing

    env.script.questions.clear();
    deleteCash();
    QCOMPARE(env.script.questions.size(), 1);
    const QRegularExpression asked("^删除警告\\|删除帐户将删除该帐户下所有记录，确实要删除吗？\n删除前的数据将备份为：(.*/Backup/删除帐户前-2024-03-15-\\d{6}\\.mdb)$");
    const auto match = asked.match(env.script.questions[0]);
    QVERIFY2(match.hasMatch(), qPrintable(env.script.questions[0]));
    {
        // The copy holds what was deleted.
        QSqlDatabase copy = QSqlDatabase::addDatabase("QSQLITE", "copy");
        copy.setDatabaseName(match.captured(1));
        QVERIFY(copy.open());
        QSqlQuery q(copy);
        QVERIFY(q.exec("Select count(*) From Bill Where BillAccount = " + QString::number(cash)) && q.next());
        QCOMPARE(q.value(0).toInt(), 2);
    }
    QSqlDatabase::removeDatabase("copy");
    QCOMPARE(env.Scalar("Select count(*) From Account Where AccountIndex = " + QString::number(cash)).toInt(), 0);
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillAccount = " + QString::number(cash)).toInt(), 0);
    QCOMPARE(env.Scalar("Select count(*) From Store Where StoreBill = " + QString::number(sold)).toInt(), 0);
    QCOMPARE(env.Scalar("Select count(*) From Store").toInt(), 1);
    // The stock goes back up and the customer's goods total down.
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("10"));
    QCOMPARE(FormMain->TabSheet8->Value[1][0]->text(), QStringLiteral("-100 元"));
    QCOMPARE(FormMain->TabSheet3->TotalLabel->text(), QStringLiteral("合计：-100 元"));
}

void TestProductsAccounts::parameterLists()
{
    TestEnv env;
    env.Exec("Delete From Parameter");   // these cases start from empty lists
    env.MarkRegistered();
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (1, '运费'), (3, '收据')");
    env.script.LoginAs("管理员", "9999");
    QVERIFY(FormMain->FormShow());
    TParameterLists *lists = FormMain->TabSheet5->Parameters;
    QCOMPARE(Items(lists->ListBox1), (QStringList{"货款", "运费"}));
    QCOMPARE(lists->ListBox1->currentRow(), 1);
    QCOMPARE(lists->ListBox2->count(), 0);
    QCOMPARE(Items(lists->ListBox3), QStringList{"收据"});

    // The same text may stand in two lists.
    Answer(env, "运费");
    lists->Button7->click();
    QCOMPARE(Items(lists->ListBox3), (QStringList{"收据", "运费"}));
    QCOMPARE(lists->ListBox3->currentRow(), 1);
    // A new value goes to the end and is selected, whatever its place in the alphabet.
    Answer(env, "发票");
    lists->Button7->click();
    QCOMPARE(Items(lists->ListBox3), (QStringList{"收据", "运费", "发票"}));
    QCOMPARE(lists->ListBox3->currentRow(), 2);
    QCOMPARE(FormAsk->windowTitle(), QStringLiteral("参数设置"));
    QCOMPARE(FormAsk->Label1->text(), QStringLiteral("请输入新凭证的名称"));

    // Change the selected value; to itself does nothing at all.
    lists->ListBox1->setCurrentRow(0);
    Answer(env, "货款");
    lists->Button2->click();
    Answer(env, "货'款");
    lists->Button2->click();
    QCOMPARE(Items(lists->ListBox1), (QStringList{"货'款", "运费"}));
    QVERIFY(env.script.messages.isEmpty());

    // Delete, after a No and a Yes.
    lists->ListBox1->setCurrentRow(1);
    env.script.answers.push_back(false);
    lists->Button3->click();
    env.script.answers.push_back(true);
    lists->Button3->click();
    QCOMPARE(Items(lists->ListBox1), QStringList{"货'款"});
    QCOMPARE(env.script.questions, (QStringList(2, "删除警告|确实要删除该参数吗？")));
    QCOMPARE(env.Scalar("Select count(*) From Parameter Where ParameterValue = '运费'").toInt(), 1);
}

void TestProductsAccounts::parameterListsRefusals()
{
    TestEnv env;
    env.Exec("Delete From Parameter");   // these cases start from empty lists
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (2, '现金'), (2, '转帐')");
    TParameterLists *lists = FormMain->TabSheet5->Parameters;
    lists->LoadParameterList(2);
    lists->LoadParameterList(1);
    Answer(env, "");
    lists->Button4->click();
    Answer(env, "现金");
    lists->Button4->click();
    lists->ListBox2->setCurrentRow(0);
    Answer(env, "转帐");
    lists->Button5->click();
    lists->Button2->click();   // the empty list has nothing selected
    lists->Button3->click();
    // Gone behind the list's back.
    env.Exec("Delete From Parameter Where ParameterValue = '现金'");
    Answer(env, "新值");
    lists->Button5->click();
    lists->Button6->click();
    QCOMPARE(env.script.messages, (QStringList{"类别名不能为空", "存在同名的类别，请改名", "存在同名的类别，请改名",
                                               "请先选中要修改的种类", "请先选中要删除的种类", "该参数已经被删除", "该记录已不存在"}));
    QCOMPARE(env.Scalar("Select count(*) From Parameter").toInt(), 1);
}

QTEST_MAIN(TestProductsAccounts)
#include "tst_products_accounts.moc"
