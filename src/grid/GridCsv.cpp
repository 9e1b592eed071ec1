#include "grid/GridCsv.h"

#include "grid/GridModel.h"

#include <QStringList>
#include <functional>

namespace {
QString Field(const QString &text)
{
    const bool quote = text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                       || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
                       || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}
} // namespace

QByteArray CsvFile(const QList<QStringList> &lines)
{
    QString out;
    for (const QStringList &line : lines) {
        QStringList fields;
        for (const QString &text : line)
            fields << Field(text);
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QByteArray GridCsv(const TGridModel &model, const QList<int> &columns)
{
    QList<QStringList> lines;
    auto line = [&](const std::function<QString(int)> &text) {
        QStringList fields;
        for (int c : columns)
            fields << text(c);
        lines << fields;
    };
    line([&](int c) { return model.Columns().value(c).title; });
    for (int r = 0; r < model.rowCount(); ++r)
        line([&](int c) { return model.Text(r, c); });
    line([&](int c) { return model.FooterText(c); });
    return CsvFile(lines);
}
