#include "core/Clock.h"

namespace {
QDate fixedToday;
}

QDate Clock::Today() { return fixedToday.isValid() ? fixedToday : QDate::currentDate(); }
void Clock::Fix(const QDate &date) { fixedToday = date; }
