#include "core/SqlText.h"

QVariant DateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(QStringLiteral("yyyy-MM-dd"))) : QVariant();
}
