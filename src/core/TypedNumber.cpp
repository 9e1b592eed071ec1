#include "core/TypedNumber.h"

namespace TypedNumber {

namespace {
bool IsAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Significant digits: the whole part without leading zeros and the
// decimals without trailing zeros.
int SignificantDigits(const QString &whole, const QString &decimals)
{
    int lead = 0;
    while (lead < whole.size() && whole[lead] == QLatin1Char('0'))
        ++lead;
    int tail = int(decimals.size());
    while (tail > 0 && decimals[tail - 1] == QLatin1Char('0'))
        --tail;
    return int(whole.size()) - lead + tail;
}
} // namespace

Fault ReadAmount(const QString &text, double *value, int maxDecimals)
{
    if (text.isEmpty())
        return Empty;
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (text == QLatin1String(".") || (point >= 0 && text.indexOf(QLatin1Char('.'), point + 1) >= 0))
        return NotNumber;
    for (QChar c : text)
        if (!IsAsciiDigit(c) && c != QLatin1Char('.'))
            return NotNumber;
    const QString whole = point < 0 ? text : text.left(point);
    const QString decimals = point < 0 ? QString() : text.mid(point + 1);
    if (maxDecimals >= 0 && decimals.size() > maxDecimals)
        return TooManyDecimals;
    if (SignificantDigits(whole, decimals) > MaxDigits)
        return TooLong;
    if (value)
        *value = text.toDouble();
    return Fine;
}

Fault ReadCount(const QString &text, int *value)
{
    if (text.isEmpty())
        return Empty;
    for (QChar c : text)
        if (!IsAsciiDigit(c))
            return NotNumber;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok)
        return TooLong;
    if (value)
        *value = n;
    return Fine;
}

QString AmountMessage(const QString &field, const QString &text, Fault fault)
{
    switch (fault) {
    case Fine:
        return QString();
    case Empty:
        return QStringLiteral("请输入%1").arg(field);
    case TooManyDecimals:
        return QStringLiteral("%1“%2”的小数位数过多，请重新输入").arg(field, text);
    case TooLong:
        return QStringLiteral("%1“%2”超过了15位有效数字，请重新输入").arg(field, text);
    case NotNumber:
        break;
    }
    return QStringLiteral("%1“%2”不是有效的金额，只能输入数字和小数点，请重新输入").arg(field, text);
}

QString CountMessage(const QString &field, const QString &text, Fault fault)
{
    switch (fault) {
    case Fine:
        return QString();
    case Empty:
        return QStringLiteral("请输入%1").arg(field);
    case TooLong:
        return QStringLiteral("%1“%2”太大，请重新输入").arg(field, text);
    default:
        break;
    }
    return QStringLiteral("%1“%2”不是整数，只能输入数字，请重新输入").arg(field, text);
}

} // namespace TypedNumber
