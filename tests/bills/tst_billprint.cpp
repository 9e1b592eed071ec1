// Printing a goods bill from its editor: the rows it prints, the
// template the print type chooses, and what happens when something is missing.
#include "bills/BillPrint.h"
#include "bills/BuySellForm.h"
#include "reportengine/DesignForm.h"
#include "reportengine/Report.h"
#include "app/MainForm.h"
#include "core/NumberTexts.h"
#include "core/ProgramFiles.h"
#include "app/SettingsPage.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>
#include <QToolButton>

namespace {
const QString Capitals150 = QStringLiteral("壹佰　伍拾　零元　零角　零分　");

// A saved goods bill of 张'三 totalling 150 with a deposit of 40, its lines
// 1..lines in the first slots and empty slots after them, as the editor saves.
int MakeBill(TestEnv &env, bool sales, int lines)
{
    const double sign = sales ? 1 : -1;
    const int bank = env.AddAccount(QStringLiteral("银行"));
    const int bill = env.AddBill(sales ? QStringLiteral("出货单") : QStringLiteral("进货单"), QStringLiteral("张'三"),
                                 QDate(2024, 3, 5), sign * 150, sign * 40, bank);
    env.Exec(QStringLiteral("Update Bill Set BillSerial = 'XS10001', BillRemark = '备注''x' Where BillIndex = ?"), {bill});
    for (int i = 1; i <= qMax(lines, 6); ++i) {
        const int product = i <= lines ? env.AddProduct(QStringLiteral("鞋%1").arg(i), QStringLiteral("型'%1").arg(i), 0,
                                                        QStringLiteral("P%1").arg(i))
                                       : 0;
        env.Exec(QStringLiteral("Insert Into Store (StoreBill, StoreProduct, StoreNum1, StoreNum10, StoreNumber, StorePrice, StoreSum) "
                                "Values (?, ?, ?, ?, ?, ?, ?)"),
                 {bill, product, i <= lines ? QString::number(i) : QString(), i <= lines ? QStringLiteral("1") : QString(),
                  i <= lines ? -sign * (i + 1) : 0, i <= lines ? 12.5 : 0, i <= lines ? 12.5 * (i + 1) : 0});
    }
    return bill;
}

// A data set the last print gave its template.
TReportDataSet Printed(const QString &name) { return FormBuySell->frReport1->DataSets().value(name); }

QStringList GridRows()
{
    const TReportDataSet grid = Printed(QStringLiteral("PrintGrid"));
    QStringList rows;
    for (int r = 0; r < grid.RowCount(); ++r) {
        QStringList cells;
        for (int c = 1; c < grid.Columns().size(); ++c)
            cells << grid.Value(r, grid.Columns()[c]);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// Opens the bill in the editor, presses 打印 and closes the preview (if any) and the editor.
void PrintFromEditor(TestEnv &env, bool sales, int bill, const std::function<void()> &beforePrint = {})
{
    env.script.Then([&env, beforePrint](QDialog *) {
        QVERIFY(FormBuySell->PrintBill->isVisibleTo(FormBuySell));
        env.script.Then([](QDialog *preview) { preview->accept(); });
        if (beforePrint)
            beforePrint();
        FormBuySell->PrintBill->click();
        FormBuySell->reject();
    });
    FormBuySell->FBillMode = sales ? 1 : 3;
    FormBuySell->FBillIndex = bill;
    Dialogs::ShowModal(FormBuySell);
}

QStringList PrintedTexts()
{
    QStringList texts;
    for (int p = 0; p < FormBuySell->frReport1->PageCount(); ++p)
        texts << FormBuySell->frReport1->PageTexts(p);
    return texts;
}
} // namespace

class TestBillPrint : public QObject {
    Q_OBJECT
private slots:
    void printTables_data();
    void printTables();
    void moneyRoundedToTheFen_data();
    void moneyRoundedToTheFen();
    void printTypeChoosesTemplate_data();
    void printTypeChoosesTemplate();
    void printTypeOnTheSettingsPage();
    void missingTemplate();
    void billGoneBeforePrinting();
    void printingNeedsNoPrintRows();
};

void TestBillPrint::printTables_data()
{
    QTest::addColumn<bool>("sales");
    QTest::addColumn<int>("lines");
    QTest::newRow("sales bill, fewer lines than rows") << true << 2;
    QTest::newRow("purchase bill, every row used") << false << 6;
}

void TestBillPrint::printTables()
{
    QFETCH(bool, sales);
    QFETCH(int, lines);
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    // What an earlier version left in the books' print rows is neither printed nor touched.
    env.Exec(QStringLiteral("Update PrintGrid Set GridName = 'old', GridSum = '9'"));
    const int bill = MakeBill(env, sales, lines);
    PrintFromEditor(env, sales, bill);
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(env.script.modals, (QStringList{QStringLiteral("FormBuySell"), QStringLiteral("FormPreview")}));

    QStringList expected;
    for (int i = 1; i <= 6; ++i)
        expected << (i <= lines ? QStringLiteral("P%1|鞋%1|型'%1|%1|||||||||1|%2|12.5|%3").arg(i).arg(i + 1).arg(NumberText(12.5 * (i + 1)))
                                : QString(15, QLatin1Char('|')));
    QCOMPARE(GridRows(), expected);
    QCOMPARE(Printed(QStringLiteral("PrintBigFont")).CurrentValue(QStringLiteral("BigFontValue")), Capitals150);
    const QString title = sales ? QStringLiteral("产品出货单") : QStringLiteral("产品进货单");
    QCOMPARE(Printed(QStringLiteral("PrintList")).CurrentValue(QStringLiteral("ListValue")), title);
    QCOMPARE(env.Scalar(QStringLiteral("Select count(*) From PrintGrid Where GridName = 'old'")).toInt(), 6);

    // The printout: title, header, every line, amounts without sign, total in capitals.
    const QStringList texts = PrintedTexts();
    QCOMPARE(FormBuySell->frReport1->PageCount(), 1);
    for (const QString &t : {title, QStringLiteral("张'三"), QStringLiteral("2024-3-5"), QStringLiteral("XS10001"),
                             QStringLiteral("备注'x"), Capitals150, QStringLiteral("150"), QStringLiteral("40"),
                             QStringLiteral("110"), QStringLiteral("银行"), QStringLiteral("第 1 页 共 1 页")})
        QVERIFY2(texts.contains(t), qPrintable(t));
    for (int i = 1; i <= lines; ++i)
        QVERIFY(texts.contains(QStringLiteral("鞋%1").arg(i)));
    for (const QString &t : texts)
        QVERIFY2(!t.startsWith(QLatin1Char('-')) && t != QLatin1String("old"), qPrintable(t));
    QCOMPARE(FormBuySell->frReport1->DocumentName(), title + QStringLiteral(" XS10001"));
}

void TestBillPrint::moneyRoundedToTheFen_data()
{
    QTest::addColumn<double>("lineSum");
    QTest::addColumn<double>("billSum");
    QTest::addColumn<double>("paid");
    QTest::addColumn<QStringList>("printed");   // line sum, total, deposit, left open
    QTest::newRow("binary noise") << 0.1 + 0.2 << 100.1 << 50.05 << QStringList{"0.3", "100.1", "50.05", "50.05"};
    QTest::newRow("half a fen rounds away from zero") << 2.675 << 1.005 << 0.0 << QStringList{"2.68", "1.01", "0", "1.01"};
}

void TestBillPrint::moneyRoundedToTheFen()
{
    QFETCH(double, lineSum);
    QFETCH(double, billSum);
    QFETCH(double, paid);
    QFETCH(QStringList, printed);
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    const int bill = MakeBill(env, false, 1);
    env.Exec(QStringLiteral("Update Bill Set BillSum = ?, BillMoney = ? Where BillIndex = ?"), {-billSum, -paid, bill});
    env.Exec(QStringLiteral("Update Store Set StoreSum = ? Where StoreBill = ? And StoreProduct <> 0"), {lineSum, bill});
    PrintFromEditor(env, false, bill);
    QCOMPARE(Printed(QStringLiteral("PrintGrid")).Value(0, QStringLiteral("GridSum")), printed[0]);
    const QStringList texts = PrintedTexts();
    for (const QString &t : printed)
        QVERIFY2(texts.contains(t), qPrintable(t));
    QCOMPARE(Printed(QStringLiteral("PrintBigFont")).CurrentValue(QStringLiteral("BigFontValue")),
             billSum > 100 ? QStringLiteral("壹佰　零拾　零元　壹角　零分　") : QStringLiteral("壹元　零角　壹分　"));
}

void TestBillPrint::printTypeChoosesTemplate_data()
{
    QTest::addColumn<QString>("printType");   // empty: not in the ini file
    QTest::addColumn<bool>("deposit");
    QTest::newRow("absent") << QString() << true;
    QTest::newRow("显示订金") << QStringLiteral("显示订金") << true;
    QTest::newRow("不显示订金") << QStringLiteral("不显示订金") << false;
    QTest::newRow("any other value") << QStringLiteral("旧格式") << false;
}

void TestBillPrint::printTypeChoosesTemplate()
{
    QFETCH(QString, printType);
    QFETCH(bool, deposit);
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    if (!printType.isEmpty())
        QVERIFY(TBillPrint::SetPrintType(printType));
    FormMain->TabSheet5->LoadPrintType();
    QCOMPARE(FormMain->TabSheet5->ComboBox5->currentIndex(), deposit ? 0 : 1);

    PrintFromEditor(env, true, MakeBill(env, true, 1));
    QCOMPARE(FormBuySell->frReport1->FileName(), env.Dir() + (deposit ? QStringLiteral("Frf/Bill.frf") : QStringLiteral("Frf/Bill2.frf")));
    const QStringList texts = PrintedTexts();
    QCOMPARE(texts.contains(QStringLiteral("已付订金")), deposit);
    QCOMPARE(texts.contains(QStringLiteral("110")), deposit);   // the amount left open
    QVERIFY(texts.contains(Capitals150));
}

void TestBillPrint::printTypeOnTheSettingsPage()
{
    TestEnv env;
    env.MarkRegistered();
    env.script.LoginAs(QStringLiteral("管理员"), QStringLiteral("9999"));
    QVERIFY(FormMain->FormShow());
    TSettingsPage *page = FormMain->TabSheet5;
    QCOMPARE(page->ComboBox5->currentText(), QStringLiteral("显示订金"));
    page->ComboBox5->setCurrentIndex(1);
    page->Button12->click();
    QCOMPARE(env.script.messages.last(), QStringLiteral("单据打印格式设置为：不显示订金"));
    QCOMPARE(ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("PrintType"), QString(), IniFileName),
             QStringLiteral("不显示订金"));
    QCOMPARE(TBillPrint::TemplateFile(TBillPrint::PrintType()), QStringLiteral("Frf/Bill2.frf"));
    // The administrator's next login shows the stored choice.
    page->ComboBox5->setCurrentIndex(0);
    env.script.LoginAs(QStringLiteral("管理员"), QStringLiteral("9999"));
    FormMain->ActionLogin->trigger();
    QCOMPARE(page->ComboBox5->currentIndex(), 1);
    // 高级设计 opens the designer on the main window's report, empty before any report ran.
    QCOMPARE(page->DesignButton->text(), QStringLiteral("高级设计"));
    env.script.Then([](QDialog *d) {
        auto *designer = qobject_cast<TFormDesign *>(d);
        QVERIFY(designer);
        QVERIFY(designer->Template().bands.isEmpty());
        designer->ActionClose->trigger();
    });
    page->DesignButton->click();
    QCOMPARE(env.script.modals.last(), QStringLiteral("FormDesign"));
}

void TestBillPrint::missingTemplate()
{
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    QVERIFY(QFile::remove(env.Dir() + QStringLiteral("Frf/Bill.frf")));
    PrintFromEditor(env, true, MakeBill(env, true, 2));
    env.script.onModal.clear();
    QCOMPARE(env.script.messages, QStringList{QStringLiteral("报表模板“Frf/Bill.frf”不存在")});
    QCOMPARE(env.script.modals, QStringList{QStringLiteral("FormBuySell")});
    QCOMPARE(FormBuySell->frReport1->PageCount(), 0);
}

void TestBillPrint::billGoneBeforePrinting()
{
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    env.Exec(QStringLiteral("Update PrintList Set ListValue = '上次' Where ListIndex = 1"));
    const int bill = MakeBill(env, true, 2);
    PrintFromEditor(env, true, bill, [&env, bill] { env.Exec(QStringLiteral("Delete From Bill Where BillIndex = ?"), {bill}); });
    env.script.onModal.clear();
    QCOMPARE(env.script.messages, QStringList{QStringLiteral("找不到要打印的单据")});
    QCOMPARE(env.script.modals, QStringList{QStringLiteral("FormBuySell")});
    QCOMPARE(env.Scalar(QStringLiteral("Select ListValue From PrintList Where ListIndex = 1")).toString(), QStringLiteral("上次"));
}

void TestBillPrint::printingNeedsNoPrintRows()
{
    TestEnv env;
    env.StartAsFinance();
    env.InstallTemplates();
    const int bill = MakeBill(env, true, 2);
    // Nothing of a print is written to the books, so two counters print at once.
    for (const char *table : {"PrintList", "PrintGrid", "PrintBigFont"})
        env.Exec(QStringLiteral("Drop Table ") + QLatin1String(table));
    PrintFromEditor(env, true, bill);
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(env.script.modals, (QStringList{QStringLiteral("FormBuySell"), QStringLiteral("FormPreview")}));
    QVERIFY(PrintedTexts().contains(QStringLiteral("鞋2")));
}

QTEST_MAIN(TestBillPrint)
#include "tst_billprint.moc"
