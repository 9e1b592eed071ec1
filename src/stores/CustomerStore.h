#pragma once
// The one door through which customers are written, each write whole or not
// at all. Widget-free; messages go through the dialog seam.

#include "stores/Customer.h"

#include <QStringList>

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
    // Reads. False: the books could not be read, failureMessage said.
    // The customers' names, the placeholder's not, as the books give them.
    static bool Names(QStringList &names, const QString &failureMessage);
    // The row of the customer of that name, the placeholder too; empty for none.
    static bool FindByName(const QString &name, TQuery &into, const QString &failureMessage);
    // The CustomerIndex of the customer of that name, the placeholder never; 0
    // for none, -1 when the books could not be read. An empty failureMessage
    // says nothing: for a read asked at every key.
    static int IndexByName(const QString &name, const QString &failureMessage);
};
