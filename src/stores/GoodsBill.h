#pragma once
// A sales or purchase bill with its six lines, as one plain value. Amounts and
// counts are as the user typed them, without sign; the store signs them.
// The money of a bill is made here: a line's amount is its pieces x price to the
// fen, the total adds those, and the editor shows and the store writes just that.

#include "db/Money.h"

#include <QDate>
#include <QString>
#include <array>

struct GoodsLine {
    int product = 0;                     // ProductIndex; 0 for an empty line
    std::array<QString, 10> sizes;       // 35# to 44#, as typed
    int pieces = 0;
    double price = 0;
    double sum = 0;                      // StoreSum as the books hold it; filled by Load, never written
    QString serial, name, type;          // the product as shown; filled by Load

    qint64 AmountFen() const { return Fen(pieces * price); }
};

struct GoodsBill {
    static constexpr int LineCount = 6;

    int index = 0;          // BillIndex; 0 until saved
    bool sales = true;      // 出货单, else 进货单
    int account = 1;        // the placeholder account when nothing was paid
    QDate date;
    QString customer;
    double total = 0;       // BillSum as the books hold it (older books may disagree with the lines); filled by Load, never written
    double paid = 0;
    QString reason, type, token, remark, serial;
    QString proposed;   // the number its editor proposed, which a save may move on from
    QString accountName;    // filled by Load
    int version = 0;        // BillVersion as read: a change is refused once another counter changed it
    std::array<GoodsLine, LineCount> lines;

    QString Kind() const { return sales ? QStringLiteral("出货单") : QStringLiteral("进货单"); }
    int SettingIndex() const { return sales ? 1 : 2; }   // where its number series is kept
    qint64 TotalFen() const
    {
        qint64 fen = 0;
        for (const GoodsLine &line : lines)
            fen += line.AmountFen();
        return fen;
    }
};
