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

// A product's stock per size, 35# to 44#, as of a date.
struct SizeStock {
    static constexpr int SizeCount = 10;
    int size[SizeCount] = {};
    int total = 0;          // the product's stock, as the stock card shows it
    bool flagged = false;   // an old line whose sizes are not whole numbers or do not add up
    bool AddsUp() const;
};

class TProductFigures {
public:
    // Shows "数据库打开失败" and gives false when the query fails.
    bool LoadMonth(const QDate &day);
    ProductMonth MonthOf(int productIndex) const { return months_.value(productIndex); }
    static QString MonthSql(const QDate &day);

    // Stock per size as of the date, of every product or of one (productIndex > 0),
    // leaving out the lines of one bill (the one being changed) when exceptBill > 0.
    bool LoadSizes(const QDate &asOf, int productIndex = 0, int exceptBill = 0);
    SizeStock SizesOf(int productIndex) const { return sizes_.value(productIndex); }
    static QString SizeSql(const QDate &asOf, int productIndex, int exceptBill = 0);
    // SQL for a size column's quantity (0 unless the text is a whole number),
    // for the sum of the ten, and for "some size text is not a whole number".
    static QString SizeValueSql(int size);
    static QString SumOfSizesSql();
    static QString OddSizeTextSql();
    // "35#" ... "44#"
    static QString SizeCaption(int size);

private:
    QHash<int, ProductMonth> months_;
    QHash<int, SizeStock> sizes_;
};
