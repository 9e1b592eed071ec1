#include "sheets/ListSheet.h"

#include "sheets/Csv.h"
#include "core/NumberTexts.h"
#include "db/Money.h"

#include <QDate>
#include <QRegularExpression>
#include <cmath>

namespace {
bool IsNumber(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int: case QMetaType::UInt: case QMetaType::LongLong: case QMetaType::ULongLong:
    case QMetaType::Double: case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

// A grid column of numbers is money when its title names an amount.
bool TitledAsAmount(const QString &title)
{
    static const QRegularExpression amount(QStringLiteral("金额|价|款|额|欠|余|收入|支出|应收|应付|成本|利润"));
    return amount.match(title).hasMatch();
}
} // namespace

QStringList TListSheet::Titles() const
{
    QStringList titles;
    for (const Column &c : columns)
        titles << c.title;
    return titles;
}

TListSheet::Kind TListSheet::WrittenKind(int column) const
{
    const Column &c = columns.at(column);
    if (c.kind != Auto)
        return c.kind;
    bool numbers = false, whole = true;
    for (const QVariantList &row : rows) {
        const QVariant v = row.value(column);
        if (v.isNull())
            continue;
        if (!IsNumber(v))
            return Auto;
        numbers = true;
        const double d = v.toDouble();
        whole = whole && d == std::floor(d);
    }
    if (!numbers)
        return Auto;
    if (TitledAsAmount(c.title))
        return Money;
    return whole ? Quantity : Auto;
}

QVariant TListSheet::Cell(int row, int column) const
{
    const QVariant v = rows.at(row).value(column);
    if (v.isNull())
        return v;
    switch (columns.at(column).kind) {
    case Text:
        return v.typeId() == QMetaType::QDate ? v.toDate().toString(Qt::ISODate) : v.toString();
    case Money:
        return RoundMoney(v.toDouble());
    case Price:
        return v.toDouble();
    case Quantity:
        return double(std::llround(v.toDouble()));
    case Date:
        return v.typeId() == QMetaType::QDate ? v : QVariant(QDate::fromString(v.toString(), Qt::ISODate));
    case Auto:
        break;
    }
    if (IsNumber(v))
        return v.toDouble();
    if (v.typeId() == QMetaType::QDate)
        return v;
    return v.toString();
}

QByteArray TListSheet::Csv() const
{
    QList<QVariantList> lines;
    QVariantList titles;
    for (const Column &c : columns)
        titles << c.title;
    lines << titles;
    for (int r = 0; r < rows.size(); ++r) {
        QVariantList fields;
        for (int c = 0; c < columns.size(); ++c)
            fields << Cell(r, c);
        lines << fields;
    }
    return Csv::File(lines);
}
