#pragma once
// The one door through which customers are written, each write whole or not
// at all. Widget-free; messages go through the dialog seam.

#include "stores/Customer.h"

class TQuery;

class TCustomerStore {
public:
    enum Result { Saved, NameTaken, Failed };

    // Adds a new customer; a name already in use is refused. The new
    // CustomerIndex is set into *index when given.
    static Result Create(const Customer &customer, int *index = nullptr);
    // Rewrites customer.index. A new name must be free; the bills and other
    // receivables that carry the old name move with it.
    static Result Change(const Customer &customer);
    // Deletes the customer and its prices; its bills and other receivables
    // keep the name.
    static bool Delete(int customerIndex);

    // Reads: what the windows show of customers.
    // The customer's row (every column) into row, empty when it is gone; false
    // when the read failed, after failureMessage was shown.
    static bool Read(TQuery &row, int customerIndex, const QString &failureMessage = QStringLiteral("数据库打开失败"));
};
