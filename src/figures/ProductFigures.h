#pragma once
// What came into and went out of stock for each product in a calendar month,
// by the sign of each bill line's quantity, in one grouped pass.

#include "core/SqlText.h"

#include <QDate>
#include <QHash>
#include <QString>

struct ProductMonth {
    int quantityIn = 0;
    double amountIn = 0;    // rounded to the fen
    int quantityOut = 0;    // without sign
    double amountOut = 0;   // rounded to the fen
};

// A product's stock per size, 35# to 44#, as of a date.
struct SizeStock {
    static constexpr int SizeCount = 10;
    int size[SizeCount] = {};
    int total = 0;          // the product's stock, as the stock card shows it
    bool flagged = false;   // an old line whose sizes are not whole numbers or do not add up
    int odd = 0;            // how many such lines
    bool AddsUp() const;
};

class TProductFigures {
public:
    // Shows "数据库打开失败" and gives false when the query fails.
    bool LoadMonth(const QDate &day);
    ProductMonth MonthOf(int productIndex) const { return months_.value(productIndex); }
    static SqlText MonthSql(const QDate &day);

    // Stock per size as of the date, of every product or of one (productIndex > 0),
    // leaving out the lines of one bill (the one being changed) when exceptBill > 0:
    // the kept totals less the lines dated after it.
    bool LoadSizes(const QDate &asOf, int productIndex = 0, int exceptBill = 0);
    SizeStock SizesOf(int productIndex) const { return sizes_.value(productIndex); }
    // The lines (of one product when productIndex > 0) whose bill matches `billWhere`,
    // added up per product in the columns of the kept totals.
    static SqlText LinesSql(const SqlText &billWhere, int productIndex);
    // The bills dated after a day, undated ones too.
    static SqlText AfterSql(const QDate &day);
    // "35#" ... "44#"
    static QString SizeCaption(int size);

private:
    bool Add(const SqlText &sql, int sign);
    QHash<int, ProductMonth> months_;
    QHash<int, SizeStock> sizes_;
};
