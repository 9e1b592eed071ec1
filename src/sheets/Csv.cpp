#include "sheets/Csv.h"

#include "core/NumberTexts.h"

#include <QRegularExpression>
#include <QStringDecoder>

#include <utility>

namespace {
// What a spreadsheet would take for a formula, a number or a date rather than text.
bool NeedsGuard(const QString &text)
{
    if (text.isEmpty())
        return false;
    static const QString formulaStarts = QStringLiteral("=+-@\t\r");
    if (formulaStarts.contains(text.front()))
        return true;
    static const QRegularExpression numberLike(QStringLiteral("^\\s*[0-9.][0-9.,:/%eE +-]*$"));
    return numberLike.match(text).hasMatch();
}

// A text written behind the guard apostrophe: one a spreadsheet would misread,
// and one that starts with an apostrophe itself, so reading can undo the guard
// exactly ("'1" is written "''1" and comes back "'1").
bool Guarded(const QString &text)
{
    return NeedsGuard(text) || text.startsWith(QLatin1Char('\''));
}

QString Quoted(const QString &text, bool force)
{
    const bool quote = force || text.contains(QLatin1Char(',')) || text.contains(QLatin1Char('"'))
                       || text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))
                       || text.startsWith(QLatin1Char(' ')) || text.endsWith(QLatin1Char(' '));
    if (!quote)
        return text;
    QString doubled = text;
    doubled.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + doubled + QLatin1Char('"');
}

QString Field(const QVariant &value)
{
    if (value.typeId() != QMetaType::QString)
        return ValueText(value);   // a number or a date, as the grid shows it
    const QString text = value.toString();
    return Guarded(text) ? Quoted(QLatin1Char('\'') + text, true) : Quoted(text, false);
}
} // namespace

QByteArray Csv::File(const QList<QVariantList> &lines)
{
    QString out;
    for (const QVariantList &line : lines) {
        QStringList fields;
        for (const QVariant &value : line)
            fields << Field(value);
        out += fields.join(QLatin1Char(',')) + QStringLiteral("\r\n");
    }
    return QByteArray("\xEF\xBB\xBF") + out.toUtf8();
}

QString Csv::Decoded(const QByteArray &file, Encoding *encoding)
{
    auto says = [encoding](Encoding e) {
        if (encoding)
            *encoding = e;
    };
    const bool marked = file.startsWith("\xEF\xBB\xBF");
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8(marked ? file.mid(3) : file);
    if (!utf8.hasError()) {
        says(Encoding::Utf8);
        return text;
    }
    // Text in GB18030 is seldom also well-formed UTF-8, so what UTF-8 refuses is tried as GB18030.
    QStringDecoder gb18030("GB18030", QStringDecoder::Flag::Stateless);
    if (!marked && gb18030.isValid()) {
        text = gb18030(file);
        if (!gb18030.hasError()) {
            says(Encoding::Gb18030);
            return text;
        }
    }
    says(Encoding::Unknown);
    return QString();
}

bool Csv::Parse(const QString &text, const std::function<bool(QString &&)> &field, const std::function<bool()> &lineEnd)
{
    QString current;
    bool quoted = false, any = false, open = false;
    auto endField = [&] {
        open = true;
        return field(std::exchange(current, QString()));
    };
    auto endLine = [&] {
        const bool go = endField() && lineEnd();
        open = any = false;
        return go;
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (quoted) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < text.size() && text[i + 1] == QLatin1Char('"'))
                    current += text[++i];
                else
                    quoted = false;
            } else {
                current += c;
            }
            continue;
        }
        any = true;
        if (c == QLatin1Char('"')) {
            quoted = true;
        } else if (c == QLatin1Char(',')) {
            if (!endField())
                return false;
        } else if (c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n')) {
            continue;
        } else if (c == QLatin1Char('\n') || c == QLatin1Char('\r')) {
            if (!endLine())
                return false;
        } else {
            current += c;
        }
    }
    if (any || !current.isEmpty() || open)
        return endLine();
    return true;
}

QList<QStringList> Csv::Read(const QByteArray &file)
{
    QList<QStringList> lines;
    QStringList line;
    Parse(
        Decoded(file),
        [&](QString &&field) {
            line << std::move(field);
            return true;
        },
        [&] {
            lines << std::exchange(line, QStringList());
            return true;
        });
    return lines;
}

QString Csv::Unguarded(const QString &field)
{
    if (field.startsWith(QLatin1Char('\'')) && Guarded(field.mid(1)))
        return field.mid(1);
    return field;
}
