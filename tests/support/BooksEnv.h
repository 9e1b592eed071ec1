#pragma once
// The books alone for a test: a program folder of its own, fresh books on the
// engine the fixture switch names, the books object without any window, what
// the books tell or ask the user caught in a script, and a fixed "today".
// Window tests take TestEnv, which adds the windows on top.

#include "core/SqlText.h"
#include "db/DataSource.h"

#include <QDate>
#include <QStringList>
#include <QTemporaryDir>
#include <QVariant>
#include <deque>

// What the program said and asked, and the answers it is to get.
class NoticeScript {
public:
    QStringList messages;                 // every message, in order
    QStringList questions;                // "caption|text" of every Yes/No question
    std::deque<bool> answers;             // answers to the next questions; No when none is left

    void Tell(const QString &text) { messages << text; }
    bool Ask(const QString &caption, const QString &text);
    // The messages shown, each without the reason a failure gives after what failed
    // (the engines word their reasons differently).
    QStringList WhatFailed() const;
};

// A file's bytes (empty when it cannot be read), and a file written whole.
QByteArray FileBytes(const QString &file);
void WriteFile(const QString &file, const QByteArray &data);

// The steps SQLite plans for a statement, with its values bound; empty when it cannot be planned.
QStringList QueryPlan(const SqlText &sql);

// Fresh: new books on the engine the fixture switch names; File: new books in a file whatever it names.
enum class Db { Fresh, File, None };

class BooksEnv {
public:
    explicit BooksEnv(Db db = Db::Fresh);
    virtual ~BooksEnv();
    BooksEnv(const BooksEnv &) = delete;
    BooksEnv &operator=(const BooksEnv &) = delete;

    QString Dir() const;                 // the program folder, with a trailing "/"
    QString DatabaseFile() const { return Dir() + QStringLiteral("Kestrova.mdb"); }
    void Exec(const QString &sql, const QVariantList &params = {});
    QVariant Scalar(const QString &sql, const QVariantList &params = {});
    // The rows of a Select, each written through format (%1 its first column, %2 the
    // next...) and joined by separator. Values read alike on both engines: an
    // amount as "30.0", a whole number as "3", NULL as "".
    QString Rows(const QString &sql, const QString &format, const QString &separator = QStringLiteral(","),
                 const QVariantList &params = {});
    // Every row of every table the books keep (not those made from the others), in key order.
    QStringList AllRows();
    // From now on every write of this event ("Insert", "Update", "Delete") on the
    // table fails, or only those after which the condition (a Where on the books) holds.
    void Refuse(const QString &event, const QString &table, const QString &condition = QString());

    // Fixture rows; each returns the new key. Amounts are stored as given (signed).
    int AddCustomer(const QString &name, const QString &region = QStringLiteral("本地"), double owe = 0);
    int AddAccount(const QString &name);
    int AddProduct(const QString &name, const QString &type = QStringLiteral("T1"), double price = 0,
                   const QString &serial = QString());
    int AddBill(const QString &kind, const QString &user, const QDate &date, double sum, double money = 0,
                int account = 1);
    void AddLine(int bill, int product, int number);
    void AddSG(const QString &customer, const QDate &date, double sum, const QString &remark = QString());

    // The books are on the test server rather than in a file.
    static bool OnServer();

    NoticeScript notices;

protected:
    // withBooksObject false: the window factory makes the books object (TestEnv).
    BooksEnv(Db db, bool withBooksObject);

private:
    QTemporaryDir dir_;
    bool booksObject_;
    TDataSource server_;
};
