#include "shell/MonthSpan.h"

#include "shell/PublicFunction.h"

MonthSpan::MonthSpan(const QDate &day)
    : first(day.year(), day.month(), 1), last(first.addMonths(1).addDays(-1)) {}

QString MonthSpan::BetweenSql(const QString &column) const
{
    return QStringLiteral("(") + column + QStringLiteral(" Between ") + SqlDate(first) + QStringLiteral(" And ")
           + SqlDate(last) + QStringLiteral(")");
}

QString MonthSpan::Title() const { return QStringLiteral("%1年%2月份").arg(first.year()).arg(first.month()); }
