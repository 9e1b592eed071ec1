#pragma once
// An other receivable (a sum a customer owes outside the goods bills) as one
// plain value.

#include <QDate>
#include <QString>

struct OtherReceivable {
    int index = 0;   // SGIndex; 0 until saved
    QString customer;
    QDate date;
    double amount = 0;
    QString remark;
};
