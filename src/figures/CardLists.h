#pragma once
// What each card page lists, one card a row, in the order the cards show.
// The pages run these, and their exports and printouts take the same list.

#include "core/SqlText.h"

#include <QDate>
#include <QString>

class TCardLists {
public:
    // The customers of a region (every region when empty), in the order they were made.
    static SqlText Customers(const QString &region);
    // The products whose number, name and model contain what is given (an
    // empty text: any), by name.
    static SqlText Products(const QString &serial, const QString &name, const QString &type);
    // The accounts, in the order they were made.
    static SqlText Accounts();
    // The goods bills of the day, or of its month, largest sale first.
    static SqlText GoodsBills(const QDate &day, bool wholeMonth);
    // The finance bills of the day, or of its month, largest income first.
    static SqlText FinanceBills(const QDate &day, bool wholeMonth);

private:
    static SqlText Dated(const QDate &day, bool wholeMonth);
};
