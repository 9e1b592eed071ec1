#pragma once
// The benchmark's one table: operation, the program's median, the median of
// the hand-written SQL over the same file in the same run, and their ratio.

#include <QHash>
#include <QString>
#include <QVector>

class TResultTable {
public:
    // Times in milliseconds, one a run; an empty hand list means there is no counterpart.
    void AddTimes(const QString &operation, const QVector<double> &program, const QVector<double> &hand);
    void AddMemory(const QString &operation, double kilobytes);
    // The longest the window's thread went without handling its events while
    // the operation ran (its timer is due every few milliseconds).
    void AddPause(const QString &operation, double longestMs, double workMs);
    QString Text() const;

    // The program's medians of the timed operations, by operation.
    QHash<QString, double> Medians() const;
    // Another scale's medians: Text() then adds a column of this run's time over that one's.
    void SetBaseline(const QHash<QString, double> &medians, const QString &title);
    static bool SaveMedians(const QHash<QString, double> &medians, const QString &file);
    static QHash<QString, double> LoadMedians(const QString &file);

    static double Median(QVector<double> values);

private:
    struct Row {
        QString operation;
        QString program;
        QString hand;
        QString ratio;
        double programMs = -1;   // a timed operation's median
    };
    QVector<Row> rows_;
    QHash<QString, double> baseline_;
    QString baselineTitle_;
};
