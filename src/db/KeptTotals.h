#pragma once
// Sums kept ahead of time: per customer, account and product, the total of
// every row in the books, in whole fen (quantities in pieces), kept by
// triggers in the same transaction as every write, by the program or by
// direct SQL. A figure as of a date is the kept total less the rows dated
// after it. Whole fen add up exactly in any order, so the kept total and the
// rows always agree to the fen.
//
// The per-row amounts below are the one definition of what a row adds to a
// figure; the figures read the rows through them as well.

#include "db/SqlEngine.h"

#include <QString>
#include <QStringList>

class QSqlDatabase;

namespace KeptTotals {
// The tables and triggers, one statement a text.
QStringList Statements(const TSqlEngine &engine);
// Names of the tables that hold kept totals.
QStringList TableNames();

// What a Bill row (columns prefixed by `row`, "" or "NEW.") adds, in fen.
// Each text is for the given engine; by default that of the books.
QString SalesFen(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
QString ReturnsFen(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
QString PaidFen(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());   // money on a real account that exists
QString MoneyFen(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());  // money on the bill's own account
// What an SG row adds to the customer's other receivables, in fen.
QString OtherFen(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
// What a Store row adds to its product's stock: pieces, size k (0-9), and 1
// when its sizes are not whole numbers or do not add up to its pieces.
QString LinePieces(const QString &row = QString());
QString LineSize(int k, const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
QString LineOdd(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
// A size text's pieces (0 unless a whole number), the ten added, and "some
// size text is not a whole number", over a Store row.
QString SizeValue(int k, const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
QString SumOfSizes(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());
QString OddSizeText(const QString &row = QString(), const TSqlEngine &engine = TSqlEngine::Current());

// The all-time totals added up from the rows, in the columns of the kept
// tables, for rebuilding and comparing.
QString RawCustomerSql(const TSqlEngine &engine = TSqlEngine::Current());
QString RawAccountSql(const TSqlEngine &engine = TSqlEngine::Current());
QString RawProductSql(const TSqlEngine &engine = TSqlEngine::Current());

// Adds the kept totals up again from the rows; run inside a transaction.
bool Rebuild(QSqlDatabase &db, QString *error);
// On a server: the statement that takes the kept rows of `count` keys of one
// table ("KeptCustomer", "KeptAccount" or "KeptProduct") for the rest of the
// transaction, in the order the keys are bound, making the missing ones.
// Empty where a write transaction holds the whole books.
QString LockStatement(const QString &table, int count, const TSqlEngine &engine = TSqlEngine::Current());
// The kept totals that differ from their rows: "客户 张三", "帐户 3", "货品 12".
QStringList Differences(QSqlDatabase &db, bool *ok);
} // namespace KeptTotals
