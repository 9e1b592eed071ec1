// The finance-bill editor, the two bill pages and the customer price lists.
#include "bills/BillForm2.h"
#include "bills/BuySellForm.h"
#include "bills/GetPayForm.h"
#include "bills/LineGrid.h"
#include "cards/AccountPage.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "masterdata/CustomerForm.h"
#include "masterdata/CustomerForm3.h"
#include "masterdata/CustomerForm4.h"
#include "grid/DataGrid.h"
#include "ui/AskForm.h"
#include "core/Clock.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QApplication>
#include <QTest>
#include <QToolButton>

namespace {
const QDate Today(2024, 3, 15);
TFormGetPay *G() { return FormGetPay; }

void Lists(TestEnv &env)
{
    env.AddAccount("现金");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
}

void NewFinanceBill(TestEnv &env, bool income, std::function<void()> act)
{
    env.script.Then([income](QDialog *) { (income ? FormBill2->SpeedButton3 : FormBill2->SpeedButton4)->click(); });
    env.script.Then([act](QDialog *) { act(); });
    FormMain->TabSheet7->NewButton->click();
}

int ShownCards(TCardPage *page)
{
    int n = 0;
    for (QFrame *panel : page->Panel)
        n += panel->isHidden() ? 0 : 1;
    return n;
}
} // namespace

class TestFinancePages : public QObject {
    Q_OBJECT
private slots:
    void financeChecks_data();
    void financeChecks();
    void oneEnterTakesTheCompletion();
    void incomeAndExpenseSigns();
    void changeAndDeleteNeedThePassword();
    void fromTheCustomerWindow();
    void goodsBillPage();
    void financeBillPage();
    void monthRange();
    void priceLists();
};

void TestFinancePages::financeChecks_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("message");
    QTest::newRow("no account") << "no-account" << "5" << "请选择一个帐户";
    QTest::newRow("no kind: before the amount") << "no-reason" << "" << "请选择帐款项目";
    QTest::newRow("empty amount") << "" << "" << "金额格式有误，请重新输入";
    QTest::newRow("minus") << "" << "-5" << "金额格式有误，请重新输入";
    QTest::newRow("three decimals") << "" << "1.234" << "金额内容可能有误，请重新输入";
    QTest::newRow("1.2.3") << "" << "1.2.3" << "金额内容可能有误，请重新输入";
    QTest::newRow("two points") << "" << "1.." << "金额格式有误，请重新输入";
    QTest::newRow("lone point") << "" << "." << "金额格式有误，请重新输入";
    QTest::newRow("no category: after the amount") << "no-type" << "5" << "请选择帐款类别";
    QTest::newRow("no voucher") << "no-token" << "5" << "请选择帐款凭证";
    QTest::newRow("no customer") << "no-customer" << "5" << "请选择客户名称";
    QTest::newRow("bad number") << "serial SR12B" << "5" << "单据编号格式有误，字母不能在数字后面";
    QTest::newRow("fine") << "" << "5.5" << "记录新增成功";
}

void TestFinancePages::financeChecks()
{
    QFETCH(QString, setup);
    QFETCH(QString, amount);
    QFETCH(QString, message);
    TestEnv env;
    env.Exec("Delete From Parameter");   // these cases start from empty lists
    env.StartAsFinance();
    env.AddCustomer("O'Brien");
    if (setup != "no-account")
        env.AddAccount("现金");
    for (int type = 1; type <= 3; ++type)
        if (setup != QStringList{"", "no-reason", "no-type", "no-token"}[type])
            env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (?, 'v')", {type});
    NewFinanceBill(env, true, [&] {
        if (setup != "no-customer")
            G()->ComboBox5->setEditText("O'Brien");
        G()->Edit2->setText(amount);
        if (setup.startsWith("serial"))
            G()->Edit4->setText(setup.section(' ', 1));
        G()->BitBtn1->click();
        if (message != "记录新增成功")
            G()->BitBtn2->click();
    });
    QCOMPARE(env.script.messages, QStringList{message});
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), message == "记录新增成功" ? 2 : 1);
}

void TestFinancePages::oneEnterTakesTheCompletion()
{
    TestEnv env;
    env.StartAsFinance();
    Lists(env);
    env.AddCustomer("O'Neil鞋业");
    NewFinanceBill(env, true, [&] {
        G()->show();
        QVERIFY(QTest::qWaitForWindowActive(G()));
        G()->ComboBox5->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(QApplication::focusWidget(), "O");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClicks(QApplication::focusWidget(), "800");
        QCOMPARE(G()->ComboBox5->currentText(), QStringLiteral("O'Neil鞋业"));
        QCOMPARE(G()->Edit2->text(), QStringLiteral("800"));
        // Enter walks to 确定 at the end, and Ctrl+S saves from anywhere.
        G()->Edit3->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), G()->BitBtn1);
        QTest::keyClick(G()->Edit2, Qt::Key_S, Qt::ControlModifier);
        G()->hide();
    });
    QCOMPARE(env.script.messages, QStringList{"记录新增成功"});
    QCOMPARE(env.Rows("Select BillUser, BillSum From Bill Where BillIndex > 1", "%1%2"), QStringLiteral("O'Neil鞋业800.0"));
}

void TestFinancePages::incomeAndExpenseSigns()
{
    TestEnv env;
    env.StartAsFinance();
    Lists(env);
    env.AddCustomer("甲");
    env.Exec("Update Setting Set SettingValue = 'SR0099' Where SettingIndex = 3");
    QString proposed;
    NewFinanceBill(env, true, [&] {
        proposed = G()->Edit4->text();
        QVERIFY(!G()->BitBtn3->isVisibleTo(G()));
        QCOMPARE(G()->DateTimePicker1->date(), Today);
        QVERIFY(G()->ComboBox5->isEnabled());
        G()->ComboBox5->setEditText("甲");
        G()->Edit2->setText("100");
        G()->Edit5->setText("小王");
        G()->BitBtn1->click();
    });
    QCOMPARE(proposed, QStringLiteral("SR00100"));
    QCOMPARE(FormMain->PageControl1->currentIndex(), 2);
    NewFinanceBill(env, false, [&] {
        proposed = G()->Edit4->text();
        G()->ComboBox5->setEditText("甲");
        G()->Edit2->setText("100");
        G()->BitBtn1->click();
    });
    QCOMPARE(proposed, QStringLiteral("ZC10001"));
    QCOMPARE(env.Rows("Select BillKind, BillSum, BillMoney, BillMan From Bill Where BillIndex > 1 Order By BillIndex", "%1%2/%3%4", ";"),
             QStringLiteral("财务收入单100.0/100.0小王;财务支出单-100.0/-100.0"));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = 3").toString(), QStringLiteral("SR00100"));
    QCOMPARE(FormMain->TabSheet7->TotalLabel->text(), QStringLiteral("合计：0 元"));
    QCOMPARE(FormMain->TabSheet3->Value[1][0]->text(), QStringLiteral("0 元"));
    // Opening either for a change shows 100.
    for (int card : {0, 1}) {
        QString shown;
        env.script.Then([&](QDialog *) {
            shown = G()->Edit2->text();
            QVERIFY(G()->BitBtn3->isVisibleTo(G()));
        });
        FormMain->TabSheet7->OpenMoneyCard(card);
        QCOMPARE(shown, QStringLiteral("100"));
    }
}

void TestFinancePages::changeAndDeleteNeedThePassword()
{
    TestEnv env;
    env.StartAsFinance();
    Lists(env);
    env.AddCustomer("甲");
    const int bill = env.AddBill("财务支出单", "甲", Today, -50, -50, env.Scalar("Select max(AccountIndex) From Account").toInt());
    env.Exec("Update Bill Set BillReason = '已删除的种类', BillType = '现金', BillToken = '收据' Where BillIndex = ?", {bill});
    FormMain->RefreshAllPages();
    env.script.Then([&](QDialog *) {
        QCOMPARE(G()->ComboBox2->currentIndex(), -1);   // a value no longer in its list
        G()->BitBtn1->click();
        G()->ComboBox2->setCurrentIndex(0);
        G()->Edit2->setText("80");
        env.GivePassword("bad");
        G()->BitBtn1->click();
        env.GivePassword();
        G()->BitBtn1->click();
    });
    FormMain->TabSheet7->OpenMoneyCard(0);
    QCOMPARE(env.script.messages, (QStringList{"请选择帐款项目", "密码错误，请重新操作", "记录修改成功"}));
    QCOMPARE(env.Rows("Select BillSum, BillKind, BillReason From Bill Where BillIndex = ?", "%1%2%3", ",", {bill}),
             QStringLiteral("-80.0财务支出单货款"));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = 4").toString(), QStringLiteral("ZC10000"));
    QCOMPARE(FormMain->TabSheet7->Value[2][0]->text(), QStringLiteral("80 元"));

    env.script.Then([&](QDialog *) {
        env.GivePassword();
        env.script.answers.push_back(true);
        G()->BitBtn3->click();
    });
    FormMain->TabSheet7->OpenMoneyCard(0);
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), 1);
    QCOMPARE(ShownCards(FormMain->TabSheet7), 0);
}

void TestFinancePages::fromTheCustomerWindow()
{
    TestEnv env;
    env.StartAsFinance();
    Lists(env);
    const int id = env.AddCustomer("张'三");
    FormCustomer->FCustomerIndex = id;
    env.script.Then([&](QDialog *) {
        env.script.Then([&](QDialog *) {
            QVERIFY(!G()->ComboBox5->isEnabled());
            QCOMPARE(G()->ComboBox5->currentText(), QStringLiteral("张'三"));
            G()->Edit2->setText("30");
            G()->BitBtn1->click();
        });
        FormCustomer->GetButton->click();
    });
    QCOMPARE(Dialogs::ShowModal(FormCustomer), int(QDialog::Rejected));
    QCOMPARE(env.Rows("Select BillUser, BillSum From Bill Where BillKind = '财务收入单'", "%1%2"), QStringLiteral("张'三30.0"));
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), QStringLiteral("-30 元"));
}

void TestFinancePages::goodsBillPage()
{
    TestEnv env;
    env.StartAsFinance();
    QVERIFY(!FormMain->TabSheet1->HintImage->isHidden());
    QCOMPARE(FormMain->TabSheet1->TotalLabel->text(), QStringLiteral("金额合计：0 元"));
    env.AddBill("出货单", "小", Today, 100);
    env.AddBill("进货单", "供", Today, -2000, -2000, 1);
    env.AddBill("出货单", "大", Today, 5000, 300, 1);
    env.AddBill("出货单", "昨天", Today.addDays(-1), 7);
    env.AddBill("财务收入单", "钱", Today, 9, 9, 1);
    TBillPage *page = FormMain->TabSheet1;
    QVERIFY(page->Fill());
    QCOMPARE(ShownCards(page), 3);
    QStringList names, icons;
    for (int i = 0; i < 3; ++i) {
        names << page->Value[0][i]->text();
        icons << page->IconFile[i];
    }
    QCOMPARE(names, (QStringList{"大", "小", "供"}));
    QCOMPARE(icons, (QStringList{"Res/Purple++.ico", "Res/Purple+.ico", "Res/Money-.ico"}));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("300 元"));
    QCOMPARE(page->Value[1][2]->text(), QStringLiteral("2000 元"));
    QCOMPARE(page->Under[2]->text(), QStringLiteral("进货单"));
    QCOMPARE(page->Value[1][2]->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("金额合计：3100 元"));

    // Closing the editor without unlocking leaves the pages alone.
    const int refreshes = FormMain->RefreshCount;
    env.script.Then([](QDialog *) { FormBuySell->BitBtn2->click(); });
    page->OpenBillCard(0);
    QCOMPARE(FormMain->RefreshCount, refreshes);
    QCOMPARE(FormBuySell->FBillMode, 1);
    page->OpenBillCard(2);
    QCOMPARE(FormBuySell->FBillMode, 3);
}

void TestFinancePages::financeBillPage()
{
    TestEnv env;
    env.StartAsFinance();
    const int id = env.AddBill("财务支出单", "甲", Today, -500, -500, 1);
    env.Exec("Update Bill Set BillType = '运费', BillToken = '' Where BillIndex = ?", {id});
    env.AddBill("财务收入单", "乙", Today, 3000, 3000, 1);
    TMoneyPage *page = FormMain->TabSheet7;
    QVERIFY(page->Fill());
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("乙"));
    QCOMPARE(page->IconFile[0], QStringLiteral("Res/Green+.ico"));
    QCOMPARE(page->Under[0]->text(), QStringLiteral("收入单"));
    QCOMPARE(page->Under[1]->text(), QStringLiteral("支出单"));
    QCOMPARE(page->Value[2][1]->text(), QStringLiteral("500 元"));
    QCOMPARE(page->Value[1][1]->text(), QStringLiteral("运费‖"));
    QCOMPARE(page->Value[2][1]->palette().color(QPalette::WindowText), QColor(Qt::red));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("合计：2500 元"));
}

void TestFinancePages::monthRange()
{
    TestEnv env;
    Clock::Fix(QDate(2024, 2, 15));
    env.StartAsFinance();
    env.AddBill("出货单", "一日", QDate(2024, 2, 1), 1);
    env.AddBill("出货单", "闰日", QDate(2024, 2, 29), 2);
    env.AddBill("出货单", "三月", QDate(2024, 3, 1), 4);
    env.AddBill("出货单", "一月", QDate(2024, 1, 31), 8);
    TBillPage *page = FormMain->TabSheet1;
    page->RangeBox->setCurrentIndex(1);
    emit page->RangeBox->activated(1);
    QCOMPARE(ShownCards(page), 2);
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("金额合计：3 元"));
}

void TestFinancePages::priceLists()
{
    TestEnv env;
    env.StartAsFinance();
    const int id = env.AddCustomer("甲");
    const int other = env.AddCustomer("乙");
    env.AddProduct("皮鞋", "A1", 10, "P1");
    env.AddProduct("凉鞋", "B2", 20, "P2");
    auto quote = [&](int row, const QString &price, bool byEnter = false) {
        env.script.Then([&env, row, price, byEnter](QDialog *) {
            QCOMPARE(FormCustomer4->DBGrid1->rowCount(), 2);
            QCOMPARE(FormCustomer4->DBGrid1->item(row, 0)->text(), QStringLiteral("P%1").arg(row + 1));   // the product number
            FormCustomer4->DBGrid1->setCurrentCell(row, 0);
            env.script.Then([price](QDialog *) {
                FormAsk->Edit1->setText(price);
                FormAsk->BitBtn1->click();
            });
            if (byEnter)
                QTest::keyClick(FormCustomer4->DBGrid1, Qt::Key_Return);
            else
                FormCustomer4->SpeedButton1->click();
            if (!FormCustomer4->result())
                FormCustomer4->SpeedButton2->click();
        });
        FormCustomer3->SpeedButton1->click();
    };
    FormCustomer3->FCustomerIndex = id;
    env.script.Then([&](QDialog *) {
        QCOMPARE(FormCustomer3->Label2->text(), QStringLiteral("甲"));
        QCOMPARE(FormCustomer3->DBGrid1->rowCount(), 0);
        quote(0, "9.5");
        quote(0, "8.125", true);   // again, picked with Enter: replaces, any number of decimals
        quote(1, "1.2.3");   // no number: refused
        QCOMPARE(FormCustomer3->DBGrid1->rowCount(), 1);
        QCOMPARE(FormCustomer3->DBGrid1->item(0, 3)->text(), QStringLiteral("8.125"));
    });
    Dialogs::ShowModal(FormCustomer3);
    QCOMPARE(env.script.messages, QStringList{"金额格式有误"});
    QCOMPARE(env.Scalar("Select count(*) From Price").toInt(), 1);
    FormCustomer3->FCustomerIndex = other;
    env.script.Then([&](QDialog *) { quote(0, "7"); });
    Dialogs::ShowModal(FormCustomer3);
    QCOMPARE(env.Rows("Select PriceCustomer, PriceValue From Price Order By PriceIndex", "%1:%2"),
             QStringLiteral("%1:8.125,%2:7.0").arg(id).arg(other));

    // The bill editor opened for that customer proposes the quote.
    FormBuySell->FBillMode = 0;
    FormBuySell->FCustomerIndex = id;
    FormBuySell->FCustomerLocked = true;
    QString price;
    env.script.Then([&](QDialog *) {
        FormBuySell->Lines->Cell(0, 1)->setText("P1");
        price = FormBuySell->Lines->Cell(0, 15)->text();
    });
    Dialogs::ShowModal(FormBuySell);
    QCOMPARE(price, QStringLiteral("8.125"));

    // An empty product list: nothing to quote.
    env.Exec("Delete From Product Where ProductIndex > 1");
    env.script.Then([](QDialog *) { FormCustomer4->SpeedButton1->click(); });
    Dialogs::ShowModal(FormCustomer4);
    QCOMPARE(env.script.messages.last(), QStringLiteral("请先选中需要增加报价的记录"));
    // Quotes of deleted products stay in the table but leave the list.
    FormCustomer3->FCustomerIndex = id;
    env.script.Then([](QDialog *) { QCOMPARE(FormCustomer3->DBGrid1->rowCount(), 0); });
    Dialogs::ShowModal(FormCustomer3);
    QCOMPARE(env.Scalar("Select count(*) From Price").toInt(), 2);
}

QTEST_MAIN(TestFinancePages)
#include "tst_finance_pages.moc"
