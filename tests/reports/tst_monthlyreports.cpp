// The four monthly reports: the lines they write into the report row table.
#include "reports/MonthlyReports.h"
#include "reports/ReportRows.h"
#include "cards/AccountPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "figures/CustomerFigures.h"
#include "masterdata/CustomerForm.h"
#include "reportengine/Report.h"
#include "app/MainForm.h"
#include "ui/ProgressForm.h"
#include "core/NumberTexts.h"
#include "db/ShareDM.h"
#include "stores/GoodsBillStore.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSqlQuery>
#include <QTest>

namespace {
const QDate Day(2024, 3, 15);

// The printed rows as "cell1|cell2|...", trailing empty cells dropped.
QStringList Printed(const TReportDataSet &rows)
{
    QStringList lines;
    for (int r = 0; r < rows.RowCount(); ++r) {
        QStringList cells;
        for (int i = 1; i <= TReportRows::CellCount; ++i)
            cells << rows.Value(r, QStringLiteral("ReportGrid%1").arg(i));
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        lines << cells.join('|');
    }
    return lines;
}

QStringList Lines(const TReportRows &rows)
{
    QStringList lines;
    for (int i = 0; i < rows.Count(); ++i) {
        QStringList cells = rows.Line(i);
        while (!cells.isEmpty() && cells.last().isEmpty())
            cells.removeLast();
        lines << cells.join('|');
    }
    return lines;
}

QString Total(const QString &caption, const QString &amount) { return "||||||" + caption + "|" + amount; }
QString Section(const QString &caption) { return caption + "|------|------|------|------|------|------|------|------"; }
} // namespace

class TestMonthlyReports : public QObject {
    Q_OBJECT
private slots:
    void statementOfAnEmptyMonth();
    void statementLines();
    void customerSummary();
    void debtIsTheCardsWhateverTheLines_data();
    void debtIsTheCardsWhateverTheLines();
    void productSummary();
    void accountSummary();
    void everyLineIsPrinted();
    void eachReportEndsInItsPreview_data();
    void eachReportEndsInItsPreview();
};

void TestMonthlyReports::statementOfAnEmptyMonth()
{
    TestEnv env;
    const int bank = env.AddAccount("银行");
    const int c = env.AddCustomer("张'三", "本地", 10);
    env.AddBill("出货单", "张'三", QDate(2024, 2, 29), 100.004);
    env.AddBill("财务收入单", "张'三", QDate(2024, 2, 1), 30, 30, bank);
    env.AddBill("财务支出单", "张'三", QDate(2024, 2, 2), -5, -5, bank);   // paid out: raises the debt carried
    env.AddSG("张'三", QDate(2024, 1, 5), 0.1);
    TReportRows rows;
    QVERIFY(MonthlyReports::CustomerStatement(c, Day, rows));
    QCOMPARE(Lines(rows), (QStringList{Total("货款合计", "0"), Section("退　货"), Total("退货合计", "0"), Total("实际货款", "0"),
                                       Section("其它应收"), Total("应收合计", "0"), Total("前累计欠款", "85.1"),
                                       Section("本月付款"), Total("付款合计", "0"), Total("新累计欠款", "85.1")}));
}

void TestMonthlyReports::statementLines()
{
    TestEnv env;
    const int bank = env.AddAccount("银行");
    const int c = env.AddCustomer("甲");
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    const int sold = env.AddBill("出货单", "甲", QDate(2024, 3, 31), 99.999, 40, bank);
    env.Exec("Update Bill Set BillSerial = 'XS1' Where BillIndex = " + QString::number(sold));
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, -3, 33.333, 99.999)", {sold, shoe});
    env.AddLine(env.AddBill("出货单", "甲", QDate(2024, 4, 1), 10), shoe, -1);   // next month
    const int back = env.AddBill("进货单", "甲", QDate(2024, 3, 1), -20, 0, 1);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, 2, 10, 20)", {back, shoe});
    env.AddBill("财务支出单", "甲", QDate(2024, 3, 2), -5, -5, bank);
    env.AddSG("甲", QDate(2024, 3, 3), 7.5);
    TReportRows rows;
    QVERIFY(MonthlyReports::CustomerStatement(c, Day, rows));
    QCOMPARE(Lines(rows), (QStringList{"2024-3-31|XS1|P1|皮鞋|A1|3|33.333|100|出货单", Total("货款合计", "100"),
                                       Section("退　货"), "2024-3-1||P1|皮鞋|A1|2|10|20|进货单", Total("退货合计", "20"),
                                       Total("实际货款", "80"), Section("其它应收"), "2024-3-3|||||||7.5",
                                       Total("应收合计", "7.5"), Total("前累计欠款", "0"), Section("本月付款"),
                                       "2024-3-31|||||||40|出货单", "2024-3-2|||||||-5|财务支出单", Total("付款合计", "35"),
                                       Total("新累计欠款", "52.5")}));
}

void TestMonthlyReports::customerSummary()
{
    TestEnv env;
    const int bank = env.AddAccount("银行");
    env.AddCustomer("甲", "本地", 100);
    env.AddCustomer("乙", "省内");
    env.AddCustomer("丙", "本地");
    env.AddBill("出货单", "甲", QDate(2024, 3, 1), 0.1);
    env.AddBill("出货单", "甲", QDate(2024, 3, 31), 0.2, 0.3, bank);
    env.AddBill("进货单", "甲", QDate(2024, 3, 10), -50, -50, bank);
    env.AddBill("出货单", "甲", QDate(2024, 2, 10), 70, 70, 1);          // carried in; paid on the placeholder
    env.AddSG("甲", QDate(2024, 3, 5), 5);
    env.AddBill("出货单", "乙", QDate(2024, 3, 5), 1000);
    TReportRows all, local;
    QVERIFY(MonthlyReports::CustomerSummary("所有", Day, all));
    // paid, returns, sales, carried in, other, carried out
    QCOMPARE(Lines(all), (QStringList{"甲|-49.7|50|0.3|170|5|175", "乙|0|0|1000|0|0|1000", "丙|0|0|0|0|0|0",
                                      "总合计|-49.7|50|1000.3|170|5|1175"}));
    QVERIFY(MonthlyReports::CustomerSummary("本地", Day, local));
    QCOMPARE(Lines(local).size(), 3);
    TReportRows none;
    QVERIFY(MonthlyReports::CustomerSummary("其它", Day, none));
    QCOMPARE(none.Count(), 0);
}

void TestMonthlyReports::debtIsTheCardsWhateverTheLines_data()
{
    QTest::addColumn<bool>("sales");
    QTest::addColumn<QDate>("date");
    QTest::addColumn<double>("paid");
    QTest::addColumn<double>("stored");   // BillSum written over the saved one, signed
    QTest::addColumn<QString>("debt");    // 10 opening, the stored total, less what was paid
    QTest::newRow("a sale kept above its lines") << true << Day << 0.0 << 100.5 << "110.5";
    QTest::newRow("a paid sale kept below its lines") << true << Day.addDays(-14) << 20.0 << 99.99 << "89.99";
    QTest::newRow("a return kept below its lines") << false << Day << 0.0 << -19.99 << "-9.99";
    QTest::newRow("carried in from last month") << true << QDate(2024, 2, 20) << 0.0 << 100.5 << "110.5";
}

void TestMonthlyReports::debtIsTheCardsWhateverTheLines()
{
    QFETCH(bool, sales);
    QFETCH(QDate, date);
    QFETCH(double, paid);
    QFETCH(double, stored);
    QFETCH(QString, debt);
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int c = env.AddCustomer("甲", "本地", 10);
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    // Saved as the editor saves it: 3 x 33.3333 makes 100 on a sale, 2 x 10 makes 20 on a return.
    GoodsBill bill;
    bill.sales = sales;
    bill.customer = QStringLiteral("甲");
    bill.date = date;
    bill.account = paid != 0 ? bank : 1;
    bill.paid = paid;
    bill.serial = sales ? QStringLiteral("XS1") : QStringLiteral("JH1");
    bill.lines[0].product = shoe;
    bill.lines[0].pieces = sales ? 3 : 2;
    bill.lines[0].sizes[0] = QString::number(bill.lines[0].pieces);
    bill.lines[0].price = sales ? 33.3333 : 10;
    const int index = TGoodsBillStore::SaveNew(bill);
    QVERIFY(index > 1);
    // Older books can hold a total that is not the sum of its lines.
    env.Exec("Update Bill Set BillSum = ? Where BillIndex = ?", {stored, index});
    QCOMPARE(env.Scalar("Select Sum(StoreSum) From Store Where StoreBill = ?", {index}).toDouble(), sales ? 100.0 : 20.0);

    TCustomerFigures figures;
    QVERIFY(figures.Load(Day));
    QCOMPARE(NumberText(figures.Of("甲").Debt(10)), debt);
    FormMain->RefreshAllPages();
    QCOMPARE(FormMain->TabSheet8->Value[2][0]->text(), debt + " 元");
    FormCustomer->FCustomerIndex = c;
    QString shown;
    env.script.Then([&](QDialog *) { shown = FormCustomer->Label4->text(); });
    Dialogs::ShowModal(FormCustomer);
    QCOMPARE(shown, debt);
    TReportRows statement, summary;
    QVERIFY(MonthlyReports::CustomerStatement(c, Day, statement));
    QCOMPARE(Lines(statement).last(), Total("新累计欠款", debt));
    QVERIFY(MonthlyReports::CustomerSummary("所有", Day, summary));
    QCOMPARE(Lines(summary).first().split('|').last(), debt);
    QCOMPARE(Lines(summary).last().split('|').last(), debt);
    QVERIFY2(env.script.messages.isEmpty(), qPrintable(env.script.messages.join('|')));
}

void TestMonthlyReports::productSummary()
{
    TestEnv env;
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    env.AddProduct("凉鞋", "B2", 10, "P2");
    const int bought = env.AddBill("进货单", "乙", QDate(2024, 3, 2), -100);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, 3, 33.3333, 100)", {bought, shoe});
    // The sign of the line decides, whatever the bill's kind.
    const int odd = env.AddBill("出货单", "甲", QDate(2024, 3, 31), 50);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, -2, 25, 50)", {odd, shoe});
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, 1, 9, 9)", {odd, shoe});
    const int later = env.AddBill("出货单", "甲", QDate(2024, 4, 1), 10);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, -1, 10, 10)", {later, shoe});
    TReportRows rows;
    QVERIFY(MonthlyReports::ProductSummary(Day, rows));
    QCOMPARE(Lines(rows), (QStringList{"皮鞋|A1|4|27.25|109|2|25.00|50|-59", "凉鞋|B2|0|0.00|0|0|0.00|0|0",
                                       "总合计||4||109|2||50|-59"}));
}

void TestMonthlyReports::accountSummary()
{
    TestEnv env;
    const int bank = env.AddAccount("银行");
    const int cash = env.AddAccount("现金");
    env.AddBill("财务收入单", "甲", QDate(2024, 2, 1), 1000, 1000, bank);
    env.AddBill("进货单", "乙", QDate(2024, 3, 31), -300, -300.005, bank);   // paid out of the bank
    env.AddBill("出货单", "甲", QDate(2024, 3, 5), 80, 80, cash);
    env.AddBill("出货单", "甲", QDate(2024, 3, 6), 999, 999, 1);             // the placeholder: nowhere
    env.AddBill("出货单", "甲", QDate(2024, 4, 1), 7, 7, cash);
    TReportRows rows;
    QVERIFY(MonthlyReports::AccountSummary(Day, rows));
    QCOMPARE(Lines(rows), (QStringList{"银行|1000|0|300.01|-300.01|699.99", "现金|0|80|0|80|80",
                                       "总合计|1000|80|300.01|-220.01|779.99"}));
}

void TestMonthlyReports::everyLineIsPrinted()
{
    TReportRows many;
    for (int i = 0; i < 6000; ++i)
        many.Add({QString::number(i)});
    many.AddTotal("总合计", 1.005);
    const QStringList printed = Printed(many.DataSet());
    QCOMPARE(printed.size(), 6001);
    QCOMPARE(printed.first(), QStringLiteral("0"));
    QCOMPARE(printed.last(), Total("总合计", "1.01"));
    TReportRows few;
    few.Add({"only", "O'Brien"});
    QCOMPARE(Printed(few.DataSet()), QStringList{"only|O'Brien"});
    QCOMPARE(TReportRows::Title("2024年4月份").CurrentValue("ListValue"), QStringLiteral("2024年4月份"));
}

void TestMonthlyReports::eachReportEndsInItsPreview_data()
{
    QTest::addColumn<QString>("which");
    QTest::addColumn<QString>("expected");   // a text on the first page
    QTest::addColumn<QString>("document");   // the print job's name, proposed for a PDF
    QTest::addColumn<QStringList>("everyPage");
    QTest::newRow("customer statement") << "statement" << "新累计欠款" << "张'三2024年3月份对帐单" << QStringList{"张'三", "2024年3月份"};
    QTest::newRow("customer summary") << "customers" << "张'三" << "2024年3月份总报表" << QStringList{};
    QTest::newRow("product summary") << "products" << "33.33" << "2024年3月份产品月结报表" << QStringList{};
    QTest::newRow("account summary") << "accounts" << "银行" << "2024年3月份财务月结报表" << QStringList{};
}

void TestMonthlyReports::eachReportEndsInItsPreview()
{
    QFETCH(QString, which);
    QFETCH(QString, expected);
    QFETCH(QString, document);
    QFETCH(QStringList, everyPage);
    TestEnv env;
    env.InstallTemplates();
    env.StartAsFinance();
    const int bank = env.AddAccount("银行");
    const int c = env.AddCustomer("张'三");
    const int shoe = env.AddProduct("皮鞋", "A1", 10, "P1");
    const int bought = env.AddBill("进货单", "张'三", Day, -100, -100, bank);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber, StorePrice, StoreSum) Values (?, ?, 3, 33.333, 100)", {bought, shoe});
    for (int i = 0; i < 40; ++i)   // a statement of several pages
        env.AddBill("财务收入单", "张'三", Day.addDays(-i % 10), 1, 1, bank);
    TReport *report = FormMain->frReport1;
    QStringList texts;
    QList<QStringList> pages;
    env.script.Then([&](QDialog *) {
        for (int p = 0; p < report->PageCount(); ++p)
            pages << report->PageTexts(p);
        for (const QStringList &page : pages)
            texts << page;
    });
    if (which == "statement") {
        report = FormCustomer->frReport1;
        FormCustomer->FCustomerIndex = c;
        env.script.onModal.push_front([&](QDialog *) { FormCustomer->ActionMonthCount->trigger(); });
        Dialogs::ShowModal(FormCustomer);
    } else if (which == "customers") {
        FormMain->TabSheet8->BigReport->click();
    } else if (which == "products") {
        FormMain->TabSheet2->ProductMonth->click();
    } else {
        FormMain->TabSheet3->MoneyMonth->click();
    }
    QVERIFY2(env.script.messages.isEmpty(), qPrintable(env.script.messages.join('|')));
    QVERIFY(env.script.modals.contains("FormPreview"));
    QVERIFY2(texts.join('|').contains(expected), qPrintable(texts.join('|')));
    QVERIFY(texts.join('|').contains("2024年3月份"));
    QCOMPARE(report->DocumentName(), document);
    if (which == "statement")
        QVERIFY(pages.size() > 1);
    for (const QStringList &page : pages)
        for (const QString &text : everyPage)
            QVERIFY2(page.contains(text), qPrintable(text + " not on " + page.join('|')));
    QVERIFY(FormProgress->isHidden());
    // The lines went to the preview alone: the books hold no print rows another counter could overwrite.
    QCOMPARE(env.Scalar("Select count(*) From PrintReport Where ReportEnable <> 0").toInt(), 0);
    QCOMPARE(env.Scalar("Select ListValue From PrintList Where ListIndex = 1").toString(), QString());
    // Without its template, the report says so and shows nothing.
    QFile::remove(env.Dir() + "Frf/MoneyMonth.frf");
    env.script.modals.clear();
    FormMain->TabSheet3->MoneyMonth->click();
    QCOMPARE(env.script.messages.last(), QStringLiteral("报表模板“Frf/MoneyMonth.frf”不存在"));
    QVERIFY(!env.script.modals.contains("FormPreview"));
}

QTEST_MAIN(TestMonthlyReports)
#include "tst_monthlyreports.moc"
