// Lists brought in from spreadsheet files: what each row becomes, the books after, hostile files.
#include "figures/ExportSheets.h"
#include "sheets/ListSheet.h"
#include "sheets/SheetFile.h"
#include "sheets/XlsxWriter.h"
#include "masterdata/ImportForm.h"
#include "stores/ImportPlan.h"
#include "support/TestEnv.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <zip.h>

namespace {
const QString CustomerCsv = QStringLiteral("客户名称,地区,期初欠款\r\n"
                                           "王记鞋店,省内,120.5\r\n"
                                           "老客户,其它,30\r\n"
                                           ",本地,5\r\n"
                                           "坏价,本地,12.345\r\n"
                                           "\"张\"\"三, 两\",本地,\r\n");

// A workbook of the given text parts, as another program would zip it.
QByteArray Zipped(const QList<QPair<QString, QByteArray>> &parts, const QString &path)
{
    int error = 0;
    zip_t *zip = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    for (const auto &[name, bytes] : parts) {
        zip_source_t *source = zip_source_buffer(zip, bytes.constData(), zip_uint64_t(bytes.size()), 0);
        zip_file_add(zip, name.toUtf8().constData(), source, ZIP_FL_OVERWRITE);
    }
    zip_close(zip);   // reads the buffers, which outlive it
    return FileBytes(path);
}

// A workbook of sheets of text rows, as another program might write it.
QByteArray Workbook(const QList<QPair<QString, QList<QStringList>>> &sheets, const QString &path)
{
    QByteArray book = "<workbook xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>";
    QByteArray rels = "<Relationships>";
    QList<QPair<QString, QByteArray>> parts;
    for (int i = 0; i < sheets.size(); ++i) {
        const QByteArray n = QByteArray::number(i + 1);
        book += "<sheet name=\"" + sheets[i].first.toHtmlEscaped().toUtf8() + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n + "\" Target=\"worksheets/s" + n + ".xml\"/>";
        QByteArray xml = "<worksheet><sheetData>";
        for (int r = 0; r < sheets[i].second.size(); ++r) {
            xml += "<row r=\"" + QByteArray::number(r + 1) + "\">";
            for (const QString &text : sheets[i].second[r])
                xml += "<c t=\"inlineStr\"><is><t>" + text.toHtmlEscaped().toUtf8() + "</t></is></c>";
            xml += "</row>";
        }
        parts << qMakePair("xl/worksheets/s" + QString(n) + ".xml", xml + "</sheetData></worksheet>");
    }
    parts << qMakePair(QStringLiteral("xl/workbook.xml"), book + "</sheets></workbook>")
          << qMakePair(QStringLiteral("xl/_rels/workbook.xml.rels"), rels + "</Relationships>");
    return Zipped(parts, path);
}

// A line of /proc/self/status in bytes.
qint64 ProcStatus(const char *key)
{
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(key))
            return line.mid(qstrlen(key)).trimmed().split(' ').value(0).toLongLong() * 1024;
    return 0;
}

// Forgets the most memory the process has held so far, so the next PeakMemory
// is what comes after; gives what it holds now. In bytes.
qint64 ResetPeakMemory()
{
    QFile clear("/proc/self/clear_refs");
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    return ProcStatus("VmRSS:");
}

qint64 PeakMemory()
{
    return ProcStatus("VmHWM:");
}

TListSheet CustomerSheet()
{
    TListSheet sheet;
    for (const QString &title : CustomerCsv.split("\r\n").first().split(','))
        sheet.AddColumn(title, TListSheet::Text);
    sheet.rows = {{"王记鞋店", "省内", 120.5}, {"老客户", "其它", 30}, {"", "本地", 5}, {"坏价", "本地", 12.345}, {"张\"三, 两", "本地", QVariant()}};
    return sheet;
}

QString Outcomes(const TImportPlan &plan)
{
    QStringList out;
    for (const TImportPlan::Row &row : plan.Rows())
        out << QStringLiteral("%1 %2%3").arg(row.sheetRow).arg(TImportPlan::OutcomeName(row.outcome),
                                             row.note.isEmpty() ? QString() : QLatin1Char(' ') + row.note);
    return out.join('\n');
}

TImportPlan Examined(TImportPlan::Kind kind, const QString &csv, bool update = false)
{
    TSheetFile sheet;
    QString error;
    if (!sheet.ReadBytes(csv.toUtf8(), &error))
        qWarning() << error;
    TImportPlan plan(kind, sheet);
    plan.SetUpdateExisting(update);
    plan.Examine();
    return plan;
}
} // namespace

class TestImport : public QObject {
    Q_OBJECT
private slots:
    void customersFromEveryFile_data();
    void customersFromEveryFile();
    void rowOutcomes_data();
    void rowOutcomes();
    void columnsMatchedByHand();
    void allOrNothing();
    void xlsxRoundTrip();
    void exportedListsComeBackUnchanged();
    void hostileFiles_data();
    void hostileFiles();
    void boundedReading_data();
    void boundedReading();
    void sheetsShopsHave();
};

void TestImport::customersFromEveryFile_data()
{
    QTest::addColumn<QString>("make");   // how the file is made
    QTest::newRow("UTF-8") << "utf8";
    QTest::newRow("UTF-8 with BOM") << "bom";
    QTest::newRow("GB18030") << "gb18030";
    QTest::newRow("XLSX of the program's own") << "xlsx";
    QTest::newRow("XLSX made by LibreOffice") << "libreoffice";
}

void TestImport::customersFromEveryFile()
{
    QFETCH(QString, make);
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("老客户", "本地", 0);
    QString file = env.Dir() + "客户.csv";
    if (make == "utf8" || make == "bom") {
        WriteFile(file, (make == "bom" ? QByteArray("\xEF\xBB\xBF") : QByteArray()) + CustomerCsv.toUtf8());
    } else if (make == "gb18030") {
        QStringEncoder gb("GB18030");
        WriteFile(file, gb(CustomerCsv));
    } else if (make == "xlsx") {
        file = env.Dir() + "客户.xlsx";
        WriteFile(file, XlsxWriter::Workbook(CustomerSheet(), "客户"));
    } else {
        const QString office = QStandardPaths::findExecutable("soffice");
        if (office.isEmpty())
            QSKIP("LibreOffice is not installed: no XLSX of another program to read");
        WriteFile(file, CustomerCsv.toUtf8());
        QProcess convert;
        convert.start(office, {"--headless", "--norestore", "-env:UserInstallation=file://" + env.Dir() + "lo-profile",
                               "--infilter=CSV:44,34,76,1", "--convert-to", "xlsx", "--outdir", env.Dir() + "lo", file});
        QVERIFY(convert.waitForFinished(120000));
        file = env.Dir() + "lo/客户.xlsx";
        QVERIFY2(QFile::exists(file), convert.readAllStandardError().constData());
    }
    env.script.openFile = file;
    env.script.answers = {true};   // import the rows that are right
    QString shown;
    env.script.Then([&](QDialog *window) {
        auto *form = static_cast<TFormImport *>(window);
        form->UpdateBox->click();
        shown = Outcomes(form->Plan());
        form->OkButton->click();
    });
    TFormImport::Run(TImportPlan::Customers);
    QCOMPARE(shown, QString("2 新增\n"
                            "3 更新 地区 本地 → 其它；期初欠款 0 → 30\n"
                            "4 有误 客户名称为空\n"
                            "5 有误 期初欠款“12.345”超过两位小数\n"
                            "6 新增"));
    QCOMPARE(env.script.questions, QStringList{"导入|有 2 行有误，这些行不会导入。\n导入其余的 3 行吗？"});
    QCOMPARE(env.script.messages, QStringList{"导入完成：新增 2 行，更新 1 行"});
    QCOMPARE(env.Rows("Select CustomerName, CustomerRegion, CustomerOwe From Customer Where CustomerIndex > 1 Order By CustomerIndex",
                      "%1 %2 %3", "|"),
             QString("老客户 其它 30.0|王记鞋店 省内 120.5|张\"三, 两 本地 0.0"));
}

void TestImport::rowOutcomes_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("csv");
    QTest::addColumn<bool>("update");
    QTest::addColumn<QString>("outcomes");
    const QString longName = QString(10000, QChar(0x978B));
    QTest::newRow("products") << int(TImportPlan::Products)
                              << "编号,名称,规格,单价,备注\n"
                                 "P1,皮鞋,黑,99.5,\n"          // as the books have it
                                 "P2,布鞋,白,12.3456,软底\n"   // the price changes
                                 "P9,新鞋,红,10,\n"
                                 "P9,又一双,红,11,\n"
                                 ",无号鞋,灰,1.23456,\n"
                                 ",=HYPERLINK(1),灰,1,\n"
                                 ",\"两\n行\",灰,1,\n"
                                 "," + longName + ",灰,1,\n"
                                 ",凉鞋,,abc,\n"
                                 ",拖鞋,,,\n"
                              << false
                              << "2 跳过 与账中相同\n"
                                 "3 跳过 账中已有，未勾选“更新已有记录”（货品信息 （空） → 软底；单价 12 → 12.3456）\n"
                                 "4 有误 货品在表中出现了 2 次（第 4、5 行）\n"
                                 "5 有误 货品在表中出现了 2 次（第 4、5 行）\n"
                                 "6 有误 单价“1.23456”超过四位小数\n"
                                 "7 新增\n"
                                 "8 有误 货品名称不能含有换行、制表符或其它控制字符\n"
                                 "9 有误 货品名称太长（10000 个字，最多 200 个）\n"
                                 "10 有误 单价“abc”不是有效的金额\n"
                                 "11 有误 货品规格为空";
    QTest::newRow("products, updating") << int(TImportPlan::Products) << "货品编号,货品名称,货品规格,单价\nP2,布鞋,蓝,12.3456\n" << true
                                        << "2 更新 货品规格 白 → 蓝；单价 12 → 12.3456";
    QTest::newRow("quotes") << int(TImportPlan::Quotes)
                            << "客户名称,货品编号,货品名称,单价\n"
                               "老客户,P1,,88\n"
                               "老客户,,布鞋,7\n"
                               "老客户,P2,,8.5\n"
                               "路人,P1,,1\n"
                               "老客户,P7,,1\n"
                               "老客户,,,1\n"
                               "老客户,P1,,\n"
                            << true
                            << "2 新增\n"
                               "3 有误 同一客户同一货品的报价在表中出现了 2 次（第 3、4 行）\n"
                               "4 有误 同一客户同一货品的报价在表中出现了 2 次（第 3、4 行）\n"
                               "5 有误 客户“路人”不在账中\n"
                               "6 有误 找不到编号为“P7”的货品\n"
                               "7 有误 货品编号和货品名称都为空\n"
                               "8 有误 单价为空";
    QTest::newRow("other receivables") << int(TImportPlan::OtherReceivables)
                                       << "客户名称,日期,金额,备注\n"
                                          "老客户,2024-03-05,50,旧账\n"
                                          "老客户,2024/3/6,20.5,运费\n"
                                          "老客户,2024年3月7日,1,\n"
                                          "老客户,3月7日,1,\n"
                                          "老客户,2024-03-08,-1,\n"
                                       << false
                                       << "2 跳过 账中已有相同的一笔\n"
                                          "3 新增\n"
                                          "4 新增\n"
                                          "5 有误 日期“3月7日”不是有效的日期\n"
                                          "6 有误 金额“-1”不是有效的金额";
    QTest::newRow("customers twice in the sheet") << int(TImportPlan::Customers) << "名称\n甲\n乙\n甲\n" << false
                                                  << "2 有误 客户名称在表中出现了 2 次（第 2、4 行）\n3 新增\n"
                                                     "4 有误 客户名称在表中出现了 2 次（第 2、4 行）";
}

void TestImport::rowOutcomes()
{
    QFETCH(int, kind);
    QFETCH(QString, csv);
    QFETCH(bool, update);
    QFETCH(QString, outcomes);
    TestEnv env;
    const int customer = env.AddCustomer("老客户");
    env.AddProduct("皮鞋", "黑", 99.5, "P1");
    env.AddProduct("布鞋", "白", 12, "P2");
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 7)",
             {env.Scalar("Select ProductIndex From Product Where ProductSerial = 'P2'"), customer});
    env.AddSG("老客户", QDate(2024, 3, 5), 50, "旧账");
    const QStringList before = env.AllRows();
    const TImportPlan plan = Examined(TImportPlan::Kind(kind), csv, update);
    QCOMPARE(Outcomes(plan).split('\n').filter(QRegularExpression("^\\d+ (新增|更新|有误|跳过)")).join('\n'), outcomes);
    QCOMPARE(env.AllRows(), before);   // looking writes nothing
}

void TestImport::columnsMatchedByHand()
{
    TestEnv env;
    env.StartAsFinance();
    WriteFile(env.Dir() + "c.csv", QStringLiteral("Name,Owes\n甲,3\n").toUtf8());
    env.script.openFile = env.Dir() + "c.csv";
    QStringList summaries;
    env.script.Then([&](QDialog *window) {
        auto *form = static_cast<TFormImport *>(window);
        summaries << form->Summary->text() << QString::number(form->OkButton->isEnabled());
        form->ColumnBoxes[0]->setCurrentIndex(1);   // A 列：Name
        form->ColumnBoxes[2]->setCurrentIndex(2);   // B 列：Owes
        summaries << form->Summary->text() << QString::number(form->OkButton->isEnabled());
        form->OkButton->click();
    });
    TFormImport::Run(TImportPlan::Customers);
    QCOMPARE(summaries, (QStringList{"共 1 行：新增 0，更新 0，跳过 0，有误 1\n表中找不到 “客户名称”、“地区”、“期初欠款” 列，可在上方选择对应的列"
                                     "\n不导入的列：A 列：Name、B 列：Owes", "0",
                                     "共 1 行：新增 1，更新 0，跳过 0，有误 0\n表中找不到 “地区” 列，可在上方选择对应的列", "1"}));
    QCOMPARE(env.Rows("Select CustomerName, CustomerRegion, CustomerOwe From Customer Where CustomerIndex > 1", "%1 %2 %3"),
             QString("甲 本地 3.0"));
}

void TestImport::allOrNothing()
{
    TestEnv env;
    env.StartAsFinance();
    const QStringList before = env.AllRows();
    env.Refuse("Insert", "Product", "(Select Count(*) From Product) > 3");   // the third new product fails
    TImportPlan plan = Examined(TImportPlan::Products, "编号,名称,规格\nA,甲,x\nB,乙,x\nC,丙,x\nD,丁,x\n");
    QCOMPARE(plan.Count(TImportPlan::Add), 4);
    QVERIFY(!plan.Apply());
    QCOMPARE(env.AllRows(), before);
}

void TestImport::xlsxRoundTrip()
{
    // What the program writes reads back as the same texts, the guard-free way.
    TListSheet sheet;
    sheet.AddColumn("编号", TListSheet::Text);
    sheet.AddColumn("金额", TListSheet::Money);
    sheet.AddColumn("日期", TListSheet::Date);
    sheet.AddColumn("数量", TListSheet::Quantity);
    sheet.AddColumn("单价", TListSheet::Price);
    sheet.rows = {{"00123", 1200.0, QDate(2024, 3, 5), 12, 12.3456}, {"=1+1", -0.5, QVariant(), 0, 0.1},
                  {QString("王\"记\", 鞋\t店\n第二行"), 1.005, QDate(1999, 12, 31), -3, 7.0}};
    for (const QString &suffix : {"xlsx", "csv"}) {
        const bool xlsx = suffix == "xlsx";   // a CSV holds the date as shown, an XLSX as a date
        TSheetFile back;
        QString error;
        QVERIFY2(back.ReadBytes(xlsx ? XlsxWriter::Workbook(sheet, "表") : sheet.Csv(), &error), qPrintable(error));
        QList<QStringList> rows;
        for (const TSheetRow &row : back.rows)
            rows << row.Texts();
        QCOMPARE(rows, (QList<QStringList>{{"编号", "金额", "日期", "数量", "单价"},
                                            {"00123", "1200", xlsx ? "2024-03-05" : "2024-3-5", "12", "12.3456"},
                                            {"=1+1", "-0.5", "", "0", "0.1"},
                                            {"王\"记\", 鞋\t店\n第二行", "1.01", "1999-12-31", "-3", "7"}}));
    }
}

void TestImport::exportedListsComeBackUnchanged()
{
    TestEnv env;
    const int customer = env.AddCustomer("王记\"鞋店\", 老店", "省内", 120.5);
    env.AddCustomer("00123", "其它", 0);
    // Whatever the records hold comes back: a formula-like name, edge spaces,
    // and what an older program let in (a tab, a name longer than the editor takes).
    for (const QString &name : {QString("=1+1"), QString("  王记  "), QString("'1"), QString("甲\t乙"), QString(300, QChar(0x978B))})
        env.AddCustomer(name, "本地", 1);
    const int product = env.AddProduct("皮鞋", "黑 42", 99.5, "00123");
    env.Exec("Update Product Set ProductRemark = ? Where ProductIndex = ?", {QString("软底\n真皮"), product});
    env.AddProduct("无号鞋", "白", 0.1234);
    env.Exec("Insert Into Price (PriceProduct, PriceCustomer, PriceValue) Values (?, ?, 88.8)", {product, customer});
    env.AddSG("00123", QDate(2024, 3, 5), 50, "旧账");
    const QDate day(2024, 3, 15);
    struct List {
        TImportPlan::Kind kind;
        std::function<bool(TListSheet &)> make;
    } lists[] = {
        {TImportPlan::Customers, [&](TListSheet &s) { return ExportSheets::Customers(QStringLiteral("Select * From Customer Where CustomerIndex > 1"), day, s); }},
        {TImportPlan::Products, [&](TListSheet &s) { return ExportSheets::Products(QStringLiteral("Select * From Product Where ProductIndex > 1"), day, s); }},
        {TImportPlan::Quotes, [&](TListSheet &s) { return ExportSheets::Quotes(customer, s); }},
        {TImportPlan::OtherReceivables, [&](TListSheet &s) { return ExportSheets::OtherReceivables("00123", day, s); }},
    };
    const QStringList before = env.AllRows();
    for (const List &list : lists)
        for (const bool xlsx : {true, false}) {
            TListSheet exported;
            QVERIFY(list.make(exported));
            TSheetFile sheet;
            QString error;
            QVERIFY2(sheet.ReadBytes(xlsx ? XlsxWriter::Workbook(exported, "表") : exported.Csv(), &error), qPrintable(error));
            TImportPlan plan(list.kind, sheet);
            plan.SetUpdateExisting(true);
            QVERIFY(plan.Examine());
            const QString what = TImportPlan::KindName(list.kind) + (xlsx ? " xlsx" : " csv");
            QVERIFY2(plan.Rows().size() == exported.rows.size() && plan.Count(TImportPlan::Skip) == plan.Rows().size(),
                     qPrintable(what + "\n" + Outcomes(plan)));
            QVERIFY(plan.Apply());
        }
    // Nothing but the journal's word that the imports wrote nothing.
    QCOMPARE(env.AllRows().filter(QRegularExpression("^(?!Journal\\|)")), before);
    QCOMPARE(env.Rows("Select JournalAction, JournalKind, JournalText From Journal", "%1 %2 %3", "|").count("导入"), 8);
}

void TestImport::hostileFiles_data()
{
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("message");
    QTest::newRow("a picture") << "png" << "文件不是 CSV 或 XLSX 表格（含有二进制内容）";
    QTest::newRow("old Excel") << "xls" << "这是旧版 Excel（.xls）文件，请在 Excel 或 WPS 中另存为 .xlsx 或 .csv 后再导入";
    QTest::newRow("a zip of something else") << "zip" << "压缩包里没有 Excel 工作簿（不是 XLSX 文件）";
    QTest::newRow("a zip bomb") << "bomb" << "工作簿解压后过大（超过 96 MB），不像是正常的表格文件";
    QTest::newRow("broken XML") << "xml" << "工作簿内容已损坏（xl/worksheets/sheet1.xml 第 1 行：";
    QTest::newRow("a cut-off zip") << "cut" << "文件不是有效的 XLSX 工作簿（无法打开压缩包）";
    QTest::newRow("100 MB") << "big" << "文件太大（100 MB），能导入的表格文件不超过 50 MB";
    QTest::newRow("neither UTF-8 nor GB18030") << "latin" << "文件不是 CSV 或 XLSX 表格（文字既不是 UTF-8 也不是 GB18030 编码）";
    QTest::newRow("empty") << "empty" << "表格是空的";
}

void TestImport::hostileFiles()
{
    QFETCH(QString, make);
    QFETCH(QString, message);
    TestEnv env;
    env.StartAsFinance();
    const QStringList before = env.AllRows();
    const QString file = env.Dir() + "hostile";
    const QByteArray workbook = XlsxWriter::Workbook(CustomerSheet(), "客户");
    if (make == "png")
        WriteFile(file, QByteArray("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16));
    else if (make == "xls")
        WriteFile(file, QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'));
    else if (make == "zip")
        Zipped({{"readme.txt", "hello"}}, file);
    else if (make == "bomb") {
        const QByteArray rows = "<worksheet><sheetData>" + QByteArray("<x/>").repeated(40 * 1024 * 1024);
        Zipped({{"xl/workbook.xml", "<workbook/>"}, {"xl/worksheets/sheet1.xml", rows}}, file);
        QVERIFY(QFileInfo(file).size() < 2 * 1024 * 1024);
    } else if (make == "xml")
        Zipped({{"xl/workbook.xml", "<workbook/>"}, {"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row r=\"1\"><c r=\"A1\"><v>1</v></row>"}},
               file);
    else if (make == "cut")
        WriteFile(file, workbook.left(workbook.size() / 2));
    else if (make == "big") {
        QFile big(file);
        QVERIFY(big.open(QIODevice::WriteOnly));
        QVERIFY(big.resize(100 * 1024 * 1024));
    } else if (make == "latin")
        WriteFile(file, "Name\nM\xFC\xFCller \xE9\xE9\xFF\n");
    else
        WriteFile(file, "\r\n,,\r\n");
    env.script.openFile = file;
    TFormImport::Run(TImportPlan::Customers);
    QCOMPARE(env.script.modals, QStringList());
    QCOMPARE(env.script.messages.size(), 1);
    QVERIFY2(env.script.messages[0].startsWith("无法导入“hostile”：" + message), qPrintable(env.script.messages[0]));
    QCOMPARE(env.AllRows(), before);
}

void TestImport::boundedReading_data()
{
    QTest::addColumn<QString>("make");
    QTest::addColumn<QString>("outcome");   // the message, or how many rows were read
    const QString limits = TSheetRows::LimitText();
    QTest::newRow("a cell far to the right, 3000 times") << "far" << "3000 rows";
    QTest::newRow("a sheet that unpacks past the limit") << "inflating" << "工作簿解压后过大（超过 96 MB），不像是正常的表格文件";
    QTest::newRow("25 million fields in a CSV") << "fields" << "表格太大。" + limits;
    QTest::newRow("too many rows") << "rows" << "表格的行数太多。" + limits;
    QTest::newRow("one cell of 40,000 characters") << "long" << "第 1 行有一格文字太长（40000 个字）。" + limits;
    QTest::newRow("shared texts past the limit") << "shared" << "工作簿的文字太多。" + limits;
    QTest::newRow("a number below the smallest double") << "subnormal" << "2 rows";
    QTest::newRow("the most a sheet may hold") << "most" << "100000 rows";
}

void TestImport::boundedReading()
{
    QFETCH(QString, make);
    QFETCH(QString, outcome);
    QTemporaryDir dir;
    const QString path = dir.filePath("f");
    QByteArray bytes;
    const QByteArray empty = "<workbook/>";
    if (make == "far") {
        QByteArray xml = "<worksheet><sheetData>";
        for (int r = 1; r <= 3000; ++r)
            xml += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"XFD" + QByteArray::number(r) + "\"><v>1</v></c></row>";
        bytes = Zipped({{"xl/workbook.xml", empty}, {"xl/worksheets/sheet1.xml", xml + "</sheetData></worksheet>"}}, path);
        QVERIFY(bytes.size() < 64 * 1024);
    } else if (make == "inflating") {
        bytes = Zipped({{"xl/workbook.xml", empty},
                        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData>" + QByteArray(200 * 1024 * 1024, ' ') + "</sheetData></worksheet>"}},
                       path);
    } else if (make == "fields") {
        bytes = QByteArray("a,").repeated(19).append("a\n").repeated(1250 * 1000);
    } else if (make == "rows") {
        bytes = QByteArray("a\n").repeated(TSheetRows::MaxRows + 1);
    } else if (make == "long") {
        bytes = QByteArray(40000, 'x') + "\n";
    } else if (make == "shared") {
        const QByteArray item = "<si><t>" + QByteArray(1000, 'x') + "</t></si>";
        bytes = Zipped({{"xl/workbook.xml", empty}, {"xl/sharedStrings.xml", "<sst>" + item.repeated(40000) + "</sst>"},
                        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData/></worksheet>"}},
                       path);
    } else if (make == "subnormal") {
        bytes = Zipped({{"xl/workbook.xml", empty},
                        {"xl/worksheets/sheet1.xml", "<worksheet><sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>单价</t></is></c></row>"
                                                     "<row r=\"2\"><c><v>1E-310</v></c></row></sheetData></worksheet>"}},
                       path);
    } else {
        bytes = QByteArray(QByteArray(29, 'x') + ',').repeated(9).append(QByteArray(29, 'x')).append('\n').repeated(TSheetRows::MaxRows);
    }
    const qint64 before = ResetPeakMemory();
    TSheetFile sheet;
    QString error;
    const bool read = sheet.ReadBytes(std::move(bytes), &error);
    const qint64 spent = PeakMemory() - before;
    QCOMPARE(read ? QString("%1 rows").arg(sheet.rows.size()) : error, outcome);
    QVERIFY2(spent < 300LL * 1024 * 1024, qPrintable(QString("%1 MB").arg(spent / (1024 * 1024))));
    if (make == "far")
        QCOMPARE(sheet.columns, QList<int>{16383});
    if (make == "subnormal")
        QCOMPARE(sheet.rows[1].Cell(0), "0." + QString(309, '0') + "1");
}

void TestImport::sheetsShopsHave()
{
    TestEnv env;
    env.StartAsFinance();
    env.AddCustomer("老客户", "本地", 0);
    const QString file = env.Dir() + "资料.xlsx";
    Workbook({{"说明", {{"本表由门店整理"}}},
              {"客户资料",
               {{"客户资料"}, {"客户名称", "地区", "电话", "联系人"}, {"=1+1", "省外", "138", "王"}, {"老客户", "外地"}, {"新客", "本地"}}}},
             file);
    env.script.openFile = file;
    QStringList seen;
    env.script.Then([&](QDialog *window) {
        auto *form = static_cast<TFormImport *>(window);
        seen << form->SheetBox->currentText() + "/" + QString::number(form->SheetBox->count());
        form->SheetBox->setCurrentIndex(1);
        // The title row is found below the sheet's own title.
        seen << form->SheetBox->currentText() << form->TitleRowBox->currentText() << form->ColumnBoxes[0]->currentText()
             << form->Summary->text() << Outcomes(form->Plan());
        form->TitleRowBox->setCurrentIndex(0);
        seen << form->ColumnBoxes[0]->currentText();
        form->TitleRowBox->setCurrentIndex(1);
        // Each value of 地区 the books do not know is taken for one of theirs, once for all its rows.
        seen << QStringList{form->RegionValueBox->itemText(0), form->RegionValueBox->itemText(1)}.join("/");
        form->RegionValueBox->setCurrentIndex(0);
        form->RegionTargetBox->setCurrentIndex(form->RegionTargetBox->findText("其它"));
        form->RegionValueBox->setCurrentIndex(1);
        form->RegionTargetBox->setCurrentIndex(form->RegionTargetBox->findText("省内"));
        form->UpdateBox->click();
        seen << Outcomes(form->Plan());
        form->OkButton->click();
    });
    TFormImport::Run(TImportPlan::Customers);
    QCOMPARE(seen, (QStringList{"说明/2", "客户资料", "第 2 行：客户名称  地区  电话  联系人", "A 列：客户名称",
                                "共 3 行：新增 1，更新 0，跳过 0，有误 2\n表中找不到 “期初欠款” 列，可在上方选择对应的列\n不导入的列：C 列：电话、D 列：联系人",
                                "3 有误 地区“省外”只能是本地、省内或其它，可在上方指定它对应哪一个\n"
                                "4 有误 地区“外地”只能是本地、省内或其它，可在上方指定它对应哪一个\n5 新增",
                                "（不导入）", "省外/外地", "3 新增 表中地区“省外”作为其它\n4 更新 地区 本地 → 省内；表中地区“外地”作为省内\n5 新增"}));
    QCOMPARE(env.script.messages, QStringList{"导入完成：新增 2 行，更新 1 行"});
    QCOMPARE(env.Rows("Select CustomerName, CustomerRegion From Customer Where CustomerIndex > 1 Order By CustomerIndex", "%1 %2", "|"),
             QString("老客户 省内|=1+1 其它|新客 本地"));
}

QTEST_MAIN(TestImport)
#include "tst_import.moc"
