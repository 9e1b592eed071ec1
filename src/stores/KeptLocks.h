#pragma once
// Counters saving, changing and deleting bills at once touch the same kept
// totals. Each such write takes every kept row it will touch before it
// writes: customers, then accounts, then products, each in key order. Two
// writes then never hold rows the other waits for, so neither is ended as a
// deadlock's victim.

#include <QList>
#include <QStringList>

class KeptLocks {
public:
    void AddCustomer(const QString &name) { customers_ << name; }
    void AddAccount(qint64 account) { accounts_ << account; }
    void AddProduct(qint64 product) { products_ << product; }
    // The customer, account and products of a stored bill; throws EDatabaseError.
    void AddBill(int billIndex);
    // Inside the write transaction, before its first write; throws EDatabaseError.
    void Take() const;
    // Takes the rows a bill of this customer, account and products counts on,
    // and those of the stored bill `stored` too when it is a change (0: none).
    static void TakeForBill(int stored, const QString &customer, qint64 account, const QList<qint64> &products = {});

private:
    QStringList customers_;
    QList<qint64> accounts_, products_;
};
