#pragma once
// Numbers and dates as texts, both ways: what a typed text is worth, and how a
// number, a date or a grid value is written for the user.

#include <QDate>
#include <QString>
#include <QVariant>
#include <stdexcept>

// A text that should have been a number but is not one ("1.2.3", ".").
// It abandons the operation in progress; the application shows its message.
class EConvertError : public std::runtime_error {
public:
    explicit EConvertError(const QString &message);
    QString Message() const { return QString::fromUtf8(what()); }
};

bool IsDigitText(const QString &text);
bool IsDecimalText(const QString &text);
int TextToIntLenient(const QString &text);      // throws EConvertError beyond 32 bits
double TextToFloatLenient(const QString &text); // throws EConvertError for "." or "1.2.3"

// Checks a typed amount (digits and one ".", at most two decimals, no sign);
// gives the message to show, or the empty text when the amount is fine.
QString AmountTextError(const QString &text);

// The shortest digits that read back as the value, up to 15 significant
// digits, written out in full: 1234.5, 0, -300.
QString NumberText(double value);
// The short date format: 2024-3-15.
QString DateText(const QDate &date);

// A value of the books as lists and grids show it: a number by NumberText, a
// date (or a text holding an ISO date) by DateText, anything else as it is.
bool IsNumberValue(const QVariant &value);
bool IsIsoDateValue(const QVariant &value);
QString ValueText(const QVariant &value);
