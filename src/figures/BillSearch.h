#pragma once
// The bill lists of the data centre as SQL statements: the search dialog's
// conditions, and the month, year and all-time lists of one customer or account.
// Every text yields the same columns, in the data centre grid's order.

#include "core/SqlText.h"

#include <QDate>
#include <QString>
#include <QStringList>

class TQuery;

struct TBillSearch {
    enum Period { Month, Year, AllTime };

    // "所有", then the four bill kinds; the kind is an index into this list.
    static const QStringList &Kinds();

    int kind = 0;
    QDate from, to;
    QString lowerAmount, upperAmount;   // typed without sign; empty: no bound
    QString serial, customer, man, remark;
    QString account, reason, type, token;   // empty: any
    QString productSerial, productCategory, productName, productModel;

    // The amounts are used only when the kind is not "所有".
    bool UsesAmounts() const { return kind != 0; }
    // A product condition lists a bill once for each of its matching lines.
    bool UsesLines() const;
    SqlText Sql() const;

    // The first and last day of the working date's month or year.
    static QDate PeriodFirst(Period period, const QDate &workingDate);
    static QDate PeriodLast(Period period, const QDate &workingDate);

    // What a list's footer shows: its rows and the sum of their amounts, each to the fen.
    struct Totals {
        qint64 rows = 0;
        qint64 fen = 0;
    };
    static Totals TotalsOf(const SqlText &sql);   // throws EDatabaseError

    static SqlText CustomerBills(const QString &customerName, Period period, const QDate &workingDate);
    static SqlText AccountBills(int accountIndex, Period period, const QDate &workingDate);

    // A list's bills into the grid's query, read a page at a time; false after its message.
    static bool OpenList(TQuery &list, const SqlText &sql);
};
