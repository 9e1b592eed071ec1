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

class THandWrittenReports;
class THandWrittenSql;
class TReportRows;

class TBench {
public:
    static constexpr int KeystrokesPerRun = 20;
    // An operation whose warm-up takes less gets QuickRunsFactor times the runs.
    static constexpr double QuickMs = 50;
    static constexpr int QuickRunsFactor = 3;

    // shop: the folder of the generated Kestrova.mdb; res: the program's Res/ pictures; frf: its report templates.
    TBench(const QString &shop, const QString &res, const QString &frf, const QDate &day, int runs);
    ~TBench();

    // False when the program folder cannot be laid out or an operation went wrong.
    bool Run(TResultTable &table, QString &notes);
    // Figures that must not grow with the books, judged against a smaller shop's medians.
    static QString GrowthTargets(const QHash<QString, double> &now, const QHash<QString, double> &before);

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
    THandWrittenReports HandReports() const;
    // Arms the next login dialog to accept the finance supervisor.
    void AcceptNextLogin();
    // The script has no modal left unanswered and the program showed no message beyond the expected ones.
    void Clean(const QString &operation, const QStringList &expected = {});

    double StartUp();
    Times IniWithBigValue();
    Times ColdLogin();
    Times OpenGoodsBill();
    Times Keystroke(int customer, const QVariantList &serials);
    Times SaveGoodsBill(int customer, const QVariantList &serials);
    QStringList ShownFigures(int page) const;
    QString CheckFigures();
    // Records whether both sides gave the same rows; sorted first when rows of
    // equal sort keys may come in either order.
    void Agree(const QString &operation, QStringList program, QStringList hand, bool sorted = false);
    // What the statements read, one text a row.
    static QStringList Rows(const QStringList &sqls);
    // Empties the print tables, so a side that wrote nothing cannot pass for the other.
    void BlankPrintTables();

    Times MonthlyReport(const QString &operation, const std::function<bool(TReportRows &)> &program,
                        const std::function<void(THandWrittenReports &, TReportRows &)> &hand);
    Times PrintBill();
    Times SizeStockList();
    Times Search(const QString &operation, const QDate &from, const QDate &to);
    Times BooksCheck();
    // 10,000 products from an XLSX workbook: read and shown for the import, then imported.
    struct ImportTimes {
        Times shown, imported;
        double megabytes = 0;
    };
    ImportTimes ImportProducts();
    struct Pause {
        QString operation;
        double longestMs = 0;   // the longest gap between the window's timer ticks
        double workMs = 0;
    };
    // Runs work as the windows do (off the window's thread) while a timer on
    // the window's thread ticks, and keeps the longest gap between ticks.
    Pause WindowPause(const QString &operation, const std::function<bool()> &work);
    QVector<Pause> WindowPauses(int busiestCustomer);

    QString shop_;
    QString res_;
    QString frf_;
    QDate day_;
    int runs_;
    QTemporaryDir folder_;
    DialogScript script_;
    QStringList faults_;
    QStringList agreed_;   // operations whose results were found equal
};
