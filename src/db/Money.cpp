#include "db/Money.h"

#include "core/NumberTexts.h"

#include <cmath>

namespace {
// Half a fen and 2^-20 of one: an exact binary number, so SQLite reads the
// literal as the same double C++ uses. The 2^-20 absorbs the binary noise of
// x * 100 for amounts up to hundreds of millions.
constexpr double Half = 0.50000095367431640625;
constexpr const char *HalfText = "0.50000095367431640625";
constexpr double Limit = 9.0e15;   // beyond the 15 digits the books hold
} // namespace

namespace {
qint64 Units(double amount, double perYuan)
{
    const double y = amount * perYuan;
    if (!std::isfinite(y) || std::fabs(y) > Limit)
        return 0;
    // The same steps as FenSql: a double sum, then truncation toward zero.
    return y < 0 ? -qint64(Half - y) : qint64(y + Half);
}
} // namespace

qint64 Fen(double amount) { return Units(amount, 100); }

bool FenHolds(double amount)
{
    const double y = amount * 100;
    return std::isfinite(y) && std::fabs(y) <= Limit;
}

qint64 PriceUnits(double price) { return Units(price, 10000); }

QString FenSql(const QString &e, const TSqlEngine &engine)
{
    const QString half = QString::fromLatin1(HalfText);
    return QStringLiteral("(Case When (%1) < 0 Then -%2 Else %3 End)")
        .arg(e, engine.Truncated(QStringLiteral("%1 - (%2) * 100").arg(half, e)),
             engine.Truncated(QStringLiteral("(%1) * 100 + %2").arg(e, half)));
}

double RoundMoney(double amount) { return FenToYuan(Fen(amount)); }

QString MoneyText(double amount) { return NumberText(RoundMoney(amount)); }
