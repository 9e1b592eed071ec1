#pragma once
// The change journal as the 修改记录 window lists it.

#include <QDate>
#include <QString>

class TQuery;

class TJournalList {
public:
    // The records newest first, within the days, of a kind ("" for all), whose
    // customer or key holds the texts given; false after its message.
    static bool Read(TQuery &list, const QDate &from, const QDate &to, const QString &kind, const QString &customer,
                     const QString &key);
};
