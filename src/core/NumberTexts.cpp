#include "core/NumberTexts.h"

#include "core/TypedNumber.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <string_view>

EConvertError::EConvertError(const QString &message) : std::runtime_error(message.toStdString()) {}

bool IsDigitText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
    return true;
}

bool IsDecimalText(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text)
        if ((c < QLatin1Char('0') || c > QLatin1Char('9')) && c != QLatin1Char('.'))
            return false;
    return true;
}

int TextToIntLenient(const QString &text)
{
    if (!IsDigitText(text))
        return 0;
    int value = 0;
    if (TypedNumber::ReadCount(text, &value) != TypedNumber::Fine)
        throw EConvertError(QStringLiteral("“%1”超出了整数的范围").arg(text));
    return value;
}

double TextToFloatLenient(const QString &text)
{
    if (!IsDecimalText(text))
        return 0;
    double value = 0;
    switch (TypedNumber::ReadAmount(text, &value)) {
    case TypedNumber::Fine:
        return value;
    case TypedNumber::TooLong:
        throw EConvertError(QStringLiteral("“%1”超过了15位有效数字").arg(text));
    default:
        // "." and "1.2.3": digits and points, yet no number.
        throw EConvertError(QStringLiteral("“%1”不是有效的数字").arg(text));
    }
}

QString AmountTextError(const QString &text)
{
    // More than two characters after the first point is judged before the rest ("1.2.3").
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (IsDecimalText(text) && point >= 0 && text.size() - point - 1 > 2)
        return QStringLiteral("金额内容可能有误，请重新输入");
    switch (TypedNumber::ReadAmount(text, nullptr, 2)) {
    case TypedNumber::Fine:
        return QString();
    case TypedNumber::TooManyDecimals:
    case TypedNumber::TooLong:
        return QStringLiteral("金额内容可能有误，请重新输入");
    default:
        return QStringLiteral("金额格式有误，请重新输入");
    }
}

QString NumberText(double value)
{
    if (!std::isfinite(value) || value == 0)
        return QStringLiteral("0");
    // The shortest digits that read back as the value, or its 15 significant
    // digits (what the books hold) when that would take more: 0.1 + 0.2 is 0.3,
    // and a subnormal 1e-310 is 1e-310, not its binary value's 15 digits.
    char buf[32];
    auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific);
    std::string_view text(buf, std::size_t(written.ptr - buf));
    const auto e = text.find('e');
    if (std::count_if(text.begin(), text.begin() + std::ptrdiff_t(e), [](char c) { return c >= '0' && c <= '9'; }) > 15) {
        written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::scientific, 14);
        text = std::string_view(buf, std::size_t(written.ptr - buf));
    }
    // Written out in full from those digits alone: 1e64 is a 1 and 64 zeros.
    const std::size_t at = text.find('e');
    int exponent = 0;
    const char *sign = text.data() + at + 1;
    std::from_chars(sign + (*sign == '+'), text.data() + text.size(), exponent);
    const bool negative = text.front() == '-';
    QString digits;
    for (const char c : text.substr(0, at))
        if (c >= '0' && c <= '9')
            digits += QLatin1Char(c);
    while (digits.size() > 1 && digits.endsWith(QLatin1Char('0')))
        digits.chop(1);
    QString out;
    if (exponent >= 0) {
        const qsizetype whole = exponent + 1;
        out = digits.left(whole) + QString(std::max<qsizetype>(0, whole - digits.size()), QLatin1Char('0'));
        if (digits.size() > whole)
            out += QLatin1Char('.') + digits.mid(whole);
    } else {
        out = QStringLiteral("0.") + QString(-exponent - 1, QLatin1Char('0')) + digits;
    }
    if (negative)
        out.prepend(QLatin1Char('-'));
    return out;
}

QString DateText(const QDate &date) { return date.toString(QStringLiteral("yyyy-M-d")); }


bool IsNumberValue(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool IsIsoDateValue(const QVariant &v)
{
    if (v.typeId() != QMetaType::QString)
        return false;
    const QString text = v.toString();
    return text.size() == 10 && text[4] == QLatin1Char('-') && QDate::fromString(text, Qt::ISODate).isValid();
}

QString ValueText(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (IsNumberValue(value))
        return value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float ? NumberText(value.toDouble())
                                                                                        : value.toString();
    if (IsIsoDateValue(value))
        return DateText(QDate::fromString(value.toString(), Qt::ISODate));
    if (value.typeId() == QMetaType::QDate)
        return DateText(value.toDate());
    return value.toString();
}
