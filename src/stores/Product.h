#pragma once
// A product record as one plain value.

#include <QString>

struct Product {
    int index = 0;   // ProductIndex; 0 until saved
    QString name, type, serial, remark;
    double price = 0;
    int version = 0; // ProductVersion as read: a change is refused once another counter changed it
};
