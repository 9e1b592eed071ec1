#pragma once
// The one door through which the passwords (the Power rows) are written.

#include <QString>

class TPasswordStore {
public:
    enum Outcome { Changed, Missing, Failed };
    // Sets the password of the Power row powerName. Missing: there is no such
    // row (the caller says which); Failed: the query or the write failed (said).
    static Outcome Change(const QString &powerName, const QString &newKey);

    // Reads
    enum class Lookup { Found, Missing, Failed };
    // The password of the Power row powerName into *key. Missing: no such row;
    // Failed: the query failed (said).
    static Lookup KeyOf(const QString &powerName, QString *key);
};
