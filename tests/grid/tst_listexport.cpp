// "导出" on the lists of the card pages, the size stock list and a customer's
// windows: what each writes, a workbook's cells, and a cancelled save.
#include "cards/AccountPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "sheets/Csv.h"
#include "grid/GridPreviewForm.h"
#include "sheets/SheetFile.h"
#include "masterdata/CustomerForm3.h"
#include "masterdata/SGForm.h"
#include "reportengine/PreviewForm.h"
#include "reports/DataCentrePage.h"
#include "reports/MakeReportForm.h"
#include "app/MainForm.h"
#include "stores/ImportPlan.h"
#include "support/TestEnv.h"

#include <QDir>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QXmlStreamReader>
#include <zip.h>

namespace {
const QDate Today(2024, 3, 15);

// Customers 甲 and 007, accounts 工商银行 and 8801, products 皮鞋A and 皮鞋B with
// stock, quotes and other receivables; a few rows after the working date.
int Books(TestEnv &env)
{
    const int bank = env.AddAccount("工商银行");
    const int till = env.AddAccount("8801");
    const int jia = env.AddCustomer("甲", "本地", 10.256);
    env.AddCustomer("007", "省内", -5);
    const int shoeA = env.AddProduct("皮鞋A", "T1", 12.3456, "00123");
    const int shoeB = env.AddProduct("皮鞋B", "S2", 80, "B-2");
    env.Exec("Update Product Set ProductRemark = '=黑色' Where ProductIndex = ?", {shoeA});
    env.AddLine(env.AddBill("进货单", "供应商", QDate(2024, 3, 1), 0), shoeA, 10);
    env.AddLine(env.AddBill("出货单", "甲", QDate(2024, 3, 5), 100.5, 30, bank), shoeA, -3);
    env.AddBill("进货单", "甲", QDate(2024, 3, 6), -20.5, -10, till);
    env.AddLine(env.AddBill("出货单", "甲", QDate(2024, 3, 20), 1000, 1000, bank), shoeA, -1);
    const int sizes = env.AddBill("进货单", "供应商", QDate(2024, 3, 2), 0);
    env.Exec("Insert Into Store (StoreBill, StoreProduct, StoreNum1, StoreNum10, StoreNumber) Values (?, ?, '2', '4', 6)",
             {sizes, shoeB});
    env.AddSG("甲", QDate(2024, 3, 7), 12.3, "=1+1");
    env.AddSG("甲", QDate(2024, 3, 25), 99, "以后");
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 75.5)", {shoeB, jia});
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 11.125)", {shoeA, jia});
    return jia;
}

// Clicks the list's "导出" where a user finds it.
void ClickExport(TestEnv &env, const QString &list, int customer)
{
    if (list == "customers")
        FormMain->TabSheet8->ExportButton->click();
    else if (list == "products")
        FormMain->TabSheet2->ExportButton->click();
    else if (list == "accounts")
        FormMain->TabSheet3->ExportButton->click();
    else if (list == "sizes") {
        env.script.Then([](QDialog *d) { qobject_cast<TFormPreview *>(d)->ExportButton->click(); });
        FormMain->TabSheet2->SizeStockButton->click();
    } else if (list == "quotes") {
        FormCustomer3->FCustomerIndex = customer;
        env.script.Then([](QDialog *) { FormCustomer3->ExportButton->click(); });
        Dialogs::ShowModal(FormCustomer3);
    } else if (list == "other receivables") {
        FormSG->FCustomerName = "甲";
        env.script.Then([](QDialog *) { FormSG->ExportButton->click(); });
        Dialogs::ShowModal(FormSG);
    }
}

QByteArray Unzipped(const QString &file, const char *entry)
{
    int error = 0;
    zip_t *archive = zip_open(QFile::encodeName(file).constData(), ZIP_RDONLY, &error);
    if (!archive)
        return {};
    QByteArray bytes;
    zip_stat_t st;
    if (zip_stat(archive, entry, 0, &st) == 0)
        if (zip_file_t *f = zip_fopen(archive, entry, 0)) {
            bytes.resize(qsizetype(st.size));
            if (zip_fread(f, bytes.data(), st.size) != zip_int64_t(st.size))
                bytes.clear();
            zip_fclose(f);
        }
    zip_close(archive);
    return bytes;
}

struct XlsxCell {
    QString type, style, value;
    bool formula = false;
};

QHash<QString, XlsxCell> SheetCells(const QByteArray &xml)
{
    QHash<QString, XlsxCell> cells;
    QXmlStreamReader r(xml);
    QString ref;
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"c") {
            ref = r.attributes().value("r").toString();
            cells[ref] = {r.attributes().value("t").toString(), r.attributes().value("s").toString(), {}};
        } else if (r.isStartElement() && r.name() == u"v") {
            cells[ref].value = r.readElementText();
        } else if (r.isStartElement() && r.name() == u"f") {
            cells[ref].formula = true;
        }
    }
    return cells;
}

QStringList SharedStrings(const QByteArray &xml)
{
    QStringList strings;
    QXmlStreamReader r(xml);
    while (!r.atEnd())
        if (r.readNext() == QXmlStreamReader::StartElement && r.name() == u"t")
            strings << r.readElementText();
    return strings;
}

// The number format of each cell style, by the style's index.
QStringList StyleFormats(const QByteArray &xml)
{
    QHash<QString, QString> codes;
    QStringList formats;
    bool inCellXfs = false;
    QXmlStreamReader r(xml);
    while (!r.atEnd()) {
        r.readNext();
        if (r.isStartElement() && r.name() == u"numFmt")
            codes[r.attributes().value("numFmtId").toString()] = r.attributes().value("formatCode").toString();
        else if (r.name() == u"cellXfs")
            inCellXfs = r.isStartElement();
        else if (inCellXfs && r.isStartElement() && r.name() == u"xf")
            formats << codes.value(r.attributes().value("numFmtId").toString());
    }
    return formats;
}
} // namespace

class TestListExport : public QObject {
    Q_OBJECT
private slots:
    void listAsWritten_data();
    void listAsWritten();
    void workbookCells();
    void cancelledSaveWritesNothing();
    void fullDiskSaysSo_data();
    void fullDiskSaysSo();
};

void TestListExport::listAsWritten_data()
{
    QTest::addColumn<QString>("list");
    QTest::addColumn<QList<QStringList>>("lines");
    QTest::addColumn<int>("importedAs");   // the import that reads the list back, -1 none
    // Texts that look like numbers or formulas keep their guard; amounts are to the
    // fen, prices to their own decimals, dates as dates; rows after the 15th do not count.
    QTest::newRow("customers") << "customers"
                               << QList<QStringList>{{"客户名称", "地区", "期初欠款", "货款总额", "其它应收", "已收总额", "客户欠款"},
                                                     {"甲", "本地", "10.26", "80", "12.3", "20", "82.56"},
                                                     {"'007", "省内", "-5", "0", "0", "0", "-5"}}
                               << int(TImportPlan::Customers);
    QTest::newRow("products") << "products"
                              << QList<QStringList>{{"货品编号", "货品名称", "货品规格", "单价", "货品信息", "库存"},
                                                    {"'00123", "皮鞋A", "T1", "12.3456", "'=黑色", "7"},
                                                    {"B-2", "皮鞋B", "S2", "80", "", "6"}}
                              << int(TImportPlan::Products);
    QTest::newRow("accounts") << "accounts"
                              << QList<QStringList>{{"帐户名称", "余额"}, {"工商银行", "30"}, {"'8801", "-10"}} << -1;
    QTest::newRow("sizes") << "sizes"
                           << QList<QStringList>{{"货品编号", "货品名称", "货品规格", "35#", "36#", "37#", "38#", "39#", "40#", "41#",
                                                  "42#", "43#", "44#", "合计"},
                                                 {"'00123", "皮鞋A", "T1", "7", "0", "0", "0", "0", "0", "0", "0", "0", "0", "7"},
                                                 {"B-2", "皮鞋B", "S2", "2", "0", "0", "0", "0", "0", "0", "0", "0", "4", "6"}}
                           << -1;
    QTest::newRow("quotes") << "quotes"
                            << QList<QStringList>{{"客户名称", "货品编号", "货品名称", "货品规格", "单价"},
                                                  {"甲", "'00123", "皮鞋A", "T1", "11.125"},
                                                  {"甲", "B-2", "皮鞋B", "S2", "75.5"}}
                            << int(TImportPlan::Quotes);
    QTest::newRow("other receivables") << "other receivables"
                                       << QList<QStringList>{{"客户名称", "日期", "金额", "备注"}, {"甲", "2024-3-7", "12.3", "'=1+1"}}
                                       << int(TImportPlan::OtherReceivables);
}

void TestListExport::listAsWritten()
{
    QFETCH(QString, list);
    QFETCH(QList<QStringList>, lines);
    QFETCH(int, importedAs);
    TestEnv env;
    env.InstallTemplates();
    env.StartAsFinance();
    const int jia = Books(env);
    env.script.saveFile = env.Dir() + "列表.csv";
    ClickExport(env, list, jia);
    QCOMPARE(env.script.messages, QStringList{"表格导出成功"});
    QCOMPARE(Csv::Read(FileBytes(env.Dir() + "列表.csv")), lines);
    if (importedAs < 0)
        return;
    // The import finds each of its fields under the title the export gave it.
    TSheetFile sheet;
    QString error;
    QVERIFY2(sheet.Read(env.Dir() + "列表.csv", &error), qPrintable(error));
    const TImportPlan plan(TImportPlan::Kind(importedAs), sheet);
    for (int f = 0; f < plan.Fields().size(); ++f)
        QCOMPARE(plan.ColumnOf(f), f);
}

void TestListExport::workbookCells()
{
    TestEnv env;
    env.StartAsFinance();
    const int jia = Books(env);
    const QString file = env.Dir() + "其它应收.xlsx";
    env.script.saveFile = file;
    ClickExport(env, "other receivables", jia);
    QCOMPARE(env.script.messages, QStringList{"表格导出成功"});
    const QHash<QString, XlsxCell> cells = SheetCells(Unzipped(file, "xl/worksheets/sheet1.xml"));
    const QStringList strings = SharedStrings(Unzipped(file, "xl/sharedStrings.xml"));
    const QStringList formats = StyleFormats(Unzipped(file, "xl/styles.xml"));
    // B2 the date, C2 the amount, D2 a remark that reads like a formula.
    const XlsxCell date = cells.value("B2"), amount = cells.value("C2"), remark = cells.value("D2");
    QCOMPARE(date.type, QString());
    QCOMPARE(date.value.toInt(), int(QDate(1899, 12, 30).daysTo(QDate(2024, 3, 7))));
    QVERIFY2(formats.value(date.style.toInt()).contains("yyyy"), qPrintable(formats.join('|')));
    QCOMPARE(amount.type, QString());
    QCOMPARE(amount.value.toDouble(), 12.3);
    QCOMPARE(formats.value(amount.style.toInt()), QString("0.00"));
    QCOMPARE(remark.type, QString("s"));
    QVERIFY(!remark.formula);
    QCOMPARE(strings.value(remark.value.toInt()), QString("=1+1"));
}

void TestListExport::cancelledSaveWritesNothing()
{
    TestEnv env;
    env.StartAsFinance();
    Books(env);
    const QStringList before = QDir(env.Dir()).entryList(QDir::Files);
    FormMain->TabSheet8->ExportButton->click();   // the save dialog cancelled
    QCOMPARE(env.script.fileDialogs.size(), 1);
    QVERIFY(env.script.fileDialogs[0].contains("/客户列表2024-3-15.xlsx|"));
    QCOMPARE(env.script.messages, QStringList());
    QCOMPARE(QDir(env.Dir()).entryList(QDir::Files), before);
}

void TestListExport::fullDiskSaysSo_data()
{
    QTest::addColumn<QString>("road");
    QTest::addColumn<QString>("file");   // the name chosen: a link to /dev/full, which answers every write with ENOSPC
    QTest::addColumn<QString>("what");
    QTest::newRow("list as XLSX") << "export" << "满盘.xlsx" << "表格导出失败";
    QTest::newRow("list as CSV") << "export" << "满盘.csv" << "表格导出失败";
    QTest::newRow("printout as PDF") << "printout" << "满盘.pdf" << "PDF文件“%1”写入失败";
    QTest::newRow("bill search as PDF") << "grid" << "满盘.pdf" << "PDF文件保存失败";
    QTest::newRow("backup") << "backup" << "满盘.mdb" << "数据库备份失败";
}

void TestListExport::fullDiskSaysSo()
{
    QFETCH(QString, road);
    QFETCH(QString, file);
    QFETCH(QString, what);
    TestEnv env;
    env.StartAsFinance();
    Books(env);
    env.InstallTemplates();
    const QString chosen = env.Dir() + file;
    QVERIFY(QFile::link("/dev/full", chosen));
    const QStringList before = QDir(env.Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System);
    const QByteArray books = FileBytes(env.DatabaseFile());
    env.script.saveFile = chosen;
    if (road == "export") {
        FormMain->TabSheet8->ExportButton->click();
    } else if (road == "printout") {
        env.script.Then([](QDialog *d) {
            qobject_cast<TFormPreview *>(d)->PdfButton->click();
            qobject_cast<TFormPreview *>(d)->CloseButton->click();
        });
        FormMain->TabSheet2->SizeStockButton->click();
    } else if (road == "grid") {
        env.script.Then([](QDialog *) { FormMakeReport->BitBtn1->click(); });
        FormMain->TabSheet4->MakeReport->click();
        env.script.Then([](QDialog *d) {
            qobject_cast<TFormGridPreview *>(d)->PdfButton->click();
            qobject_cast<TFormGridPreview *>(d)->CloseButton->click();
        });
        FormMain->TabSheet4->PrintReport->click();
    } else {
        FormMain->ActionSave->trigger();
    }
    QCOMPARE(env.script.messages, QStringList{QString(what).replace("%1", chosen) + "：磁盘已满，请腾出空间后再试（错误号 28）"});
    // Nothing half-written stays beside it, the link stays a link, the books are as they were.
    QCOMPARE(QDir(env.Dir()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System), before);
    QCOMPARE(QFileInfo(chosen).symLinkTarget(), QStringLiteral("/dev/full"));
    QCOMPARE(FileBytes(env.DatabaseFile()), books);
}

QTEST_MAIN(TestListExport)
#include "tst_listexport.moc"
