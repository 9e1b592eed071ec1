#pragma once
#include <QDate>

// "Today" for the whole program; tests fix it.
namespace Clock {
QDate Today();
void Fix(const QDate &date);   // an invalid date releases it
}
