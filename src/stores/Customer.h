#pragma once
// A customer as one plain value.

#include <QString>

struct Customer {
    int index = 0;   // CustomerIndex; 0 until saved
    QString name;
    QString region;  // 本地, 省内 or 其它
    double owe = 0;  // opening debt
    int version = 0; // CustomerVersion as read: a change is refused once another counter changed it
};
