// Stock per size: what each size 35# to 44# of a product has left as of a date.
#include "bills/BillForm.h"
#include "bills/BuySellForm.h"
#include "bills/LineGrid.h"
#include "cards/BillPage.h"
#include "cards/StorePage.h"
#include "reportengine/Report.h"
#include "masterdata/ProductForm.h"
#include "masterdata/SizeStockRow.h"
#include "figures/ProductFigures.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

namespace {
const QDate Today(2024, 3, 15);

// A line with sizes given as {size index 0..9, text}; StoreNumber signed by the caller.
void Line(TestEnv &env, int bill, int product, int number, const QList<QPair<int, QString>> &sizes)
{
    QStringList texts(10);
    for (const auto &[k, text] : sizes)
        texts[k] = text;
    QVariantList values{bill, product, number};
    for (const QString &t : texts)
        values << t;
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StoreNum1, StoreNum2, StoreNum3, StoreNum4, StoreNum5, "
             "StoreNum6, StoreNum7, StoreNum8, StoreNum9, StoreNum10) Values (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)",
             values);
}

QList<int> Sizes(const SizeStock &s) { return QList<int>(std::begin(s.size), std::end(s.size)); }
} // namespace

class TestSizeStock : public QObject {
    Q_OBJECT
private slots:
    void perSizeAsOfTheWorkingDate();
    void oddSizeTextsCountZeroAndFlag();
    void productWindowShowsEachSize();
    void saleBeyondASizeIsTinted();
    void sizeHints_data();
    void sizeHints();
    void listFollowsTheStockPageFilter();
};

void TestSizeStock::perSizeAsOfTheWorkingDate()
{
    TestEnv env;
    env.StartAsFinance();
    const int shoe = env.AddProduct("皮鞋", "M-801", 10, "P1");
    const int other = env.AddProduct("凉鞋", "B2", 10, "P2");
    Line(env, env.AddBill("进货单", "供应商", Today.addDays(-9), -100), shoe, 10, {{3, "5"}, {4, "5"}});      // bought
    Line(env, env.AddBill("出货单", "甲", Today.addDays(-5), 30), shoe, -3, {{3, "2"}, {9, "1"}});            // sold, 44# unbooked
    Line(env, env.AddBill("进货单", "甲", Today.addDays(-4), -10), shoe, 1, {{3, "1"}});                      // customer's return
    Line(env, env.AddBill("出货单", "供应商", Today.addDays(-3), 20), shoe, -2, {{4, "2"}});                  // back to supplier
    Line(env, env.AddBill("出货单", "甲", Today.addDays(1), 10), shoe, -1, {{0, "1"}});                       // tomorrow
    Line(env, env.AddBill("进货单", "供应商", Today, -10), other, 4, {{0, "4"}});
    Line(env, env.AddBill("进货单", "供应商", Today, -10), 1, 6, {{1, "6"}});                                // a deleted product's line
    TProductFigures figures;
    QVERIFY(figures.LoadSizes(Today));
    const SizeStock s = figures.SizesOf(shoe);
    QCOMPARE(Sizes(s), (QList<int>{0, 0, 0, 4, 3, 0, 0, 0, 0, -1}));
    QCOMPARE(s.total, 6);
    QVERIFY(s.AddsUp());
    QVERIFY(!s.flagged);
    QCOMPARE(Sizes(figures.SizesOf(other)), (QList<int>{4, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    QCOMPARE(Sizes(figures.SizesOf(1)), (QList<int>{0, 6, 0, 0, 0, 0, 0, 0, 0, 0}));
    // One product alone gives the same, and the sizes add up to its stock card.
    TProductFigures one;
    QVERIFY(one.LoadSizes(Today, shoe));
    QCOMPARE(Sizes(one.SizesOf(shoe)), Sizes(s));
    QCOMPARE(one.SizesOf(other).total, 0);
    QVERIFY(FormMain->TabSheet2->Fill());
    QCOMPARE(FormMain->TabSheet2->Under[1]->text(), QString::number(s.total));   // sorted by name: 皮鞋 after 凉鞋
}

void TestSizeStock::oddSizeTextsCountZeroAndFlag()
{
    TestEnv env;
    const int shoe = env.AddProduct("皮鞋", "M-801", 10, "P1");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), shoe, 7, {{0, "3.5"}, {1, "x"}, {2, "4"}, {3, "-3"}});
    const int fine = env.AddProduct("凉鞋", "B2", 10, "P2");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), fine, 3, {{0, "003"}});
    TProductFigures figures;
    QVERIFY(figures.LoadSizes(Today));
    QCOMPARE(Sizes(figures.SizesOf(shoe)), (QList<int>{0, 0, 4, 0, 0, 0, 0, 0, 0, 0}));
    QVERIFY(figures.SizesOf(shoe).flagged);
    QVERIFY(!figures.SizesOf(shoe).AddsUp());
    QCOMPARE(figures.SizesOf(fine).size[0], 3);
    QVERIFY(!figures.SizesOf(fine).flagged);
}

void TestSizeStock::productWindowShowsEachSize()
{
    TestEnv env;
    env.StartAsFinance();
    const int shoe = env.AddProduct("皮鞋", "M-801", 10, "P1");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), shoe, 5, {{3, "5"}});
    Line(env, env.AddBill("出货单", "甲", Today, 10), shoe, -2, {{4, "2"}});
    QStringList shown;
    env.script.Then([&](QDialog *) {
        for (QLabel *l : FormProduct->SizeRow->Size)
            shown << l->text();
        shown << FormProduct->SizeRow->Total->text();
        QVERIFY(FormProduct->SizeRow->Size[4]->styleSheet().contains("#d01010"));   // negative: red
        QVERIFY(FormProduct->SizeRow->Size[0]->styleSheet().contains("#a0a0a0"));   // zero: grey
        FormProduct->BitBtn2->click();
    });
    QVERIFY(FormMain->TabSheet2->Fill());
    FormMain->TabSheet2->OpenStoreCard(0);
    QCOMPARE(shown, (QStringList{"0", "0", "0", "5", "-2", "0", "0", "0", "0", "0", "3"}));
}

void TestSizeStock::saleBeyondASizeIsTinted()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("甲");
    const int shoe = env.AddProduct("皮鞋", "M-801", 10, "P1");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), shoe, 4, {{3, "4"}});
    for (bool sales : {true, false}) {
        QString tip, within, beyond;
        env.script.Then([sales](QDialog *) { (sales ? FormBill->SpeedButton1 : FormBill->SpeedButton2)->click(); });
        env.script.Then([&](QDialog *) {
            QLineEdit *size38 = FormBuySell->Lines->Cell(0, 7);
            FormBuySell->Lines->Cell(0, 1)->setText("P1");
            size38->setText("4");
            within = size38->styleSheet();
            tip = size38->toolTip();
            size38->setText("5");
            beyond = size38->styleSheet();
            FormBuySell->ComboBox5->setEditText("甲");
            FormBuySell->BitBtn1->click();   // nothing is refused
        });
        FormMain->TabSheet1->NewButton->click();
        QCOMPARE(tip, sales ? QStringLiteral("38#库存：4") : QString());
        QVERIFY(within.isEmpty());
        QCOMPARE(beyond.contains("#ffd9a0"), sales);
    }
    QCOMPARE(env.Scalar("Select count(*) From Bill Where BillIndex > 1").toInt(), 3);
}

void TestSizeStock::sizeHints_data()
{
    // P1 has 4 of 38# and -1 of 44#, P2 has 10 of 38#.
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("size38");
    QTest::addColumn<QString>("changedTo");   // the line's product typed again afterwards
    QTest::addColumn<QString>("tip38");
    QTest::addColumn<bool>("tinted38");
    QTest::addColumn<QString>("tip44");
    QTest::newRow("within") << "P1" << "4" << "" << "38#库存：4" << false << "44#库存：-1";
    QTest::newRow("beyond") << "P1" << "5" << "" << "38#库存：4，本单数量超过库存" << true << "44#库存：-1";
    QTest::newRow("zero asks for nothing") << "P1" << "0" << "" << "38#库存：4" << false << "44#库存：-1";
    QTest::newRow("product changed under typed sizes") << "P2" << "5" << "P1" << "38#库存：4，本单数量超过库存" << true
                                                       << "44#库存：-1";
    QTest::newRow("changed to one with enough") << "P1" << "5" << "P2" << "38#库存：10" << false << "44#库存：0";
}

void TestSizeStock::sizeHints()
{
    QFETCH(QString, product);
    QFETCH(QString, size38);
    QFETCH(QString, changedTo);
    QFETCH(QString, tip38);
    QFETCH(bool, tinted38);
    QFETCH(QString, tip44);
    TestEnv env;
    env.StartAsFinance();
    const int p1 = env.AddProduct("皮鞋", "M-801", 10, "P1");
    const int p2 = env.AddProduct("凉鞋", "B2", 10, "P2");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), p1, 4, {{3, "4"}});
    Line(env, env.AddBill("出货单", "甲", Today, 10), p1, -1, {{9, "1"}});
    Line(env, env.AddBill("进货单", "供应商", Today, -100), p2, 10, {{3, "10"}});
    QStringList seen;
    env.script.Then([](QDialog *) { FormBill->SpeedButton1->click(); });
    env.script.Then([&](QDialog *) {
        TLineGrid *lines = FormBuySell->Lines;
        lines->Cell(0, 1)->setText(product);
        lines->Cell(0, 7)->setText(size38);
        if (!changedTo.isEmpty())
            lines->Cell(0, 1)->setText(changedTo);
        QLineEdit *cell38 = lines->Cell(0, 7), *cell44 = lines->Cell(0, 13);
        seen << cell38->toolTip() << (cell38->styleSheet().contains("#ffd9a0") ? "amber" : "plain")
             << cell44->toolTip() << (cell44->styleSheet().isEmpty() ? "plain" : "tinted");
        FormBuySell->BitBtn2->click();
    });
    FormMain->TabSheet1->NewButton->click();
    QCOMPARE(seen, (QStringList{tip38, tinted38 ? "amber" : "plain", tip44, "plain"}));
}

void TestSizeStock::listFollowsTheStockPageFilter()
{
    TestEnv env;
    env.InstallTemplates();
    env.StartAsFinance();
    const int shoe = env.AddProduct("男式皮鞋", "M-801", 10, "P1");
    env.AddProduct("女式凉鞋", "B2", 10, "P2");
    const int odd = env.AddProduct("男式布鞋", "C3", 10, "P3");
    Line(env, env.AddBill("进货单", "供应商", Today, -100), shoe, 5, {{3, "5"}});
    Line(env, env.AddBill("进货单", "供应商", Today, -100), odd, 2, {{3, "x"}});
    FormMain->TabSheet2->ComboBox7->setEditText("男式");
    QStringList texts;
    env.script.Then([&](QDialog *) { texts = FormMain->frReport1->PageTexts(0); });
    FormMain->TabSheet2->SizeStockButton->click();
    QVERIFY2(env.script.messages.isEmpty(), qPrintable(env.script.messages.join('|')));
    const QString page = texts.join('|');
    QVERIFY(page.contains("截至 2024-3-15，共 2 类货品"));
    QVERIFY(page.contains("男式皮鞋|M-801|0|0|0|5|0|0|0|0|0|0|5"));
    QVERIFY(page.contains("男式布鞋（尺码有误）"));
    QVERIFY(!page.contains("女式凉鞋"));
}

QTEST_MAIN(TestSizeStock)
#include "tst_sizestock.moc"
