// The data centre's grid: sorting by a column title, the CSV export and the printout.
#include "sheets/Csv.h"
#include "grid/FooterGrid.h"
#include "grid/GridFooter.h"
#include "grid/GridPreviewForm.h"
#include "grid/GridPrinter.h"
#include "reports/DataCentrePage.h"
#include "reports/MakeReportForm.h"
#include "app/MainForm.h"
#include "support/TestEnv.h"

#include <QFile>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTest>
#include <QToolButton>

namespace {
TDataCentrePage *Page() { return FormMain->TabSheet4; }

QStringList Column(int column)
{
    QStringList texts;
    const TGridModel *m = Page()->DBGridEh1->Model();
    for (int r = 0; r < m->rowCount(); ++r)
        texts << m->Text(r, column);
    return texts;
}

void SearchAll(TestEnv &env)
{
    env.script.Then([](QDialog *) { FormMakeReport->BitBtn1->click(); });
    Page()->MakeReport->click();
}

void ClickTitle(int column)
{
    QHeaderView *header = Page()->DBGridEh1->Table->horizontalHeader();
    emit header->sectionClicked(column);
}
} // namespace

class TestFooterGrid : public QObject {
    Q_OBJECT
private slots:
    void sortByColumnTitle_data();
    void sortByColumnTitle();
    void footerFollowsTheColumns();
    void csvBytes();
    void csvFieldsStayData_data();
    void csvFieldsStayData();
    void exportCancelledOrFailing();
    void printout();
};

void TestFooterGrid::sortByColumnTitle_data()
{
    QTest::addColumn<int>("column");
    QTest::addColumn<QStringList>("up");
    QTest::addColumn<QStringList>("sumsDown");
    // Bills by date: 3-1 (-20, 甲), 3-5 (40, 乙), 3-9 (300, 丙), 3-10 (5, 甲).
    QTest::newRow("amounts as numbers") << 5 << QStringList{"-20", "5", "40", "300"} << QStringList{"300", "40", "5", "-20"};
    QTest::newRow("dates as dates") << 0 << QStringList{"2024-3-1", "2024-3-5", "2024-3-9", "2024-3-10"}
                                    << QStringList{"5", "300", "40", "-20"};
    QTest::newRow("names by pinyin, equal ones keep their order") << 4 << QStringList{"丙", "甲", "甲", "乙"}
                                                                  << QStringList{"40", "-20", "5", "300"};
}

void TestFooterGrid::sortByColumnTitle()
{
    QFETCH(int, column);
    QFETCH(QStringList, up);
    QFETCH(QStringList, sumsDown);
    TestEnv env;
    env.StartAsFinance();
    env.AddBill("出货单", "乙", QDate(2024, 3, 5), 40);
    env.AddBill("出货单", "甲", QDate(2024, 3, 10), 5);
    env.AddBill("出货单", "丙", QDate(2024, 3, 9), 300);
    env.AddBill("进货单", "甲", QDate(2024, 3, 1), -20);
    SearchAll(env);
    const TGridModel *m = Page()->DBGridEh1->Model();
    const QString footer = m->FooterText(0) + m->FooterText(5);
    QCOMPARE(footer, QStringLiteral("共4条325"));
    ClickTitle(column);
    QCOMPARE(Column(column), up);
    ClickTitle(column);
    QStringList down = up;
    std::reverse(down.begin(), down.end());
    QCOMPARE(Column(column), down);
    QCOMPARE(Column(5), sumsDown);
    QCOMPARE(m->FooterText(0) + m->FooterText(5), footer);
    QVERIFY(Page()->DBGridEh1->Table->horizontalHeader()->isSortIndicatorShown());
    // A new search comes in date order again.
    SearchAll(env);
    QCOMPARE(Column(0), (QStringList{"2024-3-1", "2024-3-5", "2024-3-9", "2024-3-10"}));
}

void TestFooterGrid::footerFollowsTheColumns()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddBill("出货单", "甲", QDate(2024, 3, 5), 8);
    SearchAll(env);
    FormMain->show();
    FormMain->PageControl1->setCurrentWidget(Page());
    TFooterGrid *grid = Page()->DBGridEh1;
    QHeaderView *header = grid->Table->horizontalHeader();
    // The blue footer texts: where the sum's pixels are, and whether the count's show.
    auto blueSpan = [&](int from, int to) {
        const QImage image = grid->Footer->grab().toImage();
        int first = -1, last = -1;
        for (int x = qMax(0, from); x < qMin(image.width(), to); ++x)
            for (int y = 0; y < image.height(); ++y) {
                const QColor c = image.pixelColor(x, y);
                if (c.blue() > 150 && c.red() < 100 && c.green() < 100) {
                    first = first < 0 ? x : first;
                    last = x;
                }
            }
        return qMakePair(first, last);
    };
    auto column = [&](int c) {
        const int origin = grid->Table->viewport()->mapTo(grid, QPoint()).x() - grid->Footer->x();
        return qMakePair(origin + header->sectionViewportPosition(c), origin + header->sectionViewportPosition(c) + header->sectionSize(c));
    };
    for (int widen : {0, 100}) {
        header->resizeSection(0, header->sectionSize(0) + widen);
        const auto [left, right] = column(5);
        const auto [first, last] = blueSpan(left, right);
        QVERIFY2(first > left && last < right, qPrintable(QString("%1..%2 in %3..%4").arg(first).arg(last).arg(left).arg(right)));
        QVERIFY(blueSpan(column(0).first, column(0).second).first >= 0);
    }
    grid->ScrollBar->setValue(grid->ScrollBar->maximum());   // column 0 scrolled out of sight
    QVERIFY(grid->ScrollBar->maximum() > 0);
    QCOMPARE(blueSpan(0, column(1).first).first, -1);
}

void TestFooterGrid::csvBytes()
{
    TestEnv env;
    env.StartAsFinance();
    const int bank = env.AddAccount("工商银行");
    env.AddBill("出货单", "张\"三", QDate(2024, 3, 5), 12.5, 0, bank);
    env.Exec("Update Bill Set BillSerial = 'XS10001', BillRemark = '红色,42码' Where BillIndex = 2");
    env.AddBill("财务支出单", "=1+1", QDate(2024, 3, 6), -3, -3, bank);
    SearchAll(env);
    Page()->DBGridEh1->Table->setColumnHidden(9, true);   // what is hidden is not exported
    env.script.saveFile = env.Dir() + "列表.csv";
    Page()->ExportReport->click();
    QCOMPARE(env.script.messages, QStringList{"表格导出成功"});
    QFile file(env.Dir() + "列表.csv");
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray expected = QByteArray("\xEF\xBB\xBF")
                                + QStringLiteral("创建时间,单据编号,单据类型,帐户名称,客户名称,单据金额,业务员,收支种类,款项类别,备注\r\n"
                                                 "2024-3-5,XS10001,出货单,工商银行,\"张\"\"三\",12.5,,,,\"红色,42码\"\r\n"
                                                 "2024-3-6,,财务支出单,工商银行,\"'=1+1\",-3,,,,\r\n")
                                      .toUtf8();
    QCOMPARE(file.readAll(), expected);
}

void TestFooterGrid::csvFieldsStayData_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QString>("field");   // as the file holds it, quotes undone
    QTest::newRow("formula") << QVariant("=1+1") << "'=1+1";
    QTest::newRow("at") << QVariant("@SUM(A1)") << "'@SUM(A1)";
    QTest::newRow("plus, a phone number") << QVariant("+8613800000000") << "'+8613800000000";
    QTest::newRow("minus") << QVariant("-2+3") << "'-2+3";
    QTest::newRow("link") << QVariant("=HYPERLINK(\"http://x\",\"点我\")") << "'=HYPERLINK(\"http://x\",\"点我\")";
    QTest::newRow("tab") << QVariant("\t=1") << "'\t=1";
    QTest::newRow("carriage return") << QVariant("\r=1") << "'\r=1";
    QTest::newRow("digits as text") << QVariant("00123") << "'00123";
    QTest::newRow("date-like text") << QVariant("2024-3-5") << "'2024-3-5";
    QTest::newRow("plain text") << QVariant("王记鞋店, \"老\"店") << "王记鞋店, \"老\"店";
    QTest::newRow("text with a digit first") << QVariant("35码皮鞋") << "35码皮鞋";
    QTest::newRow("negative amount") << QVariant(-1544.3) << "-1544.3";
    QTest::newRow("whole number") << QVariant(-3) << "-3";
    QTest::newRow("date") << QVariant(QDate(2024, 3, 5)) << "2024-3-5";
    QTest::newRow("empty") << QVariant() << "";
}

void TestFooterGrid::csvFieldsStayData()
{
    QFETCH(QVariant, value);
    QFETCH(QString, field);
    const QByteArray file = Csv::File({{"标题", "第二列"}, {value, "尾"}});
    const QList<QStringList> lines = Csv::Read(file);
    QCOMPARE(lines, (QList<QStringList>{{"标题", "第二列"}, {field, "尾"}}));
}

void TestFooterGrid::exportCancelledOrFailing()
{
    TestEnv env;
    env.StartAsFinance();
    Page()->ExportReport->click();   // the save dialog cancelled
    QCOMPARE(env.script.messages, QStringList());
    env.script.saveFile = env.Dir() + "没有的文件夹/列表.csv";
    Page()->ExportReport->click();
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY(env.script.messages[0].startsWith("表格导出失败："));
}

void TestFooterGrid::printout()
{
    TestEnv env;
    env.StartAsFinance();
    for (int i = 0; i < 120; ++i)
        env.AddBill(i % 2 ? "出货单" : "财务收入单", QStringLiteral("客户%1").arg(i), QDate(2024, 3, 1 + i % 28), i);
    SearchAll(env);
    QVector<TGridPrinter::Page> pages;
    env.script.saveFile = env.Dir() + "报表";
    env.script.Then([&](QDialog *d) {
        auto *preview = qobject_cast<TFormGridPreview *>(d);
        QVERIFY(preview);
        pages = Page()->PrintDBGridEh1->Prepare(&preview->Printer);
        preview->PdfButton->click();
        preview->CloseButton->click();
    });
    Page()->PrintReport->click();
    QCOMPARE(env.script.modals, (QStringList{"FormMakeReport", "FormGridPreview"}));
    QVERIFY(env.script.fileDialogs.last().contains("/单据列表2024-3-15.pdf|"));
    const QMarginsF margins = Page()->PrintDBGridEh1->PageLayout().margins(QPageLayout::Millimeter);
    QVERIFY(margins.left() >= 10 && margins.top() >= 10 && margins.right() >= 10 && margins.bottom() >= 10);
    QVERIFY(pages.size() >= 2);
    int rows = 0;
    const QRegularExpression printed("^打印时间 2024-3-15 \\d{1,2}:\\d\\d:\\d\\d$");
    for (int i = 0; i < pages.size(); ++i) {
        QCOMPARE(pages[i].header, QStringList{"Mirelo财务报表"});
        QCOMPARE(pages[i].footer.size(), 2);
        QVERIFY2(printed.match(pages[i].footer[0]).hasMatch(), qPrintable(pages[i].footer[0]));
        QCOMPARE(pages[i].footer[1], QStringLiteral("第 %1 页 共 %2 页").arg(i + 1).arg(pages.size()));
        QCOMPARE(pages[i].firstRow, rows);
        QCOMPARE(pages[i].footerRow, i == pages.size() - 1);
        rows += pages[i].rowCount;
    }
    QCOMPARE(rows, 120);
    QCOMPARE(env.script.messages, QStringList{"PDF文件保存成功"});
    QFile pdf(env.Dir() + "报表.pdf");
    QVERIFY(pdf.open(QIODevice::ReadOnly));
    QVERIFY(pdf.read(5) == "%PDF-");
}

QTEST_MAIN(TestFooterGrid)
#include "tst_footergrid.moc"
