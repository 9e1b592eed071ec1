#include "sheets/XlsxReader.h"

#include "core/NumberTexts.h"

#include <QDate>
#include <QHash>
#include <QIODevice>
#include <QRegularExpression>
#include <QXmlStreamReader>
#include <zip.h>

#include <cmath>
#include <memory>

namespace {
// The sheet's own last row.
constexpr int LastRow = 1048576;

struct ZipClose {
    void operator()(zip_t *z) const { zip_discard(z); }
};
using Zip = std::unique_ptr<zip_t, ZipClose>;

struct Failure {
    QString why;
};

QString TooBigText()
{
    return QStringLiteral("工作簿解压后过大（超过 %1 MB），不像是正常的表格文件").arg(XlsxReader::MaxPartBytes / (1024 * 1024));
}

// One part of the workbook, unpacked as the XML reader asks for it, never past
// MaxPartBytes whatever the zip's header says.
class PartStream : public QIODevice {
public:
    PartStream(zip_file_t *file, const QString &name) : file_(file), name_(name) { open(QIODevice::ReadOnly | QIODevice::Unbuffered); }
    ~PartStream() override { zip_fclose(file_); }
    bool isSequential() const override { return true; }
    // Why the reading stopped early, when it did.
    void ThrowIfCut() const
    {
        if (tooBig_)
            throw Failure{TooBigText()};
        if (broken_)
            throw Failure{QStringLiteral("工作簿已损坏，无法解压（%1）").arg(name_)};
    }

protected:
    qint64 readData(char *data, qint64 max) override
    {
        if (tooBig_ || broken_)
            return -1;
        const zip_int64_t n = zip_fread(file_, data, zip_uint64_t(max));
        if (n < 0) {
            broken_ = true;
            return -1;
        }
        if ((unpacked_ += n) > XlsxReader::MaxPartBytes) {
            tooBig_ = true;
            return -1;
        }
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    zip_file_t *file_;
    QString name_;
    qint64 unpacked_ = 0;
    bool tooBig_ = false, broken_ = false;
};

// A part opened for streaming; null when the workbook has no such part.
std::unique_ptr<PartStream> Part(zip_t *zip, const QString &name)
{
    zip_file_t *file = zip_fopen(zip, name.toUtf8().constData(), 0);
    return file ? std::make_unique<PartStream>(file, name) : nullptr;
}

void Broken(const QXmlStreamReader &xml, const PartStream &part, const QString &name)
{
    part.ThrowIfCut();
    if (xml.hasError())
        throw Failure{QStringLiteral("工作簿内容已损坏（%1 第 %2 行：%3）").arg(name).arg(xml.lineNumber()).arg(xml.errorString())};
}

// An element's text, refused past what one cell holds before it is copied.
QString ElementText(QXmlStreamReader &xml)
{
    QString text;
    for (int depth = 1; depth > 0 && !xml.atEnd();) {
        xml.readNext();
        if (xml.isStartElement()) {
            ++depth;
        } else if (xml.isEndElement()) {
            --depth;
        } else if (xml.isCharacters() || xml.isEntityReference()) {
            if (text.size() + xml.text().size() > TSheetRows::MaxCellText)
                throw Failure{QStringLiteral("工作簿里有一格文字太长。%1").arg(TSheetRows::LimitText())};
            text += xml.text();
        }
    }
    return text;
}

// The text of a shared or inline string: its <t> pieces, phonetic guides left out.
QString StringItem(QXmlStreamReader &xml)
{
    const QString endName = xml.name().toString();
    QString text;
    int phonetic = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("rPh"))
                ++phonetic;
            else if (xml.name() == QLatin1String("t") && phonetic == 0) {
                text += ElementText(xml);
                if (text.size() > TSheetRows::MaxCellText)
                    throw Failure{QStringLiteral("工作簿里有一格文字太长。%1").arg(TSheetRows::LimitText())};
            }
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

QStringList SharedStrings(zip_t *zip)
{
    QStringList strings;
    const QString name = QStringLiteral("xl/sharedStrings.xml");
    const auto part = Part(zip, name);
    if (!part)   // a workbook without shared texts
        return strings;
    QXmlStreamReader xml(part.get());
    qint64 characters = 0;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("si")) {
            strings << Unescaped(StringItem(xml));
            if (strings.size() > TSheetRows::MaxCells || (characters += strings.back().size()) > TSheetRows::MaxText)
                throw Failure{QStringLiteral("工作簿的文字太多。%1").arg(TSheetRows::LimitText())};
        }
    }
    Broken(xml, *part, name);
    return strings;
}

bool IsDateFormatCode(QString code)
{
    static const QRegularExpression noise(QStringLiteral("\"[^\"]*\"|\\[[^\\]]*\\]|\\\\.|_.|\\*."));
    code.remove(noise);
    return code.contains(QLatin1Char('y'), Qt::CaseInsensitive) || code.contains(QLatin1Char('d'), Qt::CaseInsensitive);
}

// For each cell style, whether it shows a date.
QList<bool> DateStyles(zip_t *zip)
{
    QHash<int, bool> customDate;
    QList<bool> styles;
    const QString name = QStringLiteral("xl/styles.xml");
    const auto part = Part(zip, name);
    if (!part)
        return styles;
    QXmlStreamReader xml(part.get());
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
    Broken(xml, *part, name);
    return styles;
}

struct Sheet {
    QString name, relation;
};

// The workbook's sheets in order, each with the relation naming its part.
QList<Sheet> Sheets(zip_t *zip, bool *date1904)
{
    QList<Sheet> sheets;
    const QString name = QStringLiteral("xl/workbook.xml");
    const auto part = Part(zip, name);
    if (!part)
        throw Failure{QStringLiteral("压缩包里没有 Excel 工作簿（不是 XLSX 文件）")};
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("workbookPr")) {
            const QStringView v = xml.attributes().value(QLatin1String("date1904"));
            *date1904 = v == QLatin1String("1") || v == QLatin1String("true");
        } else if (xml.name() == QLatin1String("sheet")) {
            Sheet sheet;
            for (const QXmlStreamAttribute &a : xml.attributes()) {
                if (a.name() == QLatin1String("id"))
                    sheet.relation = a.value().toString();
                else if (a.name() == QLatin1String("name"))
                    sheet.name = a.value().toString().left(100);
            }
            if (sheets.size() >= 1000)
                throw Failure{QStringLiteral("工作簿里的工作表太多")};
            sheets << sheet;
        }
    }
    Broken(xml, *part, name);
    return sheets;
}

// The part of a sheet, by the workbook's relations; the usual name without them.
QString SheetPart(zip_t *zip, const Sheet &sheet, int at)
{
    const QString fallback = QStringLiteral("xl/worksheets/sheet%1.xml").arg(at + 1);
    if (sheet.relation.isEmpty())
        return fallback;
    const QString name = QStringLiteral("xl/_rels/workbook.xml.rels");
    const auto part = Part(zip, name);
    if (!part)
        return fallback;
    QXmlStreamReader xml(part.get());
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement() && xml.name() == QLatin1String("Relationship")
            && xml.attributes().value(QLatin1String("Id")) == sheet.relation) {
            const QString target = xml.attributes().value(QLatin1String("Target")).toString();
            return target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
        }
    }
    Broken(xml, *part, name);
    return fallback;
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

bool XlsxReader::Read(const QByteArray &file, int sheet, QStringList *sheetNames, TSheetRows *rows, QString *error)
{
    sheetNames->clear();
    rows->rows.clear();
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
        bool date1904 = false;
        const QList<Sheet> sheets = Sheets(zip.get(), &date1904);
        for (int i = 0; i < sheets.size(); ++i)
            *sheetNames << (sheets[i].name.isEmpty() ? QStringLiteral("工作表%1").arg(i + 1) : sheets[i].name);
        if (sheets.isEmpty() ? sheet != 0 : sheet < 0 || sheet >= sheets.size())
            throw Failure{QStringLiteral("工作簿里没有第 %1 个工作表").arg(sheet + 1)};
        const QString sheetName = SheetPart(zip.get(), sheets.value(sheet), sheet);
        const QStringList shared = SharedStrings(zip.get());
        const QList<bool> dateStyle = DateStyles(zip.get());
        const auto part = Part(zip.get(), sheetName);
        if (!part)
            throw Failure{QStringLiteral("工作簿里找不到工作表")};

        QXmlStreamReader xml(part.get());
        QString why;
        int rowNumber = 0, nextColumn = 0;
        bool inRow = false;
        while (!xml.atEnd()) {
            xml.readNext();
            if (xml.isStartElement() && xml.name() == QLatin1String("row")) {
                const int r = xml.attributes().value(QLatin1String("r")).toInt();
                rowNumber = r > 0 ? r : rowNumber + 1;
                if (rowNumber > LastRow)
                    throw Failure{QStringLiteral("工作表的行数超出范围")};
                rows->StartRow(rowNumber);
                nextColumn = 0;
                inRow = true;
            } else if (xml.isEndElement() && xml.name() == QLatin1String("row")) {
                if (!rows->EndRow(&why))
                    throw Failure{why};
                inRow = false;
            } else if (xml.isStartElement() && xml.name() == QLatin1String("c") && inRow) {
                const auto a = xml.attributes();
                int column = ColumnOf(a.value(QLatin1String("r")));
                if (column < 0)
                    column = nextColumn;
                nextColumn = column + 1;
                const QString type = a.value(QLatin1String("t")).toString();
                const int style = a.value(QLatin1String("s")).toInt();
                QString value, inlineText;
                bool hasInline = false;
                while (!xml.atEnd()) {
                    xml.readNext();
                    if (xml.isStartElement() && xml.name() == QLatin1String("v")) {
                        value = ElementText(xml);
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
                if (!rows->AddCell(column, text, &why))
                    throw Failure{why};
            }
        }
        Broken(xml, *part, sheetName);
    } catch (const Failure &f) {
        rows->rows.clear();
        *error = f.why;
        return false;
    }
    return true;
}
