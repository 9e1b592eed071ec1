#include "core/Capitals.h"

namespace {
// Units by position from the right, each followed by an ideographic space.
// Past 佰万 the table goes on in the same style, so no digit is ever dropped.
const char *const units[] = {"分　", "角　", "元　", "拾　", "佰　", "仟　", "万　", "拾万　", "佰万　", "仟万　",
                             "亿　", "拾亿　", "佰亿　", "仟亿　", "万亿　", "拾万亿　", "佰万亿　", "仟万亿　",
                             "亿亿　", "拾亿亿　", "佰亿亿　", "仟亿亿　"};
constexpr int unitCount = int(sizeof units / sizeof units[0]);

bool PointThirdFromEnd(const QString &text) { return text.size() >= 3 && text[text.size() - 3] == QLatin1Char('.'); }

// Adds one to a string of decimal digits.
QString Increment(QString digits)
{
    int i = int(digits.size()) - 1;
    for (; i >= 0; --i) {
        if (digits[i] == QLatin1Char('9')) {
            digits[i] = QLatin1Char('0');
        } else {
            digits[i] = QChar(digits[i].unicode() + 1);
            break;
        }
    }
    if (i < 0)
        digits.prepend(QLatin1Char('1'));
    return digits;
}
} // namespace

QString TotalToFen(const QString &amount)
{
    QString text = amount;
    const int point = int(text.indexOf(QLatin1Char('.')));
    if (point >= 0 && text.size() - point - 1 > 2) {
        // Round on the decimal text itself, so 1.005 becomes 1.01 as written.
        const bool up = text[point + 3] >= QLatin1Char('5');
        QString fen = text.left(point) + text.mid(point + 1, 2);
        if (up)
            fen = Increment(fen);
        while (fen.size() < 3)
            fen.prepend(QLatin1Char('0'));
        return fen;
    }
    for (int pass = 0; pass < 2; ++pass)
        if (!PointThirdFromEnd(text))
            text += QLatin1Char('0');
    text.remove(QLatin1Char('.'));
    return text;
}

QString DigitToCapital(QChar digit)
{
    static const QString capitals = QStringLiteral("零壹贰叁肆伍陆柒捌玖");
    const int d = digit.unicode() - '0';
    return d >= 0 && d <= 9 ? QString(capitals[d]) : QString();
}

QString FenToCapitals(const QString &fenDigits)
{
    QString result;
    QString rest = fenDigits;
    for (int position = 0; position < unitCount && !rest.isEmpty(); ++position) {
        result.prepend(DigitToCapital(rest.back()) + QString::fromUtf8(units[position]));
        rest.chop(1);
    }
    return result;
}
