#pragma once
// What went wrong with a read or a write of the books. A failure carries its
// kind, so the window that asked can say why and "not found" is never taken
// for "could not be read".

#include <QString>
#include <stdexcept>

enum class TDbFailure {
    Other,            // the engine's own words say why
    ConnectionLost,   // the server went away half-way
    Unreachable,      // nothing answers at the server's address
    LoginRefused,     // the server refused the user or password
    NotPostgres,      // something answers at the address, but not a PostgreSQL server
    DatabaseMissing,  // the server has no database of that name
    NewerBooks,       // books made by a newer version of the program
    NotOurBooks,      // a file or database that is not this program's books
    Locked,           // another program holds the books
    DiskFull,
    ValueRefused,     // a value the books cannot store
    Conflict,         // another counter's write met this one (deadlock, serialization)
};

class EDatabaseError : public std::runtime_error {
public:
    explicit EDatabaseError(const QString &message, TDbFailure kind = TDbFailure::Other);
    TDbFailure Kind() const { return kind_; }
    QString Message() const { return QString::fromUtf8(what()); }
    // One line saying why, for after what failed; the engine's words when no kind says more.
    QString Reason() const;

private:
    TDbFailure kind_;
};

// The reason a kind of failure gives, without the engine's words.
QString FailureReason(TDbFailure kind);
