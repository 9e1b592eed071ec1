// Times printing a goods bill up to the prepared pages on a database of
// realistic size, and checks the printed lines against hand-written SQL.
// Usage: bench_billprint <folder holding Kestrova.mdb>
#include "bills/BillPrint.h"
#include "bills/BuySellForm.h"
#include "reportengine/Report.h"
#include "shell/Clock.h"
#include "shell/Forms.h"
#include "shell/Money.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <cstdio>

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_billprint <program folder>\n");
        return 2;
    }
    SetProgramDirOverride(QString::fromLocal8Bit(argv[1]));
    CreateForms();
    QSqlQuery last(ShareDataModule->Connection());
    last.exec(QStringLiteral("Select max(BillIndex) From Bill Where BillKind = '出货单'"));
    last.next();
    const int bill = last.value(0).toInt();
    last.finish();

    FormBuySell->FBillMode = 1;
    FormBuySell->FBillIndex = bill;
    FormBuySell->FormShow();
    int failures = 0;
    QElapsedTimer timer;
    for (int round = 0; round < 3; ++round) {
        timer.start();
        TReport report;
        const bool ok = TBillPrint::WriteTables(bill, FormBuySell->ADOQuery1, FormBuySell->ADOQueryGrid, FormBuySell->ADOQueryBigFont)
                        && report.LoadFromFile(QStringLiteral(KESTROVA_SOURCE_DIR "/resources/Frf/Bill.frf"));
        report.SetDataSet(QStringLiteral("PrintGrid"), FormBuySell->ADOQueryGrid);
        const bool prepared = ok && report.PrepareReport();
        std::printf("bill print up to the prepared pages: %lld ms%s\n", static_cast<long long>(timer.elapsed()),
                    prepared ? "" : " (FAILED)");
        failures += prepared ? 0 : 1;
    }

    // The same lines straight from the tables.
    QSqlQuery q(ShareDataModule->Connection());
    q.exec(QStringLiteral("Select ProductSerial, ProductName, ABS(StoreNumber), StorePrice, StoreSum From Store, Product "
                          "Where StoreBill = %1 And StoreProduct = ProductIndex Order By StoreIndex").arg(bill));
    QSqlQuery printed(ShareDataModule->Connection());
    printed.exec(QStringLiteral("Select GridSerial, GridName, GridNumber, GridPrice, GridSum From PrintGrid Order By GridIndex"));
    while (q.next()) {
        const bool row = printed.next();
        const QStringList want{q.value(0).toString(), q.value(1).toString(), q.value(2).toString(),
                               NumberText(q.value(3).toDouble()), MoneyText(q.value(4).toDouble())};
        QStringList got;
        for (int i = 0; row && i < 5; ++i)
            got << printed.value(i).toString();
        if (got != want) {
            std::printf("line differs: %s / %s\n", qPrintable(want.join('|')), qPrintable(got.join('|')));
            ++failures;
        }
    }
    std::printf("bill %d: %s\n", bill, failures ? "MISMATCH" : "lines match the tables");
    DestroyForms();
    return failures ? 1 : 0;
}
