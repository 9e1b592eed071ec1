#include "ResultTable.h"

#include <QStringList>
#include <algorithm>

namespace {
QString Milliseconds(double ms)
{
    const int decimals = ms < 10 ? 2 : ms < 100 ? 1 : 0;
    return QString::number(ms, 'f', decimals) + QStringLiteral(" ms");
}
} // namespace

double TResultTable::Median(QVector<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void TResultTable::AddTimes(const QString &operation, const QVector<double> &program, const QVector<double> &hand)
{
    const double p = Median(program);
    Row row{operation, Milliseconds(p), QStringLiteral("-"), QStringLiteral("-")};
    if (!hand.isEmpty()) {
        const double h = Median(hand);
        row.hand = Milliseconds(h);
        if (h > 0)
            row.ratio = QString::number(p / h, 'f', 2) + QStringLiteral("x");
    }
    rows_.append(row);
}

void TResultTable::AddMemory(const QString &operation, double kilobytes)
{
    rows_.append({operation, QString::number(kilobytes / 1024, 'f', 1) + QStringLiteral(" MB"), QStringLiteral("-"),
                  QStringLiteral("-")});
}

void TResultTable::AddPause(const QString &operation, double longestMs, double workMs)
{
    rows_.append({operation, QStringLiteral("longest pause ") + Milliseconds(longestMs),
                  QStringLiteral("work ") + Milliseconds(workMs), longestMs <= 100 ? QStringLiteral("answers") : QStringLiteral("PAUSED")});
}

QString TResultTable::Text() const
{
    const QStringList head = {QStringLiteral("operation"), QStringLiteral("program median"),
                              QStringLiteral("hand-written SQL median"), QStringLiteral("ratio")};
    int width[4];
    for (int c = 0; c < 4; ++c)
        width[c] = int(head[c].size());
    for (const Row &r : rows_) {
        const QString cells[4] = {r.operation, r.program, r.hand, r.ratio};
        for (int c = 0; c < 4; ++c)
            width[c] = std::max(width[c], int(cells[c].size()));
    }
    auto line = [&width](const QString (&cells)[4]) {
        QString text = QStringLiteral("| ") + cells[0].leftJustified(width[0]);
        for (int c = 1; c < 4; ++c)
            text += QStringLiteral(" | ") + cells[c].rightJustified(width[c]);
        return text + QStringLiteral(" |\n");
    };
    const QString headCells[4] = {head[0], head[1], head[2], head[3]};
    QString text = line(headCells);
    text += QStringLiteral("|") + QString(width[0] + 2, QLatin1Char('-'));
    for (int c = 1; c < 4; ++c)
        text += QStringLiteral("|") + QString(width[c] + 1, QLatin1Char('-')) + QStringLiteral(":");
    text += QStringLiteral("|\n");
    for (const Row &r : rows_) {
        const QString cells[4] = {r.operation, r.program, r.hand, r.ratio};
        text += line(cells);
    }
    return text;
}
