#pragma once
// make bench ENGINE=pg: the shop's books moved onto a throwaway PostgreSQL
// server, and what a counter feels there set beside the file in the same run:
// the general refresh, a bill's save, and bills saved a second by one counter
// and by four at once (each a process of its own, as counters are).

#include "support/TestEnv.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QVector>

class TServerBench {
public:
    // shop: the folder of the generated Kestrova.mdb; res: the program's Res/ pictures.
    TServerBench(const QString &shop, const QString &res, const QDate &day, int runs);

    // The table and the targets; false when something went wrong (said in the text).
    bool Run(QString &text);

    // One counter's process: saves goods bills into the books of the program
    // folder for `seconds`, then prints how many it saved.
    static int Counter(const QString &folder, double seconds, int seed);

private:
    QVector<double> Refreshes();
    QVector<double> Saves();
    // Bills a second saved by `counters` processes at once.
    double Throughput(int counters, double seconds, QString &fault);

    QString shop_, res_;
    QDate day_;
    int runs_;
    QTemporaryDir folder_;
    DialogScript script_;
};
