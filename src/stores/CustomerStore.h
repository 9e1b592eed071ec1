#pragma once
// The one door through which customers are written, each write whole or not
// at all. Widget-free; messages go through the dialog seam.

#include "stores/Customer.h"

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
};
