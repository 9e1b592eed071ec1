#include "stores/FieldText.h"

QString FieldText::Fault(const QString &field, const QString &text, int maxLength)
{
    for (const QChar c : text)
        if (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029))
            return QStringLiteral("%1不能含有换行、制表符或其它控制字符").arg(field);
    if (text.size() > maxLength)
        return QStringLiteral("%1太长（%2 个字，最多 %3 个）").arg(field).arg(text.size()).arg(maxLength);
    return QString();
}
