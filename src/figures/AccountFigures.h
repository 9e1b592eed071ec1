#pragma once
// What each money account holds as of a date and how it moved in that date's
// month, for every account in one grouped pass.

#include "core/SqlText.h"

#include <QDate>
#include <QHash>
#include <QString>

// In whole fen of the bills' money each rounded to the fen.
struct AccountSums {
    qint64 balance = 0;   // every bill booked on the account up to the date
    qint64 month = 0;     // the whole calendar month of the date, later days too
    double Balance() const;
    double Month() const;
};

// An account's month: balance carried in, money in, money out (without sign).
struct AccountMonth {
    double opening = 0;
    double in = 0;
    double out = 0;
};

class TAccountFigures {
public:
    // Shows "统计帐户金额时出错" and gives false when the query fails.
    bool Load(const QDate &asOf);
    AccountSums Of(int accountIndex) const { return sums_.value(accountIndex); }

    // Money per account of the bills dated after a day (undated ones too), and
    // of the bills of a span of days.
    static SqlText AfterSql(const QDate &day);
    static SqlText SpanSql(const QDate &first, const QDate &last);

    // Every account's movement in the calendar month of the day, rounded to the fen.
    bool LoadMonth(const QDate &day);
    AccountMonth MonthOf(int accountIndex) const { return months_.value(accountIndex); }
    static SqlText MonthSql(const QDate &day);

private:
    // Balances as of a day: kept totals less the money after it.
    bool LoadBalances(const QDate &asOf, QHash<int, qint64> &balances);
    QHash<int, AccountSums> sums_;
    QHash<int, AccountMonth> months_;
};
