#include "reportengine/TemplateFile.h"

#include "core/WholeFile.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cmath>

namespace {
QString Number(double v) { return QString::number(v, 'g', 10); }

// A template is a few dozen items; these keep a broken one from freezing the preview.
constexpr qint64 MaxFileSize = 1 << 20;
constexpr int MaxBands = 100;
constexpr int MaxItems = 2000;

// A parse failure, with the line it happened on.
struct Failure {
    QString text;
};

// What a page can hold: ten metres of paper, a 1000-point letter, a 100 mm pen.
constexpr double MaxLength = 10000;
constexpr double MaxFontSize = 1000;
constexpr double MaxPen = 100;

// "nan" and "inf" read as numbers but compare false with everything: refused by name.
double ToNumber(const QString &text, bool positive = false, double max = MaxLength)
{
    bool ok = false;
    const double v = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(v) || (positive && v <= 0) || v < 0)
        throw Failure{QStringLiteral("“%1”不是有效的尺寸").arg(text.trimmed())};
    if (v > max)
        throw Failure{QStringLiteral("“%1”超出允许的范围（最大 %2）").arg(text.trimmed(), Number(max))};
    return v;
}

QList<double> ToNumbers(const QString &text, int count)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != count)
        throw Failure{QStringLiteral("“%1”应为%2个用逗号分开的数").arg(text).arg(count)};
    QList<double> values;
    for (const QString &p : parts)
        values << ToNumber(p);
    return values;
}

bool ToYesNo(const QString &text)
{
    const QString t = text.trimmed().toLower();
    if (t == QLatin1String("yes") || t == QLatin1String("true") || t == QLatin1String("1"))
        return true;
    if (t == QLatin1String("no") || t == QLatin1String("false") || t == QLatin1String("0"))
        return false;
    throw Failure{QStringLiteral("“%1”应为 Yes 或 No").arg(text)};
}

QColor ToColor(const QString &text)
{
    const QColor c(text.trimmed());
    if (!c.isValid())
        throw Failure{QStringLiteral("“%1”不是有效的颜色").arg(text)};
    return c;
}

QString Unescape(const QString &text)
{
    QString out;
    for (int i = 0; i < text.size(); ++i) {
        if (text[i] == QLatin1Char('\\') && i + 1 < text.size()) {
            const QChar n = text[++i];
            out += n == QLatin1Char('n') ? QChar(QLatin1Char('\n')) : n;
        } else {
            out += text[i];
        }
    }
    return out;
}

QString Escape(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('\\'), QLatin1String("\\\\"));
    out.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    out.remove(QLatin1Char('\r'));
    return out;
}

Qt::Alignment ToAlignment(const QString &text)
{
    Qt::Alignment h = Qt::AlignLeft, v = Qt::AlignVCenter;
    for (const QString &part : text.split(QLatin1Char(','))) {
        const QString p = part.trimmed().toLower();
        if (p == QLatin1String("left"))
            h = Qt::AlignLeft;
        else if (p == QLatin1String("center"))
            h = Qt::AlignHCenter;
        else if (p == QLatin1String("right"))
            h = Qt::AlignRight;
        else if (p == QLatin1String("top"))
            v = Qt::AlignTop;
        else if (p == QLatin1String("middle"))
            v = Qt::AlignVCenter;
        else if (p == QLatin1String("bottom"))
            v = Qt::AlignBottom;
        else
            throw Failure{QStringLiteral("“%1”不是有效的对齐方式").arg(part)};
    }
    return h | v;
}

QString AlignmentText(Qt::Alignment a)
{
    const QString h = a & Qt::AlignRight ? QStringLiteral("Right") : a & Qt::AlignHCenter ? QStringLiteral("Center") : QStringLiteral("Left");
    const QString v = a & Qt::AlignTop ? QStringLiteral("Top") : a & Qt::AlignBottom ? QStringLiteral("Bottom") : QStringLiteral("Middle");
    return h + QLatin1Char(',') + v;
}

int ToBorders(const QString &text)
{
    const QString t = text.trimmed().toUpper();
    if (t == QLatin1String("ALL"))
        return TReportItem::AllBorders;
    if (t == QLatin1String("NONE") || t.isEmpty())
        return TReportItem::NoBorder;
    int borders = 0;
    for (QChar c : t) {
        switch (c.unicode()) {
        case 'L': borders |= TReportItem::LeftBorder; break;
        case 'T': borders |= TReportItem::TopBorder; break;
        case 'R': borders |= TReportItem::RightBorder; break;
        case 'B': borders |= TReportItem::BottomBorder; break;
        default: throw Failure{QStringLiteral("“%1”不是有效的边框").arg(text)};
        }
    }
    return borders;
}

QString BordersText(int borders)
{
    if (borders == TReportItem::AllBorders)
        return QStringLiteral("All");
    QString t;
    if (borders & TReportItem::LeftBorder) t += QLatin1Char('L');
    if (borders & TReportItem::TopBorder) t += QLatin1Char('T');
    if (borders & TReportItem::RightBorder) t += QLatin1Char('R');
    if (borders & TReportItem::BottomBorder) t += QLatin1Char('B');
    return t.isEmpty() ? QStringLiteral("None") : t;
}

void ParseItemKey(TReportItem &item, const QString &key, const QString &value)
{
    if (key == QLatin1String("rect")) {
        const QList<double> r = ToNumbers(value, 4);
        item.rect = QRectF(r[0], r[1], r[2], r[3]);
    } else if (key == QLatin1String("text")) {
        item.text = Unescape(value);
        if (item.text.size() > TTemplateFile::MaxItemText)
            throw Failure{QStringLiteral("文字过长（%1 字），一个项目最多 %2 字").arg(item.text.size()).arg(TTemplateFile::MaxItemText)};
    } else if (key == QLatin1String("dataset")) {
        item.dataSet = value;
    } else if (key == QLatin1String("field")) {
        item.field = value;
    } else if (key == QLatin1String("font")) {
        const QStringList parts = value.split(QLatin1Char(','));
        if (parts.size() < 2 || parts.size() > 3 || parts[0].trimmed().isEmpty())
            throw Failure{QStringLiteral("“%1”应为 字体,字号[,Bold]").arg(value)};
        item.fontFamily = parts[0].trimmed();
        item.fontSize = ToNumber(parts[1], true, MaxFontSize);
        item.bold = parts.size() == 3 && parts[2].trimmed().compare(QLatin1String("bold"), Qt::CaseInsensitive) == 0;
        if (parts.size() == 3 && !item.bold && !parts[2].trimmed().isEmpty())
            throw Failure{QStringLiteral("“%1”不是有效的字形").arg(parts[2])};
    } else if (key == QLatin1String("align")) {
        item.align = ToAlignment(value);
    } else if (key == QLatin1String("wrap")) {
        item.wrap = ToYesNo(value);
    } else if (key == QLatin1String("border")) {
        item.borders = ToBorders(value);
    } else if (key == QLatin1String("pen")) {
        item.penWidth = ToNumber(value, false, MaxPen);
    } else if (key == QLatin1String("color")) {
        item.color = ToColor(value);
    } else if (key == QLatin1String("fill")) {
        item.fill = value.trimmed().isEmpty() ? QColor() : ToColor(value);
    } else {
        throw Failure{QStringLiteral("未知的项目属性“%1”").arg(key)};
    }
}
} // namespace

TTemplateFile::Result TTemplateFile::Load(const QString &fileName, TReportTemplate *tpl, QString *error)
{
    QFile file(fileName);
    const QFileInfo info(fileName);
    auto invalid = [error](const QString &text) {
        if (error)
            *error = text;
        return Invalid;
    };
    if (!info.exists()) {
        if (error)
            *error = QStringLiteral("文件不存在");
        return Missing;
    }
    // A pipe or a device would never end.
    if (!info.isFile())
        return invalid(QStringLiteral("不是普通文件"));
    if (info.size() > MaxFileSize)
        return invalid(QStringLiteral("模板文件过大（%1 KB），最多 %2 KB").arg((info.size() + 1023) / 1024).arg(MaxFileSize / 1024));
    if (!file.open(QIODevice::ReadOnly))
        return invalid(file.errorString());
    const QByteArray bytes = file.read(MaxFileSize + 1);
    if (bytes.size() > MaxFileSize)
        return invalid(QStringLiteral("模板文件过大，最多 %1 KB").arg(MaxFileSize / 1024));
    return Parse(QString::fromUtf8(bytes), tpl, error);
}

TTemplateFile::Result TTemplateFile::Parse(const QString &text, TReportTemplate *tpl, QString *error)
{
    TReportTemplate out;
    enum { None, Report, Band, Item } section = None;
    QString paper = QStringLiteral("A4");
    bool landscape = false;
    bool seenReport = false;
    int paperLine = 0;
    int itemCount = 0;
    const QStringList lines = text.split(QLatin1Char('\n'));
    int lineNo = 0;
    try {
        for (QString line : lines) {
            ++lineNo;
            if (lineNo == 1 && line.startsWith(QChar(0xFEFF)))
                line.remove(0, 1);
            line = line.trimmed();
            if (line.isEmpty() || line.startsWith(QLatin1Char('#')) || line.startsWith(QLatin1Char(';')))
                continue;
            if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
                const QString name = line.mid(1, line.size() - 2).trimmed().toLower();
                if (name == QLatin1String("report")) {
                    if (seenReport || section != None)
                        throw Failure{QStringLiteral("[Report] 只能出现一次，且在最前面")};
                    seenReport = true;
                    section = Report;
                } else if (name == QLatin1String("band")) {
                    if (out.bands.size() >= MaxBands)
                        throw Failure{QStringLiteral("栏太多，一个模板最多 %1 栏").arg(MaxBands)};
                    out.bands.append(TReportBand());
                    out.bands.last().sourceLine = lineNo;
                    section = Band;
                } else {
                    static const QStringList kinds{QStringLiteral("text"), QStringLiteral("field"), QStringLiteral("line"),
                                                   QStringLiteral("frame")};
                    const int kind = int(kinds.indexOf(name));
                    if (kind < 0)
                        throw Failure{QStringLiteral("未知的段“%1”").arg(line)};
                    if (out.bands.isEmpty())
                        throw Failure{QStringLiteral("项目必须在 [Band] 之后")};
                    // Every item is drawn on every repaint of the preview.
                    if (++itemCount > MaxItems)
                        throw Failure{QStringLiteral("项目太多，一个模板最多 %1 个项目").arg(MaxItems)};
                    TReportItem item;
                    item.kind = TReportItem::Kind(kind);
                    item.sourceLine = lineNo;
                    if (item.kind == TReportItem::Line || item.kind == TReportItem::Frame)
                        item.penWidth = 0.3;
                    out.bands.last().items.append(item);
                    section = Item;
                }
                continue;
            }
            const int eq = int(line.indexOf(QLatin1Char('=')));
            if (eq <= 0)
                throw Failure{QStringLiteral("应为“名称=值”")};
            const QString key = line.left(eq).trimmed().toLower();
            const QString value = line.mid(eq + 1).trimmed();
            switch (section) {
            case None:
                throw Failure{QStringLiteral("“%1”不属于任何段").arg(line.left(eq))};
            case Report:
                if (key == QLatin1String("name"))
                    out.name = value;
                else if (key == QLatin1String("paper")) {
                    paper = value;
                    paperLine = lineNo;
                }
                else if (key == QLatin1String("orientation")) {
                    if (value.compare(QLatin1String("landscape"), Qt::CaseInsensitive) == 0)
                        landscape = true;
                    else if (value.compare(QLatin1String("portrait"), Qt::CaseInsensitive) == 0)
                        landscape = false;
                    else
                        throw Failure{QStringLiteral("“%1”应为 Portrait 或 Landscape").arg(value)};
                } else if (key == QLatin1String("margins")) {
                    const QList<double> m = ToNumbers(value, 4);
                    out.marginLeft = m[0];
                    out.marginTop = m[1];
                    out.marginRight = m[2];
                    out.marginBottom = m[3];
                } else
                    throw Failure{QStringLiteral("未知的报表属性“%1”").arg(line.left(eq))};
                break;
            case Band: {
                TReportBand &band = out.bands.last();
                if (key == QLatin1String("type")) {
                    if (!TReportBand::TypeFromName(value, &band.type))
                        throw Failure{QStringLiteral("未知的栏类型“%1”").arg(value)};
                } else if (key == QLatin1String("height"))
                    band.height = ToNumber(value);
                else if (key == QLatin1String("dataset")) {
                    band.dataSet = value;
                    band.sourceLine = lineNo;
                }
                else if (key == QLatin1String("stretch"))
                    band.stretch = ToYesNo(value);
                else
                    throw Failure{QStringLiteral("未知的栏属性“%1”").arg(line.left(eq))};
                break;
            }
            case Item:
                ParseItemKey(out.bands.last().items.last(), key, value);
                if (key == QLatin1String("field") || key == QLatin1String("dataset"))
                    out.bands.last().items.last().sourceLine = lineNo;
                break;
            }
        }
        lineNo = paperLine;
        if (!out.SetPaper(paper, landscape) || !std::isfinite(out.paper.width()) || !std::isfinite(out.paper.height())
            || out.paper.width() > MaxLength || out.paper.height() > MaxLength)
            throw Failure{QStringLiteral("“%1”不是有效的纸张").arg(paper)};
        lineNo = 0;   // what follows is about the whole file
        qsizetype textSize = 0;
        for (const TReportBand &band : out.bands)
            for (const TReportItem &item : band.items)
                textSize += item.text.size();
        if (textSize > MaxTemplateText)
            throw Failure{QStringLiteral("模板的文字过多（共 %1 字），一个模板最多 %2 字").arg(textSize).arg(MaxTemplateText)};
        if (out.marginLeft + out.marginRight >= out.paper.width() || out.marginTop + out.marginBottom >= out.paper.height())
            throw Failure{QStringLiteral("页边距大于纸张")};
    } catch (const Failure &f) {
        if (error)
            *error = lineNo == 0 ? f.text : QStringLiteral("第 %1 行：%2").arg(lineNo).arg(f.text);
        return Invalid;
    }
    *tpl = out;
    return Loaded;
}

QString TTemplateFile::Write(const TReportTemplate &tpl)
{
    QStringList out;
    out << QStringLiteral("# Mirelo进销存 report template (format: src/reportengine/TemplateFile.h)");
    out << QStringLiteral("[Report]");
    if (!tpl.name.isEmpty())
        out << QStringLiteral("Name=") + tpl.name;
    out << QStringLiteral("Paper=") + tpl.PaperName();
    out << QStringLiteral("Orientation=") + (tpl.Landscape() ? QStringLiteral("Landscape") : QStringLiteral("Portrait"));
    out << QStringLiteral("Margins=%1,%2,%3,%4")
               .arg(Number(tpl.marginLeft), Number(tpl.marginTop), Number(tpl.marginRight), Number(tpl.marginBottom));
    static const char *kinds[] = {"Text", "Field", "Line", "Frame"};
    for (const TReportBand &band : tpl.bands) {
        out << QString() << QStringLiteral("[Band]");
        out << QStringLiteral("Type=") + TReportBand::TypeName(band.type);
        out << QStringLiteral("Height=") + Number(band.height);
        if (!band.dataSet.isEmpty())
            out << QStringLiteral("DataSet=") + band.dataSet;
        if (band.stretch)
            out << QStringLiteral("Stretch=Yes");
        for (const TReportItem &item : band.items) {
            out << QStringLiteral("[%1]").arg(QLatin1String(kinds[item.kind]));
            out << QStringLiteral("Rect=%1,%2,%3,%4")
                       .arg(Number(item.rect.x()), Number(item.rect.y()), Number(item.rect.width()), Number(item.rect.height()));
            if (item.kind == TReportItem::Text)
                out << QStringLiteral("Text=") + Escape(item.text);
            if (item.kind == TReportItem::Field) {
                out << QStringLiteral("DataSet=") + item.dataSet;
                out << QStringLiteral("Field=") + item.field;
            }
            if (item.IsTextual()) {
                out << QStringLiteral("Font=%1,%2%3").arg(item.fontFamily, Number(item.fontSize),
                                                         item.bold ? QStringLiteral(",Bold") : QString());
                out << QStringLiteral("Align=") + AlignmentText(item.align);
                if (item.wrap)
                    out << QStringLiteral("Wrap=Yes");
                if (item.borders)
                    out << QStringLiteral("Border=") + BordersText(item.borders);
            }
            if (!item.IsTextual() || item.borders)
                out << QStringLiteral("Pen=") + Number(item.penWidth);
            if (item.color != QColor(Qt::black))
                out << QStringLiteral("Color=") + item.color.name();
            if (item.fill.isValid())
                out << QStringLiteral("Fill=") + item.fill.name();
        }
    }
    return out.join(QLatin1Char('\n')) + QLatin1Char('\n');
}

int TTemplateFile::Save(const QString &fileName, const TReportTemplate &tpl)
{
    return TWholeFile::Write(fileName, Write(tpl).toUtf8());
}
