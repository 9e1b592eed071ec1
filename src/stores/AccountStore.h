#pragma once
// The one door through which money accounts are written. Names are unique and
// never empty; deleting an account takes every bill paid through it, with the
// bills' lines, in one transaction.

#include <QString>
#include <QStringList>

class TAccountStore {
public:
    // Gives the new AccountIndex, 0 when refused or not saved (the message shown).
    static int Create(const QString &name);
    enum Outcome { Renamed, Refused, Failed };
    // Renames the account now named oldName. Refused: the name is empty or
    // taken, nothing tried; Failed: the account is gone or the write failed.
    static Outcome Rename(const QString &oldName, const QString &name);
    static bool Delete(int accountIndex);
    // The AccountIndex of that name, 0 for none, -1 when the query failed (its message shown).
    static int IndexOf(const QString &name);

    // Reads
    // As IndexOf, saying failureMessage when the query fails.
    static int IndexOf(const QString &name, const QString &failureMessage);
    // Reads. False: the books could not be read, failureMessage said.
    // The names of the accounts a bill can be paid through (the placeholder's not), as the books give them.
    static bool Names(QStringList &names, const QString &failureMessage);
};
