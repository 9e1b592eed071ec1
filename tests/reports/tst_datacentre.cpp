// The data centre: the search dialog, the result grid and its footer, opening
// a bill from the grid, and the bill lists of the customer and account windows.
#include "bills/BuySellForm.h"
#include "bills/GetPayForm.h"
#include "grid/FooterGrid.h"
#include "masterdata/AccountForm.h"
#include "masterdata/CustomerForm.h"
#include "figures/BillSearch.h"
#include "reports/DataCentrePage.h"
#include "reports/MakeReportForm.h"
#include "app/MainForm.h"
#include "core/NumberTexts.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {
TDataCentrePage *Page() { return FormMain->TabSheet4; }
TFormMakeReport *F() { return FormMakeReport; }

// One column of the grid, top to bottom, as shown.
QStringList Column(int column)
{
    QStringList texts;
    const TGridModel *m = Page()->DBGridEh1->Model();
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->Text(r, column);
    return texts;
}

QStringList Sums() { return Column(5); }

QString Footer()
{
    const TGridModel *m = Page()->DBGridEh1->Model();
    return m->FooterText(0) + QLatin1Char('|') + m->FooterText(5);
}

void PickKind(int kind)
{
    F()->ComboBox5->setCurrentIndex(kind);
    F()->ComboBox5Change();
}

void Choose(QComboBox *box, const QString &text) { box->setCurrentIndex(box->findText(text)); }

// Opens the search dialog from the page, fills it and presses 查找.
void Search(TestEnv &env, const std::function<void()> &fill)
{
    env.script.Then([fill](QDialog *) {
        fill();
        F()->BitBtn1->click();
    });
    Page()->MakeReport->click();
}

void DoubleClickRow(int row)
{
    FormMain->show();
    FormMain->PageControl1->setCurrentWidget(Page());
    QTableView *table = Page()->DBGridEh1->Table;
    const QPoint at = row < 0 ? QPoint(10, table->viewport()->height() - 5)
                              : table->visualRect(Page()->DBGridEh1->Model()->index(row, 1)).center();
    QTest::mouseClick(table->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(table->viewport(), Qt::LeftButton, {}, at);
}

int Bill(TestEnv &env, const QString &kind, const QString &user, const QDate &date, double sum, int account = 1,
         const QString &more = QString())
{
    const int id = env.AddBill(kind, user, date, sum, sum, account);
    if (!more.isEmpty())
        env.Exec("Update Bill Set " + more + " Where BillIndex = " + QString::number(id));
    return id;
}
} // namespace

class TestDataCentre : public QObject {
    Q_OBJECT
private slots:
    void dialogDefaults();
    void kindSwitchResizesAndEmpties();
    void searchConditions_data();
    void searchConditions();
    void apostrophesInEveryText_data();
    void apostrophesInEveryText();
    void refusedAmounts_data();
    void refusedAmounts();
    void footerAfterEmptySearch();
    void partOfANameFindsEveryCustomer();
    void refreshRerunsTheSearch();
    void manyBillsAreReadAsShown();
    void doubleClickOpensTheBill_data();
    void doubleClickOpensTheBill();
    void doubleClickOnEmptyGrid();
    void changeFromTheGridRefreshesIt();
    void customerAndAccountBillLists_data();
    void customerAndAccountBillLists();
    void searchesUseIndexes();
};

void TestDataCentre::dialogDefaults()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddAccount("现金");
    env.AddCustomer("甲");
    env.Exec("Delete From Parameter");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
    FormMain->DateTimePicker1->setDate(QDate(2024, 2, 10));
    env.script.Then([](QDialog *) {
        QCOMPARE(F()->height(), TFormMakeReport::ShortHeight);
        QCOMPARE(F()->DateTimePicker1->date(), QDate(2024, 2, 1));
        QCOMPARE(F()->DateTimePicker2->date(), QDate(2024, 2, 29));
        QCOMPARE(F()->ComboBox5->currentText(), QStringLiteral("所有"));
        QCOMPARE(F()->ComboBox5->count(), 5);
        const QList<QPair<QComboBox *, QString>> lists = {
            {F()->ComboBox1, "现金"}, {F()->ComboBox2, "货款"}, {F()->ComboBox3, "现金"}, {F()->ComboBox4, "收据"}, {F()->ComboBox6, "甲"}};
        for (const auto &[box, item] : lists) {
            QCOMPARE(box->currentText(), QStringLiteral("所有"));
            QCOMPARE(box->count(), 2);
            QCOMPARE(box->itemText(1), item);
        }
        QVERIFY(!F()->Edit2->isEnabled() && !F()->Edit4->isEnabled());
        QVERIFY(F()->Edit2->styleSheet().contains("#c0c0c0"));
        F()->BitBtn2->click();
    });
    Page()->MakeReport->click();
    QCOMPARE(env.script.modals, QStringList{"FormMakeReport"});
    QVERIFY(Page()->ReportSql.text.isEmpty());
}

void TestDataCentre::kindSwitchResizesAndEmpties()
{
    TestEnv env;
    env.StartAsFinance();
    env.script.Then([](QDialog *) {
        const QPoint start = F()->pos();
        PickKind(1);
        QCOMPARE(F()->height(), TFormMakeReport::TallHeight);
        QCOMPARE(F()->pos(), start - QPoint(0, 40));
        QVERIFY(F()->Edit2->isEnabled() && F()->Edit4->isEnabled());
        PickKind(2);   // from goods to goods: no second move
        QCOMPARE(F()->pos(), start - QPoint(0, 40));
        F()->Edit2->setText("5");
        for (QLineEdit *e : {F()->Edit7, F()->Edit8, F()->Edit9, F()->Edit10})
            e->setText("鞋");
        PickKind(3);
        QCOMPARE(F()->height(), TFormMakeReport::ShortHeight);
        QCOMPARE(F()->pos(), start);
        for (QLineEdit *e : {F()->Edit7, F()->Edit8, F()->Edit9, F()->Edit10})
            QVERIFY(e->text().isEmpty());
        QCOMPARE(F()->Edit2->text(), QStringLiteral("5"));
        PickKind(0);
        QVERIFY(F()->Edit2->text().isEmpty() && !F()->Edit2->isEnabled());
        F()->BitBtn2->click();
    });
    Page()->MakeReport->click();
}

void TestDataCentre::searchConditions_data()
{
    // Bills: sales 100, 499, 500, 600; purchase -100, -101, -499, -500; income 300; expense -300.
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("lower");
    QTest::addColumn<QString>("upper");
    QTest::addColumn<QString>("product");
    QTest::addColumn<QStringList>("sums");
    QTest::newRow("purchase 100 to 500 strictly") << 2 << "100" << "500" << "" << QStringList{"-101", "-499"};
    QTest::newRow("sales below 500 only") << 1 << "" << "500" << "" << QStringList{"100", "499"};
    QTest::newRow("sales above 100, point typed") << 1 << "100." << "" << "" << QStringList{"499", "500", "600"};
    QTest::newRow("expense above 299.5") << 4 << "299.5" << "" << "" << QStringList{"-300"};
    QTest::newRow("所有 ignores the amounts") << 0 << "100" << "200" << ""
                                            << QStringList{"100", "499", "500", "600", "-100", "-101", "-499", "-500", "300", "-300"};
    // Bill 499 has two lines of 运动鞋, bill 600 one: 499 is listed twice.
    QTest::newRow("a line per matching product") << 1 << "" << "" << "运动" << QStringList{"499", "499", "600"};
}

void TestDataCentre::searchConditions()
{
    QFETCH(int, kind);
    QFETCH(QString, lower);
    QFETCH(QString, upper);
    QFETCH(QString, product);
    QFETCH(QStringList, sums);
    TestEnv env;
    env.StartAsFinance();
    // One bill a day, so the list's date order is the order below.
    const QList<QPair<QString, double>> bills = {{"出货单", 100}, {"出货单", 499}, {"出货单", 500}, {"出货单", 600},
                                                 {"进货单", -100}, {"进货单", -101}, {"进货单", -499}, {"进货单", -500},
                                                 {"财务收入单", 300}, {"财务支出单", -300}};
    QMap<double, int> ids;
    for (int i = 0; i < bills.size(); ++i)
        ids[bills[i].second] = Bill(env, bills[i].first, "甲", QDate(2024, 3, 10 + i), bills[i].second);
    Bill(env, "出货单", "甲", QDate(2024, 4, 1), 250);   // next month: never found
    const int shoe = env.AddProduct("运动鞋"), boot = env.AddProduct("皮靴");
    env.AddLine(ids[499], shoe, -1);
    env.AddLine(ids[499], shoe, -2);
    env.AddLine(ids[499], boot, -2);
    env.AddLine(ids[600], shoe, -1);
    env.AddLine(ids[100], boot, -1);

    Search(env, [&] {
        PickKind(1);
        F()->Edit2->setText(lower);
        F()->Edit4->setText(upper);
        PickKind(kind);
        F()->Edit9->setText(product);
    });
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(Sums(), sums);
    double total = 0;
    for (const QString &s : sums)
        total += s.toDouble();
    QCOMPARE(Footer(), QStringLiteral("共%1条|%2").arg(sums.size()).arg(NumberText(total)));
    QCOMPARE(FormMain->PageControl1->currentWidget(), Page());
    QCOMPARE(Page()->ReportSql.text.count("BillSum"), 1 + (kind ? (!lower.isEmpty()) + (!upper.isEmpty()) : 0));
}

void TestDataCentre::apostrophesInEveryText_data()
{
    QTest::addColumn<QString>("input");
    QTest::addColumn<QString>("v");
    const QString apostrophes = "O'Bri'en";
    QTest::newRow("customer") << "ComboBox6" << apostrophes;
    QTest::newRow("remark") << "Edit3" << apostrophes;
    QTest::newRow("bill number") << "Edit5" << apostrophes;
    QTest::newRow("salesman") << "Edit6" << apostrophes;
    QTest::newRow("account") << "ComboBox1" << apostrophes;
    QTest::newRow("item") << "ComboBox2" << apostrophes;
    QTest::newRow("category") << "ComboBox3" << apostrophes;
    QTest::newRow("voucher") << "ComboBox4" << apostrophes;
    QTest::newRow("product number") << "Edit7" << apostrophes;
    QTest::newRow("product name") << "Edit9" << apostrophes;
    QTest::newRow("product model") << "Edit10" << apostrophes;
    // Chinese, double quotes and control characters are only values too.
    for (const auto &[input, what] : {std::pair{"ComboBox6", "customer"}, std::pair{"Edit3", "remark"}}) {
        QTest::addRow("%s 张'三", what) << input << "张'三";
        QTest::addRow("%s a\"b", what) << input << "a\"b";
        QTest::addRow("%s with a new line", what) << input << "王五\n分店";
        QTest::addRow("%s with a tab", what) << input << "鞋\t店";
    }
}

void TestDataCentre::apostrophesInEveryText()
{
    QFETCH(QString, input);
    QFETCH(QString, v);
    TestEnv env;
    env.StartAsFinance();
    const int account = env.AddAccount(v);
    env.AddAccount("现金");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, ?), (2, ?), (3, ?)", {v, v, v});
    const QDate d(2024, 3, 5);
    const int wanted = Bill(env, "出货单", v, d, 80, account);
    env.Exec("Update Bill Set BillRemark = ?, BillSerial = ?, BillMan = ?, BillReason = ?, BillType = ?, BillToken = ? "
             "Where BillIndex = ?",
             {"x" + v, "XS" + v, v, v, v, v, wanted});
    Bill(env, "出货单", "张三", d, 70);
    const int product = env.AddProduct(v, v, 0, v);
    env.AddLine(wanted, product, -1);
    env.AddLine(Bill(env, "出货单", "李四", d, 60), env.AddProduct("鞋", "M", 0, "P1"), -1);

    Search(env, [&] {
        if (input.startsWith("Edit7") || input.startsWith("Edit9") || input.startsWith("Edit10"))
            PickKind(1);
        QObject *w = F()->findChild<QObject *>(input);
        if (auto *e = qobject_cast<QLineEdit *>(w))
            e->setText(v);
        else if (auto *box = qobject_cast<QComboBox *>(w); box && box->isEditable())
            box->setEditText(v);
        else
            Choose(qobject_cast<QComboBox *>(w), v);
    });
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(Sums(), QStringList{"80"});
}

void TestDataCentre::refusedAmounts_data()
{
    QTest::addColumn<QString>("edit");
    QTest::addColumn<QString>("amount");
    QTest::newRow("two points") << "Edit2" << "1..2";
    QTest::newRow("a lone point") << "Edit2" << ".";
    QTest::newRow("three parts") << "Edit4" << "1.2.3";
    QTest::newRow("a sign") << "Edit4" << "-5";
    QTest::newRow("letters") << "Edit2" << "5元";
    QTest::newRow("upper checked after a good lower") << "Edit4" << "..";
    QTest::newRow("beyond 15 digits") << "Edit2" << "1234567890123456";
}

void TestDataCentre::refusedAmounts()
{
    QFETCH(QString, edit);
    QFETCH(QString, amount);
    TestEnv env;
    env.StartAsFinance();
    QString focused;
    env.script.Then([&](QDialog *) {
        F()->show();   // focus needs a window that is shown
        PickKind(1);
        F()->Edit2->setText("1");
        F()->findChild<QLineEdit *>(edit)->setText(amount);
        F()->BitBtn1->click();
        QApplication::processEvents();
        focused = QApplication::focusWidget() ? QApplication::focusWidget()->objectName() : QString();
        F()->BitBtn2->click();
    });
    Page()->MakeReport->click();
    QCOMPARE(env.script.messages, QStringList{"金额格式有误，请重新输入"});
    QCOMPARE(focused, edit);
    QVERIFY(Page()->ReportSql.text.isEmpty());
    QCOMPARE(FormMain->PageControl1->currentIndex(), 0);
}

void TestDataCentre::footerAfterEmptySearch()
{
    TestEnv env;
    env.StartAsFinance();
    Bill(env, "出货单", "甲", QDate(2024, 3, 1), 12.5);
    Bill(env, "出货单", "甲", QDate(2024, 3, 2), 0.1);
    Bill(env, "出货单", "甲", QDate(2024, 3, 3), 0.2);
    Search(env, [] {});
    QCOMPARE(Footer(), QStringLiteral("共3条|12.8"));   // 12.5 + 0.1 + 0.2 rounded to the fen
    Search(env, [] { F()->Edit3->setText("没有这样的备注"); });
    QCOMPARE(Page()->DBGridEh1->RowCount(), 0);
    QCOMPARE(Footer(), QStringLiteral("共0条|0"));
    Search(env, [] {});
    Page()->FillReportGrid("Select Nothing From Nowhere");   // a search that cannot run
    QCOMPARE(env.script.WhatFailed(), QStringList{"数据库打开失败"});
    QCOMPARE(Page()->DBGridEh1->RowCount(), 0);
    QCOMPARE(Footer(), QStringLiteral("共0条|0"));
}

void TestDataCentre::partOfANameFindsEveryCustomer()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("温州一店");
    env.AddCustomer("温州二店");
    Bill(env, "出货单", "温州一店", QDate(2024, 3, 1), 10);
    Bill(env, "出货单", "温州二店", QDate(2024, 3, 2), 20);
    Bill(env, "出货单", "杭州店", QDate(2024, 3, 3), 40);
    Search(env, [] {
        F()->show();
        QVERIFY(QTest::qWaitForWindowActive(F()));
        F()->ComboBox6->setFocus();
        F()->ComboBox6->lineEdit()->selectAll();
        TypeText(QApplication::focusWidget(), "温州");
        QCOMPARE(F()->ComboBox6->currentText(), QStringLiteral("温州"));   // kept as typed, not completed
        F()->hide();
    });
    QCOMPARE(Footer(), QStringLiteral("共2条|30"));
}

void TestDataCentre::refreshRerunsTheSearch()
{
    TestEnv env;
    env.StartAsFinance();
    FormMain->RefreshAllPages();   // nothing searched yet: nothing run
    QCOMPARE(Page()->ReportADOQuery.Active(), false);
    Bill(env, "出货单", "甲", QDate(2024, 3, 1), 10);
    Search(env, [] {});
    QCOMPARE(Footer(), QStringLiteral("共1条|10"));
    Bill(env, "进货单", "乙", QDate(2024, 3, 20), -4);
    FormMain->BitBtn2Click();   // a day on: the general refresh
    QCOMPARE(Sums(), (QStringList{"10", "-4"}));
    QCOMPARE(Footer(), QStringLiteral("共2条|6"));
}

void TestDataCentre::manyBillsAreReadAsShown()
{
    TestEnv env;
    env.StartAsFinance();
    // 700 bills on 350 days, two a day, of half a fen each as an earlier version could store them; one of 9.99.
    ShareDataModule->RunInTransaction("x", [&env] {
        for (int k = 1; k <= 700; ++k)
            env.AddBill("出货单", QStringLiteral("客户%1").arg(k), QDate(2024, 1, 1).addDays((k - 1) / 2), k == 500 ? 9.99 : 0.005, 0);
        return true;
    });
    const auto wholeSpan = [] {
        F()->DateTimePicker1->setDate(QDate(2023, 1, 1));
        F()->DateTimePicker2->setDate(QDate(2025, 12, 31));
    };
    Search(env, wholeSpan);
    const TGridModel *model = Page()->DBGridEh1->Model();
    QCOMPARE(model->rowCount(), 700);
    // Each amount to the fen, then added: 699 × 0.01 + 9.99.
    QCOMPARE(Footer(), QStringLiteral("共700条|16.98"));

    // Far rows first, then every row: the same rows in the same order as the books hold them.
    QSqlQuery q(ShareDataModule->Connection());
    q.exec("Select BillUser From Bill Where BillIndex > 1 Order By BillCreateTime, BillIndex");
    QStringList stored;
    while (q.next())
        stored << q.value(0).toString();
    QCOMPARE(model->Text(650, 4), stored[650]);
    QCOMPARE(model->Text(3, 4), stored[3]);
    QCOMPARE(Column(4), stored);

    // A refresh keeps the bill the cursor was on, a page further down, when a bill comes before it.
    Search(env, wholeSpan);
    Page()->DBGridEh1->SetCurrentRow(600);
    const QVariant bill = model->Value(600, "BillIndex");
    Bill(env, "出货单", "新客户", QDate(2023, 12, 1), 1);
    FormMain->RefreshAllPages();
    QCOMPARE(Page()->DBGridEh1->CurrentRow(), 601);
    QCOMPARE(model->Value(601, "BillIndex"), bill);
    QCOMPARE(Footer(), QStringLiteral("共701条|17.98"));

    // Sorting by the amount sorts every row, not only the ones read.
    Page()->DBGridEh1->SortByColumn(5);
    Page()->DBGridEh1->SortByColumn(5);   // the second click sorts downwards
    QCOMPARE(model->Text(0, 5), QStringLiteral("9.99"));
    QCOMPARE(model->Text(1, 5), QStringLiteral("1"));
}

void TestDataCentre::doubleClickOpensTheBill_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("window");
    QTest::addColumn<int>("mode");
    QTest::newRow("sales") << "出货单" << "FormBuySell" << 1;
    QTest::newRow("purchase") << "进货单" << "FormBuySell" << 3;
    QTest::newRow("income") << "财务收入单" << "FormGetPay" << 1;
    QTest::newRow("expense") << "财务支出单" << "FormGetPay" << 3;
}

void TestDataCentre::doubleClickOpensTheBill()
{
    QFETCH(QString, kind);
    QFETCH(QString, window);
    QFETCH(int, mode);
    TestEnv env;
    env.StartAsFinance();
    const int account = env.AddAccount("现金");
    Bill(env, "出货单", "甲", QDate(2024, 3, 1), 5, account);
    const int id = Bill(env, kind, "乙", QDate(2024, 3, 2), kind.contains("进") || kind.contains("支") ? -7 : 7, account);
    Search(env, [] {});
    int shownMode = -1, shownIndex = -1;
    env.script.Then([&](QDialog *d) {
        shownMode = window == "FormBuySell" ? FormBuySell->FBillMode : FormGetPay->FBillMode;
        shownIndex = window == "FormBuySell" ? FormBuySell->FBillIndex : FormGetPay->FBillIndex;
        QVERIFY(window == "FormBuySell" ? !FormBuySell->FCustomerLocked : !FormGetPay->FCustomerLocked);
        d->reject();
    });
    env.script.modals.clear();
    DoubleClickRow(1);
    QCOMPARE(env.script.modals, QStringList{window});
    QCOMPARE(shownMode, mode);
    QCOMPARE(shownIndex, id);
    QCOMPARE(env.script.messages, QStringList());
}

void TestDataCentre::doubleClickOnEmptyGrid()
{
    TestEnv env;
    env.StartAsFinance();
    DoubleClickRow(-1);   // nothing searched yet
    Search(env, [] {});   // a search without rows
    DoubleClickRow(-1);
    QCOMPARE(env.script.messages, (QStringList{"请先选中需要查看的记录", "请先选中需要查看的记录"}));
    QCOMPARE(env.script.modals, QStringList{"FormMakeReport"});
}

void TestDataCentre::changeFromTheGridRefreshesIt()
{
    TestEnv env;
    env.StartAsFinance();
    const int account = env.AddAccount("现金");
    env.AddCustomer("甲");
    env.AddCustomer("乙");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, 'a'), (2, 'b'), (3, 'c')");
    const int goods = Bill(env, "出货单", "甲", QDate(2024, 3, 1), 5, account);
    Bill(env, "财务收入单", "乙", QDate(2024, 3, 2), 7, account, "BillReason = 'a', BillType = 'b', BillToken = 'c'");
    Search(env, [] {});
    Page()->DBGridEh1->SortByColumn(5);   // the user's sort survives the refresh
    Page()->DBGridEh1->SortByColumn(5);
    QCOMPARE(Sums(), (QStringList{"7", "5"}));

    // A finance bill changed in its editor: the editor refreshes the main window.
    env.script.Then([&](QDialog *) {
        FormGetPay->Edit2->setText("70");
        env.GivePassword();
        FormGetPay->BitBtn1->click();
    });
    DoubleClickRow(0);
    QCOMPARE(env.script.messages, QStringList{"记录修改成功"});
    QCOMPARE(Sums(), (QStringList{"70", "5"}));
    QCOMPARE(Footer(), QStringLiteral("共2条|75"));

    // A goods bill opened for a change (password accepted): refreshed after it closes.
    const int before = FormMain->RefreshCount;
    env.script.Then([&](QDialog *d) {
        env.GivePassword();
        FormBuySell->ActionEdit->trigger();
        env.Exec("Update Bill Set BillSum = 50 Where BillIndex = " + QString::number(goods));
        d->reject();
    });
    DoubleClickRow(1);
    QCOMPARE(FormMain->RefreshCount, before + 1);
    QCOMPARE(Sums(), (QStringList{"70", "50"}));
    QCOMPARE(Page()->DBGridEh1->CurrentRow(), 1);   // still on the bill that was open
}

void TestDataCentre::customerAndAccountBillLists_data()
{
    QTest::addColumn<bool>("account");
    QTest::addColumn<QString>("action");
    QTest::addColumn<QStringList>("sums");
    QTest::addColumn<QString>("name");
    // Working date 2024-3-15. Bills of the customer and account: 1 (2023-12-31), 2 (2024-1-1),
    // 3 (2024-3-1), 4 (2024-3-31), 5 (2024-4-1); another's bill 9 on 2024-3-2.
    const QString name = "O'Neil 张";
    QTest::newRow("customer month") << false << "ActionMonth" << QStringList{"3", "4"} << name;
    QTest::newRow("customer year") << false << "ActionYear" << QStringList{"2", "3", "4", "5"} << name;
    QTest::newRow("customer all") << false << "ActionAll" << QStringList{"1", "2", "3", "4", "5"} << name;
    QTest::newRow("account month") << true << "ActionMonth" << QStringList{"3", "4"} << name;
    QTest::newRow("account year") << true << "ActionYear" << QStringList{"2", "3", "4", "5"} << name;
    QTest::newRow("account all") << true << "ActionAll" << QStringList{"1", "2", "3", "4", "5"} << name;
    QTest::newRow("customer O'Brien") << false << "ActionMonth" << QStringList{"3", "4"} << "O'Brien";
    QTest::newRow("customer 张'三") << false << "ActionYear" << QStringList{"2", "3", "4", "5"} << "张'三";
    QTest::newRow("customer a\"b") << false << "ActionAll" << QStringList{"1", "2", "3", "4", "5"} << "a\"b";
    QTest::newRow("customer with a new line") << false << "ActionMonth" << QStringList{"3", "4"} << "王五\n分店";
}

void TestDataCentre::customerAndAccountBillLists()
{
    QFETCH(bool, account);
    QFETCH(QString, action);
    QFETCH(QStringList, sums);
    QFETCH(QString, name);
    TestEnv env;
    env.StartAsFinance();
    const int customer = env.AddCustomer(name);
    const int bank = env.AddAccount(name), cash = env.AddAccount("现金");
    const QList<QDate> dates = {{2023, 12, 31}, {2024, 1, 1}, {2024, 3, 1}, {2024, 3, 31}, {2024, 4, 1}};
    for (int i = 0; i < dates.size(); ++i)
        Bill(env, "出货单", account ? "别人" : name, dates[i], i + 1, account ? bank : cash);
    Bill(env, "出货单", account ? name : "别人", QDate(2024, 3, 2), 9, account ? cash : bank);
    int result = -1;
    env.script.Then([&](QDialog *d) {
        d->findChild<QAction *>(action)->trigger();
        result = d->result();
    });
    if (account) {
        FormAccount->FAccountName = name;
        Dialogs::ShowModal(FormAccount);
    } else {
        FormCustomer->FCustomerIndex = customer;
        Dialogs::ShowModal(FormCustomer);
    }
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(result, int(QDialog::Rejected));
    QCOMPARE(FormMain->PageControl1->currentWidget(), Page());
    QCOMPARE(Sums(), sums);
}

void TestDataCentre::searchesUseIndexes()
{
    // Dates, kind, account and the customer lists are served by indexes; the
    // unbounded search reads the date index alone.
    if (TestEnv::OnServer())
        QSKIP("the plans read here are the file engine's");
    TestEnv env;
    TBillSearch all;
    all.from = QDate(2015, 1, 1);
    all.to = QDate(2024, 12, 31);
    TBillSearch kind = all;
    kind.kind = 2;
    kind.lowerAmount = "100";
    TBillSearch account = all;
    account.account = "现金";
    const QList<QPair<SqlText, QString>> queries = {
        {all.Sql(), "COVERING INDEX BillByDate"},
        {kind.Sql(), "INDEX BillBy"},
        {account.Sql(), "INDEX BillByAccount"},
        {TBillSearch::CustomerBills("甲", TBillSearch::Month, QDate(2024, 3, 15)), "INDEX BillByUser"},
        {TBillSearch::AccountBills(3, TBillSearch::AllTime, QDate(2024, 3, 15)), "INDEX BillByAccount"},
    };
    for (const auto &[sql, wanted] : queries) {
        const QString text = QueryPlan(sql).join(" | ");
        QVERIFY2(text.contains(wanted), qPrintable(sql.text + " -> " + text));
        QVERIFY2(!QRegularExpression("SCAN (Bill|Account)\\b").match(text).hasMatch(), qPrintable(sql.text + " -> " + text));
    }
}

QTEST_MAIN(TestDataCentre)
#include "tst_datacentre.moc"
