#pragma once
// What came into and went out of stock for each product in a calendar month,
// by the sign of each bill line's quantity, in one grouped pass.

#include <QDate>
#include <QHash>
#include <QString>

struct ProductMonth {
    int quantityIn = 0;
    double amountIn = 0;    // rounded to the fen
    int quantityOut = 0;    // without sign
    double amountOut = 0;   // rounded to the fen
};

class TProductFigures {
public:
    // Shows "数据库打开失败" and gives false when the query fails.
    bool LoadMonth(const QDate &day);
    ProductMonth MonthOf(int productIndex) const { return months_.value(productIndex); }
    static QString MonthSql(const QDate &day);

private:
    QHash<int, ProductMonth> months_;
};
