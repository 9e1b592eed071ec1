#include "core/MonthSpan.h"

MonthSpan::MonthSpan(const QDate &day)
    : first(day.year(), day.month(), 1), last(first.addMonths(1).addDays(-1)) {}

SqlText MonthSpan::BetweenSql(const QString &column) const
{
    return SqlText(QStringLiteral("(") + column + QStringLiteral(" Between ? And ?)"), {DateValue(first), DateValue(last)});
}

QString MonthSpan::Title() const { return QStringLiteral("%1年%2月份").arg(first.year()).arg(first.month()); }
