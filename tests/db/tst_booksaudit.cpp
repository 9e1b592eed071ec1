// The books check: one planted fault of each kind, found once with its bill.
#include "db/BooksAudit.h"
#include "stores/BillNumbers.h"
#include "reportengine/Report.h"
#include "reportengine/ReportPainter.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "support/BooksAuditForm.h"
#include "support/MaintenancePage.h"
#include "support/TestEnv.h"

#include <QAction>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QDate Day(2024, 3, 15);

// A sound sales bill as the editor writes it: six lines, one used.
int SoundSale(TestEnv &env, const QString &serial, int product, int account)
{
    const int bill = env.AddBill("出货单", "甲", Day, 30, 10, account);
    env.Exec("Update Bill Set BillSerial = ? Where BillIndex = ?", {serial, bill});
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNum4, StoreNum5, StoreNumber, StorePrice, StoreSum) "
             "Values (?, ?, '1', '2', -3, 10, 30)", {bill, product});
    for (int i = 0; i < 5; ++i)
        env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNumber) Values (?, 0, 0)", {bill});
    return bill;
}
} // namespace

class TestBooksAudit : public QObject {
    Q_OBJECT
private slots:
    void plantedFault_data();
    void plantedFault();
    void settingMovedForwardAndNothingElse();
    void findingsWindow();
};

void TestBooksAudit::plantedFault_data()
{
    QTest::addColumn<QString>("plant");     // SQL with %1 for the bill's index
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("explanation");
    QTest::addColumn<QString>("names");   // the finding's "number|date|customer"
    const QString sale = "XS10001|2024-03-15|甲";
    QTest::newRow("clean") << "" << "" << "" << QString();
    QTest::newRow("a line missing") << "Delete From Store Where StoreIndex = (Select Max(StoreIndex) From Store Where StoreBill = %1)"
                                    << "单据行缺失" << "出货单应有6个货品行，实有5个" << sale;
    QTest::newRow("line of a missing bill") << "Insert Into Store (StoreBill, StoreProduct, StoreNumber) Values (999, 0, 0)"
                                            << "孤立的货品行" << "属于已不存在的单据999" << QString();
    QTest::newRow("total against lines") << "Update Bill Set BillSum = 30.02 Where BillIndex = %1"
                                         << "金额不符" << "单据金额30.02元，各货品行金额（每行到分）之和30元" << sale;
    // Worth knowing, and named so the user can find it.
    QTest::newRow("total within the fen") << "Update Bill Set BillSum = 30.004 Where BillIndex = %1"
                                          << "金额不到分（提示）" << "单据金额30.004元的小数多于两位，统计时按四舍五入到分计为30元" << sale;
    QTest::newRow("line within the fen") << "Update Store Set StoreSum = 29.996 Where StoreBill = %1 And StoreProduct > 0"
                                         << "金额不到分（提示）" << "的金额29.996元的小数多于两位" << sale;
    QTest::newRow("other receivable within the fen") << "Insert Into SG (SGCustomer, SGDate, SGSum) Values ('甲', '2024-03-10', 5.555)"
                                                     << "金额不到分（提示）" << "其它应收金额5.555元的小数多于两位，统计时按四舍五入到分计为5.56元"
                                                     << "|2024-03-10|甲";
    QTest::newRow("opening debt within the fen") << "Update Customer Set CustomerOwe = 1.001 Where CustomerName = '甲'"
                                                 << "金额不到分（提示）" << "起初欠款1.001元的小数多于两位" << "||甲";
    QTest::newRow("kept total against its rows") << "Update KeptCustomer Set KeptSales = KeptSales + 1"
                                                 << "预存合计不符" << "客户 甲的预存合计与单据不符" << QString();
    QTest::newRow("quantity against sizes") << "Update Store Set StoreNumber = -4 Where StoreBill = %1 And StoreProduct > 0"
                                            << "数量不符" << "的数量为4，各尺码之和为3" << sale;
    QTest::newRow("size that is no number") << "Update Store Set StoreNum4 = '1.0' Where StoreBill = %1 And StoreProduct > 0"
                                            << "数量不符" << "的尺码数量不是整数" << sale;
    QTest::newRow("sign of the bill") << "Update Bill Set BillSum = -30 Where BillIndex = %1"
                                      << "正负号错误" << "出货单的金额-30、已付10与单据种类的正负号不符" << sale;
    QTest::newRow("sign of a line") << "Update Store Set StoreNumber = 3 Where StoreBill = %1 And StoreProduct > 0"
                                    << "正负号错误" << "数量3" << sale;
    QTest::newRow("missing product") << "Update Store Set StoreProduct = 77 Where StoreBill = %1 And StoreProduct > 0"
                                     << "货品不存在" << "的货品77已不存在" << sale;
    QTest::newRow("line without a product") << "Update Store Set StoreSum = 20 Where StoreIndex = (Select Max(StoreIndex) From Store Where StoreBill = %1);"
                                               "Update Bill Set BillSum = 50 Where BillIndex = %1"
                                            << "货品行无货品" << "没有货品，却有数量0、金额20元" << sale;
    QTest::newRow("missing account") << "Update Bill Set BillAccount = 55 Where BillIndex = %1"
                                     << "帐户不存在" << "已不存在的帐户55" << sale;
    QTest::newRow("customer not on the list") << "Update Bill Set BillUser = '已删客户' Where BillIndex = %1"
                                              << "客户已不在（提示）" << "“已删客户”不在客户表中" << "XS10001|2024-03-15|已删客户";
    // Books from before numbers were kept unique.
    QTest::newRow("number used twice") << "Drop Index BillNumberOnce;Insert Into Bill (BillKind, BillSerial, BillCreateTime, BillAccount) Values ('出货单', 'XS10001', '2024-03-16', 1);"
                                          + QString("Insert Into Store (StoreBill, StoreProduct, StoreNumber) Select Max(BillIndex), 0, 0 From Bill;").repeated(6)
                                       << "单据编号重复" << "出货单编号“XS10001”用了2次" << "XS10001||";
    QTest::newRow("setting behind") << "Update Setting Set SettingValue = 'XS09999' Where SettingIndex = 1"
                                    << "编号设置落后" << "出货单的上次编号记为“XS09999”，但已有单据编号“XS10001”" << QString();
}

void TestBooksAudit::plantedFault()
{
    QFETCH(QString, plant);
    QFETCH(QString, kind);
    QFETCH(QString, explanation);
    QFETCH(QString, names);
    TestEnv env;
    env.AddCustomer("甲");
    const int bank = env.AddAccount("银行");
    const int bill = SoundSale(env, "XS10001", env.AddProduct("皮鞋", "A1", 10, "P1"), bank);
    env.Exec("Update Setting Set SettingValue = 'XS10001' Where SettingIndex = 1");
    for (const QString &sql : plant.split(';', Qt::SkipEmptyParts))
        env.Exec(sql.contains("%1") ? sql.arg(bill) : sql);
    TBooksAudit check;
    QList<int> seen;
    QVERIFY(check.Run([&](int p) { seen << p; }));
    QCOMPARE(seen.last(), 100);
    if (kind.isEmpty()) {
        QCOMPARE(check.Findings().size(), 0);
        QCOMPARE(check.Summary(), QStringLiteral("未发现问题"));
        return;
    }
    QCOMPARE(check.Findings().size(), 1);
    const BooksFinding f = check.Findings().first();
    QCOMPARE(f.kind, kind);
    QVERIFY2(f.explanation.contains(explanation), qPrintable(f.explanation));
    QCOMPARE(check.Summary(), kind + "：1");
    QCOMPARE(QStringList({f.serial, f.date.toString(Qt::ISODate), f.customer}).join('|'), names.isEmpty() ? "||" : names);
    QCOMPARE(f.billIndex, f.serial.isEmpty() ? 0 : bill);
    QCOMPARE(check.FaultCount(), kind.contains("提示") ? 0 : 1);
    if (check.KeptTotalsDiffer()) {
        // The repair adds them up again and touches nothing else.
        const QString bills = env.Rows("Select BillSum From Bill Order By BillIndex", "%1");
        QVERIFY(TBooksAudit::RebuildKeptTotals());
        QVERIFY(check.Run());
        QCOMPARE(check.Findings().size(), 0);
        QCOMPARE(env.Rows("Select BillSum From Bill Order By BillIndex", "%1"), bills);
    }
}

void TestBooksAudit::settingMovedForwardAndNothingElse()
{
    TestEnv env;
    env.AddCustomer("甲");
    const int product = env.AddProduct("皮鞋", "A1", 10, "P1");
    SoundSale(env, "XS00120", product, 1);
    SoundSale(env, "XS0099", product, 1);
    SoundSale(env, "NO5000", product, 1);          // other letters: another series
    const int broken = SoundSale(env, "XS00121", product, 1);
    env.Exec("Update Bill Set BillSum = 31 Where BillIndex = ?", {broken});
    env.Exec("Update Setting Set SettingValue = 'XS0100' Where SettingIndex = 1");
    TBooksAudit check;
    QVERIFY(check.Run());
    QCOMPARE(check.SettingsBehind().size(), 1);
    QCOMPARE(check.SettingsBehind().first().highest, QStringLiteral("XS00121"));
    QVERIFY(BillNumbers::MoveForward(check.SettingsBehind()));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = 1").toString(), QStringLiteral("XS00121"));
    QCOMPARE(env.Scalar("Select BillSum From Bill Where BillIndex = " + QString::number(broken)).toDouble(), 31.0);
    QVERIFY(check.Run());
    QCOMPARE(check.Summary(), QStringLiteral("金额不符：1"));
}

void TestBooksAudit::findingsWindow()
{
    TestEnv env;
    env.AddCustomer("甲");
    const int product = env.AddProduct("皮鞋", "A1", 10, "P1");
    const int bill = SoundSale(env, "XS10002", product, 1);
    env.Exec("Update Bill Set BillSum = 31, BillUser = '乙, \"老\"店' Where BillIndex = ?", {bill});
    env.Exec("Update Setting Set SettingValue = 'XS10000' Where SettingIndex = 1");
    QTemporaryDir out;
    env.script.saveFile = out.filePath("账簿检查.csv");
    env.script.answers = {true};
    QString summary;
    int rows = 0;
    bool repairOffered = false;
    QString printed;
    bool headingFits = false;
    env.InstallTemplates();
    env.script.Then([&](QDialog *) {
        summary = FormBooksAudit->Summary->text();
        rows = FormBooksAudit->Grid->rowCount();
        repairOffered = FormBooksAudit->RepairButton->isVisibleTo(FormBooksAudit);
        FormBooksAudit->ExportButton->click();
        env.script.Then([&](QDialog *) {
            printed = FormBooksAudit->frReport1->PageTexts(0).join('|');
            // The heading line is printed whole: its box holds all its lines.
            for (const TReportItem &item : FormBooksAudit->frReport1->Pages().value(0).items)
                if (item.text == summary)
                    headingFits = TReportPainter::TextHeight(item, item.text) <= item.rect.height() + 0.01
                                  && item.rect.width() > 150;
        });
        FormBooksAudit->PrintButton->click();
        FormBooksAudit->RepairButton->click();
        FormBooksAudit->CloseButton->click();
    });
    FormMain->TabSheet6->ActionBooksAudit->trigger();
    QCOMPARE(summary, QStringLiteral("发现 2 处问题，另有 1 条提示。金额不符：1；客户已不在（提示）：1；编号设置落后：1"));
    QCOMPARE(rows, 3);
    QVERIFY(repairOffered);
    QFile csv(env.script.saveFile);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QByteArray bytes = csv.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    const QString text = QString::fromUtf8(bytes.mid(3));
    QVERIFY2(text.startsWith(QStringLiteral("类别,单据编号,日期,客户,说明\r\n金额不符,XS10002,2024-3-15,\"乙, \"\"老\"\"店\",")),
             qPrintable(text.left(80)));
    QCOMPARE(env.Scalar("Select SettingValue From Setting Where SettingIndex = 1").toString(), QStringLiteral("XS10002"));
    QCOMPARE(env.script.messages, (QStringList{"表格导出成功", "单据编号设置已修正"}));
    QVERIFY2(printed.contains("账簿检查结果") && printed.contains("单据金额31元，各货品行金额（每行到分）之和30元"), qPrintable(printed));
    QVERIFY(headingFits);
}

QTEST_MAIN(TestBooksAudit)
#include "tst_booksaudit.moc"
