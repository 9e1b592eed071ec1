#include "grid/XlsxReader.h"

#include "shell/PublicFunction.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <zip.h>

#include <cmath>
#include <memory>

namespace {
// What one part of a workbook may unpack to: a sheet of 100,000 rows is well
// under it, a zip bomb is far over it.
constexpr qint64 MaxPartBytes = 256LL * 1024 * 1024;
// The sheet's own limits.
constexpr int MaxColumns = 16384;
constexpr int MaxRows = 1048576;

struct ZipClose {
    void operator()(zip_t *z) const { zip_discard(z); }
};
using Zip = std::unique_ptr<zip_t, ZipClose>;

struct Failure {
    QString why;
};

// One part, unpacked with a cap on its size whatever its header says. Empty
// (and *found false) when the workbook has no such part.
QByteArray Part(zip_t *zip, const QString &name, bool *found = nullptr)
{
    const QByteArray path = name.toUtf8();
    zip_file_t *file = zip_fopen(zip, path.constData(), 0);
    if (found)
        *found = file != nullptr;
    if (!file)
        return QByteArray();
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer, sizeof buffer);
        if (n < 0) {
            zip_fclose(file);
            throw Failure{QStringLiteral("工作簿已损坏，无法解压（%1）").arg(name)};
        }
        if (n == 0)
            break;
        if (bytes.size() + n > MaxPartBytes) {
            zip_fclose(file);
            throw Failure{QStringLiteral("工作簿解压后过大，不像是正常的表格文件")};
        }
        bytes.append(buffer, qsizetype(n));
    }
    zip_fclose(file);
    return bytes;
}

void Broken(const QXmlStreamReader &xml, const QString &part)
{
    if (xml.hasError())
        throw Failure{QStringLiteral("工作簿内容已损坏（%1 第 %2 行：%3）").arg(part).arg(xml.lineNumber()).arg(xml.errorString())};
}

// The text of a shared or inline string: its <t> pieces, phonetic guides left out.
QString StringItem(QXmlStreamReader &xml)
{
    const QStringView end = xml.name();
    const QString endName = end.toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0)
                text += xml.readElementText();
        } else if (xml.isEndElement()) {
            if (xml.name() == QLatin1String("rPh"))
                --phonetic;
            else if (xml.name() == endName)
                break;
        }
    }
    return text;
}

// Excel's escapes for characters XML cannot hold: _x000D_ and its kin.
QString Unescaped(QString text)
{
    if (!text.contains(QLatin1String("_x")))
        return text;
    static const QRegularExpression escape(QStringLiteral("_x([0-9A-Fa-f]{4})_"));
    QString out;
    qsizetype last = 0;
    for (auto it = escape.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += QStringView(text).mid(last, m.capturedStart() - last);
        out += QChar(char16_t(m.captured(1).toUShort(nullptr, 16)));
        last = m.capturedEnd();
    }
    out += QStringView(text).mid(last);
    return out;
}

QStringList SharedStrings(const QByteArray &part)
{
    QStringList strings;
    if (part.isEmpty())   // a workbook without shared texts
        return strings;
    QXmlStreamReader xml(part);
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si"))
            strings << Unescaped(StringItem(xml));
    }
    Broken(xml, QStringLiteral("sharedStrings.xml"));
    return strings;
}

bool IsDateFormatCode(QString code)
{
    static const QRegularExpression noise(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]|\\\\.|_.|\\*."));
    code.remove(noise);
    return code.contains(QLatin1Char('y'), Qt::CaseInsensitive) || code.contains(QLatin1Char('d'), Qt::CaseInsensitive);
}

// For each cell style, whether it shows a date.
QList<bool> DateStyles(const QByteArray &part)
{
    QHash<int, bool> customDate;
    QList<bool> styles;
    if (part.isEmpty())
        return styles;
    QXmlStreamReader xml(part);
    bool inCellXfs = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            const auto a = xml.attributes();
            if (xml.name() == QLatin1String("numFmt")) {
                customDate[a.value(QLatin1String("numFmtId")).toInt()] = IsDateFormatCode(a.value(QLatin1String("formatCode")).toString());
            } else if (xml.name() == QLatin1String("cellXfs")) {
                inCellXfs = true;
            } else if (inCellXfs && xml.name() == QLatin1String("xf")) {
                const int id = a.value(QLatin1String("numFmtId")).toInt();
                // Built-in date formats, the Chinese ones included.
                const bool builtIn = (id >= 14 && id <= 17) || id == 22 || (id >= 27 && id <= 36) || (id >= 50 && id <= 58);
                styles << (customDate.contains(id) ? customDate.value(id) : builtIn);
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("cellXfs")) {
            inCellXfs = false;
        }
    }
    Broken(xml, QStringLiteral("styles.xml"));
    return styles;
}

// The first sheet's part, by the workbook's own list; the usual name without one.
QString FirstSheetPart(zip_t *zip, bool *date1904)
{
    QString relation;
    {
        QXmlStreamReader xml(Part(zip, QStringLiteral("xl/workbook.xml")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (!xml.isStartElement())
                continue;
            if (xml.name() == QLatin1String("workbookPr")) {
                const QStringView v = xml.attributes().value(QLatin1String("date1904"));
                *date1904 = v == QLatin1String("1") || v == QLatin1String("true");
            } else if (xml.name() == QLatin1String("sheet") && relation.isEmpty()) {
                for (const QXmlStreamAttribute &a : xml.attributes())
                    if (a.name() == QLatin1String("id"))
                        relation = a.value().toString();
            }
        }
        Broken(xml, QStringLiteral("workbook.xml"));
    }
    if (!relation.isEmpty()) {
        QXmlStreamReader xml(Part(zip, QStringLiteral("xl/_rels/workbook.xml.rels")));
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")
                && xml.attributes().value(QLatin1String("Id")) == relation) {
                QString target = xml.attributes().value(QLatin1String("Target")).toString();
                if (target.startsWith(QLatin1Char('/')))
                    return target.mid(1);
                return QStringLiteral("xl/") + target;
            }
        }
        Broken(xml, QStringLiteral("workbook.xml.rels"));
    }
    return QStringLiteral("xl/worksheets/sheet1.xml");
}

// "BC12" → column 54 (0-based); -1 when the reference names no column.
int ColumnOf(QStringView reference)
{
    int column = 0, letters = 0;
    for (const QChar c : reference) {
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) {
            column = column * 26 + (c.unicode() - 'A' + 1);
            if (++letters > 3)
                return -1;
        } else {
            break;
        }
    }
    return letters ? column - 1 : -1;
}

QString NumberCell(const QString &value, bool isDate, bool date1904)
{
    bool ok = false;
    const double d = value.toDouble(&ok);
    if (!ok)
        return value;
    if (isDate && d >= 1 && d < 2958466) {
        const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
        return base.addDays(qint64(std::floor(d))).toString(Qt::ISODate);
    }
    return NumberText(d);
}
} // namespace

bool XlsxReader::IsZip(const QByteArray &file)
{
    return file.startsWith("PK\x03\x04");
}

bool XlsxReader::FirstSheet(const QByteArray &file, QList<QStringList> *rows, QList<int> *rowNumbers, QString *error)
{
    rows->clear();
    rowNumbers->clear();
    zip_error_t zerror;
    zip_error_init(&zerror);
    zip_source_t *source = zip_source_buffer_create(file.constData(), zip_uint64_t(file.size()), 0, &zerror);
    Zip zip(source ? zip_open_from_source(source, ZIP_RDONLY | ZIP_CHECKCONS, &zerror) : nullptr);
    zip_error_fini(&zerror);
    if (!zip) {
        if (source)
            zip_source_free(source);
        *error = QStringLiteral("文件不是有效的 XLSX 工作簿（无法打开压缩包）");
        return false;
    }
    try {
        if (zip_name_locate(zip.get(), "xl/workbook.xml", 0) < 0)
            throw Failure{QStringLiteral("压缩包里没有 Excel 工作簿（不是 XLSX 文件）")};
        bool date1904 = false;
        const QString sheetPart = FirstSheetPart(zip.get(), &date1904);
        const QStringList shared = SharedStrings(Part(zip.get(), QStringLiteral("xl/sharedStrings.xml")));
        const QList<bool> dateStyle = DateStyles(Part(zip.get(), QStringLiteral("xl/styles.xml")));
        bool found = false;
        const QByteArray sheet = Part(zip.get(), sheetPart, &found);
        if (!found)
            throw Failure{QStringLiteral("工作簿里找不到工作表")};

        QXmlStreamReader xml(sheet);
        QStringList row;
        int rowNumber = 0;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("row")) {
                const int r = xml.attributes().value(QLatin1String("r")).toInt();
                rowNumber = r > 0 ? r : rowNumber + 1;
                if (rowNumber > MaxRows)
                    throw Failure{QStringLiteral("工作表的行数超出范围")};
                row.clear();
            } else if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
                while (!row.isEmpty() && row.back().isEmpty())
                    row.removeLast();
                if (!row.isEmpty()) {
                    *rows << row;
                    *rowNumbers << rowNumber;
                }
            } else if (xml.isStartElement() && xml.name() == QLatin1String("c")) {
                const auto a = xml.attributes();
                int column = ColumnOf(a.value(QLatin1String("r")));
                if (column < 0)
                    column = int(row.size());
                if (column >= MaxColumns)
                    throw Failure{QStringLiteral("工作表的列数超出范围")};
                const QString type = a.value(QLatin1String("t")).toString();
                const int style = a.value(QLatin1String("s")).toInt();
                QString value, inlineText;
                bool hasInline = false;
                while (!xml.atEnd()) {
                    xml.readNext();
                    if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                        value = xml.readElementText();
                    } else if (xml.isStartElement() && xml.name() == QLatin1String("is")) {
                        inlineText = StringItem(xml);
                        hasInline = true;
                    } else if (xml.isEndElement() && xml.name() == QLatin1String("c")) {
                        break;
                    }
                }
                QString text;
                if (type == QLatin1String("s")) {
                    bool ok = false;
                    const int at = value.toInt(&ok);
                    if (!ok || at < 0 || at >= shared.size())
                        throw Failure{QStringLiteral("工作簿内容已损坏（引用了不存在的文字）")};
                    text = shared.at(at);
                } else if (type == QLatin1String("inlineStr")) {
                    text = Unescaped(hasInline ? inlineText : value);
                } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
                    text = Unescaped(value);
                } else if (type == QLatin1String("b")) {
                    text = value == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
                } else if (type == QLatin1String("d")) {
                    text = value.left(10);
                } else if (!value.isEmpty()) {
                    text = NumberCell(value, dateStyle.value(style), date1904);
                }
                if (text.isEmpty())
                    continue;
                while (row.size() <= column)
                    row << QString();
                row[column] = text;
            }
        }
        Broken(xml, sheetPart);
    } catch (const Failure &f) {
        rows->clear();
        rowNumbers->clear();
        *error = f.why;
        return false;
    }
    return true;
}
