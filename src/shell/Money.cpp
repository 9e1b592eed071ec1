#include "shell/Money.h"

#include "shell/PublicFunction.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

double RoundMoney(double amount)
{
    if (!std::isfinite(amount))
        return 0;
    // Read the amount in fen back through 15 significant digits: that drops the
    // noise of binary fractions, so the half-fen test sees the decimal figure.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15g", amount * 100);
    const double fen = std::round(std::strtod(buf, nullptr));
    const double rounded = fen / 100;
    return rounded == 0 ? 0.0 : rounded;   // never "-0"
}

QString MoneyText(double amount) { return NumberText(RoundMoney(amount)); }
