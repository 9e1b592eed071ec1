#pragma once
// The benchmark's one table: operation, the program's median, the median of
// the hand-written SQL over the same file in the same run, and their ratio.

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

    static double Median(QVector<double> values);

private:
    struct Row {
        QString operation;
        QString program;
        QString hand;
        QString ratio;
    };
    QVector<Row> rows_;
};
