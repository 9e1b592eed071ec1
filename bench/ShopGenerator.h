#pragma once
// A shop with years of books, written row for row as the program writes them:
// signs by bill kind, six line slots a goods bill (empty ones with product 0),
// ISO dates, the program's number texts, bill numbers carried in Setting.
// The same seed gives the same file.

#include <QDate>
#include <QSqlDatabase>
#include <QString>

class TShopGenerator {
public:
    struct Size {
        int customers = 2000;
        int products = 1000;
        int accounts = 20;
        int goodsBills = 100000;
        int financeBills = 20000;
        int others = 5000;   // other receivables (SG)
        int quotes = 3000;   // customer prices
        int years = 10;
    };

    // scale multiplies the bills and the years they span, so a day holds as many bills at every scale.
    explicit TShopGenerator(int scale);

    // The last day of the books; the benchmark works as of this day.
    static QDate LastDay();
    // A program folder holding a copy of the shop's books (saves write to it, never to
    // the generated file), the program's Res/ pictures, and the data source registered.
    static bool LayOut(const QString &shop, const QString &res, const QString &folder, QString *error);
    const Size &Sizes() const { return size_; }

    // Leaves folder/Kestrova.mdb made by this generator from the current schema;
    // reuses one that is complete. False with the reason when it cannot.
    bool Ensure(const QString &folder, QString *error, bool *made = nullptr);

private:
    QString Stamp() const;
    bool Write(const QString &file, QString *error);
    bool Fill(QSqlDatabase &db, QString *error);

    int scale_;
    Size size_;
};
