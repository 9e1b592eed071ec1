#include "Bench.h"

#include "HandWrittenSql.h"
#include "bills/BuySellForm.h"
#include "bills/LineGrid.h"
#include "cards/AccountPage.h"
#include "cards/BillPage.h"
#include "cards/CustomerPage.h"
#include "cards/StorePage.h"
#include "shell/Clock.h"
#include "shell/Forms.h"
#include "shell/LoginForm.h"
#include "shell/MainForm.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSqlQuery>

namespace {
template <class Work>
double Elapsed(Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

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

TBench::TBench(const QString &shop, const QString &res, const QDate &day, int runs)
    : shop_(shop), res_(res), day_(day), runs_(runs), folder_(QDir(shop).absoluteFilePath(QStringLiteral("../bench-run-XXXXXX")))
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
    // A copy of the shop: the saves write to it, never to the generated file.
    const QDir dir(folder_.path());
    if (!folder_.isValid() || !dir.mkpath(QStringLiteral("Res"))
        || !QFile::copy(shop_ + QStringLiteral("/Kestrova.mdb"), dir.filePath(QStringLiteral("Kestrova.mdb")))) {
        error = QStringLiteral("cannot lay out the program folder %1").arg(folder_.path());
        return false;
    }
    for (const QString &name : QDir(res_).entryList(QDir::Files))
        QFile::copy(res_ + QLatin1Char('/') + name, dir.filePath(QStringLiteral("Res/") + name));
    // Registered already, so start-up goes straight to the login.
    WriteIniValue(QStringLiteral("数据库内容"), QStringLiteral("ODBC"), QStringLiteral("1"), dir.filePath(QStringLiteral("Kestrova.ini")));
    return true;
}

THandWrittenSql TBench::Hand() const { return THandWrittenSql(ShareDataModule->Connection(), day_); }

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
            FormBuySell->FBillMode = kind == QLatin1String("出货单") ? 1 : 3;
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
            const bool sales = kind == QLatin1String("出货单");
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
            const QString serial = TShareDataModule::NextSerial(
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
    DestroyForms();

    table.AddTimes(QStringLiteral("general refresh (five card pages)"), refresh.program, refresh.hand);
    for (const Page &page : pages)
        table.AddTimes(page.name, page.times.program, page.times.hand);
    table.AddTimes(QStringLiteral("first refresh after login, cold connection"), cold.program, cold.hand);
    table.AddTimes(QStringLiteral("open a goods bill in its editor"), open.program, open.hand);
    table.AddTimes(QStringLiteral("save a new goods bill, three lines"), save.program, save.hand);
    table.AddTimes(QStringLiteral("one keystroke in a line's number cell"), keystroke.program, keystroke.hand);
    table.AddTimes(QStringLiteral("start-up to the login dialog"), startUp.program, {});
    table.AddMemory(QStringLiteral("resident memory after a refresh"), resident);
    if (!faults_.isEmpty())
        notes += QStringLiteral("\nFaults:\n  ") + faults_.join(QStringLiteral("\n  "));
    return faults_.isEmpty();
}
