// The card pages: figures as of the working date, grading, paging, totals, filters.
#include "cards/AccountPage.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "figures/AccountFigures.h"
#include "figures/CustomerFigures.h"
#include "figures/ProductFigures.h"
#include "masterdata/CustomerForm.h"
#include "db/Money.h"
#include "app/MainForm.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

namespace {
const QDate Today(2024, 3, 15);

int ShownCards(TCardPage *page)
{
    int n = 0;
    for (QFrame *panel : page->Panel)
        n += panel->isHidden() ? 0 : 1;
    return n;
}

bool IsRed(QLabel *label) { return label->palette().color(QPalette::WindowText) == QColor(Qt::red); }
} // namespace

class TestCardPages : public QObject {
    Q_OBJECT
private slots:
    void grading_data();
    void grading();
    void customerFigures();
    void moneyRoundedToTheFen_data();
    void moneyRoundedToTheFen();
    void pageTotalAddsRoundedFigures();
    void otherPagesRoundToTheFen();
    void billsAfterWorkingDateDoNotCount();
    void emptyPageShowsHint();
    void pagingKeepsTheWholeTotal_data();
    void pagingKeepsTheWholeTotal();
    void pageNumberSurvivesFilter();
    void stockFigures();
    void stockFilters();
    void accountFigures();
    void highlight();
    void cardQueriesUseIndexes();
    void groupedFiguresEqualPerCustomerSums();
    void olderDatabaseGetsTodaysIndexes();
};

void TestCardPages::grading_data()
{
    QTest::addColumn<QString>("page");
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<bool>("red");
    QTest::newRow("customer zero") << "customer" << 0.0 << "Res/Money0.ico" << false;
    QTest::newRow("customer negative") << "customer" << -0.5 << "Res/Money-.ico" << true;
    QTest::newRow("customer small") << "customer" << 300.0 << "Res/Blue+.ico" << false;
    QTest::newRow("customer at T1") << "customer" << 30000.0 << "Res/Blue+.ico" << false;
    QTest::newRow("customer above T1") << "customer" << 30000.5 << "Res/Blue++.ico" << false;
    QTest::newRow("customer at T2") << "customer" << 100000.0 << "Res/Blue++.ico" << false;
    QTest::newRow("customer above T2") << "customer" << 100000.01 << "Res/Blue+++.ico" << false;
    QTest::newRow("stock at T1") << "stock" << 3000.0 << "Res/Silver+.ico" << false;
    QTest::newRow("stock above T1") << "stock" << 3001.0 << "Res/Silver++.ico" << false;
    QTest::newRow("stock above T2") << "stock" << 10001.0 << "Res/Silver+++.ico" << false;
    QTest::newRow("stock negative") << "stock" << -1.0 << "Res/Money-.ico" << true;
    QTest::newRow("stock never on a bill") << "stock" << 0.0 << "Res/Money0.ico" << false;
    QTest::newRow("account at T1") << "account" << 30000.0 << "Res/Yellow+.ico" << false;
    QTest::newRow("account above T2") << "account" << 100001.0 << "Res/Yellow+++.ico" << false;
    QTest::newRow("account negative") << "account" << -5.0 << "Res/Money-.ico" << true;
}

void TestCardPages::grading()
{
    QFETCH(QString, page);
    QFETCH(double, value);
    QFETCH(QString, icon);
    QFETCH(bool, red);
    TestEnv env;
    env.StartAsFinance();
    TCardPage *cards = nullptr;
    if (page == "customer") {
        env.AddCustomer("甲");
        if (value != 0)
            env.AddBill(value > 0 ? "出货单" : "进货单", "甲", Today, value);
        cards = FormMain->TabSheet8;
    } else if (page == "stock") {
        const int product = env.AddProduct("鞋", "T", 1);
        if (value != 0)
            env.AddLine(env.AddBill(value > 0 ? "进货单" : "出货单", "甲", Today, 0), product, int(value));
        cards = FormMain->TabSheet2;
    } else {
        const int account = env.AddAccount("现金");
        env.AddBill(value > 0 ? "财务收入单" : "财务支出单", "甲", Today, value, value, account);
        cards = FormMain->TabSheet3;
    }
    QVERIFY(cards->Fill());
    QCOMPARE(cards->IconFile[0], icon);
    QCOMPARE(IsRed(cards->Value[0][0]), red);
    QVERIFY(!cards->Image[0]->pixmap().isNull());
}

void TestCardPages::customerFigures()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    env.AddCustomer("张'三", "省内", 10);
    env.AddBill("出货单", "张'三", Today.addDays(-3), 300);
    env.AddBill("出货单", "张'三", Today, 200);
    env.AddBill("进货单", "张'三", Today, -200);
    env.AddBill("财务收入单", "张'三", Today, 100, 100, bank);
    env.AddBill("财务支出单", "张'三", Today, -40, -40, bank);   // money paid out raises the debt
    env.AddSG("张'三", Today, 50);
    TCustomerPage *page = FormMain->TabSheet8;
    QVERIFY(page->Fill());
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("张'三"));
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("300 元"));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("300 元"));   // 10 + 300 + 50 - (100 - 40)
    QCOMPARE(page->Under[0]->text(), QStringLiteral("省内"));
    QCOMPARE(page->IconFile[0], QStringLiteral("Res/Blue+.ico"));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("货款合计：300 元"));
    QCOMPARE(page->Tag[0], int(env.Scalar("Select CustomerIndex From Customer Where CustomerName = '张''三'").toInt()));
}

void TestCardPages::moneyRoundedToTheFen_data()
{
    QTest::addColumn<QList<double>>("goods");     // signed bill totals, all today
    QTest::addColumn<double>("received");
    QTest::addColumn<QString>("goodsText");
    QTest::addColumn<QString>("debtText");
    QTest::addColumn<QString>("icon");
    QTest::addColumn<QString>("billTotal");
    QTest::newRow("returns cancel the sales") << QList<double>{10.1, 20.2, -30.3} << 0.0 << "0 元" << "0 元"
                                              << "Res/Money0.ico" << "金额合计：0 元";
    QTest::newRow("paid what was bought") << QList<double>{0.1, 0.2} << 0.3 << "0.3 元" << "0 元"
                                          << "Res/Blue+.ico" << "金额合计：0.3 元";
    QTest::newRow("exactly the first threshold") << QList<double>{5084.81, 8528.61, 16386.58} << 0.0 << "30000 元"
                                                 << "30000 元" << "Res/Blue+.ico" << "金额合计：30000 元";
    QTest::newRow("a fen short of zero") << QList<double>{0.1, 0.2, -0.3, -0.004} << 0.0 << "0 元" << "0 元"
                                         << "Res/Money0.ico" << "金额合计：0 元";
    QTest::newRow("half a fen rounds away from zero") << QList<double>{1.005} << 0.0 << "1.01 元" << "1.01 元"
                                                      << "Res/Blue+.ico" << "金额合计：1.01 元";
}

void TestCardPages::moneyRoundedToTheFen()
{
    QFETCH(QList<double>, goods);
    QFETCH(double, received);
    QFETCH(QString, goodsText);
    QFETCH(QString, debtText);
    QFETCH(QString, icon);
    QFETCH(QString, billTotal);
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    env.AddCustomer("甲");
    for (double sum : goods)
        env.AddBill(sum >= 0 ? "出货单" : "进货单", "甲", Today, sum);
    if (received != 0)
        env.AddBill("财务收入单", "甲", Today, received, received, bank);
    FormMain->RefreshAllPages();
    TCustomerPage *page = FormMain->TabSheet8;
    QCOMPARE(page->Value[1][0]->text(), goodsText);
    QCOMPARE(page->Value[2][0]->text(), debtText);
    QCOMPARE(page->IconFile[0], icon);
    QCOMPARE(page->TotalLabel->text(), "货款合计：" + goodsText);
    QCOMPARE(FormMain->TabSheet1->TotalLabel->text(), billTotal);
}

void TestCardPages::pageTotalAddsRoundedFigures()
{
    // The total is the sum of what the cards show, whichever page is shown.
    TestEnv env;
    env.StartAsFinance();
    for (int i = 1; i <= 16; ++i) {
        const QString name = QStringLiteral("客户%1").arg(i, 2, 10, QLatin1Char('0'));
        env.AddCustomer(name);
        env.AddBill("出货单", name, Today, i == 16 ? 99.999 : 1);
    }
    TCustomerPage *page = FormMain->TabSheet8;
    QVERIFY(page->Fill());
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("货款合计：115 元"));
    page->NextButton->click();
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("100 元"));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("货款合计：115 元"));
}

void TestCardPages::otherPagesRoundToTheFen()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int customer = env.AddCustomer("甲");
    env.AddBill("财务收入单", "甲", Today, 0.1, 0.1, bank);
    env.AddBill("财务收入单", "甲", Today, 0.2, 0.2, bank);
    env.AddBill("财务支出单", "甲", Today, -0.3, -0.3, bank);
    env.AddBill("出货单", "甲", Today, 99.999);
    env.AddSG("甲", Today, 0.1);
    env.AddSG("甲", Today, 0.2);
    const int shoe = env.AddProduct("鞋", "T", 0.1);
    env.AddLine(env.AddBill("进货单", "乙", Today, 0), shoe, 3);
    FormMain->RefreshAllPages();
    QCOMPARE(FormMain->TabSheet3->Value[1][0]->text(), QStringLiteral("0 元"));
    QCOMPARE(FormMain->TabSheet3->Value[2][0]->text(), QStringLiteral("0 元"));
    QCOMPARE(FormMain->TabSheet3->TotalLabel->text(), QStringLiteral("合计：0 元"));
    QCOMPARE(FormMain->TabSheet7->TotalLabel->text(), QStringLiteral("合计：0 元"));
    QCOMPARE(FormMain->TabSheet1->Value[1][0]->text(), QStringLiteral("100 元"));
    QCOMPARE(FormMain->TabSheet2->Value[2][0]->text(), QStringLiteral("0.3"));
    // The customer's window shows the figures of the card.
    FormCustomer->FCustomerIndex = customer;
    QString goods, received, other, debt;
    env.script.Then([&](QDialog *) {
        goods = FormCustomer->Label6->text();
        received = FormCustomer->Label8->text();
        other = FormCustomer->Label10->text();
        debt = FormCustomer->Label4->text();
    });
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(QStringList({goods, received, other, debt}), QStringList({"100", "0", "0.3", "100.3"}));
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), QStringLiteral("100.3 元"));
}

void TestCardPages::billsAfterWorkingDateDoNotCount()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("甲", "本地", 0);
    env.AddBill("出货单", "甲", Today, 500, 200, 1);            // received on the placeholder account
    env.AddBill("出货单", "甲", Today.addDays(1), 1000);
    env.AddSG("甲", Today.addDays(1), 70);
    TCustomerPage *page = FormMain->TabSheet8;
    QVERIFY(page->Fill());
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("500 元"));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("500 元"));
    FormMain->BitBtn2->click();   // a day later everything counts
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("1500 元"));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("1570 元"));
    FormMain->BitBtn1->click();
    FormMain->BitBtn1->click();   // the day before: nothing
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("0 元"));
    QCOMPARE(page->IconFile[0], QStringLiteral("Res/Money0.ico"));
}

void TestCardPages::emptyPageShowsHint()
{
    TestEnv env;
    env.StartAsFinance();
    TCustomerPage *customers = FormMain->TabSheet8;
    QVERIFY(!customers->HintImage->isHidden());
    QCOMPARE(ShownCards(customers), 0);
    QCOMPARE(customers->TotalLabel->text(), QStringLiteral("货款合计：0 元"));
    QVERIFY(!customers->PriorButton->isEnabled());
    QVERIFY(!customers->NextButton->isEnabled());
    QCOMPARE(FormMain->TabSheet2->TotalLabel->text(), QStringLiteral("共 0 类货品"));
    QVERIFY(!FormMain->TabSheet2->HintImage->isHidden());
    QCOMPARE(FormMain->TabSheet3->TotalLabel->text(), QStringLiteral("合计：0 元"));
}

void TestCardPages::pagingKeepsTheWholeTotal_data()
{
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<int>>("cardsPerPage");
    QTest::newRow("15") << 15 << QList<int>{15};
    QTest::newRow("16") << 16 << QList<int>{15, 1};
    QTest::newRow("31") << 31 << QList<int>{15, 15, 1};
}

void TestCardPages::pagingKeepsTheWholeTotal()
{
    QFETCH(int, count);
    QFETCH(QList<int>, cardsPerPage);
    TestEnv env;
    env.StartAsFinance();
    double total = 0;
    for (int i = 1; i <= count; ++i) {
        const QString name = QStringLiteral("客户%1").arg(i, 2, 10, QLatin1Char('0'));
        env.AddCustomer(name);
        env.AddBill("出货单", name, Today, i + 0.25);
        total += i + 0.25;
        env.AddProduct(QStringLiteral("货%1").arg(i, 2, 10, QLatin1Char('0')));
    }
    for (TCardPage *page : {static_cast<TCardPage *>(FormMain->TabSheet8), static_cast<TCardPage *>(FormMain->TabSheet2)}) {
        const QString expected = page == FormMain->TabSheet8 ? "货款合计：" + NumberText(total) + " 元"
                                                              : QStringLiteral("共 %1 类货品").arg(count);
        QVERIFY(page->Fill());
        for (int p = 0; p < cardsPerPage.size(); ++p) {
            QCOMPARE(page->PageNumber(), p);
            QCOMPARE(ShownCards(page), cardsPerPage[p]);
            QCOMPARE(page->TotalLabel->text(), expected);
            QCOMPARE(page->PriorButton->isEnabled(), p > 0);
            QCOMPARE(page->NextButton->isEnabled(), p + 1 < cardsPerPage.size());
            if (page->NextButton->isEnabled())
                page->NextButton->click();
        }
        // Stock cards come sorted by name: the last page holds the last name.
        if (page == FormMain->TabSheet2)
            QCOMPARE(page->Value[0][cardsPerPage.last() - 1]->text(), QStringLiteral("货%1").arg(count, 2, 10, QLatin1Char('0')));
    }
}

void TestCardPages::pageNumberSurvivesFilter()
{
    TestEnv env;
    env.StartAsFinance();
    for (int i = 0; i < 35; ++i)
        env.AddCustomer(QStringLiteral("本地%1").arg(i), "本地");
    for (int i = 0; i < 5; ++i)
        env.AddCustomer(QStringLiteral("外省%1").arg(i), "其它");
    TCustomerPage *page = FormMain->TabSheet8;
    QVERIFY(page->Fill());
    page->NextButton->click();
    page->NextButton->click();
    QCOMPARE(ShownCards(page), 10);
    page->ComboBox2->setCurrentIndex(3);
    emit page->ComboBox2->activated(3);
    QCOMPARE(ShownCards(page), 0);
    QVERIFY(page->HintImage->isHidden());
    QVERIFY(page->PriorButton->isEnabled());
    page->PriorButton->click();
    page->PriorButton->click();
    QCOMPARE(ShownCards(page), 5);
    QCOMPARE(page->Under[0]->text(), QStringLiteral("其它"));
    // The region choice stays for every later fill.
    FormMain->RefreshAllPages();
    QCOMPARE(ShownCards(page), 5);
}

void TestCardPages::stockFigures()
{
    TestEnv env;
    env.StartAsFinance();
    const int shoe = env.AddProduct("皮鞋", "A1", 12.5);
    const int bought = env.AddBill("进货单", "供应商", Today.addDays(-10), -625);
    env.AddLine(bought, shoe, 50);
    const int sold = env.AddBill("出货单", "客户", Today, 250);
    env.AddLine(sold, shoe, -20);
    env.AddLine(env.AddBill("出货单", "客户", Today.addDays(1), 100), shoe, -8);   // not yet
    TStorePage *page = FormMain->TabSheet2;
    QVERIFY(page->Fill());
    QCOMPARE(page->Under[0]->text(), QStringLiteral("30"));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("375"));
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("A1"));
    QCOMPARE(page->IconFile[0], QStringLiteral("Res/Silver+.ico"));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("共 1 类货品"));
}

void TestCardPages::stockFilters()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddProduct("男式皮鞋", "A1", 1, "P01");
    env.AddProduct("女式凉鞋", "B2", 1, "P02");
    env.AddProduct("O'Neil 跑鞋", "C3", 1, "X03");
    TStorePage *page = FormMain->TabSheet2;
    page->ComboBox7->setEditText("皮鞋");
    QVERIFY(page->FillStorePage());
    QCOMPARE(ShownCards(page), 1);
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("男式皮鞋"));
    // A quote is a character like any other.
    page->ComboBox7->setEditText("'");
    page->ProductSearch->click();
    QVERIFY(env.script.messages.isEmpty());
    QCOMPARE(ShownCards(page), 1);
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("O'Neil 跑鞋"));
    // Boxes combine with And.
    page->ComboBox7->setEditText("鞋");
    page->ComboBox6->setEditText("P0");
    page->ProductSearch->click();
    QCOMPARE(ShownCards(page), 2);
    // Opening a box's list empties what was typed and offers every value.
    page->ComboBox6DropDown();
    QCOMPARE(page->ComboBox6->currentText(), QString());
    QCOMPARE(page->ComboBox6->count(), 3);
    QCOMPARE(page->ComboBox6->itemText(0), QStringLiteral("P01"));
    page->ComboBox7->setEditText(QString());
    page->ProductSearch->click();
    QCOMPARE(ShownCards(page), 3);
}

void TestCardPages::accountFigures()
{
    TestEnv env;
    env.StartAsFinance();
    const int cash = env.AddAccount("现金");
    env.AddBill("财务收入单", "甲", QDate(2024, 2, 20), 1000, 1000, cash);
    env.AddBill("财务支出单", "甲", QDate(2024, 3, 10), -200, -200, cash);
    env.AddBill("出货单", "甲", QDate(2024, 3, 28), 90, 50, cash);   // later this month
    TAccountPage *page = FormMain->TabSheet3;
    QVERIFY(page->Fill());
    QCOMPARE(page->Value[0][0]->text(), QStringLiteral("现金"));
    QCOMPARE(page->Value[1][0]->text(), QStringLiteral("800 元"));
    QCOMPARE(page->Value[2][0]->text(), QStringLiteral("-150 元"));
    QCOMPARE(page->IconFile[0], QStringLiteral("Res/Yellow+.ico"));
    QCOMPARE(page->TotalLabel->text(), QStringLiteral("合计：800 元"));
}

void TestCardPages::highlight()
{
    TestEnv env;
    env.StartAsFinance();
    TCardPage *page = FormMain->TabSheet8;
    auto colour = [page](int i) { return page->Panel[i]->palette().color(QPalette::Window); };
    page->HighlightCard(3);
    page->HighlightCard(4);
    for (int i = 0; i < TCardPage::CardCount; ++i)
        QCOMPARE(colour(i), i == 4 ? QColor(166, 202, 240) : TCardPage::ButtonFaceColour());
    QMouseEvent move(QEvent::MouseMove, QPointF(600, 470), QPointF(600, 470), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(page, &move);
    QCOMPARE(colour(4), TCardPage::ButtonFaceColour());
}

void TestCardPages::cardQueriesUseIndexes()
{
    if (TestEnv::OnServer())
        QSKIP("the plans read here are the file engine's");
    // What a card asks must never walk the whole bill, line or receivables table.
    TestEnv env;
    const QString d = "'2024-03-15'";
    const QList<SqlText> queries = {
        "Select Sum(BillSum) As TotalMoney From Bill Where ((BillKind = '出货单') Or (BillKind = '进货单')) And (BillUser = 'a') And (BillCreateTime <= " + d + ")",
        "Select Sum(BillMoney) As TotalMoney From Account,Bill Where (AccountIndex > 1) And (AccountIndex = BillAccount) And (BillMoney > 0) And (BillUser = 'a') And (BillCreateTime <= " + d + ")",
        "Select Sum(SGSum) As TotalMoney From SG Where (SGCustomer = 'a') And (SGDate <= " + d + ")",
        "Select Sum(StoreNumber) As TotalCount From Store,Bill Where (StoreProduct = 5) And (StoreBill = BillIndex) And (BillCreateTime <= " + d + ")",
        "Select ROUND(Sum(BillMoney),2) As TotalMoney From Bill Where (BillAccount = 3) And (BillCreateTime <= " + d + ")",
        "Select ROUND(Sum(BillMoney),2) As TotalMoney From Bill Where (BillAccount = 3) And (BillCreateTime Between '2024-03-01' And '2024-03-31')",
        // The bill pages' lists and the line slots' lookups on every keystroke.
        "Select * From Bill Where (BillIndex > 1) And (BillKind = '进货单' Or BillKind = '出货单') And (BillCreateTime = " + d + ") Order By BillSum Desc",
        "Select * From Bill Where (BillIndex > 1) And (BillKind = '财务收入单' Or BillKind = '财务支出单') And (BillCreateTime Between '2024-03-01' And '2024-03-31') Order By BillMoney Desc",
        "Select * From Product Where ProductSerial = 'P1'",
        "Select * From Product Where (ProductName = 'a') And (ProductType = 'b')",
        "Select * From Price Where (PriceCustomer = 3) And (PriceProduct = 5)",
        "Select * From Customer Where CustomerName = 'a'",
        // The grouped figures of the customer and account pages and the customer window.
        TCustomerFigures::BillSql(Today, QDate(), nullptr),
        TCustomerFigures::BillSql(Today, QDate(2024, 3, 1), nullptr),
        TCustomerFigures::OtherSql(Today, QDate(), nullptr),
        TAccountFigures::AfterSql(Today),
        TAccountFigures::MonthSql(Today),
        TProductFigures::LinesSql(TProductFigures::AfterSql(Today), 0),
        TProductFigures::LinesSql(TProductFigures::AfterSql(Today), 5),
    };
    const QString one = QStringLiteral("张'三");
    const QList<SqlText> single = {TCustomerFigures::BillSql(Today, QDate(), &one), TCustomerFigures::OtherSql(Today, QDate(), &one)};
    for (const SqlText &sql : queries) {
        const QStringList plan = QueryPlan(sql);
        QVERIFY2(!plan.isEmpty(), qPrintable(sql.text));
        // A walk over a covering index reads no table row; a bare scan would.
        for (const QString &step : plan)
            QVERIFY2(!QRegularExpression("^SCAN (Bill|Store|SG|Product|Price|Customer)( USING INDEX|$)").match(step).hasMatch(),
                     qPrintable(sql.text + " -> " + plan.join(" | ")));
    }
    // One customer's figures look the customer up, never walk everybody's bills.
    for (const SqlText &sql : single) {
        const QStringList plan = QueryPlan(sql);
        QVERIFY2(plan.join(" | ").contains(QRegularExpression("SEARCH (Bill|SG) USING COVERING INDEX")),
                 qPrintable(sql.text + " -> " + plan.join(" | ")));
    }
}

void TestCardPages::groupedFiguresEqualPerCustomerSums()
{
    // The one grouped pass gives each customer exactly the sums of its own bills.
    TestEnv env;
    const int bank = env.AddAccount("银行");
    const int gone = env.AddAccount("已删帐户");
    // Quotes, Chinese and control characters in a name are only ever a value;
    // O''Brien is another customer than O'Brien.
    const QStringList odd = {"O'Brien", "O''Brien", "a\"b", "张'三\n李四", "制表\t符"};
    const QStringList names = QStringList{"甲", "张'三", "Group By鞋店", "无单据"} + odd;
    for (const QString &n : names)
        env.AddCustomer(n, "本地", 5);
    for (int i = 0; i < odd.size(); ++i) {
        env.AddBill("出货单", odd[i], Today, 11.11 * (i + 1));
        env.AddBill("财务收入单", odd[i], Today, 1.1, 1.1, bank);
        env.AddBill("出货单", odd[i], Today.addDays(1), 500);   // after the working date
        env.AddSG(odd[i], Today, 0.5);
    }
    env.AddBill("出货单", "甲", Today, 10.1, 3, bank);
    env.AddBill("出货单", "甲", Today, 20.2, 7, 1);                 // paid on the placeholder: not received
    env.AddBill("进货单", "甲", Today.addDays(-40), -30.3, -10, bank); // refund: paid out
    env.AddBill("出货单", "甲", Today.addDays(1), 1000, 1000, bank);  // after the working date
    env.AddBill("财务收入单", "张'三", Today, 0.1, 0.1, bank);
    env.AddBill("财务收入单", "张'三", Today, 0.2, 0.2, gone);
    env.AddBill("财务支出单", "张'三", Today, -0.3, -0.3, bank);
    env.AddBill("出货单", "张'三", Today, 99.999, 0, 1);
    env.AddBill("出货单", "Group By鞋店", QDate(2024, 3, 1), 5084.81);
    env.AddBill("出货单", "Group By鞋店", QDate(2024, 2, 29), 8528.61);
    env.AddSG("张'三", Today, 0.1);
    env.AddSG("张'三", Today.addDays(1), 50);
    env.AddSG("Group By鞋店", Today, 0.2);
    env.Exec("Delete From Account Where AccountIndex = " + QString::number(gone));

    // Each row's amount rounded to the fen, then added.
    auto sum = [&](QString sql, const QString &who) {
        sql.replace(QRegularExpression("Sum\\((\\w+)\\)"), "Sum(" + FenSql("\\1") + ")");
        return env.Scalar(sql, {who}).toLongLong() / 100.0;
    };
    for (const QDate &from : {QDate(), QDate(2024, 3, 1)}) {
        TCustomerFigures all;
        QVERIFY(all.Load(Today, from));
        const QString d = "'2024-03-15'";
        const QString after = from.isValid() ? " And (BillCreateTime >= '2024-03-01')" : QString();
        const QString sgAfter = from.isValid() ? " And (SGDate >= '2024-03-01')" : QString();
        for (const QString &n : names) {
            TCustomerFigures one;
            QVERIFY(one.LoadCustomer(n, Today, from));
            QVERIFY(one.Count() <= 1);
            for (const CustomerSums &s : {all.Of(n), one.Of(n)}) {
                const QString where = " And (BillUser = ?) And (BillCreateTime <= " + d + ")" + after;
                QCOMPARE(s.Goods(), (sum("Select Sum(BillSum) From Bill Where ((BillKind = '出货单') Or (BillKind = '进货单'))" + where, n)));
                QCOMPARE(s.Sales(), (sum("Select Sum(BillSum) From Bill Where (BillKind = '出货单')" + where, n)));
                QCOMPARE(s.Returns(), (-sum("Select Sum(BillSum) From Bill Where (BillKind = '进货单')" + where, n)));
                QCOMPARE(s.PaidNet(), (sum("Select Sum(BillMoney) From Account,Bill Where (AccountIndex > 1) And (AccountIndex = BillAccount)" + where, n)));
                QCOMPARE(s.Other(), (sum("Select Sum(SGSum) From SG Where (SGCustomer = ?) And (SGDate <= " + d + ")" + sgAfter, n)));
            }
        }
    }
    TCustomerFigures all;
    QVERIFY(all.Load(Today));
    QCOMPARE(all.Of("张'三").Debt(5), 105.3);      // 5 + 100 + 0.1 - (0.1 - 0.3)
    QCOMPARE(all.Of("甲").Debt(5), 12.0);          // 5 + 0 + 0 - (3 - 10): the refund paid out raises the debt
    QCOMPARE(all.Of("Group By鞋店").Goods(), 13613.42);
    QCOMPARE(all.Of("无单据").Debt(5), 5.0);
    QCOMPARE(all.Of("O'Brien").Debt(5), 15.51);    // 5 + 11.11 + 0.5 - 1.1
    QCOMPARE(all.Of("O''Brien").Debt(5), 26.62);   // 5 + 22.22 + 0.5 - 1.1
    QCOMPARE(all.Of("张'三\n李四").Goods(), 44.44);
}

void TestCardPages::olderDatabaseGetsTodaysIndexes()
{
    if (TestEnv::OnServer())
        QSKIP("an older database here is a file");
    TestEnv env;
    env.AddBill("出货单", "甲", Today, 10);
    env.Exec("Drop Index BillByUser");
    env.Exec("Create Index BillByUser On Bill (BillUser, BillCreateTime)");
    env.Exec("Drop Index SGByCustomer");
    ShareDataModule->Disconnect();
    auto columns = [&](const QString &index) {
        QSqlQuery q(ShareDataModule->Connection());
        q.exec("PRAGMA index_info(" + index + ")");
        QStringList list;
        while (q.next())
            list << q.value(2).toString();
        return list.join(',');
    };
    QCOMPARE(columns("BillByUser"), QStringLiteral("BillUser,BillCreateTime,BillKind,BillSum,BillAccount,BillMoney"));
    QCOMPARE(columns("SGByCustomer"), QStringLiteral("SGCustomer,SGDate,SGSum"));
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillUser = '甲'").toInt(), 1);
}

QTEST_MAIN(TestCardPages)
#include "tst_cardpages.moc"
