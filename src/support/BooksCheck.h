#pragma once
// Whether a file holds this program's books: an SQLite database with every
// table and column of the delivered schema, passing SQLite's integrity check.

#include <QString>

class QSqlDatabase;

class TBooksCheck {
public:
    enum Verdict { Good, NotOurs, Damaged };

    // Reads the file only; reason (if given) says what was wrong.
    static Verdict Check(const QString &file, QString *reason = nullptr);
    // The tables, columns and integrity of books already open.
    static Verdict CheckOpen(QSqlDatabase &db, QString *reason = nullptr);
};
