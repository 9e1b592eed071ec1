#include "db/SqlDialect.h"

#include <QRegularExpression>

QString BlankQuotedTexts(const QString &sql)
{
    QString out = sql;
    bool inText = false;
    for (int i = 0; i < out.size(); ++i) {
        if (out[i] == QLatin1Char('\'')) {
            inText = !inText;   // a doubled quote toggles twice and stays in the text
            continue;
        }
        if (inText)
            out[i] = QLatin1Char('_');
    }
    return out;
}

QString TranslateSql(const QString &sql)
{
    // #yyyy-M-d# becomes 'yyyy-MM-dd', but never inside a quoted text.
    static const QRegularExpression dateLiteral(QStringLiteral("^#(\\d{4})-(\\d{1,2})-(\\d{1,2})#"));
    QString out;
    out.reserve(sql.size() + 16);
    bool inText = false;
    for (int i = 0; i < sql.size(); ++i) {
        const QChar c = sql[i];
        if (c == QLatin1Char('\'')) {
            inText = !inText; // a doubled quote toggles twice and stays in the text
            out += c;
            continue;
        }
        if (!inText && c == QLatin1Char('#')) {
            const auto m = dateLiteral.match(QStringView(sql).mid(i));
            if (m.hasMatch()) {
                out += QStringLiteral("'%1-%2-%3'")
                           .arg(m.captured(1))
                           .arg(m.captured(2).toInt(), 2, 10, QLatin1Char('0'))
                           .arg(m.captured(3).toInt(), 2, 10, QLatin1Char('0'));
                i += m.capturedLength() - 1;
                continue;
            }
        }
        out += c;
    }
    return out;
}

