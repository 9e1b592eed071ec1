// A read or a write of the books that fails is an answer: each road a user
// takes says what failed and why, once, throws nothing out of the window and
// writes nothing. "Not found" is never said of what could not be read.
#include "bills/BillForm.h"
#include "bills/BuySellForm.h"
#include "bills/LineGrid.h"
#include "cards/BillPage.h"
#include "figures/ExportSheets.h"
#include "grid/FooterGrid.h"
#include "grid/GridModel.h"
#include "sheets/ListSheet.h"
#include "reports/DataCentrePage.h"
#include "reports/MakeReportForm.h"
#include "reports/MonthlyReports.h"
#include "reports/ReportRows.h"
#include "app/Forms.h"
#include "ui/GuardedApplication.h"
#include "app/MainForm.h"
#include "db/ShareDM.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QTest>

namespace {
const QDate Day(2024, 3, 15);
TFormBuySell *E() { return FormBuySell; }
QLineEdit *Cell(int slot, int cell) { return FormBuySell->Lines->Cell(slot, cell); }

// What a user sees for each kind of failure, after what failed.
QString ReasonOf(TDbFailure kind)
{
    if (kind == TDbFailure::ConnectionLost && TestEnv::OnServer())
        return QStringLiteral("\n与数据库服务器的连接已中断，刚才的操作没有完成，也没有留下任何改动。已重新连接，请再试一次。");
    return QStringLiteral("\n原因：") + FailureReason(kind);
}

void NewBill(TestEnv &env, const std::function<void()> &act)
{
    env.script.Then([](QDialog *) { FormBill->SpeedButton1->click(); });
    env.script.Then([act](QDialog *) { act(); });
    FormMain->TabSheet1->NewButton->click();
}

// The bill the roads that open a stored one find on the first bill card.
void StoredSale(TestEnv &env)
{
    NewBill(env, [] {
        E()->ComboBox5->setEditText("张记鞋业");
        Cell(0, 1)->setText("P1");
        Cell(0, 4)->setText("2");
        E()->BitBtn1->click();
    });
    env.script.messages.clear();
    env.script.modals.clear();
}
} // namespace

class TestFailures : public QObject {
    Q_OBJECT
private slots:
    void eachRoadSaysWhyOnce_data();
    void eachRoadSaysWhyOnce();
    void aLineWhoseProductWasNotReadIsReadAgain();
    void aSaveOnAFullDiskSaysSo();
    void whatAHandlerMissedEndsAtTheApplication();
};

void TestFailures::eachRoadSaysWhyOnce_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("said");   // what failed; the kind's reason follows
    const QList<QPair<TDbFailure, QString>> kinds{{TDbFailure::DiskFull, "disk full"},
                                                  {TDbFailure::Locked, "locked"},
                                                  {TDbFailure::ConnectionLost, "connection lost"}};
    const QList<QPair<QString, QString>> roads{
        {"open a stored bill", "单据表打开失败"},
        {"save a new bill: customer lookup", "单据保存失败，未作任何修改"},
        {"save a new bill: the write", "单据保存失败，未作任何修改"},
        {"save a new bill: account lookup", "单据保存失败，未作任何修改"},
        {"change a stored bill", "单据保存失败，未作任何修改"},
        {"delete a stored bill", "单据删除失败，未作任何修改"},
        {"data-centre page", "数据读取失败"},
        {"card refresh", "刷新帐户时出错"},
        {"monthly report", "数据库打开失败"},
        {"export", "刷新帐户时出错"},
    };
    for (const auto &[road, said] : roads)
        for (const auto &[kind, name] : kinds)
            QTest::newRow(qPrintable(road + " / " + name)) << road << int(kind) << said;
}

void TestFailures::eachRoadSaysWhyOnce()
{
    QFETCH(QString, road);
    QFETCH(int, kind);
    QFETCH(QString, said);
    const TDbFailure failure = TDbFailure(kind);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("张记鞋业");
    env.AddAccount("银行");
    env.AddProduct("布鞋", "白色", 10, "P1");
    env.Exec("Insert Into Parameter (ParameterType, ParameterValue) Values (1, '货款'), (2, '现金'), (3, '收据')");
    if (road.contains("stored"))
        StoredSale(env);
    if (road == "data-centre page")
        for (int i = 0; i < 300; ++i)
            env.AddBill("出货单", "张记鞋业", Day.addDays(-1), 1);
    FormMain->RefreshAllPages();
    env.script.messages.clear();
    const QStringList before = env.AllRows();
    auto fail = [failure](TShareDataModule::Failing which = TShareDataModule::Failing::ReadsAndWrites) {
        TShareDataModule::FailNext(failure, 1, which);
    };

    try {
        if (road == "open a stored bill") {
            fail();
            FormMain->TabSheet1->OpenBillCard(0);
            QVERIFY(!env.script.modals.contains("FormBuySell"));
        } else if (road.startsWith("save a new bill")) {
            NewBill(env, [&] {
                E()->ComboBox5->setEditText("张记鞋业");
                Cell(0, 1)->setText("P1");
                Cell(0, 4)->setText("2");
                if (road.endsWith("account lookup")) {
                    E()->CheckBox1->setChecked(true);
                    E()->ComboBox1->setCurrentIndex(0);
                    E()->ComboBox2->setCurrentIndex(0);
                    E()->ComboBox3->setCurrentIndex(0);
                    E()->ComboBox4->setCurrentIndex(0);
                    E()->Edit1->setText("5");
                }
                fail(road.endsWith("the write") ? TShareDataModule::Failing::Writes : TShareDataModule::Failing::ReadsAndWrites);
                E()->BitBtn1->click();
                // Nothing was asked about a customer that could not be read.
                QCOMPARE(env.script.questions, QStringList());
            });
        } else if (road == "change a stored bill") {
            env.script.Then([&](QDialog *) {
                env.GivePassword();
                E()->SpeedButton4->click();
                Cell(0, 4)->setText("3");
                fail(TShareDataModule::Failing::Writes);
                E()->BitBtn1->click();
            });
            FormMain->TabSheet1->OpenBillCard(0);
        } else if (road == "delete a stored bill") {
            env.script.Then([&](QDialog *) {
                env.GivePassword();
                E()->SpeedButton4->click();
                env.script.answers.push_back(true);
                fail(TShareDataModule::Failing::Writes);
                E()->BitBtn3->click();
            });
            FormMain->TabSheet1->OpenBillCard(0);
        } else if (road == "data-centre page") {
            env.script.Then([](QDialog *) { FormMakeReport->BitBtn1->click(); });
            FormMain->TabSheet4->MakeReport->click();
            const TGridModel *m = FormMain->TabSheet4->DBGridEh1->Model();
            QCOMPARE(m->rowCount(), 300);
            fail();
            // The next page is read while painting: its cells stay empty, and it is said after.
            QCOMPARE(m->Text(299, 1), QString());
            QCOMPARE(m->Text(298, 1), QString());
            QVERIFY(env.script.messages.isEmpty());
            QTRY_COMPARE(env.script.messages.size(), 1);
        } else if (road == "card refresh") {
            fail();
            FormMain->RefreshAllPages();
        } else if (road == "monthly report") {
            TReportRows rows;
            fail();
            QVERIFY(!MonthlyReports::CustomerSummary(QString(), Day, rows));
        } else if (road == "export") {
            TListSheet sheet;
            fail();
            QVERIFY(!ExportSheets::Customers(SqlText("Select * From Customer Where CustomerIndex > 1"), Day, sheet));
        }
    } catch (const std::exception &e) {
        QFAIL(qPrintable(QString("thrown out of the road: ") + e.what()));
    }
    QCOMPARE(env.script.messages, QStringList{said + ReasonOf(failure)});
    QCOMPARE(env.AllRows(), before);
}

void TestFailures::aLineWhoseProductWasNotReadIsReadAgain()
{
    // The product of a line could not be read as it was typed: the save reads it
    // again and saves the line, rather than calling the product missing.
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("张记鞋业");
    const int shoe = env.AddProduct("布鞋", "白色", 10, "P1");
    NewBill(env, [] {
        E()->ComboBox5->setEditText("张记鞋业");
        TShareDataModule::FailNext(TDbFailure::DiskFull);
        Cell(0, 1)->setText("P1");
        QCOMPARE(Cell(0, 2)->text(), QString());
        Cell(0, 4)->setText("2");
        E()->BitBtn1->click();
    });
    QCOMPARE(env.script.messages, (QStringList{"货品读入失败" + ReasonOf(TDbFailure::DiskFull), "单据新增成功"}));
    QCOMPARE(env.Rows("Select StoreProduct, StoreNumber, StoreSum From Store Where StoreProduct > 1", "%1 %2 %3"),
             QString("%1 -2 20.0").arg(shoe));
}

void TestFailures::aSaveOnAFullDiskSaysSo()
{
    if (TestEnv::OnServer())
        QSKIP("a server's disk cannot be filled from here");
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("张记鞋业");
    env.AddProduct("布鞋", "白色", 10, "P1");
    // The books may not grow by a page, and the bills' last page is full: to SQLite that is a full disk.
    ShareDataModule->Exec("PRAGMA max_page_count = " + env.Scalar("PRAGMA page_count").toString());
    bool full = false;
    for (int i = 0; i < 10000 && !full; ++i) {
        try {
            ShareDataModule->Exec("Insert Into Bill (BillKind) Values ('进货单')");
        } catch (const EDatabaseError &e) {
            full = e.Kind() == TDbFailure::DiskFull;
        }
    }
    QVERIFY(full);
    const QStringList before = env.AllRows();
    NewBill(env, [] {
        E()->ComboBox5->setEditText("张记鞋业");
        Cell(0, 1)->setText("P1");
        Cell(0, 4)->setText("2");
        E()->BitBtn1->click();
    });
    QCOMPARE(env.script.messages, QStringList{"单据保存失败，未作任何修改\n原因：磁盘已满，请腾出空间后再试"});
    QCOMPARE(env.AllRows(), before);
}

void TestFailures::whatAHandlerMissedEndsAtTheApplication()
{
    // A click whose handler lets a failure out: said once after the event, the program goes on.
    TestEnv env;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw EDatabaseError("（测试）", TDbFailure::DiskFull); });
    button.show();
    QTest::mouseClick(&button, Qt::LeftButton);
    QTRY_COMPARE(env.script.messages, QStringList{"操作失败" + ReasonOf(TDbFailure::DiskFull)});
    QTest::mouseClick(&button, Qt::LeftButton);
    QTRY_COMPARE(env.script.messages.size(), 2);
}

int main(int argc, char **argv)
{
    TGuardedApplication app(argc, argv);
    TestFailures test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_failures.moc"
