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

class TAccountFigures {
public:
    // Shows "统计帐户金额时出错" and gives false when the query fails.
    bool Load(const QDate &asOf);
    AccountSums Of(int accountIndex) const { return sums_.value(accountIndex); }

    static QString Sql(const QDate &asOf);

private:
    QHash<int, AccountSums> sums_;
};
