#pragma once
// Runs the program's own windows on a copy of a generated shop, offscreen and
// with a scripted user, and times each operation against the hand-written SQL
// for the same work, runs of the two taking turns.

#include "ResultTable.h"
#include "support/TestEnv.h"

#include <QDate>
#include <QString>
#include <QTemporaryDir>
#include <functional>

class THandWrittenSql;

class TBench {
public:
    // shop: the folder of the generated Kestrova.mdb; res: the program's Res/ pictures.
    static constexpr int KeystrokesPerRun = 20;
    // An operation whose warm-up takes less gets QuickRunsFactor times the runs.
    static constexpr double QuickMs = 50;
    static constexpr int QuickRunsFactor = 3;

    TBench(const QString &shop, const QString &res, const QDate &day, int runs);
    ~TBench();

    // False when the program folder cannot be laid out or an operation went wrong.
    bool Run(TResultTable &table, QString &notes);

private:
    using Timed = std::function<double()>;   // one run, its milliseconds
    struct Times {
        QVector<double> program;
        QVector<double> hand;
    };
    bool LayOut(QString &error);
    // A warm-up of each side, then runs taking turns.
    Times Measure(const Timed &program, const Timed &hand = nullptr);
    THandWrittenSql Hand() const;
    // Arms the next login dialog to accept the finance supervisor.
    void AcceptNextLogin();
    // The script has no modal left unanswered and the program showed no message beyond the expected ones.
    void Clean(const QString &operation, const QStringList &expected = {});

    double StartUp();
    Times ColdLogin();
    Times OpenGoodsBill();
    Times Keystroke(int customer, const QVariantList &serials);
    Times SaveGoodsBill(int customer, const QVariantList &serials);
    QStringList ShownFigures(int page) const;
    QString CheckFigures();

    QString shop_;
    QString res_;
    QDate day_;
    int runs_;
    QTemporaryDir folder_;
    DialogScript script_;
    QStringList faults_;
};
