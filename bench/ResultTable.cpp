#include "ResultTable.h"

#include <QFile>
#include <QStringList>
#include <QTextStream>
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
    Row row{operation, Milliseconds(p), QStringLiteral("-"), QStringLiteral("-"), p};
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

QHash<QString, double> TResultTable::Medians() const
{
    QHash<QString, double> medians;
    for (const Row &r : rows_)
        if (r.programMs >= 0)
            medians.insert(r.operation, r.programMs);
    return medians;
}

void TResultTable::SetBaseline(const QHash<QString, double> &medians, const QString &title)
{
    baseline_ = medians;
    baselineTitle_ = title;
}

bool TResultTable::SaveMedians(const QHash<QString, double> &medians, const QString &file)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream stream(&out);
    for (auto i = medians.cbegin(); i != medians.cend(); ++i)
        stream << i.key() << '\t' << QString::number(i.value(), 'g', 17) << '\n';
    return true;
}

QHash<QString, double> TResultTable::LoadMedians(const QString &file)
{
    QHash<QString, double> medians;
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text))
        return medians;
    QTextStream stream(&in);
    while (!stream.atEnd()) {
        const QStringList cells = stream.readLine().split(QLatin1Char('\t'));
        if (cells.size() == 2)
            medians.insert(cells[0], cells[1].toDouble());
    }
    return medians;
}

QString TResultTable::Text() const
{
    const bool growth = !baseline_.isEmpty();
    const int columns = growth ? 5 : 4;
    QStringList head = {QStringLiteral("operation"), QStringLiteral("program median"), QStringLiteral("hand-written SQL median"),
                        QStringLiteral("ratio")};
    if (growth)
        head << baselineTitle_;
    auto cellsOf = [&](const Row &r) {
        QStringList cells = {r.operation, r.program, r.hand, r.ratio};
        if (growth) {
            const double before = baseline_.value(r.operation, -1);
            cells << (r.programMs >= 0 && before > 0 ? QString::number(r.programMs / before, 'f', 2) + QStringLiteral("x")
                                                     : QStringLiteral("-"));
        }
        return cells;
    };
    QVector<int> width(columns);
    for (int c = 0; c < columns; ++c)
        width[c] = int(head[c].size());
    for (const Row &r : rows_) {
        const QStringList cells = cellsOf(r);
        for (int c = 0; c < columns; ++c)
            width[c] = std::max(width[c], int(cells[c].size()));
    }
    auto line = [&](const QStringList &cells) {
        QString text = QStringLiteral("| ") + cells[0].leftJustified(width[0]);
        for (int c = 1; c < columns; ++c)
            text += QStringLiteral(" | ") + cells[c].rightJustified(width[c]);
        return text + QStringLiteral(" |\n");
    };
    QString text = line(head);
    text += QStringLiteral("|") + QString(width[0] + 2, QLatin1Char('-'));
    for (int c = 1; c < columns; ++c)
        text += QStringLiteral("|") + QString(width[c] + 1, QLatin1Char('-')) + QStringLiteral(":");
    text += QStringLiteral("|\n");
    for (const Row &r : rows_)
        text += line(cellsOf(r));
    return text;
}
