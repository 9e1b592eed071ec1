#pragma once
// A finance income or expense bill as one plain value; the amount as typed,
// without sign.

#include <QDate>
#include <QString>

struct FinanceBill {
    int index = 0;          // BillIndex; 0 until saved
    bool income = true;     // 财务收入单, else 财务支出单
    int account = 0;
    QDate date;
    QString customer;
    double amount = 0;
    QString reason, type, token, remark, serial, man;
    int version = 0;    // BillVersion as read: a change is refused once another counter changed it
    QString proposed;   // the number its editor proposed, which a save may move on from

    QString Kind() const { return income ? QStringLiteral("财务收入单") : QStringLiteral("财务支出单"); }
    int SettingIndex() const { return income ? 3 : 4; }   // where its number series is kept
};
