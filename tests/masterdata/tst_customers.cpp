// Customer editor and detail window, other receivables.
#include "cards/CustomerPage.h"
#include "grid/DataGrid.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/CustomerForm2.h"
#include "masterdata/SGForm.h"
#include "reports/MonthlyReports.h"
#include "reports/ReportRows.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

namespace {
const QDate Today(2024, 3, 15);

// Fills the editor the way a user would and presses 确定.
std::function<void(QDialog *)> TypeCustomer(QCheckBox *TFormCustomer2::*region, const QString &name, const QString &owe)
{
    return [=](QDialog *) {
        if (region)
            (FormCustomer2->*region)->click();
        FormCustomer2->Edit1->setText(name);
        FormCustomer2->Edit2->setText(owe);
        FormCustomer2->BitBtn1->click();
    };
}

QString Figures()
{
    return QStringList{FormCustomer->Label2->text(), FormCustomer->Label6->text(), FormCustomer->Label10->text(),
                       FormCustomer->Label8->text(), FormCustomer->Label4->text()}
        .join(' ');
}

int CustomerCount(TestEnv &env) { return env.Scalar("Select count(*) From Customer Where CustomerIndex > 1").toInt(); }
} // namespace

class TestCustomers : public QObject {
    Q_OBJECT
private slots:
    void createValidation_data();
    void createValidation();
    void createFromCustomerPage();
    void openingDebtIsAnAmount_data();
    void openingDebtIsAnAmount();
    void regionBoxesAreOneGroup();
    void renameCarriesBillsAndReceivables();
    void renameRefusals();
    void editorForVanishedCustomer();
    void detailFigures();
    void oneDebtEverywhere();
    void deleteTakesPricesOnly();
    void otherReceivables();
    void otherReceivablesAmountChecks_data();
    void otherReceivablesAmountChecks();
};

void TestCustomers::createValidation_data()
{
    QTest::addColumn<bool>("region");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::newRow("no region") << false << "甲" << "请先选择客户所属地区";
    QTest::newRow("no region, no name: region first") << false << "" << "请先选择客户所属地区";
    QTest::newRow("empty name") << true << "" << "客户名不得为空";
    QTest::newRow("name taken") << true << "老客户" << "该帐客户名已经存在，请重新操作";
    // The one rule the import holds names to as well.
    QTest::newRow("a tab in the name") << true << "王记\t鞋店" << "客户名称不能含有换行、制表符或其它控制字符";
    QTest::newRow("201 characters") << true << QString(201, QChar(0x978B)) << "客户名称太长（201 个字，最多 200 个）";
}

void TestCustomers::createValidation()
{
    QFETCH(bool, region);
    QFETCH(QString, name);
    QFETCH(QString, message);
    TestEnv env;
    env.AddCustomer("老客户");
    FormCustomer2->FEditMode = 0;
    env.script.Then(TypeCustomer(region ? &TFormCustomer2::CheckBox2 : nullptr, name, "5"));
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{message});
    QCOMPARE(CustomerCount(env), 1);
}

void TestCustomers::createFromCustomerPage()
{
    TestEnv env;
    env.StartAsFinance();
    const int before = FormMain->RefreshCount;
    const QString name = "O'Brien 鞋 店";
    env.script.Then(TypeCustomer(&TFormCustomer2::CheckBox2, name, "12.5"));
    FormMain->TabSheet8->NewButton->click();
    QCOMPARE(env.script.messages, QStringList{"客户　" + name + "　新增成功"});
    QCOMPARE(FormMain->RefreshCount, before + 1);
    QCOMPARE(FormMain->TabSheet8->Value[0][0]->text(), name);
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), QStringLiteral("12.5 元"));
    QCOMPARE(env.Scalar("Select CustomerRegion From Customer Where CustomerName = ?", {name}).toString(),
             QStringLiteral("省内"));
}

void TestCustomers::openingDebtIsAnAmount_data()
{
    QTest::addColumn<QString>("owe");
    QTest::addColumn<double>("stored");
    QTest::addColumn<bool>("written");
    QTest::newRow("plain") << "10" << 10.0 << true;
    QTest::newRow("fen") << "10.05" << 10.05 << true;
    QTest::newRow("empty") << "" << 0.0 << true;
    QTest::newRow("minus sign") << "-5" << 0.0 << false;
    QTest::newRow("letter") << "12a" << 0.0 << false;
    QTest::newRow("two points") << "1.2.3" << 0.0 << false;
    QTest::newRow("below the fen") << "1.234" << 0.0 << false;
}

void TestCustomers::openingDebtIsAnAmount()
{
    QFETCH(QString, owe);
    QFETCH(double, stored);
    QFETCH(bool, written);
    TestEnv env;
    FormCustomer2->FEditMode = 0;
    env.script.Then(TypeCustomer(&TFormCustomer2::CheckBox1, "甲", owe));
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), written ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(CustomerCount(env), written ? 1 : 0);
    if (written)
        QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerName = '甲'").toDouble(), stored);
    else
        QVERIFY(env.script.messages.value(0).startsWith("起初欠款“" + owe + "”"));
}

void TestCustomers::regionBoxesAreOneGroup()
{
    TestEnv env;
    const int id = env.AddCustomer("甲", "省内");
    FormCustomer2->FEditMode = 1;
    FormCustomer2->FCustomerIndex = id;
    env.script.Then([](QDialog *) {
        QVERIFY(FormCustomer2->CheckBox2->isChecked());
        FormCustomer2->CheckBox2->click();   // clicking the ticked box keeps it ticked
        QVERIFY(FormCustomer2->CheckBox2->isChecked());
        FormCustomer2->CheckBox3->click();
        QVERIFY(!FormCustomer2->CheckBox2->isChecked());
        QVERIFY(FormCustomer2->CheckBox3->isChecked());
        FormCustomer2->CheckBox2->click();
    });
    Dialogs::ShowModal(FormCustomer2);
    // A new customer starts with the region chosen last.
    FormCustomer2->FEditMode = 0;
    bool ticked = false;
    env.script.Then([&](QDialog *) {
        ticked = FormCustomer2->CheckBox2->isChecked() && !FormCustomer2->CheckBox1->isChecked();
        QVERIFY(FormCustomer2->Edit1->text().isEmpty());
    });
    Dialogs::ShowModal(FormCustomer2);
    QVERIFY(ticked);
}

void TestCustomers::renameCarriesBillsAndReceivables()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int id = env.AddCustomer("旧名", "本地", 10);
    env.AddBill("出货单", "旧名", Today, 500, 100, bank);
    env.AddBill("进货单", "旧名", Today, -200);
    env.AddSG("旧名", Today, 50);
    env.AddBill("出货单", "别人", Today, 999);
    FormCustomer->FCustomerIndex = id;
    env.script.Then([&](QDialog *) {
        QCOMPARE(Figures(), QStringLiteral("10 300 50 100 260"));
        env.GivePassword();
        env.script.Then(TypeCustomer(nullptr, "新'名", "10"));
        FormCustomer->CustomerEdit->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormCustomer), int(QDialog::Accepted));
    QCOMPARE(env.script.messages, QStringList{"客户资料修改成功"});
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '新''名'").toInt(), 2);
    QCOMPARE(env.Scalar("Select count(*) From SG Where SGCustomer = '新''名'").toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '别人'").toInt(), 1);
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(FormCustomer->windowTitle(), QStringLiteral("新'名"));
    QCOMPARE(Figures(), QStringLiteral("10 300 50 100 260"));
}

void TestCustomers::renameRefusals()
{
    TestEnv env;
    const int id = env.AddCustomer("甲", "本地", 1);
    env.AddCustomer("乙");
    env.AddBill("出货单", "甲", Today, 5);
    FormCustomer2->FEditMode = 1;
    FormCustomer2->FCustomerIndex = id;
    env.script.Then(TypeCustomer(nullptr, "乙", "1"));
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"该客户名已经存在，请重新操作"});
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '甲'").toInt(), 1);

    // Keeping the name runs no duplicate check.
    env.script.messages.clear();
    env.script.Then(TypeCustomer(&TFormCustomer2::CheckBox3, "甲", "7"));
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), int(QDialog::Accepted));
    QCOMPARE(env.script.messages, QStringList{"客户资料修改成功"});
    QCOMPARE(env.Scalar("Select CustomerOwe From Customer Where CustomerIndex = " + QString::number(id)).toDouble(), 7.0);
    QCOMPARE(env.Scalar("Select CustomerRegion From Customer Where CustomerIndex = " + QString::number(id)).toString(), QStringLiteral("其它"));

    // Gone between opening and saving.
    env.script.messages.clear();
    env.script.Then([&](QDialog *) {
        env.Exec("Delete From Customer Where CustomerIndex = " + QString::number(id));
        FormCustomer2->Edit1->setText("丙");
        FormCustomer2->BitBtn1->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"找不到要修改的客户"});
}

void TestCustomers::editorForVanishedCustomer()
{
    TestEnv env;
    FormCustomer2->FEditMode = 1;
    FormCustomer2->FCustomerIndex = 999;
    QCOMPARE(Dialogs::ShowModal(FormCustomer2), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"找不到要修改的记录"});
    QVERIFY(env.script.modals.isEmpty());   // it never appeared
    FormCustomer->FCustomerIndex = 999;
    QCOMPARE(Dialogs::ShowModal(FormCustomer), int(QDialog::Rejected));
    QCOMPARE(env.script.messages.last(), QStringLiteral("该客户记录已被删除"));
    QVERIFY(env.script.modals.isEmpty());
}

void TestCustomers::detailFigures()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int id = env.AddCustomer("甲", "本地", 25);
    FormCustomer->FCustomerIndex = id;
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(Figures(), QStringLiteral("25 0 0 0 25"));

    env.AddBill("出货单", "甲", Today, 800);                        // no payment: account 1
    env.AddBill("出货单", "甲", Today, 100, 60, bank);
    env.AddBill("进货单", "甲", Today, -30, -30, bank);             // paid out: not received
    env.AddBill("财务支出单", "甲", Today, -15, -15, bank);
    env.AddBill("财务收入单", "甲", Today.addDays(1), 500, 500, bank);   // after the working date
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(Figures(), QStringLiteral("25 870 0 15 880"));   // 60 in, 30 and 15 paid out
    FormMain->BitBtn2->click();
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(Figures(), QStringLiteral("25 870 0 515 380"));
}

void TestCustomers::oneDebtEverywhere()
{
    // A supplier paid 5000 of a 7020 purchase, refunded 100 last month: the card,
    // the customer window and the monthly statement give one debt.
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int id = env.AddCustomer("泉州\"引号\"鞋业", "本地", 50);
    const int shoe = env.AddProduct("皮鞋", "A1", 100, "P-01");
    const int bought = env.AddBill("进货单", "泉州\"引号\"鞋业", Today, -7020, -5000, bank);
    const int sold = env.AddBill("出货单", "泉州\"引号\"鞋业", Today.addDays(-1), 300, 0, 1);
    const QString line = "Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, ?, ?, ?)";
    env.Exec(line, {bought, shoe, 60, 117, 7020});
    env.Exec(line, {sold, shoe, -3, 100, 300});
    env.AddBill("财务支出单", "泉州\"引号\"鞋业", Today.addMonths(-1), -100, -100, bank);
    env.AddBill("财务收入单", "泉州\"引号\"鞋业", Today, 80, 80, bank);
    const QString debt = "-1650";   // 50 - 7020 + 300 - (-5000 - 100 + 80)

    FormMain->RefreshAllPages();
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), debt + " 元");
    FormCustomer->FCustomerIndex = id;
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(FormCustomer->Label4->text(), debt);
    QCOMPARE(Figures(), QStringLiteral("50 -6720 0 -5020 ") + debt);
    TReportRows rows;
    QVERIFY(MonthlyReports::CustomerStatement(id, Today, rows));
    QCOMPARE(rows.Line(rows.Count() - 1).mid(6, 2), (QStringList{"新累计欠款", debt}));
}

void TestCustomers::deleteTakesPricesOnly()
{
    TestEnv env;
    env.StartAsFinance();
    const int id = env.AddCustomer("甲");
    const int other = env.AddCustomer("乙");
    const int product = env.AddProduct("鞋");
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 9), (?, ?, 8)", {product, id, product, other});
    env.AddBill("出货单", "甲", Today, 40);
    env.AddSG("甲", Today, 5);
    FormCustomer->FCustomerIndex = id;

    // A wrong password, then a No: nothing goes.
    env.script.Then([&](QDialog *) {
        env.GivePassword("bad");
        FormCustomer->CustomerDelete->click();
        env.GivePassword();
        env.script.answers.push_back(false);
        FormCustomer->CustomerDelete->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormCustomer), int(QDialog::Rejected));
    QCOMPARE(env.script.messages, QStringList{"密码错误，请重新操作"});
    QCOMPARE(env.script.questions, QStringList{"删除警告|确实要删除该记录吗？"});
    QCOMPARE(CustomerCount(env), 2);

    env.script.Then([&](QDialog *) {
        env.GivePassword();
        env.script.answers.push_back(true);
        FormCustomer->CustomerDelete->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormCustomer), int(QDialog::Accepted));
    QCOMPARE(CustomerCount(env), 1);
    QCOMPARE(env.Scalar("Select count(*) From Price").toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '甲'").toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From SG").toInt(), 1);

    // A new customer of the same name takes the old bills over.
    const int again = env.AddCustomer("甲");
    FormCustomer->FCustomerIndex = again;
    env.script.Then([](QDialog *) {});
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(Figures(), QStringLiteral("0 40 5 0 45"));
}

void TestCustomers::otherReceivables()
{
    TestEnv env;
    env.StartAsFinance();
    const int id = env.AddCustomer("甲'乙");
    FormCustomer->FCustomerIndex = id;
    env.script.Then([&](QDialog *) {
        env.script.Then([&](QDialog *) {
            // No entries yet: empty fields on the working date.
            QCOMPARE(FormSG->LabelCustomer->text(), QStringLiteral("甲'乙"));
            QCOMPARE(FormSG->DBGrid1->rowCount(), 0);
            QCOMPARE(FormSG->DateTimePicker1->date(), Today);
            FormSG->Button2->click();
            FormSG->Edit1->setText("50");
            FormSG->Edit2->setText("运费 'A'");
            FormSG->Button1->click();
            QCOMPARE(FormSG->DBGrid1->rowCount(), 1);
            // The selected entry added again makes a second, equal one.
            FormSG->Button1->click();
            QCOMPARE(FormSG->DBGrid1->rowCount(), 2);
            // Dated tomorrow: stored, not listed.
            FormSG->Edit1->setText("7.25");
            FormSG->DateTimePicker1->setDate(Today.addDays(1));
            FormSG->Button1->click();
            QCOMPARE(FormSG->DBGrid1->rowCount(), 2);
            QCOMPARE(FormSG->Edit1->text(), QStringLiteral("50"));
            QCOMPARE(FormSG->Edit2->text(), QStringLiteral("运费 'A'"));
            QCOMPARE(FormSG->DBGrid1->item(0, 1)->text(), QStringLiteral("2024-3-15"));
            // Delete the second entry, answering Yes.
            FormSG->DBGrid1->setCurrentCell(1, 0);
            env.script.answers.push_back(true);
            FormSG->Button2->click();
            QCOMPARE(FormSG->DBGrid1->rowCount(), 1);
            FormSG->Cancel->click();
        });
        FormCustomer->SpeedButton1->click();
        // Closing the list recomputes the figures.
        QCOMPARE(Figures(), QStringLiteral("0 0 50 0 50"));
    });
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(env.script.messages, QStringList{"请先从列表中选中你要删除的记录"});
    QCOMPARE(env.Scalar("Select count(*) From SG").toInt(), 2);
    QCOMPARE(env.Scalar("Select Sum(SGSum) From SG").toDouble(), 57.25);
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), QStringLiteral("50 元"));
}

void TestCustomers::otherReceivablesAmountChecks_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << "" << "金额格式有误，请重新输入";
    QTest::newRow("minus") << "-5" << "金额格式有误，请重新输入";
    QTest::newRow("comma") << "1,5" << "金额格式有误，请重新输入";
    QTest::newRow("three decimals") << "1.234" << "金额内容可能有误，请重新输入";
    QTest::newRow("lone point") << "." << "金额格式有误，请重新输入";
    QTest::newRow("two points at the end") << "5.." << "金额格式有误，请重新输入";
    QTest::newRow("two decimals") << "0.05" << "";
    QTest::newRow("trailing point") << "5." << "";
}

void TestCustomers::otherReceivablesAmountChecks()
{
    QFETCH(QString, amount);
    QFETCH(QString, message);
    TestEnv env;
    env.StartAsFinance();
    FormSG->FCustomerName = "甲";
    env.script.Then([&](QDialog *) {
        FormSG->Edit1->setText(amount);
        FormSG->Button1->click();
    });
    Dialogs::ShowModal(FormSG);
    QCOMPARE(env.script.messages, message.isEmpty() ? QStringList() : QStringList{message});
    QCOMPARE(env.Scalar("Select count(*) From SG").toInt(), message.isEmpty() ? 1 : 0);
}

QTEST_MAIN(TestCustomers)
#include "tst_customers.moc"
