#include "Bench.h"

#include "Elapsed.h"
#include "HandWrittenReports.h"
#include "HandWrittenSql.h"
#include "SeededRandom.h"
#include "ShopGenerator.h"
#include "bills/BillPrint.h"
#include "bills/BuySellForm.h"
#include "bills/LineGrid.h"
#include "cards/AccountPage.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "db/BooksAudit.h"
#include "grid/FooterGrid.h"
#include "grid/GridModel.h"
#include "sheets/ListSheet.h"
#include "sheets/SheetFile.h"
#include "sheets/XlsxWriter.h"
#include "masterdata/ImportForm.h"
#include "reportengine/Report.h"
#include "figures/BillSearch.h"
#include "reports/DataCentrePage.h"
#include "reports/MonthlyReports.h"
#include "reports/ReportRows.h"
#include "reports/SizeStockList.h"
#include "ui/BackgroundWork.h"
#include "core/Clock.h"
#include "app/Forms.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "core/MonthSpan.h"
#include "core/ProgramFiles.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"
#include "support/BooksCopy.h"
#include "support/DailyBackup.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>
#include <QTimer>
#include <QSqlRecord>
#include <algorithm>

namespace {

double ResidentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble();
    return 0;
}

QVariantList Column(QSqlQuery q)
{
    QVariantList values;
    while (q.next())
        values << q.value(0);
    return values;
}

const QString ColdConnection = QStringLiteral("bench-cold");
} // namespace

TBench::TBench(const QString &shop, const QString &res, const QString &frf, const QDate &day, int runs)
    : shop_(shop), res_(res), frf_(frf), day_(day), runs_(runs), folder_(QDir(shop).absoluteFilePath(QStringLiteral("../bench-run-XXXXXX")))
{
}

TBench::~TBench()
{
    Dialogs::SetHandler(nullptr);
    Clock::Fix(QDate());
    SetProgramDirOverride(QString());
}

bool TBench::LayOut(QString &error)
{
    const QDir dir(folder_.path());
    if (!folder_.isValid() || !TShopGenerator::LayOut(shop_, res_, folder_.path(), &error))
        return false;
    dir.mkpath(QStringLiteral("Frf"));
    for (const QString &name : QDir(frf_).entryList({QStringLiteral("*.frf")}, QDir::Files))
        if (!QFile::copy(frf_ + QLatin1Char('/') + name, dir.filePath(QStringLiteral("Frf/") + name))) {
            error = QStringLiteral("cannot copy the report template %1").arg(name);
            return false;
        }
    return true;
}

THandWrittenSql TBench::Hand() const { return THandWrittenSql(ShareDataModule->Connection(), day_); }

THandWrittenReports TBench::HandReports() const { return THandWrittenReports(ShareDataModule->Connection(), day_); }

TBench::Times TBench::Measure(const Timed &program, const Timed &hand)
{
    Times times;
    const double warmUp = program();
    if (hand)
        hand();
    // Quick operations are the noisiest: they get more runs.
    const int runs = warmUp < QuickMs ? QuickRunsFactor * runs_ : runs_;
    for (int r = 0; r < runs; ++r) {
        times.program << program();
        if (hand)
            times.hand << hand();
    }
    return times;
}

void TBench::AcceptNextLogin()
{
    script_.Then([this](QDialog *d) {
        auto *login = qobject_cast<TFormLogin *>(d);
        if (!login) {
            faults_ << QStringLiteral("%1 opened where the login was expected").arg(d->objectName());
            return;
        }
        login->ComboBox1->setCurrentIndex(login->ComboBox1->findText(QStringLiteral("财务主管")));
        login->Edit1->setText(QStringLiteral("8888"));
        login->ActionLogin->trigger();
    });
}

void TBench::Clean(const QString &operation, const QStringList &expected)
{
    if (!script_.onModal.empty())
        faults_ << operation + QStringLiteral(": a window the script waited for never opened");
    script_.onModal.clear();
    for (const QString &message : std::as_const(script_.messages))
        if (!expected.contains(message))
            faults_ << operation + QStringLiteral(": the program said \"") + message + QStringLiteral("\"");
    script_.messages.clear();
    script_.modals.clear();
}

double TBench::StartUp()
{
    double atLogin = -1;
    QElapsedTimer timer;
    timer.start();
    CreateForms();
    FormMain->show();
    QCoreApplication::processEvents();
    script_.Then([&](QDialog *d) {
        atLogin = double(timer.nsecsElapsed()) / 1e6;
        if (auto *login = qobject_cast<TFormLogin *>(d))
            login->ActionClose->trigger();
    });
    const bool loggedIn = FormMain->FormShow();
    DestroyForms();
    if (loggedIn || atLogin < 0)
        faults_ << QStringLiteral("start-up did not stop at the login dialog");
    return atLogin;
}

// The program's ini reading against reading the same file's bytes whole: both linear.
TBench::Times TBench::IniWithBigValue()
{
    const QString file = folder_.filePath(QStringLiteral("Big.ini"));
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly)) {
        faults_ << QStringLiteral("the big ini file cannot be written");
        return {};
    }
    out.write("[Kestrova]\nSaleLink=http://shop.example.cn/" + QByteArray(5 << 20, 'x') + "\n");
    out.close();
    QString value;
    Times times = Measure(
        [&] { return Elapsed([&] { value = ReadIniValue(QStringLiteral("Kestrova"), QStringLiteral("SaleLink"), QString(), file); }); },
        [&] {
            return Elapsed([&] {
                QFile in(file);
                in.open(QIODevice::ReadOnly);
                value = QString::fromUtf8(in.readAll()).section(QLatin1Char('='), 1).left(1023);
            });
        });
    QFile::remove(file);
    if (value.size() != 1023)
        faults_ << QStringLiteral("the big ini value was not cut to 1023 bytes");
    return times;
}

QStringList TBench::ShownFigures(int page) const
{
    QList<QLabel *> labels;
    switch (page) {
    case 0: labels = {FormMain->TabSheet8->TotalLabel, FormMain->TabSheet8->Value[1][0], FormMain->TabSheet8->Value[2][0]}; break;
    case 1: labels = {FormMain->TabSheet1->TotalLabel, FormMain->TabSheet1->Value[1][0], FormMain->TabSheet1->Value[2][0]}; break;
    case 2: labels = {FormMain->TabSheet7->TotalLabel, FormMain->TabSheet7->Value[2][0]}; break;
    case 3: labels = {FormMain->TabSheet2->TotalLabel, FormMain->TabSheet2->Under[0], FormMain->TabSheet2->Value[2][0]}; break;
    default: labels = {FormMain->TabSheet3->TotalLabel, FormMain->TabSheet3->Value[1][0], FormMain->TabSheet3->Value[2][0]}; break;
    }
    static const QRegularExpression number(QStringLiteral("-?[0-9]+(\\.[0-9]+)?"));
    QStringList figures;
    for (QLabel *label : labels)
        figures << number.match(label->text()).captured(0);
    return figures;
}

QString TBench::CheckFigures()
{
    FormMain->RefreshAllPages();
    THandWrittenSql hand = Hand();
    const QStringList names = {QStringLiteral("customer"), QStringLiteral("goods-bill"), QStringLiteral("finance-bill"),
                               QStringLiteral("stock"), QStringLiteral("account")};
    const QStringList expected[5] = {hand.CustomerPage(), hand.GoodsBillPage(), hand.FinanceBillPage(), hand.StockPage(),
                                     hand.AccountPage()};
    QStringList differ;
    for (int page = 0; page < 5; ++page) {
        // Cards beyond the list keep old texts; compare what the hand-written side found.
        const QStringList shown = ShownFigures(page).mid(0, expected[page].size());
        if (shown != expected[page])
            differ << names[page] + QStringLiteral(" page shows ") + shown.join(QStringLiteral(", ")) + QStringLiteral(", SQL gives ")
                          + expected[page].join(QStringLiteral(", "));
    }
    if (differ.isEmpty())
        return QStringLiteral("Figures: every page shows what the hand-written SQL computes (total and first card).");
    faults_ << differ;
    return QStringLiteral("Figures DIFFER:\n  ") + differ.join(QStringLiteral("\n  "));
}

TBench::Times TBench::ColdLogin()
{
    return Measure(
        [this] {
            ShareDataModule->Disconnect();
            AcceptNextLogin();
            int result = 0;
            const double ms = Elapsed([&] { result = FormMain->CheckLogin(); });
            if (result != LoginAccepted)
                faults_ << QStringLiteral("a login on a cold connection was not accepted");
            return ms;
        },
        [this] {
            const QSqlDatabase model = ShareDataModule->Connection();
            const double ms = Elapsed([&] {
                QSqlDatabase db = THandWrittenSql::OpenLike(model, ColdConnection);
                THandWrittenSql(db, day_).AllPages();
                db.close();
            });
            QSqlDatabase::removeDatabase(ColdConnection);
            return ms;
        });
}

TBench::Times TBench::OpenGoodsBill()
{
    // The latest goods bills of both kinds, taken in turn.
    QVector<QPair<int, QString>> bills;
    {
        QSqlQuery latest(ShareDataModule->Connection());
        latest.exec(QStringLiteral("Select BillIndex, BillKind From Bill Where BillKind In ('出货单', '进货单') "
                                   "Order By BillIndex Desc Limit 16"));
        while (latest.next())
            bills.append({latest.value(0).toInt(), latest.value(1).toString()});
    }
    THandWrittenSql hand = Hand();
    // Both sides open the same bills in the same order.
    int nextProgram = 0;
    int nextHand = 0;
    int withLines = 0;
    const Times times = Measure(
        [&] {
            const auto &[index, kind] = bills[nextProgram++ % bills.size()];
            FormBuySell->FBillMode = kind == QStringLiteral("出货单") ? 1 : 3;
            FormBuySell->FBillIndex = index;
            FormBuySell->FChanged = false;
            FormBuySell->FCustomerLocked = false;
            // Until the editor has been drawn once.
            double ms = 0;
            QElapsedTimer timer;
            script_.Then([&](QDialog *d) {
                d->show();
                QCoreApplication::processEvents();
                ms = double(timer.nsecsElapsed()) / 1e6;
                withLines += !FormBuySell->Lines->Cell(0, 2)->text().isEmpty();
                d->reject();
            });
            timer.start();
            Dialogs::ShowModal(FormBuySell);
            return ms;
        },
        [&] {
            const auto &[index, kind] = bills[nextHand++ % bills.size()];
            const bool sales = kind == QStringLiteral("出货单");
            return Elapsed([&] { hand.OpenGoodsBill(index, sales); });
        });
    if (withLines != times.program.size() + 1)
        faults_ << QStringLiteral("an opened goods bill showed no lines");
    return times;
}

TBench::Times TBench::Keystroke(int customer, const QVariantList &serials)
{
    THandWrittenSql hand = Hand();
    Times times;
    // Both sides take the same product numbers in the same order.
    int nextProgram = 0;
    int nextHand = 0;
    auto keystrokes = [&](int &next, const std::function<void(const QString &)> &type) {
        double ms = 0;
        for (int k = 0; k < KeystrokesPerRun; ++k) {
            const QString serial = serials[next++ % serials.size()].toString();
            ms += Elapsed([&] { type(serial); });
        }
        return ms / KeystrokesPerRun;
    };
    FormBuySell->FBillMode = 0;
    FormBuySell->FBillIndex = 1;
    FormBuySell->FCustomerIndex = customer;
    FormBuySell->FCustomerLocked = true;
    script_.Then([&](QDialog *) {
        QLineEdit *cell = FormBuySell->Lines->Cell(0, 1);
        times = Measure([&] { return keystrokes(nextProgram, [cell](const QString &serial) { cell->setText(serial); }); },
                        [&] { return keystrokes(nextHand, [&](const QString &serial) { hand.Keystroke(serial, customer); }); });
        if (FormBuySell->Lines->Cell(0, 2)->text().isEmpty())
            faults_ << QStringLiteral("a product number typed in a line found no product");
    });
    Dialogs::ShowModal(FormBuySell);
    return times;
}

TBench::Times TBench::SaveGoodsBill(int customer, const QVariantList &serials)
{
    THandWrittenSql hand = Hand();
    QSqlDatabase db = ShareDataModule->Connection();
    auto scalar = [&db](const QString &sql) {
        QSqlQuery q(sql, db);
        return q.next() ? q.value(0) : QVariant();
    };
    const QString customerName =
        scalar(QStringLiteral("Select CustomerName From Customer Where CustomerIndex = %1").arg(customer)).toString();
    struct Typed {
        QString serial;
        QList<QPair<int, QString>> sizes;   // cell 4 is 35#
    };
    const QList<Typed> typed = {{serials[0].toString(), {{5, QStringLiteral("2")}, {6, QStringLiteral("3")}, {7, QStringLiteral("3")}}},
                                {serials[1].toString(), {{8, QStringLiteral("6")}}},
                                {serials[2].toString(), {{4, QStringLiteral("1")}, {13, QStringLiteral("12")}}}};
    QList<THandWrittenSql::NewLine> raw;
    for (const Typed &t : typed) {
        QSqlQuery product(db);
        product.prepare(QStringLiteral("Select ProductIndex, ProductPrice From Product Where ProductSerial = ?"));
        product.addBindValue(t.serial);
        product.exec();
        product.next();
        THandWrittenSql::NewLine line{product.value(0).toInt(), {}, product.value(1).toDouble()};
        for (const auto &[cellNumber, text] : t.sizes)
            line.sizes[cellNumber - 4] = text.toInt();
        raw << line;
    }
    const QString countSql = QStringLiteral("Select Count(*) From Bill");
    const int before = scalar(countSql).toInt();
    const Times times = Measure(
        [&] {
            FormBuySell->FBillMode = 0;
            FormBuySell->FBillIndex = 1;
            FormBuySell->FCustomerIndex = customer;
            FormBuySell->FCustomerLocked = true;
            FormBuySell->FChanged = false;
            double ms = 0;
            script_.Then([&](QDialog *) {
                TLineGrid *lines = FormBuySell->Lines;
                for (int slot = 0; slot < typed.size(); ++slot) {
                    lines->Cell(slot, 1)->setText(typed[slot].serial);
                    for (const auto &[cellNumber, text] : typed[slot].sizes)
                        lines->Cell(slot, cellNumber)->setText(text);
                }
                FormBuySell->CheckBox1->setChecked(true);
                FormBuySell->Edit1->setText(lines->GridTotal->text());
                ms = Elapsed([] { FormBuySell->BitBtn1->click(); });
            });
            Dialogs::ShowModal(FormBuySell);
            return ms;
        },
        [&] {
            const QString serial = BillNumbers::Next(
                scalar(QStringLiteral("Select SettingValue From Setting Where SettingIndex = 1")).toString());
            return Elapsed([&] {
                if (!hand.SaveGoodsBill(customerName, 2, raw, serial))
                    faults_ << QStringLiteral("the raw insert of a goods bill failed");
            });
        });
    if (scalar(countSql).toInt() != before + 2 * (times.program.size() + 1))
        faults_ << QStringLiteral("not every save wrote its bill");
    return times;
}

void TBench::Agree(const QString &operation, QStringList program, QStringList hand, bool sorted)
{
    if (sorted) {
        std::sort(program.begin(), program.end());
        std::sort(hand.begin(), hand.end());
    }
    if (program.isEmpty())
        faults_ << operation + QStringLiteral(": nothing to compare");
    else if (program == hand)
        agreed_ << operation;
    else {
        qsizetype at = 0;
        while (at < program.size() && at < hand.size() && program[at] == hand[at])
            ++at;
        faults_ << QStringLiteral("%1: the program gives %2 rows, the hand-written SQL %3; first difference: \"%4\" against \"%5\"")
                       .arg(operation)
                       .arg(program.size())
                       .arg(hand.size())
                       .arg(program.value(at), hand.value(at));
    }
}

QStringList TBench::Rows(const QStringList &sqls)
{
    QStringList rows;
    for (const QString &sql : sqls) {
        QSqlQuery q(ShareDataModule->Connection());
        q.setForwardOnly(true);
        q.exec(sql);
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < q.record().count(); ++i)
                cells << q.value(i).toString();
            rows << cells.join(QLatin1Char('|'));
        }
    }
    return rows;
}

// A data set's rows as Rows gives them, from column `from` on.
static QStringList DataSetRows(const TReportDataSet &set, int from = 0)
{
    QStringList rows;
    for (int r = 0; r < set.RowCount(); ++r) {
        QStringList cells;
        for (int c = from; c < set.Columns().size(); ++c)
            cells << set.Value(r, set.Columns()[c]);
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

void TBench::BlankPrintTables()
{
    QSqlQuery q(ShareDataModule->Connection());
    QStringList grid;
    for (const QString &column : {QStringLiteral("GridSerial"), QStringLiteral("GridName"), QStringLiteral("GridType"),
                                  QStringLiteral("GridNumber"), QStringLiteral("GridPrice"), QStringLiteral("GridSum")})
        grid << column + QStringLiteral(" = ''");
    QStringList report{QStringLiteral("ReportEnable = 0")};
    for (int k = 1; k <= 10; ++k)
        grid << QStringLiteral("GridNum%1 = ''").arg(k);
    for (int k = 1; k <= TReportRows::CellCount; ++k)
        report << QStringLiteral("ReportGrid%1 = ''").arg(k);
    for (const QString &sql : {QStringLiteral("Update PrintGrid Set ") + grid.join(QStringLiteral(", ")),
                               QStringLiteral("Update PrintReport Set ") + report.join(QStringLiteral(", ")),
                               QStringLiteral("Update PrintBigFont Set BigFontValue = ''"), QStringLiteral("Update PrintList Set ListValue = ''")})
        if (!q.exec(sql))
            faults_ << QStringLiteral("cannot blank the print tables");
}

TBench::Times TBench::MonthlyReport(const QString &operation, const std::function<bool(TReportRows &)> &program,
                                    const std::function<void(THandWrittenReports &, TReportRows &)> &hand)
{
    const QString title = MonthSpan(day_).Title();
    QStringList fromProgram;
    auto runProgram = [&] {
        TReportRows rows;
        bool made = false;
        TReportDataSet printed;
        const double ms = Elapsed([&] {
            made = program(rows) && rows.Count() > 0;
            printed = rows.DataSet();
        });
        if (!made)
            faults_ << operation + QStringLiteral(": no rows made");
        fromProgram = DataSetRows(printed, 2) + DataSetRows(TReportRows::Title(title), 1);
        return ms;
    };
    auto runHand = [&] {
        THandWrittenReports reports = HandReports();
        TReportRows rows;
        return Elapsed([&] {
            hand(reports, rows);
            reports.WriteReportRows(rows, title);
        });
    };
    const Times times = Measure(runProgram, runHand);
    // What the hand-written report would print: the enabled rows and the title.
    const QStringList printed = {QStringLiteral("Select ReportGrid1, ReportGrid2, ReportGrid3, ReportGrid4, ReportGrid5, ReportGrid6, "
                                                "ReportGrid7, ReportGrid8, ReportGrid9 From PrintReport Where ReportEnable <> 0 "
                                                "Order By ReportIndex"),
                                 QStringLiteral("Select ListValue From PrintList Where ListIndex = 1")};
    runProgram();
    BlankPrintTables();
    runHand();
    Agree(operation, fromProgram, Rows(printed), true);
    return times;
}

TBench::Times TBench::PrintBill()
{
    // The two latest sales bills with all six lines used, taken in turn, so every print changes the print tables.
    const QVariantList bills = Column(QSqlQuery(QStringLiteral("Select BillIndex From Bill Where BillKind = '出货单' And "
                                                               "(Select Count(*) From Store Where StoreBill = BillIndex And StoreProduct <> 0) = 6 "
                                                               "Order By BillIndex Desc Limit 2"),
                                                ShareDataModule->Connection()));
    THandWrittenReports hand = HandReports();
    // In the bill's editor, what the print button does up to the preview.
    auto print = [&](int bill) {
        FormBuySell->FBillMode = 1;
        FormBuySell->FBillIndex = bill;
        FormBuySell->FChanged = false;
        FormBuySell->FCustomerLocked = false;
        double ms = 0;
        script_.Then([&](QDialog *d) {
            bool prepared = false;
            ms = Elapsed([&] {
                prepared = TBillPrint::Prepare(bill, *FormBuySell->frReport1);
            });
            if (!prepared || FormBuySell->frReport1->PageCount() == 0)
                faults_ << QStringLiteral("the bill print prepared no page");
            d->reject();
        });
        Dialogs::ShowModal(FormBuySell);
        return ms;
    };
    int nextProgram = 0;
    int nextHand = 0;
    const Times times = Measure([&] { return print(bills[nextProgram++ % bills.size()].toInt()); },
                                [&] { return Elapsed([&] { hand.BillPrint(bills[nextHand++ % bills.size()].toInt()); }); });
    const QStringList printed = {QStringLiteral("Select * From PrintGrid Order By GridIndex"),
                                 QStringLiteral("Select * From PrintBigFont"), QStringLiteral("Select * From PrintList")};
    print(bills[0].toInt());
    const QHash<QString, TReportDataSet> &sets = FormBuySell->frReport1->DataSets();
    const QStringList fromProgram = DataSetRows(sets[QStringLiteral("PrintGrid")]) + DataSetRows(sets[QStringLiteral("PrintBigFont")])
                                    + DataSetRows(sets[QStringLiteral("PrintList")]);
    BlankPrintTables();
    hand.BillPrint(bills[0].toInt());
    Agree(QStringLiteral("bill print"), fromProgram, Rows(printed));
    return times;
}

TBench::Times TBench::SizeStockList()
{
    // Every product, in the order the stock page lists them unfiltered.
    const QString products = QStringLiteral("Select * From Product Where (ProductIndex > 1) Order By ProductName");
    TListSheet sheet;
    THandWrittenReports hand = HandReports();
    QList<QStringList> handRows;
    const Times times = Measure(
        [&] {
            bool ok = false;
            const double ms = Elapsed([&] { ok = ::SizeStockList(products, day_, sheet); });
            if (!ok)
                faults_ << QStringLiteral("the size stock list failed");
            return ms;
        },
        [&] { return Elapsed([&] { handRows = hand.SizeStock(); }); });
    const TReportDataSet rows = SizeStockRows(sheet);
    QStringList fromProgram, fromHand;
    for (int r = 0; r < rows.RowCount(); ++r) {
        QStringList cells;
        for (const QString &column : rows.Columns())
            cells << rows.Value(r, column);
        fromProgram << cells.join(QLatin1Char('|'));
    }
    for (const QStringList &cells : std::as_const(handRows))
        fromHand << cells.join(QLatin1Char('|'));
    // Products of one name may come in either order.
    Agree(QStringLiteral("size stock list"), fromProgram, fromHand, true);
    return times;
}

TBench::ImportTimes TBench::ImportProducts()
{
    ImportTimes result;
    TListSheet list;
    for (const QString &title : {QStringLiteral("货品编号"), QStringLiteral("货品名称"), QStringLiteral("货品规格"),
                                 QStringLiteral("单价"), QStringLiteral("货品信息")})
        list.AddColumn(title, title == QStringLiteral("单价") ? TListSheet::Price : TListSheet::Text);
    TSeededRandom random(23);
    auto words = [&random](int n) {
        static const QString pool = QStringLiteral("真皮男女鞋凉拖布棉靴休闲运动正装商务软底防滑透气黑白红棕灰蓝米色牛羊猪绒面漆光高低中跟圆尖方头");
        QString text;
        for (int i = 0; i < n; ++i)
            text += pool[random.Below(int(pool.size()))];
        return text;
    };
    for (int i = 0; i < 10000; ++i)
        list.rows << QVariantList{QStringLiteral("IM%1").arg(i, 6, 10, QLatin1Char('0')), words(8), words(4),
                                  double(random.Below(100000)) / 100, words(150)};
    const QString file = QDir(folder_.path()).filePath(QStringLiteral("货品.xlsx"));
    {
        QFile out(file);
        const QByteArray bytes = XlsxWriter::Workbook(list, QStringLiteral("货品"));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) {
            faults_ << QStringLiteral("the product workbook could not be written");
            return result;
        }
        result.megabytes = double(bytes.size()) / (1024 * 1024);
    }
    QSqlQuery last(QStringLiteral("Select Max(ProductIndex) From Product"), ShareDataModule->Connection());
    const int lastBefore = last.next() ? last.value(0).toInt() : 0;
    last.finish();
    std::unique_ptr<TFormImport> form;
    result.shown = Measure([&] {
        return Elapsed([&] {
            TSheetFile sheet;
            QString error;
            if (!sheet.Read(file, &error))
                faults_ << QStringLiteral("the product workbook was not read: ") + error;
            form = std::make_unique<TFormImport>(TImportPlan::Products, sheet);
            form->FormShow();
            form->show();
            QCoreApplication::processEvents();
        });
    });
    if (form->Plan().Count(TImportPlan::Add) != 10000)
        faults_ << QStringLiteral("the import found %1 new products of 10000").arg(form->Plan().Count(TImportPlan::Add));
    form.reset();
    TSheetFile sheet;
    QString error;
    sheet.Read(file, &error);
    result.imported = Measure([&] {
        TImportPlan plan(TImportPlan::Products, sheet);
        plan.Examine();
        const double ms = Elapsed([&] {
            if (!plan.Apply())
                faults_ << QStringLiteral("the product import failed");
        });
        // The shop goes back to its own products for the next run.
        ShareDataModule->Exec(QStringLiteral("Delete From Product Where ProductIndex > ?"), {lastBefore});
        return ms;
    });
    return result;
}

TBench::Times TBench::Search(const QString &operation, const QDate &from, const QDate &to)
{
    TBillSearch search;
    search.from = from;
    search.to = to;
    const SqlText sql = search.Sql();
    TDataCentrePage *page = FormMain->TabSheet4;
    THandWrittenReports hand = HandReports();
    QStringList footers;
    const Times times = Measure([&] { return Elapsed([&] { page->FillReportGrid(sql); }); },
                                [&] { return Elapsed([&] { footers = hand.Search(from, to); }); });
    const TGridModel *model = page->DBGridEh1->Model();
    Agree(operation, {model->FooterText(0), model->FooterText(5)}, footers);
    // Later refreshes should not run the search again.
    page->ReportSql = SqlText();
    return times;
}

TBench::Times TBench::BooksCheck()
{
    TBooksAudit audit;
    const Times times = Measure([&] {
        bool ran = false;
        const double ms = Elapsed([&] { ran = audit.Run(); });
        if (!ran)
            faults_ << QStringLiteral("the books check failed");
        return ms;
    });
    // The generated books and the bills the benchmark saved are sound.
    if (!audit.Findings().isEmpty())
        faults_ << QStringLiteral("the books check found: ") + audit.Summary();
    return times;
}

QString TBench::GrowthTargets(const QHash<QString, double> &now, const QHash<QString, double> &before)
{
    QStringList targets;
    for (const QString &operation : {QStringLiteral("general refresh (five card pages)"), QStringLiteral("customer page"),
                                     QStringLiteral("stock page"), QStringLiteral("account page")}) {
        const double ratio = before.value(operation) > 0 ? now.value(operation) / before.value(operation) : 0;
        targets << QStringLiteral("%1 at most 1.2x: %2 (%3x)")
                       .arg(operation, ratio > 0 && ratio <= 1.2 ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .arg(ratio, 0, 'f', 2);
    }
    return targets.join(QStringLiteral("; "));
}

TBench::Pause TBench::WindowPause(const QString &operation, const std::function<bool()> &work)
{
    Pause pause{operation};
    QElapsedTimer sinceTick;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        pause.longestMs = std::max(pause.longestMs, double(sinceTick.nsecsElapsed()) / 1e6);
        sinceTick.restart();
    });
    ticker.start(5);
    sinceTick.start();
    bool ok = false;
    pause.workMs = Elapsed([&] { ok = BackgroundWork::Run([&](const BackgroundWork::Progress &) { return work(); }); });
    pause.longestMs = std::max(pause.longestMs, double(sinceTick.nsecsElapsed()) / 1e6);
    if (!ok)
        faults_ << operation + QStringLiteral(": failed off the window's thread");
    return pause;
}

QVector<TBench::Pause> TBench::WindowPauses(int busiestCustomer)
{
    const QString title = MonthSpan(day_).Title();
    auto report = [&](const std::function<bool(TReportRows &)> &compute) {
        return [=] {
            TReportRows rows;
            return compute(rows) && rows.Count() > 0 && rows.DataSet().RowCount() == rows.Count();
        };
    };
    const QString products = QStringLiteral("Select * From Product Where (ProductIndex > 1) Order By ProductName");
    const QString copy = folder_.filePath(QStringLiteral("pause-backup.mdb"));
    QVector<Pause> pauses;
    pauses << WindowPause(QStringLiteral("window during the books check"), [] { return TBooksAudit().Run(); });
    pauses << WindowPause(QStringLiteral("window during the size stock list"), [&] {
        TListSheet rows;
        return ::SizeStockList(products, day_, rows);
    });
    pauses << WindowPause(QStringLiteral("window during the customer statement"),
                          report([&](TReportRows &rows) { return MonthlyReports::CustomerStatement(busiestCustomer, day_, rows); }));
    pauses << WindowPause(QStringLiteral("window during the all-customer summary"),
                          report([&](TReportRows &rows) { return MonthlyReports::CustomerSummary(QStringLiteral("所有"), day_, rows); }));
    pauses << WindowPause(QStringLiteral("window during the product summary"),
                          report([&](TReportRows &rows) { return MonthlyReports::ProductSummary(day_, rows); }));
    pauses << WindowPause(QStringLiteral("window during the account summary"),
                          report([&](TReportRows &rows) { return MonthlyReports::AccountSummary(day_, rows); }));
    pauses << WindowPause(QStringLiteral("window during a backup"),
                          [&] { return TBooksCopy::Backup(copy).status == TBooksCopy::Done; });
    QFile::remove(copy);
    // The daily backup at the first login of the next day.
    Clock::Fix(day_.addDays(1));
    pauses << WindowPause(QStringLiteral("window during the daily backup"), [] {
        TDailyBackup::Run();
        return QFileInfo::exists(TDailyBackup::Folder() + TDailyBackup::FileName(Clock::Today()));
    });
    Clock::Fix(day_);
    // Older books opened: their indexes made anew on the work's own connection.
    ShareDataModule->Exec(QStringLiteral("Drop Index If Exists BillByUser"));
    pauses << WindowPause(QStringLiteral("window while older books get their indexes"), [] {
        QSqlQuery q(ShareDataModule->Connection());
        return q.exec(QStringLiteral("Select count(*) From sqlite_master Where name = 'BillByUser'")) && q.next() && q.value(0).toInt() == 1;
    });
    return pauses;
}

bool TBench::Run(TResultTable &table, QString &notes)
{
    QString error;
    if (!LayOut(error)) {
        notes = error;
        return false;
    }
    SetProgramDirOverride(folder_.path());
    Dialogs::SetHandler(&script_);
    Clock::Fix(day_);

    const Times startUp = Measure([this] { return StartUp(); });
    Clean(QStringLiteral("start-up"));
    const Times bigIni = IniWithBigValue();

    CreateForms();
    FormMain->show();
    QCoreApplication::processEvents();
    AcceptNextLogin();
    if (!FormMain->FormShow()) {
        notes = QStringLiteral("the finance supervisor could not log in");
        DestroyForms();
        return false;
    }
    Clean(QStringLiteral("login"));

    const Times cold = ColdLogin();
    Clean(QStringLiteral("cold login"));

    const Times refresh = Measure([] { return Elapsed([] { FormMain->RefreshAllPages(); }); },
                                  [this] {
                                      THandWrittenSql hand = Hand();
                                      return Elapsed([&] { hand.AllPages(); });
                                  });
    Clean(QStringLiteral("general refresh"));
    notes = CheckFigures();

    struct Page {
        QString name;
        void (TFormMain::*fill)();
        QStringList (THandWrittenSql::*hand)();
        Times times;
    } pages[5] = {{QStringLiteral("customer page"), &TFormMain::FillCustomerPage, &THandWrittenSql::CustomerPage, {}},
                  {QStringLiteral("goods-bill page"), &TFormMain::FillBillPage, &THandWrittenSql::GoodsBillPage, {}},
                  {QStringLiteral("finance-bill page"), &TFormMain::FillMoneyPage, &THandWrittenSql::FinanceBillPage, {}},
                  {QStringLiteral("stock page"), &TFormMain::FillStorePage, &THandWrittenSql::StockPage, {}},
                  {QStringLiteral("account page"), &TFormMain::FillAccountPage, &THandWrittenSql::AccountPage, {}}};
    for (Page &page : pages) {
        page.times = Measure([&page] { return Elapsed([&page] { (FormMain->*page.fill)(); }); },
                             [&page, this] {
                                 THandWrittenSql hand = Hand();
                                 return Elapsed([&] { (hand.*page.hand)(); });
                             });
        Clean(page.name);
    }

    FormMain->RefreshAllPages();
    const double resident = ResidentKilobytes();

    const Times open = OpenGoodsBill();
    Clean(QStringLiteral("open a goods bill"));

    // The customer with the most own prices, so the lookups find a quote.
    QSqlQuery quoted(QStringLiteral("Select PriceCustomer From Price Group By PriceCustomer Order By Count(*) Desc, PriceCustomer Limit 1"),
                     ShareDataModule->Connection());
    const int customer = quoted.next() ? quoted.value(0).toInt() : 0;
    quoted.finish();
    // Products from the best seller to the rarely sold.
    const QVariantList serials = Column(QSqlQuery(QStringLiteral("Select ProductSerial From Product Where ProductIndex > 1 "
                                                                 "And ProductIndex % 40 = 2 Order By ProductIndex"),
                                                  ShareDataModule->Connection()));
    const Times keystroke = Keystroke(customer, serials);
    Clean(QStringLiteral("keystroke"));
    // Saves come last: they add bills to the copy.
    const Times save = SaveGoodsBill(customer, serials);
    Clean(QStringLiteral("save a goods bill"), {QStringLiteral("单据新增成功")});

    // The monthly reports of the working month; the statement of the customer with the most goods bills in it.
    const MonthSpan month(day_);
    QSqlQuery busiest(ShareDataModule->Connection());
    busiest.prepare(QStringLiteral("Select CustomerIndex From Customer Join Bill On BillUser = CustomerName "
                                   "Where BillKind In ('出货单', '进货单') And BillCreateTime Between ? And ? "
                                   "Group By CustomerIndex Order By Count(*) Desc, CustomerIndex Limit 1"));
    busiest.addBindValue(month.first.toString(Qt::ISODate));
    busiest.addBindValue(month.last.toString(Qt::ISODate));
    busiest.exec();
    const int busy = busiest.next() ? busiest.value(0).toInt() : 0;
    busiest.finish();
    struct Report {
        QString name;
        std::function<bool(TReportRows &)> program;
        std::function<void(THandWrittenReports &, TReportRows &)> hand;
        Times times;
    } reports[4] = {
        {QStringLiteral("customer statement, busiest customer"),
         [&](TReportRows &rows) { return MonthlyReports::CustomerStatement(busy, day_, rows); },
         [&](THandWrittenReports &hand, TReportRows &rows) { hand.CustomerStatement(busy, rows); }, {}},
        {QStringLiteral("all-customer summary, every region"),
         [&](TReportRows &rows) { return MonthlyReports::CustomerSummary(QStringLiteral("所有"), day_, rows); },
         [](THandWrittenReports &hand, TReportRows &rows) { hand.CustomerSummary(rows); }, {}},
        {QStringLiteral("product summary"), [&](TReportRows &rows) { return MonthlyReports::ProductSummary(day_, rows); },
         [](THandWrittenReports &hand, TReportRows &rows) { hand.ProductSummary(rows); }, {}},
        {QStringLiteral("account summary"), [&](TReportRows &rows) { return MonthlyReports::AccountSummary(day_, rows); },
         [](THandWrittenReports &hand, TReportRows &rows) { hand.AccountSummary(rows); }, {}}};
    for (Report &report : reports) {
        report.times = MonthlyReport(report.name, report.program, report.hand);
        Clean(report.name);
    }
    const Times print = PrintBill();
    Clean(QStringLiteral("bill print"));
    const Times sizes = SizeStockList();
    Clean(QStringLiteral("size stock list"));
    QSqlQuery span(QStringLiteral("Select Min(BillCreateTime) From Bill Where BillIndex > 1"), ShareDataModule->Connection());
    const QDate firstBill = span.next() ? QDate::fromString(span.value(0).toString(), Qt::ISODate) : day_;
    span.finish();
    const int years = qRound(double(firstBill.daysTo(day_)) / 365.25);
    const QString allYears = QStringLiteral("data centre search, all %1 years").arg(years);
    const Times searchYears = Search(allYears, firstBill, day_);
    Clean(allYears);
    const Times searchMonth = Search(QStringLiteral("data centre search, one month"), month.first, month.last);
    Clean(QStringLiteral("month search"));
    const Times books = BooksCheck();
    Clean(QStringLiteral("books check"));
    const ImportTimes import = ImportProducts();
    Clean(QStringLiteral("product import"));
    const QVector<Pause> pauses = WindowPauses(busy);
    Clean(QStringLiteral("whole-book work off the window's thread"));
    DestroyForms();

    table.AddTimes(QStringLiteral("general refresh (five card pages)"), refresh.program, refresh.hand);
    for (const Page &page : pages)
        table.AddTimes(page.name, page.times.program, page.times.hand);
    table.AddTimes(QStringLiteral("first refresh after login, cold connection"), cold.program, cold.hand);
    table.AddTimes(QStringLiteral("open a goods bill in its editor"), open.program, open.hand);
    table.AddTimes(QStringLiteral("save a new goods bill, three lines"), save.program, save.hand);
    table.AddTimes(QStringLiteral("one keystroke in a line's number cell"), keystroke.program, keystroke.hand);
    for (const Report &report : reports)
        table.AddTimes(report.name, report.times.program, report.times.hand);
    table.AddTimes(QStringLiteral("bill print up to the prepared pages"), print.program, print.hand);
    table.AddTimes(QStringLiteral("size stock list, all products"), sizes.program, sizes.hand);
    table.AddTimes(allYears, searchYears.program, searchYears.hand);
    table.AddTimes(QStringLiteral("data centre search, one month"), searchMonth.program, searchMonth.hand);
    table.AddTimes(QStringLiteral("books check"), books.program, books.hand);
    table.AddTimes(QStringLiteral("10,000 products from a %1 MB XLSX, read and shown").arg(import.megabytes, 0, 'f', 1),
                   import.shown.program, {});
    table.AddTimes(QStringLiteral("the same imported, one transaction"), import.imported.program, {});
    table.AddTimes(QStringLiteral("start-up to the login dialog"), startUp.program, {});
    table.AddTimes(QStringLiteral("read a 5 MB value from an ini file"), bigIni.program, bigIni.hand);
    table.AddMemory(QStringLiteral("resident memory after a refresh"), resident);
    for (const Pause &pause : pauses)
        table.AddPause(pause.operation, pause.longestMs, pause.workMs);
    notes += QStringLiteral("\nResults equal to the hand-written SQL's: %1.").arg(agreed_.join(QStringLiteral("; ")));
    struct Target {
        QString operation;
        const Times &times;
        double ms;
    };
    QStringList targets;
    for (const Target &t : {Target{QStringLiteral("all-customer summary"), reports[1].times, 1000},
                            Target{QStringLiteral("search of all years"), searchYears, 200},
                            Target{QStringLiteral("month's search"), searchMonth, 20},
                            Target{QStringLiteral("size stock list"), sizes, 300}, Target{QStringLiteral("books check"), books, 5000},
                            Target{QStringLiteral("10,000 products read and shown"), import.shown, 3000},
                            Target{QStringLiteral("10,000 products imported"), import.imported, 2000}}) {
        const double median = TResultTable::Median(t.times.program);
        targets << QStringLiteral("%1 under %2 ms: %3").arg(t.operation).arg(t.ms).arg(median < t.ms ? QStringLiteral("met")
                                                                                                     : QStringLiteral("MISSED"));
    }
    auto atMost = [&targets](const QString &what, double ratio, double limit) {
        targets << QStringLiteral("%1 at most %2x: %3 (%4x)")
                       .arg(what)
                       .arg(limit)
                       .arg(ratio <= limit ? QStringLiteral("met") : QStringLiteral("MISSED"))
                       .arg(ratio, 0, 'f', 2);
    };
    atMost(QStringLiteral("first refresh after login over a warm one"),
           TResultTable::Median(cold.program) / TResultTable::Median(refresh.program), 2);
    atMost(QStringLiteral("a save over the bare insert of its rows"),
           TResultTable::Median(save.program) / TResultTable::Median(save.hand), 2);
    notes += QStringLiteral("\nTargets: ") + targets.join(QStringLiteral("; ")) + QLatin1Char('.');
    if (!faults_.isEmpty())
        notes += QStringLiteral("\nFaults:\n  ") + faults_.join(QStringLiteral("\n  "));
    return faults_.isEmpty();
}
