#pragma once
// What each money account holds as of a date and how it moved in that date's
// month, for every account in one grouped pass.

#include <QDate>
#include <QHash>
#include <QString>

struct AccountSums {
    double balance = 0;   // every bill booked on the account up to the date
    double month = 0;     // the whole calendar month of the date, later days too
    double Balance() const;   // rounded to the fen
    double Month() const;     // rounded to the fen
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

    static QString Sql(const QDate &asOf);

    // Every account's movement in the calendar month of the day, rounded to the fen.
    bool LoadMonth(const QDate &day);
    AccountMonth MonthOf(int accountIndex) const { return months_.value(accountIndex); }
    static QString MonthSql(const QDate &day);

private:
    QHash<int, AccountSums> sums_;
    QHash<int, AccountMonth> months_;
};
