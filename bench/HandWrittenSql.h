#pragma once
// What each measured operation needs from the database, written as directly
// as SQL allows: one grouped statement a page, plain lookups and inserts.
// Its times are the yardstick for the program's. The page routines give the
// figures the page would show (total, then the first card's), so both sides
// can be checked to agree.

#include <QDate>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariantList>

class THandWrittenSql {
public:
    THandWrittenSql(QSqlDatabase db, const QDate &day);

    QStringList CustomerPage();
    QStringList GoodsBillPage();
    QStringList FinanceBillPage();
    QStringList StockPage();
    QStringList AccountPage();
    void AllPages();

    // Header, lines and the header lists of a goods bill's editor.
    void OpenGoodsBill(int billIndex, bool sales);
    // In a new sales bill: a product by number and the customer's price for it.
    void Keystroke(const QString &serial, int customerIndex);

    struct NewLine {
        int product;
        int sizes[10];
        double price;
    };
    // One sales bill with its six line rows and the bill number written back, in one transaction.
    bool SaveGoodsBill(const QString &customer, int account, const QList<NewLine> &lines, const QString &serial);

    // A connection of its own to the file, set as the program's connection is.
    static QSqlDatabase OpenLike(const QSqlDatabase &model, const QString &name);
    // A forward-only statement with its values bound, run; a failure ends the benchmark.
    static QSqlQuery Run(QSqlDatabase &db, const QString &sql, const QVariantList &values = {});

private:
    QSqlDatabase db_;
    QDate day_;
};
