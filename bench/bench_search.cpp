// Times the data centre search on a database of realistic size: ten years of
// bills, and one month, through the grid and its footer, against the bare SQL.
// Usage: bench_search <folder holding Kestrova.mdb>
#include "reports/BillSearch.h"
#include "reports/DataCentrePage.h"
#include "shell/Forms.h"
#include "shell/MainForm.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QSqlQuery>
#include <cstdio>
#include <ctime>

namespace {
void Time(const char *what, const QString &sql)
{
    // Processor time as well as wall time: the machine may be busy with other work.
    auto cpu = [] { return std::clock() * 1000.0 / CLOCKS_PER_SEC; };
    QElapsedTimer timer;
    for (int round = 0; round < 3; ++round) {
        timer.start();
        double start = cpu();
        QSqlQuery q(ShareDataModule->Connection());
        q.setForwardOnly(true);
        q.exec(TranslateSql(sql));
        int rows = 0;
        while (q.next())
            ++rows;
        const qint64 bare = timer.elapsed();
        const double bareCpu = cpu() - start;
        timer.start();
        start = cpu();
        FormMain->TabSheet4->FillReportGrid(sql);
        std::printf("%s: %d rows, grid and footer %lld ms (cpu %.0f), hand-written SQL %lld ms (cpu %.0f)\n", what, rows,
                    static_cast<long long>(timer.elapsed()), cpu() - start, static_cast<long long>(bare), bareCpu);
    }
}
} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_search <program folder>\n");
        return 2;
    }
    SetProgramDirOverride(QString::fromLocal8Bit(argv[1]));
    CreateForms();
    TBillSearch all;
    all.from = QDate(2017, 1, 1);
    all.to = QDate(2026, 12, 31);
    Time("ten years, all types", all.Sql());
    TBillSearch month;
    month.from = QDate(2024, 3, 1);
    month.to = QDate(2024, 3, 31);
    Time("one month", month.Sql());
    DestroyForms();
    return 0;
}
