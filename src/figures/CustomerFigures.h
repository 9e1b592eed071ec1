#pragma once
// What each customer bought, returned, paid and owes over a span of dates,
// for every customer in one grouped pass or for one customer. The customer
// cards, the customer window and the monthly reports all read their figures
// here, so a customer's debt is the same wherever it is shown.

#include "core/SqlText.h"

#include <QDate>
#include <QHash>
#include <QString>

// Sums in whole fen of the rows' amounts each rounded to the fen, with the
// signs of the bill kinds; the accessors give yuan.
struct CustomerSums {
    qint64 sales = 0;      // sales bills' totals
    qint64 returns = 0;    // purchase bills' totals, negative as stored
    qint64 paidNet = 0;    // money moved on real accounts: received less paid out
    qint64 other = 0;      // other receivables

    double Goods() const;          // sales less returns
    qint64 GoodsFen() const { return sales + returns; }
    double PaidNet() const;
    double Other() const;
    double Sales() const;
    double Returns() const;        // without sign
    // Opening debt + goods + other receivables - money moved. Money paid out to the customer counts as well as money received,
    // so a supplier's debt falls when he is paid. The one debt every view shows.
    double Debt(double opening) const;
};

class TCustomerFigures {
public:
    // Sums of every customer's bills and other receivables dated up to and
    // including `to`, and from `from` on when it is valid. Up to a date they
    // are the kept totals less the rows dated after it. Shows the failure
    // message and gives false when a query fails.
    bool Load(const QDate &to, const QDate &from = QDate());
    // The same for one customer only.
    bool LoadCustomer(const QString &name, const QDate &to, const QDate &from = QDate());
    // The sums of a customer; zero for one without bills.
    CustomerSums Of(const QString &name) const { return sums_.value(name); }
    int Count() const { return int(sums_.size()); }

    // The statements over the rows of a span (from valid) or after `to`
    // (from invalid, the rows the kept totals hold beyond the date).
    static SqlText BillSql(const QDate &to, const QDate &from, const QString *customer);
    static SqlText OtherSql(const QDate &to, const QDate &from, const QString *customer);

private:
    bool Run(const QDate &to, const QDate &from, const QString *customer);
    bool Add(const SqlText &sql, const QString &failure, int sign);
    QHash<QString, CustomerSums> sums_;
};
