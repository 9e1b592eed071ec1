// The report engine on small templates: pagination, page numbers, stretching
// rows, the template file, PDF output, the preview and the designer.
#include "reportengine/DesignCanvas.h"
#include "reportengine/DesignForm.h"
#include "reportengine/PreviewForm.h"
#include "reportengine/PreviewPage.h"
#include "reportengine/Report.h"
#include "reportengine/ReportFonts.h"
#include "reportengine/TemplateFile.h"
#include "support/TestEnv.h"

#include <QComboBox>
#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QScrollArea>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTest>
#include <QToolButton>

namespace {
// A4 with 12 mm margins: a 20 mm title, an 8 mm column header and a 10 mm
// footer leave room for 23 rows of 10 mm on the first page and 25 on the others.
const char *ListTemplate = R"(
[Report]
Name=清单
Paper=A4
Margins=15,12,15,12
[Band]
Type=ReportTitle
Height=20
[Text]
Rect=0,0,180,12
Text=货品清单
Font=楷体_GB2312,18,Bold
Align=Center
[Field]
Rect=0,12,180,8
DataSet=PrintList
Field=ListValue
[Band]
Type=ColumnHeader
Height=8
[Text]
Rect=0,0,90,8
Text=名称
Border=All
[Band]
Type=MasterData
Height=10
DataSet=PrintReport
[Field]
Rect=0,0,90,10
DataSet=PrintReport
Field=ReportGrid1
Border=All
[Field]
Rect=90,0,90,10
Field=ReportGrid2
Border=All
Align=Right
[Band]
Type=Summary
Height=10
[Text]
Rect=0,0,180,10
Text=清单结束
[Band]
Type=PageFooter
Height=10
[Text]
Rect=0,2,180,6
Text=第 [Page] 页 共 [Pages] 页
Align=Center
)";

TReportTemplate Parsed(const QString &text)
{
    TReportTemplate tpl;
    QString error;
    if (TTemplateFile::Parse(text, &tpl, &error) != TTemplateFile::Loaded)
        qFatal("template: %s", qPrintable(error));
    return tpl;
}

TReportDataSet Rows(int count)
{
    TReportDataSet rows({QStringLiteral("ReportGrid1"), QStringLiteral("ReportGrid2")});
    for (int i = 1; i <= count; ++i)
        rows.AppendRow({QStringLiteral("行%1").arg(i), QString::number(i * 1.5)});
    return rows;
}

// A report on the list template with count rows, prepared.
void PrepareList(TReport &report, int count)
{
    report.SetTemplate(Parsed(QString::fromUtf8(ListTemplate)));
    report.SetDataSet(QStringLiteral("PrintReport"), Rows(count));
    TReportDataSet title({QStringLiteral("ListValue")});
    title.AppendRow({QStringLiteral("2024年3月份")});
    report.SetDataSet(QStringLiteral("PrintList"), title);
    QVERIFY(report.PrepareReport());
}

QByteArray FileStart(const QString &file, int bytes)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.read(bytes) : QByteArray();
}
} // namespace

class TestReportEngine : public QObject {
    Q_OBJECT
private slots:
    void pagination_data();
    void pagination();
    void wrappedRowGrows();
    void templateFileRoundTrip();
    void templateFileErrors_data();
    void templateFileErrors();
    void missingTemplateShowsNothing();
    void fieldNamingNothingIsReported_data();
    void fieldNamingNothingIsReported();
    void hugeTextIsBounded();
    void pdfHoldsTheTexts();
    void pdfTextIsThePageText_data();
    void pdfTextIsThePageText();
    void chineseFontsFallBack();
    void previewPagesFindPrintAndPdf();
    void designerEditsMovesAndSaves();
};

void TestReportEngine::pagination_data()
{
    QTest::addColumn<int>("rows");
    QTest::addColumn<QList<int>>("rowsPerPage");
    QTest::addColumn<int>("summaryPage");
    QTest::newRow("no rows") << 0 << QList<int>{0} << 1;
    QTest::newRow("first page full, summary on the next") << 23 << QList<int>{23, 0} << 2;
    QTest::newRow("three pages") << 60 << QList<int>{23, 25, 12} << 3;
    QTest::newRow("two full pages") << 48 << QList<int>{23, 25, 0} << 3;
}

void TestReportEngine::pagination()
{
    QFETCH(int, rows);
    QFETCH(QList<int>, rowsPerPage);
    QFETCH(int, summaryPage);
    TReport report;
    PrepareList(report, rows);
    QCOMPARE(report.PageCount(), rowsPerPage.size());

    QList<int> seen(rows + 1, 0);
    int next = 1;
    static const QRegularExpression rowText(QStringLiteral("^行(\\d+)$"));
    for (int p = 0; p < report.PageCount(); ++p) {
        const QStringList texts = report.PageTexts(p);
        int onPage = 0;
        for (const QString &t : texts) {
            const auto m = rowText.match(t);
            if (!m.hasMatch())
                continue;
            const int row = m.captured(1).toInt();
            QCOMPARE(row, next++);   // in order, none skipped
            ++seen[row];
            ++onPage;
        }
        QCOMPARE(onPage, rowsPerPage[p]);
        QCOMPARE(texts.count(QStringLiteral("货品清单")), p == 0 ? 1 : 0);
        QCOMPARE(texts.count(QStringLiteral("2024年3月份")), p == 0 ? 1 : 0);
        QCOMPARE(texts.count(QStringLiteral("名称")), 1);
        QCOMPARE(texts.count(QStringLiteral("清单结束")), p + 1 == summaryPage ? 1 : 0);
        QCOMPARE(texts.last(), QStringLiteral("第 %1 页 共 %2 页").arg(p + 1).arg(report.PageCount()));
    }
    QCOMPARE(next, rows + 1);
    for (int i = 1; i <= rows; ++i)
        QCOMPARE(seen[i], 1);
    // Rows stay inside the paper, above the footer.
    for (const TPreparedPage &page : report.Pages())
        for (const TReportItem &item : page.items)
            QVERIFY(item.rect.bottom() <= 297 - 12 + 0.01);
}

void TestReportEngine::wrappedRowGrows()
{
    TReportTemplate tpl = Parsed(QString::fromUtf8(ListTemplate));
    TReportBand *master = tpl.Band(TReportBand::MasterData);
    master->stretch = true;
    master->items[0].wrap = true;
    TReport report;
    report.SetTemplate(tpl);
    TReportDataSet rows({QStringLiteral("ReportGrid1"), QStringLiteral("ReportGrid2")});
    rows.AppendRow({QStringLiteral("很长的货品名称，一行写不下，要折成好几行才能完整地印出来，不能被截掉。"
                                   "再加一句，让它至少占三行；再加一句，让它至少占三行。")});
    rows.AppendRow({QStringLiteral("短")});
    report.SetDataSet(QStringLiteral("PrintReport"), rows);
    QVERIFY(report.PrepareReport());
    const QList<TReportItem> &items = report.Pages()[0].items;
    auto find = [&items](const QString &prefix) {
        for (const TReportItem &i : items)
            if (i.text.startsWith(prefix))
                return i.rect;
        return QRectF();
    };
    const QRectF longCell = find(QStringLiteral("很长"));
    const QRectF shortCell = find(QStringLiteral("短"));
    QVERIFY2(longCell.height() > 11, qPrintable(QString::number(longCell.height())));
    QCOMPARE(shortCell.top(), longCell.bottom());   // the next row starts below the grown one
    QCOMPARE(shortCell.height(), 10.0);
}

void TestReportEngine::templateFileRoundTrip()
{
    TReportTemplate tpl = Parsed(QString::fromUtf8(ListTemplate));
    tpl.bands[0].items[0].text = QStringLiteral("两行\n标题 \\ 反斜杠");
    tpl.bands[0].items[0].fill = QColor(QStringLiteral("#e8e8e8"));
    tpl.SetPaper(QStringLiteral("A5"), true);
    const TReportTemplate back = Parsed(TTemplateFile::Write(tpl));
    QCOMPARE(TTemplateFile::Write(back), TTemplateFile::Write(tpl));
    QCOMPARE(back.paper, QSizeF(210, 148));
    QCOMPARE(back.bands.size(), 5);
    QCOMPARE(back.bands[0].items[0].text, tpl.bands[0].items[0].text);
    QCOMPARE(back.bands[0].items[0].align, Qt::AlignHCenter | Qt::AlignVCenter);
    QCOMPARE(back.bands[2].dataSet, QStringLiteral("PrintReport"));
    QCOMPARE(back.bands[2].items[1].borders, int(TReportItem::AllBorders));
    QCOMPARE(back.bands[0].items[0].fontFamily, QStringLiteral("楷体_GB2312"));
    QVERIFY(back.bands[0].items[0].bold);
}

void TestReportEngine::templateFileErrors_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("error");
    QTest::newRow("item before a band") << "[Report]\n[Text]\nText=x" << "第 2 行：项目必须在 [Band] 之后";
    QTest::newRow("unknown key") << "[Report]\n[Band]\nType=Summary\nHight=3" << "第 4 行：未知的栏属性“Hight”";
    QTest::newRow("bad rect") << "[Band]\n[Field]\nRect=1,2,3" << "第 3 行：“1,2,3”应为4个用逗号分开的数";
    QTest::newRow("bad band type") << "[Band]\nType=Detail" << "第 2 行：未知的栏类型“Detail”";
    QTest::newRow("bad paper") << "[Report]\nPaper=A9" << "第 2 行：“A9”不是有效的纸张";
    // Numbers that compare false with every limit, or that no page holds.
    QTest::newRow("NaN paper") << "[Report]\nName=x\nPaper=nanxnan" << "第 3 行：“nanxnan”不是有效的纸张";
    QTest::newRow("huge paper") << "[Report]\nPaper=1e300x200" << "第 2 行：“1e300x200”不是有效的纸张";
    QTest::newRow("infinite margin") << "[Report]\nMargins=10,inf,10,10" << "第 2 行：“inf”不是有效的尺寸";
    QTest::newRow("NaN rect") << "[Band]\n[Field]\nRect=0,nan,30,7" << "第 3 行：“nan”不是有效的尺寸";
    QTest::newRow("huge rect") << "[Band]\n[Line]\nRect=0,0,1e300,7" << "第 3 行：“1e300”超出允许的范围（最大 10000）";
    QTest::newRow("NaN font size") << "[Band]\n[Text]\nFont=宋体,nan" << "第 3 行：“nan”不是有效的尺寸";
    QTest::newRow("huge font size") << "[Band]\n[Text]\nFont=宋体,5000,Bold" << "第 3 行：“5000”超出允许的范围（最大 1000）";
    QTest::newRow("infinite height") << "[Band]\nType=Summary\nHeight=-inf" << "第 3 行：“-inf”不是有效的尺寸";
    QTest::newRow("NaN pen") << "[Band]\n[Frame]\nPen=NaN" << "第 3 行：“NaN”不是有效的尺寸";
    QString many = "[Band]\n";
    for (int i = 0; i < 2001; ++i)
        many += "[Line]\n";
    QTest::newRow("too many items") << many << "第 2002 行：项目太多，一个模板最多 2000 个项目";
    // Text in many scripts takes time by the character to lay out, on every page it is on.
    QTest::newRow("text of a megabyte") << "[Band]\n[Text]\nRect=0,0,30,7\nText=" + QString(1000000, QChar(0x0915))
                                        << "第 4 行：文字过长（1000000 字），一个项目最多 1000 字";
    QTest::newRow("text just too long") << "[Band]\n[Text]\nText=" + QString(1000, 'x') + "\\n"
                                        << "第 3 行：文字过长（1001 字），一个项目最多 1000 字";
    QTest::newRow("texts too long together") << "[Band]\n" + ("[Text]\nText=" + QString(1000, 'x') + "\n").repeated(11)
                                             << "模板的文字过多（共 11000 字），一个模板最多 10000 字";
}

void TestReportEngine::templateFileErrors()
{
    QFETCH(QString, text);
    QFETCH(QString, error);
    TReportTemplate tpl;
    tpl.name = QStringLiteral("不变");
    QString message;
    QCOMPARE(TTemplateFile::Parse(text, &tpl, &message), TTemplateFile::Invalid);
    QCOMPARE(message, error);
    QCOMPARE(tpl.name, QStringLiteral("不变"));
}

void TestReportEngine::missingTemplateShowsNothing()
{
    TestEnv env;
    TReport report;
    PrepareList(report, 3);
    QVERIFY(!report.LoadFromFile(env.Dir() + QStringLiteral("Frf/Bill.frf")));
    QCOMPARE(report.Template().name, QStringLiteral("清单"));   // keeps what it had

    QVERIFY(!report.ShowTemplate(QStringLiteral("Frf/Bill.frf")));
    QFile broken(env.Dir() + QStringLiteral("Broken.frf"));
    QVERIFY(broken.open(QIODevice::WriteOnly));
    broken.write("[Band]\nType=Nothing\n");
    broken.close();
    QVERIFY(!report.ShowTemplate(QStringLiteral("Broken.frf")));
    QCOMPARE(env.script.messages, (QStringList{QStringLiteral("报表模板“Frf/Bill.frf”不存在"),
                                               QStringLiteral("报表模板“Broken.frf”有误：第 2 行：未知的栏类型“Nothing”")}));
    QVERIFY(env.script.modals.isEmpty());
}

void TestReportEngine::fieldNamingNothingIsReported_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("error");
    QTest::newRow("column missing") << "Field=ReportGrid2" << "Field=ReportGrid7"
                                    << "第 36 行：数据集“PrintReport”中没有字段“ReportGrid7”";
    QTest::newRow("data set missing") << "DataSet=PrintList" << "DataSet=PrintTitle"
                                      << "第 17 行：字段“ListValue”所在的数据集“PrintTitle”不存在";
    QTest::newRow("band data set missing") << "Height=10\nDataSet=PrintReport" << "Height=10\nDataSet=Report"
                                           << "第 28 行：数据栏的数据集“Report”不存在";
    QTest::newRow("template too large") << "Text=清单结束" << "BIG" << "模板文件过大（1025 KB），最多 1024 KB";
}

void TestReportEngine::fieldNamingNothingIsReported()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, error);
    TestEnv env;
    TReport report;
    PrepareList(report, 3);
    QString text = QString::fromUtf8(ListTemplate);
    QVERIFY(text.contains(from));
    text.replace(text.lastIndexOf(from), from.size(), to == "BIG" ? from + "\n#" + QString(1 << 20, 'x') : to);
    QFile file(env.Dir() + QStringLiteral("List.frf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();
    QVERIFY(!report.ShowTemplate(QStringLiteral("List.frf")));
    QCOMPARE(env.script.messages, QStringList{QStringLiteral("报表模板“List.frf”有误：") + error});
    QVERIFY(env.script.modals.isEmpty());
}

void TestReportEngine::hugeTextIsBounded()
{
    TestEnv env;
    // A template file holding a text of a megabyte is refused as it is loaded, the limit named.
    QFile file(env.Dir() + QStringLiteral("Huge.frf"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(("[Report]\n[Band]\nType=Summary\nHeight=10\n[Text]\nRect=0,0,180,10\nWrap=Yes\nText=" + QString(349000, QChar(0x0915))).toUtf8());
    file.close();
    TReport report;
    QVERIFY(!report.ShowTemplate(QStringLiteral("Huge.frf")));
    QCOMPARE(env.script.messages, QStringList{"报表模板“Huge.frf”有误：第 8 行：文字过长（349000 字），一个项目最多 1000 字"});
    QVERIFY(env.script.modals.isEmpty());

    // A value of a megabyte in the books prints as much as a box can hold.
    report.SetTemplate(Parsed(QString::fromUtf8(ListTemplate)));
    TReportDataSet rows({QStringLiteral("ReportGrid1"), QStringLiteral("ReportGrid2")});
    rows.AppendRow({QString(1 << 20, QChar(0x0915)), QStringLiteral("1")});
    report.SetDataSet(QStringLiteral("PrintReport"), rows);
    QVERIFY(report.PrepareReport());
    QVERIFY(report.PageTexts(0).contains(QString(TTemplateFile::MaxItemText, QChar(0x0915))));
}

void TestReportEngine::pdfHoldsTheTexts()
{
    QTemporaryDir dir;
    TReport report;
    PrepareList(report, 60);
    const QString file = dir.filePath(QStringLiteral("清单 'a'.pdf"));
    QVERIFY(report.ExportPdf(file));
    QCOMPARE(FileStart(file, 5), QByteArray("%PDF-"));
    QVERIFY(!report.ExportPdf(dir.filePath(QStringLiteral("no/such/folder/x.pdf"))));
    // A failed write leaves the file that was there.
    const QString old = dir.filePath(QStringLiteral("old.pdf"));
    QFile keep(old);
    QVERIFY(keep.open(QIODevice::WriteOnly) && keep.write("earlier copy") == 12);
    keep.close();
    QVERIFY(!TReport().ExportPdf(old));
    QCOMPARE(FileStart(old, 100), QByteArray("earlier copy"));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);   // no temporary left

    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    if (pdftotext.isEmpty())
        return;   // the prepared pages were checked above; the text layer needs the tool
    QProcess run;
    run.start(pdftotext, {file, QStringLiteral("-")});
    QVERIFY(run.waitForFinished(60000));
    const QString text = QString::fromUtf8(run.readAllStandardOutput());
    for (const QString &expected : {QStringLiteral("货品清单"), QStringLiteral("2024年3月份"), QStringLiteral("行60"),
                                    QStringLiteral("第 3 页 共 3 页"), QStringLiteral("清单结束")})
        QVERIFY2(text.contains(expected), qPrintable(expected));
    QCOMPARE(text.count(QStringLiteral("\f")), 3);   // one form feed a page
}

void TestReportEngine::pdfTextIsThePageText_data()
{
    QTest::addColumn<QString>("font");
    for (const char *family : {"宋体", "楷体_GB2312", "黑体", "Arial"}) {
        QTest::newRow(family) << QString::fromUtf8(family) + ",11";
        QTest::newRow(qPrintable(QString::fromUtf8(family) + " bold")) << QString::fromUtf8(family) + ",11,Bold";
    }
}

void TestReportEngine::pdfTextIsThePageText()
{
    // Every kind of text the printouts hold, one line each; the PDF's text
    // layer must give them back exactly, whatever Chinese fonts are installed.
    QFETCH(QString, font);
    const QStringList lines{QStringLiteral("日月行金页户人大皮鞋 金额 客户欠款 货款合计"),
                            QStringLiteral("P-01 35# 44# 2024年3月份 XS10001 1234.56 -300 0"),
                            QStringLiteral("泉州\"引号\"鞋业 O'Neil 张'三"),
                            QStringLiteral("第 1 页 共 2 页，单价：（元）；合计！？、。")};
    QString text = QStringLiteral("[Report]\nPaper=A4\nMargins=15,12,15,12\n[Band]\nType=ReportTitle\nHeight=80\n");
    for (int i = 0; i < lines.size(); ++i)
        text += QStringLiteral("[Text]\nRect=0,%1,180,10\nText=%2\nFont=%3\n").arg(i * 15).arg(lines[i], font);
    TReport report;
    report.SetTemplate(Parsed(text));
    QVERIFY(report.PrepareReport());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("字.pdf"));
    QVERIFY(report.ExportPdf(file));
    QProcess run;
    run.start(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
    QVERIFY2(run.waitForFinished(60000) && run.exitCode() == 0, "pdftotext (poppler-utils) is needed");
    QStringList got = QString::fromUtf8(run.readAllStandardOutput()).split(QLatin1Char('\n'));
    got.removeIf([](const QString &l) { return l.trimmed().isEmpty() || l == QStringLiteral("\f"); });
    QCOMPARE(got, lines);
}

void TestReportEngine::chineseFontsFallBack()
{
    for (const QString &family : {QStringLiteral("宋体"), QStringLiteral("楷体_GB2312"), QStringLiteral("黑体")}) {
        const QString resolved = ReportFonts::Resolve(family);
        QVERIFY2(QFontDatabase::families().contains(resolved), qPrintable(resolved));
        QVERIFY2(QFontDatabase::writingSystems(resolved).contains(QFontDatabase::SimplifiedChinese), qPrintable(resolved));
    }
}

void TestReportEngine::previewPagesFindPrintAndPdf()
{
    TestEnv env;
    TReport report;
    PrepareList(report, 60);
    const QString pdf = env.Dir() + QStringLiteral("预览.pdf");
    const QString printed = env.Dir() + QStringLiteral("printed.pdf");
    env.script.saveFile = env.Dir() + QStringLiteral("预览");   // the ".pdf" is added
    env.script.Then([&](QDialog *d) {
        auto *p = qobject_cast<TFormPreview *>(d);
        QVERIFY(p);
        // Opens at page width: the page fills the width of the scroll area.
        p->show();
        QCoreApplication::processEvents();
        const int room = p->Scroll->viewport()->width();
        QVERIFY2(p->Page->width() > room - 60 && p->Page->width() <= room, qPrintable(QString::number(p->Page->width())));
        QCOMPARE(p->ZoomBox->currentText(), QStringLiteral("页宽"));
        QCOMPARE(p->PageLabel->text(), QStringLiteral("第 1 页 共 3 页"));
        QVERIFY(!p->PriorButton->isEnabled());
        p->NextButton->click();
        QCOMPARE(p->CurrentPage(), 1);
        p->FindEdit->setText(QStringLiteral("行55"));
        p->FindButton->click();
        QCOMPARE(p->CurrentPage(), 2);
        QCOMPARE(p->PageLabel->text(), QStringLiteral("第 3 页 共 3 页"));
        QVERIFY(!p->NextButton->isEnabled());
        p->FindEdit->setText(QStringLiteral("没有这一行"));
        QVERIFY(!p->FindNext());
        p->ZoomBox->setCurrentIndex(2);   // 100%
        p->ZoomBoxChange();
        QVERIFY(qAbs(p->Page->width() - 2 * 12 - 210 / 25.4 * p->logicalDpiX()) <= 1);
        p->PdfButton->click();
        p->PrintButton->click();   // cancelled: nothing printed
        env.script.printFile = printed;
        p->PrintButton->click();
        p->CloseButton->click();
    });
    report.ShowPreparedReport();
    QCOMPARE(env.script.modals, QStringList{QStringLiteral("FormPreview")});
    QCOMPARE(env.script.messages, QStringList{QStringLiteral("找不到“没有这一行”")});
    QCOMPARE(FileStart(pdf, 5), QByteArray("%PDF-"));
    QCOMPARE(env.script.printDialogs, 2);
    QCOMPARE(FileStart(printed, 5), QByteArray("%PDF-"));
}

void TestReportEngine::designerEditsMovesAndSaves()
{
    TestEnv env;
    TReport report;
    report.SetTemplate(Parsed(QString::fromUtf8(ListTemplate)), env.Dir() + QStringLiteral("清单.frf"));
    const QString saved = env.Dir() + QStringLiteral("新清单.frf");
    env.script.saveFile = saved;
    env.script.Then([&](QDialog *d) {
        auto *f = qobject_cast<TFormDesign *>(d);
        QVERIFY(f);
        // Fits a 1366 x 768 screen with a task bar, frame included.
        QVERIFY(f->width() <= 1340 && f->height() <= 700);
        QVERIFY(f->minimumSizeHint().width() <= 1340 && f->minimumSizeHint().height() <= 700);
        TDesignCanvas *canvas = f->Canvas;
        // The title text: click it, then edit it in the panel.
        const QRect title = canvas->ItemRect(0, 0);
        QTest::mouseClick(canvas, Qt::LeftButton, {}, title.center());
        QCOMPARE(canvas->SelectedBand(), 0);
        QCOMPARE(canvas->SelectedItem(), 0);
        QCOMPARE(f->TextEdit->toPlainText(), QStringLiteral("货品清单"));
        f->TextEdit->setPlainText(QStringLiteral("客户'清单"));
        f->AlignBox->setCurrentIndex(2);
        emit f->AlignBox->activated(2);
        f->SizeSpin->setValue(16);
        // Drag it 10 mm right and 4 mm down.
        const QPoint from = title.center();
        const QPoint to = from + QPoint(qRound(10 * canvas->PixelsPerMm()), qRound(4 * canvas->PixelsPerMm()));
        QTest::mousePress(canvas, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, to, canvas->mapToGlobal(to), Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
        QCOMPARE(f->Template().bands[0].items[0].rect.topLeft(), QPointF(10, 4));
        // A new field in the master band, bound in the panel.
        canvas->Select(2, -1);
        f->ActionAddField->trigger();
        QCOMPARE(canvas->SelectedItem(), 2);
        QCOMPARE(f->DataSetBox->currentText(), QStringLiteral("PrintReport"));
        f->FieldBox->setCurrentText(QStringLiteral("ReportGrid3"));
        // The summary's text goes.
        canvas->Select(3, 0);
        f->ActionDelete->trigger();
        QVERIFY(f->Modified());
        f->ActionSaveAs->trigger();
        QVERIFY(!f->Modified());
        f->ActionClose->trigger();
    });
    report.DesignReport();
    QCOMPARE(env.script.modals, QStringList{QStringLiteral("FormDesign")});
    QVERIFY(env.script.messages.isEmpty());

    TReport reloaded;
    QVERIFY(reloaded.LoadFromFile(saved));
    const TReportTemplate &tpl = reloaded.Template();
    const TReportItem &title = tpl.bands[0].items[0];
    QCOMPARE(title.text, QStringLiteral("客户'清单"));
    QCOMPARE(title.rect, QRectF(10, 4, 180, 12));
    QCOMPARE(title.fontSize, 16.0);
    QVERIFY(title.align & Qt::AlignRight);
    QCOMPARE(tpl.bands[2].items.size(), 3);
    QCOMPARE(tpl.bands[2].items[2].kind, TReportItem::Field);
    QCOMPARE(tpl.bands[2].items[2].dataSet, QStringLiteral("PrintReport"));
    QCOMPARE(tpl.bands[2].items[2].field, QStringLiteral("ReportGrid3"));
    QVERIFY(tpl.bands[3].items.isEmpty());
    // The report object holds what was designed.
    QCOMPARE(report.FileName(), saved);
    QCOMPARE(report.Template().bands[0].items[0].text, QStringLiteral("客户'清单"));
}

QTEST_MAIN(TestReportEngine)
#include "tst_reportengine.moc"
