// make bench: makes the shop once, then times the program against hand-written SQL.
// Usage: kestrova-bench <shop folder> [scale] [runs] [--medians FILE] [--against FILE]
//   --medians keeps this run's medians; --against adds a column of this run's
//   times over those of the run that kept FILE (make bench: 4x over 1x).
#include "Bench.h"
#include "ResultTable.h"
#include "ServerBench.h"
#include "ShopGenerator.h"
#include <QApplication>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <cstdio>

namespace {
void Print(const QString &text) { std::fputs(text.toUtf8().constData(), stdout); std::fflush(stdout); }

// What the shop holds, counted from the file itself.
QString Contents(const QString &file)
{
    QString text;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("bench-count"));
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.setDatabaseName(file);
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral(
            "Select (Select Count(*) From Customer Where CustomerIndex > 1), (Select Count(*) From Product Where ProductIndex > 1), "
            "(Select Count(*) From Account Where AccountIndex > 1), (Select Count(*) From Bill Where BillKind In ('出货单', '进货单')), "
            "(Select Count(*) From Store), (Select Count(*) From Bill Where BillKind In ('财务收入单', '财务支出单')), "
            "(Select Count(*) From SG), (Select Count(*) From Price), (Select Min(BillCreateTime) From Bill Where BillIndex > 1), "
            "(Select Max(BillCreateTime) From Bill), sqlite_version()"));
        q.next();
        const QLocale c(QLocale::English);
        text = QStringLiteral("%1 customers, %2 products, %3 accounts, %4 goods bills with %5 line rows, %6 finance bills, "
                              "%7 other receivables, %8 customer prices; bills dated %9 to %10; %11 MB, SQLite %12")
                   .arg(c.toString(q.value(0).toLongLong()), c.toString(q.value(1).toLongLong()), c.toString(q.value(2).toLongLong()),
                        c.toString(q.value(3).toLongLong()), c.toString(q.value(4).toLongLong()), c.toString(q.value(5).toLongLong()),
                        c.toString(q.value(6).toLongLong()), c.toString(q.value(7).toLongLong()), q.value(8).toString())
                   .arg(q.value(9).toString())
                   .arg(QFileInfo(file).size() / 1048576)
                   .arg(q.value(10).toString());
        q.finish();
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("bench-count"));
    return text;
}
} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrova-bench <shop folder> [scale] [runs] [--server PG-INFO]\n");
        return 2;
    }
    if (QByteArray(argv[1]) == "--counter" && argc >= 5) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return TServerBench::Counter(QString::fromLocal8Bit(argv[2]), QByteArray(argv[3]).toDouble(), QByteArray(argv[4]).toInt());
    }
    const QString shop = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        // Beside the shop, private as the variable asks.
        const QString runtime = QDir(shop).absoluteFilePath(QStringLiteral("../bench-runtime"));
        QDir().mkpath(runtime);
        QFile::setPermissions(runtime, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
    }
    QApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments();
    auto option = [&args](const QString &name) {
        const int at = int(args.indexOf(name));
        if (at < 0 || at + 1 >= args.size())
            return QString();
        const QString value = args[at + 1];
        args.remove(at, 2);
        return value;
    };
    const QString keepMedians = option(QStringLiteral("--medians"));
    const QString against = option(QStringLiteral("--against"));
    const QString server = option(QStringLiteral("--server"));
    const int scale = args.size() > 2 ? qMax(1, args[2].toInt()) : 1;
    const int runs = args.size() > 3 ? qMax(1, args[3].toInt()) : 7;

    TShopGenerator generator(scale);
    QString error;
    bool made = false;
    QElapsedTimer timer;
    timer.start();
    if (!generator.Ensure(shop, &error, &made)) {
        std::fprintf(stderr, "cannot make the shop: %s\n", qPrintable(error));
        return 1;
    }
    const QString file = shop + QStringLiteral("/Kestrova.mdb");
    Print(QStringLiteral("Shop %1 (%2x, %3): %4\n")
              .arg(QDir::current().relativeFilePath(file))
              .arg(scale)
              .arg(made ? QStringLiteral("made in %1 s").arg(double(timer.elapsed()) / 1000, 0, 'f', 1) : QStringLiteral("reused"))
              .arg(Contents(file)));
    Print(QStringLiteral("Working date %1; medians of %2 runs (%3 for operations under %4 ms) after one warm-up, program and "
                         "hand-written SQL taking turns, on a copy of the shop, offscreen.\n\n")
              .arg(TShopGenerator::LastDay().toString(Qt::ISODate))
              .arg(runs)
              .arg(runs * TBench::QuickRunsFactor)
              .arg(TBench::QuickMs));

    if (!server.isEmpty()) {
        // The throwaway server pg-throwaway.sh started, as the tests reach it.
        qputenv("KESTROVA_TEST_ENGINE", "postgres");
        qputenv("KESTROVA_TEST_PG", QFile::encodeName(server));
        TServerBench serverBench(shop, QCoreApplication::applicationDirPath() + QStringLiteral("/Res"), TShopGenerator::LastDay(), runs);
        QString text;
        const bool fine = serverBench.Run(text);
        Print(QStringLiteral("Books on a throwaway PostgreSQL server beside the same books in the file, one run: medians of %1 runs; "
                             "counters are processes of their own saving three-line bills for 5 s.\n\n").arg(3 * runs)
              + text + QLatin1Char('\n'));
        return fine ? 0 : 1;
    }
    TBench bench(shop, QCoreApplication::applicationDirPath() + QStringLiteral("/Res"), QStringLiteral(KESTROVA_SOURCE_DIR "/resources/Frf"),
                 TShopGenerator::LastDay(), runs);
    TResultTable table;
    QString notes;
    bool ok = bench.Run(table, notes);
    if (!keepMedians.isEmpty() && !TResultTable::SaveMedians(table.Medians(), keepMedians)) {
        notes += QStringLiteral("\nCould not keep the medians in ") + keepMedians;
        ok = false;
    }
    if (!against.isEmpty()) {
        const QHash<QString, double> before = TResultTable::LoadMedians(against);
        if (before.isEmpty()) {
            notes += QStringLiteral("\nNo medians to compare with in ") + against;
            ok = false;
        } else {
            table.SetBaseline(before, QStringLiteral("%1x / 1x").arg(scale));
            notes += QStringLiteral("\nGrowth from 1x: ") + TBench::GrowthTargets(table.Medians(), before) + QLatin1Char('.');
        }
    }
    Print(table.Text() + QLatin1Char('\n') + notes + QLatin1Char('\n'));
    Print(QStringLiteral(
        "\nHow each is taken: cold = the connection closed, then the login and the refresh it runs, against a new\n"
        "connection with the program's settings running the five pages' SQL; open = from showing the editor until\n"
        "it is drawn once, against reading the bill, its lines and the header lists; save = the\n"
        "save button, against inserting the Bill row, six Store rows and the bill number; keystroke = a product number\n"
        "set in a new sales bill's line, the mean of %1 in a run, against finding the product and the customer's\n"
        "price; start-up = making the windows, drawing the main window and its first showing,\n"
        "until the login dialog is asked for; reports = the working month's lines computed into the rows the\n"
        "report prints, without the preview, against one grouped statement for the figures and plain inserts; bill\n"
        "print = in the bill's editor, the bill's rows read and the template's pages prepared, against writing\n"
        "the print tables and reading them back; size stock list = its data set for every product, against one\n"
        "grouped statement; searches = the data centre grid and its footer filled, against reading the same rows\n"
        "and summing the amounts; books check = every check over the whole books, no hand-written counterpart.\n")
              .arg(TBench::KeystrokesPerRun));
    return ok ? 0 : 1;
}
