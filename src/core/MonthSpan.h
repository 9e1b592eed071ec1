#pragma once
// The calendar month of a date: its first day and its last day, the day
// before the first of the next month. Every month filter and monthly report
// takes its bounds from here.

#include "core/SqlText.h"

#include <QDate>
#include <QString>

struct MonthSpan {
    explicit MonthSpan(const QDate &day);
    QDate first;
    QDate last;
    // "(column Between ? And ?)" with the first and last day
    SqlText BetweenSql(const QString &column) const;
    // "2024年3月份"
    QString Title() const;
};
