#pragma once
// A product record as one plain value.

#include <QString>

struct Product {
    int index = 0;   // ProductIndex; 0 until saved
    QString name, type, serial, remark;
    double price = 0;
};
