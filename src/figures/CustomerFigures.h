#pragma once
// What each customer bought, returned, paid and owes over a span of dates,
// for every customer in one grouped pass or for one customer. The customer
// cards, the customer window and the monthly reports all read their figures
// here, so a customer's debt is the same wherever it is shown.

#include <QDate>
#include <QHash>
#include <QString>

// Raw sums as stored (signs of the bill kinds); the accessors round to the fen.
struct CustomerSums {
    double sales = 0;      // sales bills' totals
    double returns = 0;    // purchase bills' totals, negative as stored
    double paidNet = 0;    // money moved on real accounts: received less paid out
    double other = 0;      // other receivables

    double Goods() const;          // sales less returns, rounded
    double PaidNet() const;        // rounded
    double Other() const;          // rounded
    double Sales() const;          // rounded
    double Returns() const;        // rounded, without sign
    // Opening debt + goods + other receivables - money moved, from the rounded
    // parts. Money paid out to the customer counts as well as money received,
    // so a supplier's debt falls when he is paid. The one debt every view shows.
    double Debt(double opening) const;
};

class TCustomerFigures {
public:
    // Sums of every customer's bills and other receivables dated up to and
    // including `to`, and from `from` on when it is valid. Shows the failure
    // message and gives false when a query fails.
    bool Load(const QDate &to, const QDate &from = QDate());
    // The same for one customer only.
    bool LoadCustomer(const QString &name, const QDate &to, const QDate &from = QDate());
    // The sums of a customer; zero for one without bills.
    CustomerSums Of(const QString &name) const { return sums_.value(name); }
    int Count() const { return int(sums_.size()); }

    // The statements behind Load, for the index checks.
    static QString BillSql(const QDate &to, const QDate &from, const QString *customer);
    static QString OtherSql(const QDate &to, const QDate &from, const QString *customer);

private:
    bool Run(const QDate &to, const QDate &from, const QString *customer);
    QHash<QString, CustomerSums> sums_;
};
