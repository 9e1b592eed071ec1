#pragma once
// The one door through which the passwords (the Power rows) are written.

#include <QString>

class TPasswordStore {
public:
    enum Outcome { Changed, Missing, Failed };
    // Sets the password of the Power row powerName. Missing: there is no such
    // row (the caller says which); Failed: the query or the write failed (said).
    static Outcome Change(const QString &powerName, const QString &newKey);
};
