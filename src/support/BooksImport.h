#pragma once
// New books made from the program's own schema and filled with the rows of a
// chosen file, so that nothing of that file's own schema (triggers, views,
// indexes, extra tables or columns, table options) ever reaches the books.
// The file is opened read-only; every value is checked against its column's
// kind, and a row that does not fit refuses the whole file.

#include <QString>

class QSqlDatabase;

namespace Journal {
struct Record;
}

class TBooksImport {
public:
    enum Verdict { Done, NotOurs, Damaged, Refused, Failed };

    struct Outcome {
        Verdict verdict = Failed;
        QString reason;   // Refused: the whole message in Chinese; otherwise what went wrong
    };

    // target is an empty file of ours; on anything but Done it is left half
    // made and the caller removes it. A file from an earlier version comes out
    // with today's tables and indexes.
    // `record`, when given, goes into the new books' journal with the rows.
    static Outcome Import(const QString &source, const QString &target, const Journal::Record *record = nullptr);
    // The books on a server made again from the file's rows, in one transaction
    // of the connection: on anything but Done the server's books are as they were.
    static Outcome ImportInto(const QString &source, QSqlDatabase &to, const Journal::Record *record = nullptr);
    // The books of a connection (a server) as a new file of ours, from one
    // snapshot; target is an empty file, removed by the caller on failure.
    static Outcome Export(QSqlDatabase &from, const QString &target);
};
