#pragma once
// The one door through which customer quotes (Price rows) are written, each
// write whole or not at all. Widget-free; messages go through the dialog seam.

#include <QString>

class TQuery;

class TQuoteStore {
public:
    // NotRead: the existing quote could not be looked up, nothing was tried.
    enum Result { Saved, NotRead, Failed };

    // One quote per customer and product: a second one replaces the first.
    static Result SetPrice(int customerIndex, int productIndex, double price);

    // Reads
    // The customer's quotes by product: ProductIndex, ProductName, ProductType,
    // PriceValue. False after its message.
    static bool ReadQuotes(TQuery &list, int customerIndex);
    // Reads. The customer's quote for the product (PriceValue); the query empty
    // when there is none. False when it could not be read (failureMessage said).
    static bool Find(int customerIndex, int productIndex, TQuery &into, const QString &failureMessage);
};
