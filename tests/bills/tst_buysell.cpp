// The goods-bill editor and its line slots, from the road of a typical sale to
// the sign rules, locking, changing and deleting.
#include "bills/BillForm.h"
#include "bills/BuySellForm.h"
#include "bills/LineGrid.h"
#include "bills/ProductForm2.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "masterdata/CustomerForm.h"
#include "app/MainForm.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "ui/Artwork.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QSqlQuery>
#include <QApplication>
#include <QToolButton>

namespace {
const QDate Today(2024, 3, 15);

TFormBuySell *E() { return FormBuySell; }
QLineEdit *Cell(int slot, int cell) { return FormBuySell->Lines->Cell(slot, cell); }

// Product by number and sizes as {cell, text}; cell 4 is 35#.
void TypeLine(int slot, const QString &serial, const QList<QPair<int, QString>> &sizes)
{
    Cell(slot, 1)->setText(serial);
    for (const auto &[cell, text] : sizes)
        Cell(slot, cell)->setText(text);
}

// Opens a new bill from the chooser and acts on the editor.
void NewBillFromChooser(TestEnv &env, bool sales, std::function<void()> act)
{
    env.script.Then([sales](QDialog *) { (sales ? FormBill->SpeedButton1 : FormBill->SpeedButton2)->click(); });
    env.script.Then([act](QDialog *) { act(); });
    FormMain->TabSheet1->NewButton->click();
}

QString Row(TestEnv &env, const QString &sql) { return env.Scalar(sql).toString(); }
} // namespace

class TestBuySell : public QObject {
    Q_OBJECT
private slots:
    void roadOfATypicalSale();
    void newBillDefaults();
    void savedRowsAndSigns_data();
    void savedRowsAndSigns();
    void saveChecks_data();
    void saveChecks();
    void accountRenamedSinceShowing();
    void billNumbers_data();
    void billNumbers();
    void numberTakenMeanwhile_data();
    void numberTakenMeanwhile();
    void lookups();
    void customerPriceBeforeListPrice();
    void quoteFollowsTheCustomerBox();
    void unusableLastNumberIsReported();
    void sizeCellsTakeDigitsOnly();
    void enterMovesOnAndNeverPicks_data();
    void enterMovesOnAndNeverPicks();
    void oneEnterTakesTheCompletion();
    void saveKeysAndQuestions_data();
    void saveKeysAndQuestions();
    void tabLeavesTheDateInOnePress();
    void lockUnlockChangeDelete();
    void loadKeepsStoredPricesAndDeletedProducts();
    void picker();
    void halfFenLines_data();
    void halfFenLines();
};

void TestBuySell::roadOfATypicalSale()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("张'三", "本地", 0);
    env.AddProduct("皮鞋", "A1", 12.5, "P1");
    FormMain->RefreshAllPages();
    QCOMPARE(FormMain->TabSheet8->Value[1][0]->text(), QStringLiteral("0 元"));

    env.script.Then([&](QDialog *) {          // the customer's window
        env.script.Then([&](QDialog *) {      // the sales bill editor
            QVERIFY(!E()->ComboBox5->isEnabled());
            QCOMPARE(E()->ComboBox5->currentText(), QStringLiteral("张'三"));
            QVERIFY(E()->ButtonPrice->isVisibleTo(E()));
            TypeLine(0, "P1", {{4, "2"}, {9, "3"}});
            QCOMPARE(Cell(0, 2)->text(), QStringLiteral("皮鞋"));
            QCOMPARE(Cell(0, 14)->text(), QStringLiteral("5"));
            QCOMPARE(Cell(0, 15)->text(), QStringLiteral("12.5"));
            QCOMPARE(Cell(0, 16)->text(), QStringLiteral("62.5"));
            QCOMPARE(E()->Lines->GridTotal->text(), QStringLiteral("62.5"));
            QCOMPARE(E()->Lines->Label29->text(), QStringLiteral("陆拾　贰元　伍角　零分　"));
            E()->BitBtn1->click();
        });
        FormCustomer->SellButton->click();
    });
    FormMain->TabSheet8->OpenCustomerCard(0);
    QCOMPARE(env.script.modals, (QStringList{"FormCustomer", "FormBuySell"}));
    QCOMPARE(env.script.messages, QStringList{"单据新增成功"});
    QCOMPARE(FormMain->PageControl1->currentIndex(), 1);
    QCOMPARE(FormMain->TabSheet8->Value[1][0]->text(), QStringLiteral("62.5 元"));
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), QStringLiteral("62.5 元"));
    QCOMPARE(FormMain->TabSheet1->Value[0][0]->text(), QStringLiteral("张'三"));
    QCOMPARE(FormMain->TabSheet1->Value[1][0]->text(), QStringLiteral("62.5 元"));
    QCOMPARE(FormMain->TabSheet1->TotalLabel->text(), QStringLiteral("金额合计：62.5 元"));
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("-5"));
}

void TestBuySell::newBillDefaults()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddAccount("现金");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
    env.Exec("Update Setting Set SettingValue = 'XS0099' Where SettingIndex = 1");
    NewBillFromChooser(env, true, [] {
        QVERIFY(E()->ComboBox5->isEnabled());
        QVERIFY(E()->ComboBox5->currentText().isEmpty());
        QCOMPARE(E()->DateTimePicker1->date(), Today);
        QCOMPARE(E()->BillSerial->text(), QStringLiteral("XS00100"));
        QVERIFY(!E()->CheckBox1->isChecked());
        QCOMPARE(E()->Edit1->text(), QStringLiteral("0"));
        for (QWidget *w : {static_cast<QWidget *>(E()->Edit1), static_cast<QWidget *>(E()->ComboBox1)})
            QVERIFY(!w->isEnabled());
        QCOMPARE(E()->ComboBox1->currentText(), QStringLiteral("现金"));
        QCOMPARE(E()->ComboBox4->currentText(), QStringLiteral("收据"));
        QVERIFY(E()->BitBtn1->isVisibleTo(E()));
        QVERIFY(E()->ButtonStore->isVisibleTo(E()));
        for (QWidget *w : {static_cast<QWidget *>(E()->SpeedButton4), static_cast<QWidget *>(E()->PrintBill),
                           static_cast<QWidget *>(E()->BitBtn3), static_cast<QWidget *>(E()->ButtonPrice)})
            QVERIFY(!w->isVisibleTo(E()));
        QCOMPARE(E()->Lines->Label29->text(), QStringLiteral("零元　零角　零分　"));
        for (int s = 0; s < TLineGrid::SlotCount; ++s)
            QCOMPARE(Cell(s, 16)->text(), QStringLiteral("0"));
        E()->CheckBox1->click();
        QVERIFY(E()->Edit1->isEnabled());
        QVERIFY(E()->ComboBox4->isEnabled());
        E()->BitBtn2->click();
    });
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), 1);
}

void TestBuySell::savedRowsAndSigns_data()
{
    QTest::addColumn<bool>("sales");
    QTest::addColumn<bool>("paid");
    QTest::newRow("sales, unpaid") << true << false;
    QTest::newRow("sales, paid") << true << true;
    QTest::newRow("purchase, paid") << false << true;
    QTest::newRow("purchase, amount typed then unticked") << false << false;
}

void TestBuySell::savedRowsAndSigns()
{
    QFETCH(bool, sales);
    QFETCH(bool, paid);
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
    const int p1 = env.AddProduct("皮鞋", "A1", 10, "P1");
    const int p3 = env.AddProduct("凉鞋", "B2", 2.5, "P3");
    env.script.answers = {true};   // saved for a name not on the list, when the user says so
    NewBillFromChooser(env, sales, [&] {
        E()->ComboBox5->setEditText("不是客户的人");
        TypeLine(0, "P1", {{4, "1"}, {13, "2"}});
        TypeLine(2, "P3", {{7, "4"}});
        E()->CheckBox1->setChecked(true);
        E()->Edit1->setText("20");
        E()->CheckBox1->setChecked(paid);
        E()->Edit3->setText("备注 'x'");
        E()->BitBtn1->click();
    });
    QCOMPARE(env.script.messages, QStringList{"单据新增成功"});
    QCOMPARE(env.script.questions, QStringList{"客户名称|客户“不是客户的人”不在客户列表中，仍然保存吗？"});
    const int sign = sales ? 1 : -1;
    const QString bill = env.Scalar("Select max(BillIndex) From Bill").toString();
    QCOMPARE(Row(env, "Select BillKind From Bill Where BillIndex = " + bill), sales ? QStringLiteral("出货单") : QStringLiteral("进货单"));
    QCOMPARE(env.Scalar("Select BillSum From Bill Where BillIndex = " + bill).toDouble(), sign * 40.0);
    // Unticked, the greyed amount was never paid.
    QCOMPARE(env.Scalar("Select BillMoney From Bill Where BillIndex = " + bill).toDouble(), paid ? sign * 20.0 : 0.0);
    QCOMPARE(env.Scalar("Select BillAccount From Bill Where BillIndex = " + bill).toInt(), paid ? bank : 1);
    QCOMPARE(Row(env, "Select BillRecordTime || '|' || BillCreateTime || '|' || BillUser || '|' || BillMan || '|' || BillRemark From Bill Where BillIndex = " + bill),
             QStringLiteral("2024-03-15|2024-03-15|不是客户的人||备注 'x'"));
    QSqlQuery q(ShareDataModule->Connection());
    QVERIFY(q.exec("Select StoreProduct, StoreNum1, StoreNum4, StoreNum5, StoreNum10, StoreNumber, StorePrice, StoreSum From Store Where StoreBill = " + bill + " Order By StoreIndex"));
    QStringList rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < 8; ++i)
            row << q.value(i).toString();
        rows << row.join(',');
    }
    QCOMPARE(rows, (QStringList{QStringLiteral("%1,1,,,2,%2,10,30").arg(p1).arg(-sign * 3), "0,,,,,0,0,0",
                                QStringLiteral("%1,,4,,,%2,2.5,10").arg(p3).arg(-sign * 4), "0,,,,,0,0,0",
                                "0,,,,,0,0,0", "0,,,,,0,0,0"}));
    QCOMPARE(Row(env, QStringLiteral("Select SettingValue From Setting Where SettingIndex = %1").arg(sales ? 1 : 2)),
             sales ? QStringLiteral("XS10001") : QStringLiteral("JH10001"));
    QCOMPARE(Row(env, QStringLiteral("Select SettingValue From Setting Where SettingIndex = %1").arg(sales ? 2 : 1)),
             sales ? QStringLiteral("JH10000") : QStringLiteral("XS10000"));
}

void TestBuySell::saveChecks_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("focus");
    QTest::newRow("paid, no account") << "paid-no-account" << "请选择一个帐户" << "ComboBox1";
    QTest::newRow("paid, no kind") << "paid-no-reason" << "请选择收支种类" << "ComboBox2";
    QTest::newRow("no customer") << "no-customer" << "请选择客户名称" << "ComboBox5";
    QTest::newRow("letter after digits") << "serial XS2006A01" << "单据编号格式有误，字母不能在数字后面" << "BillSerial";
    const QString notAmount = QStringLiteral("“%1”不是有效的金额，只能输入数字和小数点，请重新输入");
    QTest::newRow("price 1.2.3") << "price 1.2.3" << "第1行的单价" + notAmount.arg("1.2.3") << "GridA15";
    QTest::newRow("price lone point") << "price ." << "第1行的单价" + notAmount.arg(".") << "GridA15";
    QTest::newRow("price with a sign") << "price -5" << "第1行的单价" + notAmount.arg("-5") << "GridA15";
    const QString nines(400, QLatin1Char('9'));
    QTest::newRow("price of 400 nines") << "price " + nines
                                        << "第1行的单价“" + nines + "”超过了15位有效数字，请重新输入" << "GridA15";
    QTest::newRow("price of 16 digits") << "price 1234567890123.456"
                                        << "第1行的单价“1234567890123.456”超过了15位有效数字，请重新输入" << "GridA15";
    QTest::newRow("paid 1..") << "paid-amount 1.." << "已付金额" + notAmount.arg("1..") << "Edit1";
    QTest::newRow("paid -20") << "paid-amount -20" << "已付金额" + notAmount.arg("-20") << "Edit1";
    QTest::newRow("paid 20元") << "paid-amount 20元" << "已付金额" + notAmount.arg("20元") << "Edit1";
    QTest::newRow("paid full-width") << "paid-amount ２０" << "已付金额" + notAmount.arg("２０") << "Edit1";
    const QString notWhole = QStringLiteral("第1行36#的数量“%1”不是整数，只能输入数字，请重新输入");
    QTest::newRow("size x") << "size x" << notWhole.arg("x") << "GridA5";
    QTest::newRow("size 3.5") << "size 3.5" << notWhole.arg("3.5") << "GridA5";
    QTest::newRow("size -3") << "size -3" << notWhole.arg("-3") << "GridA5";
    QTest::newRow("line without product") << "no-product" << "第2行没有货品，请选择货品或清空该行" << "GridB1";
    QTest::newRow("unknown product number") << "unknown-product" << "第2行的货品找不到，请选择货品或清空该行" << "GridB1";
}

void TestBuySell::saveChecks()
{
    QFETCH(QString, setup);
    QFETCH(QString, message);
    QFETCH(QString, focus);
    TestEnv env;
    env.Exec("Delete From Parameter");   // these cases start from empty lists
    env.StartAsFinance();
    env.AddProduct("皮鞋", "A1", 10, "P1");
    if (setup != "paid-no-account")
        env.AddAccount("银行");
    if (setup != "paid-no-reason")
        env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款')");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (2, '现金'), (3, '收据')");
    QString focused;
    NewBillFromChooser(env, true, [&] {
        E()->show();   // focus needs a window that is shown
        if (setup != "no-customer")
            E()->ComboBox5->setEditText("甲");
        TypeLine(0, "P1", {{4, "3"}});
        if (setup.startsWith("paid"))
            E()->CheckBox1->setChecked(true);
        if (setup.startsWith("paid-amount"))
            E()->Edit1->setText(setup.section(' ', 1));
        if (setup.startsWith("serial"))
            E()->BillSerial->setText(setup.section(' ', 1));
        if (setup.startsWith("price"))
            Cell(0, 15)->setText(setup.section(' ', 1));
        if (setup.startsWith("size"))
            Cell(0, 5)->setText(setup.section(' ', 1));   // as a paste or an old bill could bring it
        if (setup == "no-product") {
            Cell(1, 4)->setText("2");
            Cell(1, 15)->setText("5");
        }
        if (setup == "unknown-product")
            TypeLine(1, "P9", {{4, "2"}});
        E()->BitBtn1->click();
        QApplication::processEvents();
        focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        E()->BitBtn2->click();
    });
    QCOMPARE(env.script.messages, QStringList{message});
    QCOMPARE(focused, focus);
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), 1);
    QCOMPARE(env.Scalar("Select count(*) From Store").toInt(), 0);
}

void TestBuySell::accountRenamedSinceShowing()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, 'a'), (2, 'b'), (3, 'c')");
    NewBillFromChooser(env, true, [&] {
        E()->ComboBox5->setEditText("甲");
        E()->CheckBox1->setChecked(true);
        env.Exec("Update Account Set AccountName = '新银行' Where AccountIndex = " + QString::number(bank));
        E()->BitBtn1->click();
        E()->BitBtn2->click();
    });
    QCOMPARE(env.script.messages, QStringList{"找不到所需要的帐户"});
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), 1);
}

void TestBuySell::billNumbers_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::addColumn<QString>("nextProposal");
    QTest::newRow("empty") << "" << true << "";
    QTest::newRow("letters only") << "ABC" << true << "";
    QTest::newRow("A0B1") << "A0B1" << true << "A0B2";
    QTest::newRow("typed over") << "XS0500" << true << "XS0501";
    QTest::newRow("Chinese prefix") << "销2006001" << true << "销2006002";
    QTest::newRow("letter after digits") << "XS2006A01" << false << "XS10001";
}

void TestBuySell::billNumbers()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    QFETCH(QString, nextProposal);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("甲");
    NewBillFromChooser(env, true, [&] {
        E()->ComboBox5->setEditText("甲");
        E()->BillSerial->setText(typed);
        E()->BitBtn1->click();
        if (!accepted)
            E()->BitBtn2->click();
    });
    QCOMPARE(env.Scalar("Select count(*) From Bill").toInt(), accepted ? 2 : 1);
    QString proposed;
    NewBillFromChooser(env, true, [&] {
        proposed = E()->BillSerial->text();
        E()->BitBtn2->click();
    });
    QCOMPARE(proposed, nextProposal);
}

void TestBuySell::numberTakenMeanwhile_data()
{
    QTest::addColumn<QString>("typed");   // empty: the proposal as it stands
    QTest::addColumn<QStringList>("shown");
    QTest::addColumn<QString>("saved");
    QTest::newRow("proposal taken by another counter")
        << "" << QStringList{"单据新增成功，编号“XS10001”已被其他电脑使用，本单编号为“XS10003”"} << "XS10003";
    QTest::newRow("typed number already used") << "XS10002" << QStringList{"单据编号“XS10002”已被使用，请换一个编号"} << "";
}

void TestBuySell::numberTakenMeanwhile()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, shown);
    QFETCH(QString, saved);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("甲");
    NewBillFromChooser(env, true, [&] {
        QCOMPARE(E()->BillSerial->text(), QStringLiteral("XS10001"));
        // Another counter saves two bills while this editor is open.
        for (const char *number : {"XS10001", "XS10002"})
            env.Exec("Update Bill Set BillSerial = ? Where BillIndex = ?",
                     {QString::fromLatin1(number), env.AddBill("出货单", "乙", QDate(2024, 3, 15), 1)});
        env.Exec("Update Setting Set SettingValue = 'XS10002' Where SettingIndex = 1");
        E()->ComboBox5->setEditText("甲");
        if (!typed.isEmpty())
            E()->BillSerial->setText(typed);
        E()->BitBtn1->click();
        if (saved.isEmpty())
            E()->BitBtn2->click();
    });
    QCOMPARE(env.script.messages, shown);
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '甲'").toInt(), saved.isEmpty() ? 0 : 1);
    if (!saved.isEmpty())
        QCOMPARE(env.Scalar("Select BillSerial From Bill Where BillUser = '甲'").toString(), saved);
}

void TestBuySell::lookups()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddProduct("皮鞋", "A1", 10, "P1");
    env.AddProduct("O'Neil", "X'1", 7.5, "N'1");
    NewBillFromChooser(env, true, [] {
        // By number, then an unknown number empties name, model and price.
        Cell(0, 1)->setText("P1");
        QCOMPARE(E()->Lines->ProductRef(0) > 1, true);
        Cell(0, 1)->setText("P9");
        QCOMPARE(Cell(0, 2)->text(), QString());
        QCOMPARE(Cell(0, 15)->text(), QString());
        QCOMPARE(E()->Lines->ProductRef(0), 0);
        // Emptying the number changes nothing else.
        Cell(0, 15)->setText("3");
        Cell(0, 1)->clear();
        QCOMPARE(Cell(0, 15)->text(), QStringLiteral("3"));
        // By name and model, quotes included; a name alone looks nothing up.
        Cell(1, 2)->setText("O'Neil");
        QCOMPARE(Cell(1, 1)->text(), QString());
        Cell(1, 3)->setText("X'1");
        QCOMPARE(Cell(1, 1)->text(), QStringLiteral("N'1"));
        QCOMPARE(Cell(1, 15)->text(), QStringLiteral("7.5"));
        Cell(1, 3)->setText("X2");
        QCOMPARE(Cell(1, 1)->text(), QString());
        QCOMPARE(Cell(1, 15)->text(), QString());
        QCOMPARE(E()->Lines->ProductRef(1), 0);
        // A size that is no whole number counts 0; a price that is no number counts 0 while typing.
        TypeLine(2, "P1", {{4, "-3"}, {5, "x"}, {6, "4"}});
        QCOMPARE(Cell(2, 14)->text(), QStringLiteral("4"));
        QCOMPARE(Cell(2, 16)->text(), QStringLiteral("40"));
        Cell(2, 15)->setText("1.2.3");
        QCOMPARE(Cell(2, 16)->text(), QStringLiteral("0"));
        QVERIFY(!Cell(2, 15)->styleSheet().isEmpty());
        Cell(2, 15)->setText("0.125");
        QCOMPARE(Cell(2, 16)->text(), QStringLiteral("0.5"));
        Cell(3, 15)->setText("0.001");
        Cell(3, 4)->setText("5");
        // A line's amount is rounded to the fen when it is made; the total adds the rounded amounts.
        QCOMPARE(Cell(3, 16)->text(), QStringLiteral("0.01"));
        QCOMPARE(E()->Lines->GridTotal->text(), QStringLiteral("0.51"));
        QCOMPARE(E()->Lines->Label29->text(), QStringLiteral("零元　伍角　壹分　"));
        E()->BitBtn2->click();
    });
}

void TestBuySell::customerPriceBeforeListPrice()
{
    TestEnv env;
    env.StartAsFinance();
    const int vip = env.AddCustomer("老主顾");
    env.AddCustomer("新客");
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 8.8)", {shoe, vip});
    for (int customer : {vip, vip + 1, 0}) {
        FormBuySell->FBillMode = 0;
        FormBuySell->FBillIndex = 1;
        FormBuySell->FCustomerIndex = customer;
        FormBuySell->FCustomerLocked = customer != 0;
        QString price;
        env.script.Then([&](QDialog *) {
            Cell(0, 1)->setText("P1");
            price = Cell(0, 15)->text();
        });
        Dialogs::ShowModal(FormBuySell);
        QCOMPARE(price, customer == vip ? QStringLiteral("8.8") : QStringLiteral("10"));
    }
}

void TestBuySell::quoteFollowsTheCustomerBox()
{
    TestEnv env;
    env.StartAsFinance();
    const int vip = env.AddCustomer("Group By鞋店");
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 8.8)", {shoe, vip});
    QStringList prices;
    bool offered = false;
    NewBillFromChooser(env, true, [&] {
        Cell(0, 1)->setText("P1");
        prices << Cell(0, 15)->text();
        E()->ComboBox5->setCurrentIndex(E()->ComboBox5->findText("Group By鞋店"));
        offered = E()->ButtonPrice->isVisibleTo(E());
        Cell(1, 1)->setText("P1");
        prices << Cell(1, 15)->text();
        E()->ComboBox5->setEditText("路人");
        Cell(2, 1)->setText("P1");
        prices << Cell(2, 15)->text();
        QVERIFY(!E()->ButtonPrice->isVisibleTo(E()));
        E()->BitBtn2->click();
    });
    QVERIFY(offered);
    QCOMPARE(prices, (QStringList{"10", "8.8", "10"}));
}

void TestBuySell::unusableLastNumberIsReported()
{
    TestEnv env;
    env.StartAsFinance();
    env.Exec("Update Setting Set SettingValue = 'XS2006A01' Where SettingIndex = 1");
    QString proposed = "unset";
    NewBillFromChooser(env, true, [&] {
        proposed = E()->BillSerial->text();
        E()->BitBtn2->click();
    });
    QCOMPARE(proposed, QString());
    QCOMPARE(env.script.messages, QStringList{"上次单据编号“XS2006A01”无法自动递增，请手工输入单据编号"});
}

void TestBuySell::sizeCellsTakeDigitsOnly()
{
    TestEnv env;
    env.StartAsFinance();
    NewBillFromChooser(env, true, [&] {
        E()->show();
        Cell(0, 4)->setFocus();
        QTest::keyClicks(Cell(0, 4), "-3.5x7");
        QCOMPARE(Cell(0, 4)->text(), QStringLiteral("357"));
        E()->BitBtn2->click();
    });
}

void TestBuySell::enterMovesOnAndNeverPicks_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<int>("key");
    QTest::newRow("customer") << "ComboBox5" << "DateTimePicker1" << int(Qt::Key_Return);
    QTest::newRow("date") << "DateTimePicker1" << "BillSerial" << int(Qt::Key_Return);
    QTest::newRow("bill number") << "BillSerial" << "GridA1" << int(Qt::Key_Return);
    QTest::newRow("product number") << "GridA1" << "GridA2" << int(Qt::Key_Return);
    QTest::newRow("product number of an empty line") << "GridB1" << "CheckBox1" << int(Qt::Key_Return);
    QTest::newRow("model") << "GridA3" << "GridA4" << int(Qt::Key_Return);
    QTest::newRow("size 44#") << "GridA13" << "GridA15" << int(Qt::Key_Return);
    QTest::newRow("price") << "GridA15" << "GridB1" << int(Qt::Key_Return);
    QTest::newRow("last price") << "GridF15" << "Edit3" << int(Qt::Key_Return);
    QTest::newRow("remark") << "Edit3" << "CheckBox1" << int(Qt::Key_Return);
    QTest::newRow("paid tick") << "CheckBox1" << "Edit1" << int(Qt::Key_Return);
    QTest::newRow("paid amount") << "Edit1" << "ComboBox1" << int(Qt::Key_Return);
    QTest::newRow("account") << "ComboBox1" << "ComboBox2" << int(Qt::Key_Return);
    QTest::newRow("last field: on to 确定") << "ComboBox4" << "BitBtn1" << int(Qt::Key_Return);
    QTest::newRow("down a line") << "GridA4" << "GridB4" << int(Qt::Key_Down);
    QTest::newRow("up a line") << "GridC15" << "GridB15" << int(Qt::Key_Up);
    QTest::newRow("up from the first line") << "GridA2" << "GridA2" << int(Qt::Key_Up);
}

void TestBuySell::enterMovesOnAndNeverPicks()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(int, key);
    TestEnv env;
    env.StartAsFinance();
    env.AddAccount("现金");
    env.AddProduct("皮鞋", "A1", 10, "P1");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
    NewBillFromChooser(env, true, [&] {
        E()->show();
        QVERIFY(QTest::qWaitForWindowActive(E()));
        E()->CheckBox1->setChecked(true);
        E()->Edit3->setText("备注");
        Cell(0, 1)->setText("P1");   // the first line is used, the others are empty
        QWidget *start = E()->findChild<QWidget *>(from);
        QWidget *next = E()->findChild<QWidget *>(to);
        QVERIFY(start && next);
        start->setFocus(Qt::OtherFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
        QCOMPARE(env.script.modals, (QStringList{"FormBill", "FormBuySell"}));   // no picker, no prompt
        QWidget *focus = QApplication::focusWidget();
        QVERIFY2(focus == next || next->isAncestorOf(focus), qPrintable(focus ? focus->objectName() : QString("none")));
        QVERIFY(E()->isVisible());   // nothing was saved or closed
        E()->hide();
    });
    QVERIFY(env.script.messages.isEmpty());
}

void TestBuySell::oneEnterTakesTheCompletion()
{
    // "王" completes inline to 王记鞋店; one Enter keeps it and moves on, so
    // what is typed next never lands in the customer or the bill number.
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("王记鞋店");
    NewBillFromChooser(env, true, [&] {
        E()->show();
        QVERIFY(QTest::qWaitForWindowActive(E()));
        const QString serial = E()->BillSerial->text();
        E()->ComboBox5->setFocus(Qt::OtherFocusReason);
        TypeText(QApplication::focusWidget(), "王");
        QCOMPARE(E()->ComboBox5->currentText(), QStringLiteral("王记鞋店"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QWidget *focus = QApplication::focusWidget();
        QVERIFY(focus == E()->DateTimePicker1 || E()->DateTimePicker1->isAncestorOf(focus));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), Cell(0, 1));
        QTest::keyClicks(QApplication::focusWidget(), "P001");
        QCOMPARE(E()->ComboBox5->currentText(), QStringLiteral("王记鞋店"));
        QCOMPARE(E()->BillSerial->text(), serial);
        QCOMPARE(Cell(0, 1)->text(), QStringLiteral("P001"));
        E()->hide();
    });
}

void TestBuySell::saveKeysAndQuestions_data()
{
    QTest::addColumn<QString>("customer");
    QTest::addColumn<QString>("how");          // "ctrl+s", "cancel", "close"
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<int>("saved");
    QTest::addColumn<bool>("closed");
    const QString unknown = "放弃单据|单据尚未保存，确定放弃吗？";
    QTest::newRow("Ctrl+S saves") << "王记鞋店" << "ctrl+s" << QList<bool>{} << QStringList{} << 1 << true;
    QTest::newRow("unknown name, saved anyway") << "王记鞋点" << "ctrl+s" << QList<bool>{true}
                                                << QStringList{"客户名称|客户“王记鞋点”不在客户列表中，仍然保存吗？"} << 1 << true;
    QTest::newRow("unknown name, back to the box") << "王记鞋点" << "ctrl+s" << QList<bool>{false}
                                                   << QStringList{"客户名称|客户“王记鞋点”不在客户列表中，仍然保存吗？"} << 0 << false;
    QTest::newRow("cancel a typed bill: no") << "王记鞋店" << "cancel" << QList<bool>{false} << QStringList{unknown} << 0 << false;
    QTest::newRow("cancel a typed bill: yes") << "王记鞋店" << "cancel" << QList<bool>{true} << QStringList{unknown} << 0 << true;
    QTest::newRow("close a typed bill: no") << "王记鞋店" << "close" << QList<bool>{false} << QStringList{unknown} << 0 << false;
    QTest::newRow("cancel an untouched bill") << "" << "cancel" << QList<bool>{} << QStringList{} << 0 << true;
}

void TestBuySell::saveKeysAndQuestions()
{
    QFETCH(QString, customer);
    QFETCH(QString, how);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, questions);
    QFETCH(int, saved);
    QFETCH(bool, closed);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("王记鞋店");
    env.AddProduct("皮鞋", "A1", 10, "P1");
    env.script.answers.assign(answers.begin(), answers.end());
    bool open = false;
    NewBillFromChooser(env, true, [&] {
        E()->show();
        QVERIFY(QTest::qWaitForWindowActive(E()));
        if (!customer.isEmpty()) {
            E()->ComboBox5->setEditText(customer);
            TypeLine(0, "P1", {{7, "2"}});
        }
        Cell(0, 7)->setFocus();
        if (how == "ctrl+s")
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier);
        else if (how == "cancel")
            E()->BitBtn2->click();
        else
            E()->close();
        open = E()->isVisible();
        QCOMPARE(QApplication::focusWidget() == E()->ComboBox5, saved == 0 && how == "ctrl+s" && open);
        E()->hide();
    });
    QCOMPARE(env.script.questions, questions);
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillIndex > 1").toInt(), saved);
    QCOMPARE(!open, closed);
}

void TestBuySell::tabLeavesTheDateInOnePress()
{
    TestEnv env;
    env.StartAsFinance();
    NewBillFromChooser(env, true, [] {
        E()->show();
        QVERIFY(QTest::qWaitForWindowActive(E()));
        E()->DateTimePicker1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), E()->BillSerial);
        // What is typed next goes to the number, and the date stays.
        QTest::keyClicks(QApplication::focusWidget(), "5");
        QCOMPARE(E()->DateTimePicker1->date(), Today);
        QCOMPARE(E()->BillSerial->text(), QStringLiteral("5"));
        E()->DateTimePicker1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), E()->ComboBox5);
        E()->hide();
    });
}

void TestBuySell::lockUnlockChangeDelete()
{
    TestEnv env;
    env.StartAsFinance();
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    env.AddCustomer("甲");
    env.AddCustomer("乙");
    // A bill saved through the editor, then opened from its card.
    NewBillFromChooser(env, false, [] {
        E()->ComboBox5->setEditText("甲");
        TypeLine(0, "P1", {{4, "6"}});
        E()->BitBtn1->click();
    });
    QCOMPARE(env.script.messages, QStringList{"单据新增成功"});
    env.script.messages.clear();
    const QString bill = env.Scalar("Select max(BillIndex) From Bill").toString();
    const QString firstLine = env.Scalar("Select min(StoreIndex) From Store").toString();
    env.Exec("Update Bill Set BillSum = -999 Where BillIndex = " + bill);   // lines disagree with the stored total
    env.Exec("Update Setting Set SettingValue = 'JH7' Where SettingIndex = 2");
    QCOMPARE(FormMain->TabSheet1->Value[1][0]->text(), QStringLiteral("60 元"));
    const int refreshes = FormMain->RefreshCount;

    env.script.Then([&](QDialog *) {
        QVERIFY(!E()->BitBtn1->isVisibleTo(E()));
        QVERIFY(!E()->BitBtn3->isVisibleTo(E()));
        QVERIFY(E()->SpeedButton4->isVisibleTo(E()));
        QVERIFY(E()->PrintBill->isVisibleTo(E()));
        QCOMPARE(E()->Lines->GridTotal->text(), QStringLiteral("60"));
        QCOMPARE(Cell(0, 14)->text(), QStringLiteral("6"));
        // Locked, it looks it: nothing takes typing, no list or picker opens.
        const QList<QLineEdit *> typed{E()->Edit3, E()->BillSerial, Cell(0, 1), Cell(0, 2), Cell(0, 4), Cell(0, 15)};
        const QList<QWidget *> lists{E()->ComboBox5, E()->CheckBox1, E()->Lines->GridButton[0]};
        auto locked = [&](bool on) {
            QCOMPARE(E()->LockMark->isVisibleTo(E()), on);
            // The 修改 padlock shows the state: shut while locked, open after unlocking.
            QCOMPARE(E()->ActionEdit->icon().pixmap(32).toImage(), Artwork::PadlockIcon(32, on).toImage());
            QCOMPARE(E()->DateTimePicker1->isReadOnly(), on);
            for (QLineEdit *edit : typed)
                QCOMPARE(edit->isReadOnly(), on);
            for (QWidget *w : lists)
                QCOMPARE(w->isEnabled(), !on);
        };
        locked(true);
        QTest::keyClicks(Cell(0, 4), "9");
        QCOMPARE(Cell(0, 4)->text(), QStringLiteral("6"));
        env.GivePassword("wrong");
        E()->SpeedButton4->click();
        QVERIFY(!E()->BitBtn1->isVisibleTo(E()));
        QVERIFY(!E()->FChanged);
        locked(true);
        env.GivePassword();
        E()->SpeedButton4->click();
        QVERIFY(E()->BitBtn1->isVisibleTo(E()));
        QVERIFY(E()->BitBtn3->isVisibleTo(E()));
        QVERIFY(E()->FChanged);
        locked(false);
        E()->ComboBox5->setEditText("乙");
        Cell(0, 4)->setText("2");
        TypeLine(1, "P1", {{5, "1"}});
        E()->BitBtn1->click();
    });
    FormMain->TabSheet1->OpenBillCard(0);
    QCOMPARE(env.script.messages, (QStringList{"密码错误，请重新操作", "记录修改成功"}));
    QCOMPARE(FormMain->RefreshCount, refreshes + 1);
    QCOMPARE(env.Rows("Select BillKind, BillUser, BillSum, BillRecordTime From Bill Where BillIndex = " + bill, "%1%2%3%4"),
             QStringLiteral("进货单乙-30.02024-03-15"));
    QCOMPARE(env.Scalar("Select count(*) From Store Where StoreBill = " + bill).toInt(), 6);
    QCOMPARE(env.Scalar("Select min(StoreIndex) From Store").toString(), firstLine);
    QCOMPARE(env.Rows("Select StoreNumber From Store Order By StoreIndex", "%1"),
             QStringLiteral("2,1,0,0,0,0"));
    QCOMPARE(Row(env, "Select SettingValue From Setting Where SettingIndex = 2"), QStringLiteral("JH7"));
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("3"));
    Q_UNUSED(shoe);

    // Unlocked then cancelled still counts as a change; delete after a No, then a Yes.
    env.script.messages.clear();
    env.script.Then([&](QDialog *) {
        env.GivePassword();
        E()->SpeedButton4->click();
        env.script.answers.push_back(false);
        E()->BitBtn3->click();
        env.script.answers.push_back(true);
        E()->BitBtn3->click();
    });
    FormMain->TabSheet1->OpenBillCard(0);
    QCOMPARE(env.script.questions, (QStringList(2, "删除警告|确实要删除该记录吗？")));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillIndex = " + bill).toInt(), 0);
    QCOMPARE(env.Scalar("Select count(*) From Store").toInt(), 0);
    QCOMPARE(FormMain->TabSheet1->TotalLabel->text(), QStringLiteral("金额合计：0 元"));
    QCOMPARE(FormMain->TabSheet2->Under[0]->text(), QStringLiteral("0"));

    // A card whose bill is gone opens nothing.
    FormMain->TabSheet1->Tag[0] = bill.toInt();
    env.script.modals.clear();
    FormMain->TabSheet1->OpenBillCard(0);
    QCOMPARE(env.script.messages.last(), QStringLiteral("找不到要修改的记录"));
    QVERIFY(env.script.modals.isEmpty());
}

void TestBuySell::loadKeepsStoredPricesAndDeletedProducts()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("甲");
    const int kept = env.AddProduct("皮鞋", "A1", 10, "P1");
    NewBillFromChooser(env, true, [] {
        E()->ComboBox5->setEditText("甲");
        TypeLine(0, "P1", {{4, "2"}});
        TypeLine(1, "P1", {{4, "1"}});
        E()->BitBtn1->click();
    });
    const int bill = env.Scalar("Select max(BillIndex) From Bill").toInt();
    env.Exec("Update Product Set ProductPrice = 99 Where ProductIndex = ?", {kept});
    env.Exec("Update Store Set StoreProduct = 1 Where StoreIndex = (Select max(StoreIndex) From Store Where StoreProduct = ?)", {kept});
    FormBuySell->FBillMode = 1;
    FormBuySell->FBillIndex = bill;
    env.script.Then([&](QDialog *) {
        QCOMPARE(Cell(0, 15)->text(), QStringLiteral("10"));
        QCOMPARE(Cell(0, 16)->text(), QStringLiteral("20"));
        QCOMPARE(E()->Lines->ProductRef(0), kept);
        QCOMPARE(Cell(1, 2)->text(), QStringLiteral("已删除货品"));
        QCOMPARE(E()->Lines->ProductRef(1), 1);
        QCOMPARE(Cell(1, 16)->text(), QStringLiteral("10"));
        QCOMPARE(E()->Lines->GridTotal->text(), QStringLiteral("30"));
        // Retyping the number brings today's price.
        Cell(0, 1)->setText("P");
        Cell(0, 1)->setText("P1");
        QCOMPARE(Cell(0, 15)->text(), QStringLiteral("99"));
    });
    Dialogs::ShowModal(FormBuySell);

    // A bill that is gone closes the editor at once.
    FormBuySell->FBillIndex = 4242;
    env.script.modals.clear();
    QCOMPARE(Dialogs::ShowModal(FormBuySell), int(QDialog::Rejected));
    QCOMPARE(env.script.messages.last(), QStringLiteral("找不到要修改的记录"));
    QVERIFY(env.script.modals.isEmpty());
}

void TestBuySell::picker()
{
    TestEnv env;
    env.StartAsFinance();
    for (int i = 1; i <= 45; ++i)
        env.AddProduct(QStringLiteral("货%1").arg(i, 2, 10, QLatin1Char('0')), "A", 1);
    env.AddProduct("货45", "B", 2, "P45B");
    auto shown = [] {
        int n = 0;
        for (QFrame *panel : FormProduct2->FCellPanels)
            n += panel->isHidden() ? 0 : 1;
        return n;
    };
    // 45 names: 20, 20, 5.
    FormProduct2->FPickKind = 0;
    env.script.Then([&](QDialog *) {
        QCOMPARE(shown(), 20);
        QVERIFY(!FormProduct2->StorePrior->isEnabled());
        QVERIFY(FormProduct2->StoreNext->isEnabled());
        FormProduct2->StoreNext->click();
        QCOMPARE(shown(), 20);
        QVERIFY(FormProduct2->StorePrior->isEnabled());
        FormProduct2->StoreNext->click();
        QCOMPARE(shown(), 5);
        QVERIFY(!FormProduct2->StoreNext->isEnabled());
        QCOMPARE(FormProduct2->Label1->text(), QStringLiteral("请选择一个货品"));
    });
    QCOMPARE(Dialogs::ShowModal(FormProduct2), int(QDialog::Rejected));

    // The line's picker flow: a name on page 2, then its models start on page 2 too.
    FormBuySell->FBillMode = 0;
    FormBuySell->FCustomerIndex = 0;
    FormBuySell->FCustomerLocked = false;
    env.script.Then([&](QDialog *) {
        env.script.Then([&](QDialog *) {
            QTest::mouseClick(FormProduct2->FCellImages[4], Qt::LeftButton);   // 货45
        });
        env.script.Then([&](QDialog *) {
            QCOMPARE(FormProduct2->Label1->text(), QStringLiteral("请选择（货45）的规格"));
            QCOMPARE(shown(), 0);
            QVERIFY(FormProduct2->StorePrior->isEnabled());
            FormProduct2->StorePrior->click();
            FormProduct2->StorePrior->click();
            QCOMPARE(shown(), 2);
            QCOMPARE(FormProduct2->FCellNames[1]->text(), QStringLiteral("B"));
            QTest::mouseClick(FormProduct2->FCellImages[1], Qt::LeftButton);
        });
        E()->Lines->GridButton[0]->click();
        QCOMPARE(Cell(0, 2)->text(), QStringLiteral("货45"));
        QCOMPARE(Cell(0, 3)->text(), QStringLiteral("B"));
        QCOMPARE(Cell(0, 1)->text(), QStringLiteral("P45B"));
        QCOMPARE(Cell(0, 15)->text(), QStringLiteral("2"));
        // A click on the name picks it too; cancelling the model leaves the name.
        env.script.Then([&](QDialog *) { QTest::mouseClick(FormProduct2->FCellNames[0], Qt::LeftButton); });
        env.script.Then([&](QDialog *) {});
        E()->Lines->GridButton[1]->click();
        QCOMPARE(Cell(1, 2)->text(), QStringLiteral("货01"));
        QCOMPARE(Cell(1, 3)->text(), QString());
    });
    Dialogs::ShowModal(FormBuySell);
    QCOMPARE(FormProduct2->FPage, 0);
}

void TestBuySell::halfFenLines_data()
{
    QTest::addColumn<QString>("price");
    QTest::addColumn<QStringList>("pieces");     // 35# of each line
    QTest::addColumn<QStringList>("lineSums");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("capitals");
    QTest::newRow("two lines of one pair at 1.005") << "1.005" << QStringList{"1", "1"} << QStringList{"1.01", "1.01"} << "2.02"
                                                    << "贰元　零角　贰分　";
    QTest::newRow("three pairs at 0.335") << "0.335" << QStringList{"3"} << QStringList{"1.01"} << "1.01" << "壹元　零角　壹分　";
    QTest::newRow("2.675 is under half a fen as a double") << "2.675" << QStringList{"1", "2"} << QStringList{"2.68", "5.35"}
                                                           << "8.03" << "捌元　零角　叁分　";
    QTest::newRow("four decimals") << "0.0049" << QStringList{"1"} << QStringList{"0"} << "0" << "零元　零角　零分　";
}

void TestBuySell::halfFenLines()
{
    QFETCH(QString, price);
    QFETCH(QStringList, pieces);
    QFETCH(QStringList, lineSums);
    QFETCH(QString, total);
    QFETCH(QString, capitals);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("张三");
    env.AddProduct("皮鞋", "A1", 10, "P1");
    NewBillFromChooser(env, true, [&] {
        E()->ComboBox5->setEditText("张三");
        for (int s = 0; s < pieces.size(); ++s) {
            TypeLine(s, "P1", {{4, pieces[s]}});
            Cell(s, 15)->setText(price);
            QCOMPARE(Cell(s, 16)->text(), lineSums[s]);
        }
        QCOMPARE(E()->Lines->GridTotal->text(), total);
        QCOMPARE(E()->Lines->Label29->text(), capitals);
        E()->BitBtn1->click();
    });
    QCOMPARE(env.script.messages, QStringList{"单据新增成功"});
    // Stored as shown, and every figure over these rows says the same.
    QCOMPARE(env.Rows("Select StoreSum From Store Where StoreSum <> 0 Order By StoreIndex", "%1", "|"),
             lineSums.filter(QRegularExpression("^(?!0$)")).join('|'));
    QCOMPARE(NumberText(env.Scalar("Select BillSum From Bill Where BillIndex > 1").toDouble()), total);
    TCustomerFigures customers;
    QVERIFY(customers.Load(Today));
    QCOMPARE(NumberText(customers.Of("张三").Goods()), total);
    TProductFigures products;
    QVERIFY(products.LoadMonth(Today));
    QCOMPARE(NumberText(products.MonthOf(2).amountOut), total);
}

QTEST_MAIN(TestBuySell)
#include "tst_buysell.moc"
