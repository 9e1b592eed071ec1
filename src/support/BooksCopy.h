#pragma once
// Copies of the books taken out and put back so that the books are never
// left half-written: a backup is a consistent, checked copy; a restore checks
// the file first, keeps the books it replaces and swaps the file in one step.

#include <QDateTime>
#include <QString>
#include <functional>

class TBooksCopy {
public:
    // Refused: reason holds the whole refusal in Chinese (a row that does not fit, a pipe, a file too large).
    enum Status { Done, Failed, RefusedNotOurs, RefusedDamaged, RefusedCurrent, Refused };

    struct Result {
        Status status = Failed;
        int errorNumber = 0;   // the operating system's error number; 0 when the failure has none
        QString reason;        // what went wrong when there is no error number
        QString keptFile;      // restore: where the replaced books were kept
    };

    // A copy of everything committed in the open books, checked, then put at
    // target in one step (an existing file there is replaced; a device is
    // written into). beforePlacing is given the whole, checked copy under its
    // hidden name just before it takes the target's name.
    static Result Backup(const QString &target, const std::function<void(const QString &)> &beforePlacing = {});

    // Checks source, builds new books from our schema holding its rows, keeps
    // the current books beside them as "Kestrova.mdb.恢复前-2024-3-15-101500",
    // then puts the new books in their place.
    // On success the connection is left closed; on any failure the books are as they were.
    static Result Restore(const QString &source, const QDateTime &when);

    // With the books on a server: a restore keeps the server's books as a file
    // first, then replaces them in one transaction of the server.
    static Result RestoreServer(const QString &source, const QDateTime &when);

    // "<what>：<cause>": the error number's words (TFileFailure), else the reason in Chinese.
    static QString FailureText(const QString &what, const Result &result);
    // A reason in Chinese: SQLite's English texts are put in words the user reads.
    static QString ReasonText(const QString &reason);
};
