#include "ServerBench.h"

#include "Elapsed.h"
#include "ResultTable.h"
#include "ShopGenerator.h"
#include "core/Clock.h"
#include "app/Forms.h"
#include "app/MainForm.h"
#include "db/Money.h"
#include "core/ProgramFiles.h"
#include "db/ShareDM.h"
#include "stores/BillNumbers.h"
#include "stores/GoodsBillStore.h"
#include "support/ServerMove.h"
#include "support/TestServer.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QSqlQuery>
#include <cstdio>
#include <iostream>

namespace {

// A sales bill of three lines for one of the shop's customers, numbered as an editor opening now would.
GoodsBill ThreeLines(const QStringList &customers, const QList<int> &products, int n)
{
    GoodsBill bill;
    bill.customer = customers[n % customers.size()];
    bill.date = Clock::Today();
    for (int i = 0; i < 3; ++i) {
        GoodsLine &line = bill.lines[i];
        line.product = products[(n * 7 + i * 13) % products.size()];
        line.sizes[i + 2] = QString::number(1 + i);
        line.pieces = 1 + i;
        line.price = 88.5;
        line.sum = RoundMoney(line.pieces * line.price);
        bill.total += line.sum;
    }
    TQuery last(QStringLiteral("Proposal"));
    last.Open(QStringLiteral("Select SettingValue From Setting Where SettingIndex = 1"));
    bill.serial = bill.proposed = BillNumbers::Next(last.FieldByName(QStringLiteral("SettingValue")).AsString());
    return bill;
}

// Whom and what the bills are for: a few hundred customers and products of the shop.
void Cast(QStringList &customers, QList<int> &products)
{
    TQuery q(QStringLiteral("Cast"));
    q.Open(QStringLiteral("Select CustomerName From Customer Where CustomerIndex > 1 Order By CustomerIndex Limit 400"));
    for (q.First(); !q.Eof(); q.Next())
        customers << q.FieldByName(QStringLiteral("CustomerName")).AsString();
    q.Open(QStringLiteral("Select ProductIndex From Product Where ProductIndex > 1 Order By ProductIndex Limit 400"));
    for (q.First(); !q.Eof(); q.Next())
        products << q.FieldByName(QStringLiteral("ProductIndex")).AsInteger();
}

QString Ms(double ms) { return QString::number(ms, 'f', ms < 10 ? 2 : 1) + QStringLiteral(" ms"); }
} // namespace

TServerBench::TServerBench(const QString &shop, const QString &res, const QDate &day, int runs)
    : shop_(shop), res_(res), day_(day), runs_(runs)
{
}

QVector<double> TServerBench::Refreshes()
{
    QVector<double> times;
    FormMain->RefreshAllPages();   // warm
    for (int r = 0; r < 3 * runs_; ++r)
        times << Elapsed([] { FormMain->RefreshAllPages(); });
    return times;
}

QVector<double> TServerBench::Saves()
{
    QStringList customers;
    QList<int> products;
    Cast(customers, products);
    QVector<double> times;
    for (int r = 0; r <= 3 * runs_; ++r) {
        const GoodsBill bill = ThreeLines(customers, products, r);
        int saved = 0;
        const double ms = Elapsed([&] { saved = TGoodsBillStore::SaveNew(bill); });
        if (saved == 0)
            return {};
        if (r > 0)   // the first warms
            times << ms;
    }
    return times;
}

double TServerBench::Throughput(int counters, double seconds, QString &fault)
{
    QList<QProcess *> processes;
    for (int i = 0; i < counters; ++i) {
        auto *p = new QProcess;
        p->start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--counter"), folder_.path(), QString::number(seconds), QString::number(i + 1)});
        processes << p;
    }
    // Each says it is connected and ready; then all start together.
    for (QProcess *p : processes)
        if (!p->waitForReadyRead(60000) || !p->readLine().startsWith("ready"))
            fault = QStringLiteral("a counter did not start");
    for (QProcess *p : processes)
        p->write("go\n");
    int bills = 0;
    for (QProcess *p : processes) {
        if (!p->waitForFinished(int(seconds * 1000) + 60000) || p->exitCode() != 0)
            fault = QStringLiteral("a counter failed: ") + QString::fromUtf8(p->readAllStandardError());
        bills += QString::fromUtf8(p->readAllStandardOutput()).trimmed().toInt();
        delete p;
    }
    return bills / seconds;
}

int TServerBench::Counter(const QString &folder, double seconds, int seed)
{
    SetProgramDirOverride(folder);
    ProgramDir = folder + QLatin1Char('/');
    Clock::Fix(TShopGenerator::LastDay());
    DialogScript script;
    Dialogs::SetHandler(&script);
    ShareDataModule = new TShareDataModule;
    QStringList customers;
    QList<int> products;
    Cast(customers, products);
    std::printf("ready\n");
    std::fflush(stdout);
    std::string go;
    std::getline(std::cin, go);
    int saved = 0;
    QElapsedTimer timer;
    timer.start();
    for (int n = seed * 100000; timer.elapsed() < seconds * 1000; ++n)
        if (TGoodsBillStore::SaveNew(ThreeLines(customers, products, n)) > 0)
            ++saved;
    std::printf("%d\n", saved);
    for (const QString &message : script.messages)
        std::fprintf(stderr, "%s\n", qPrintable(message));
    return script.messages.isEmpty() ? 0 : 1;
}

bool TServerBench::Run(QString &text)
{
    const QDir dir(folder_.path());
    if (!folder_.isValid() || !TShopGenerator::LayOut(shop_, res_, folder_.path(), &text))
        return false;
    SetProgramDirOverride(folder_.path());
    ProgramDir = folder_.path() + QLatin1Char('/');
    Dialogs::SetHandler(&script_);
    Clock::Fix(day_);

    auto login = [this] {
        script_.LoginAs(QStringLiteral("财务主管"), QStringLiteral("8888"));
        return FormMain->FormShow();
    };
    CreateForms();
    FormMain->show();
    if (!login()) {
        text = QStringLiteral("the finance supervisor could not log in to the file");
        return false;
    }
    const QVector<double> fileRefresh = Refreshes();
    const QVector<double> fileSave = Saves();
    QString fault;
    const double fileOne = Throughput(1, 5, fault);

    // The same books, moved onto the server as the administrator does.
    ShareDataModule->Disconnect();
    const TDataSource server = TestServer::NewEmptyDatabase();
    const TServerMove::Result moved = TServerMove::ToServer(dir.filePath(QStringLiteral("Kestrova.mdb")), server);
    if (moved.status != TServerMove::Moved) {
        text = QStringLiteral("the move to the server failed: ") + moved.reason;
        return false;
    }
    if (!login()) {
        text = QStringLiteral("the finance supervisor could not log in to the server");
        return false;
    }
    const QVector<double> serverRefresh = Refreshes();
    const QVector<double> serverSave = Saves();
    const double one = Throughput(1, 5, fault);
    const double four = Throughput(4, 5, fault);
    DestroyForms();
    TestServer::Drop(server);

    const double refreshFile = TResultTable::Median(fileRefresh), refreshServer = TResultTable::Median(serverRefresh);
    const double saveFile = TResultTable::Median(fileSave), saveServer = TResultTable::Median(serverSave);
    QStringList lines;
    lines << QStringLiteral("| operation | file | server | server / file |") << QStringLiteral("|---|---:|---:|---:|");
    lines << QStringLiteral("| general refresh (five card pages) | %1 | %2 | %3× |")
                 .arg(Ms(refreshFile), Ms(refreshServer), QString::number(refreshServer / refreshFile, 'f', 2));
    lines << QStringLiteral("| save a new goods bill, three lines (its store) | %1 | %2 | %3× |")
                 .arg(Ms(saveFile), Ms(saveServer), QString::number(saveServer / saveFile, 'f', 2));
    lines << QStringLiteral("| bills saved a second, one counter | %1 | %2 | |").arg(fileOne, 0, 'f', 0).arg(one, 0, 'f', 0);
    lines << QStringLiteral("| bills saved a second, four counters at once | | %1 | %2× one |").arg(four, 0, 'f', 0).arg(four / one, 0, 'f', 2);
    QStringList targets;
    auto judge = [&targets](bool met, const QString &what) { targets << (met ? QStringLiteral("met: ") : QStringLiteral("MISSED: ")) + what; };
    judge(refreshServer <= 1.5 * refreshFile, QStringLiteral("refresh on the server within 1.5× the file's"));
    judge(saveServer < 20, QStringLiteral("a save on the server under 20 ms"));
    judge(four >= 3 * one, QStringLiteral("four counters at least 3× the bills a second of one"));
    text = lines.join(QLatin1Char('\n')) + QStringLiteral("\n\nTargets: ") + targets.join(QStringLiteral("; ")) + QLatin1Char('.');
    if (!fault.isEmpty())
        text += QStringLiteral("\nFaults: ") + fault;
    if (!script_.messages.isEmpty() && script_.messages != QStringList{QStringLiteral("单据新增成功")})
        text += QStringLiteral("\nMessages: ") + script_.messages.join(QStringLiteral(" | "));
    return fault.isEmpty();
}
