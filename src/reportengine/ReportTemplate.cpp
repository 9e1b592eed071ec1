#include "reportengine/ReportTemplate.h"

#include <QMarginsF>
#include <QPageSize>

namespace {
struct Paper {
    const char *name;
    double width, height;
};
const Paper papers[] = {{"A4", 210, 297}, {"A5", 148, 210}, {"B5", 176, 250}, {"Letter", 215.9, 279.4}};
} // namespace

QStringList TReportTemplate::PaperNames()
{
    QStringList names;
    for (const Paper &p : papers)
        names << QString::fromLatin1(p.name);
    return names;
}

QSizeF TReportTemplate::NamedPaper(const QString &name)
{
    for (const Paper &p : papers)
        if (name.trimmed().compare(QLatin1String(p.name), Qt::CaseInsensitive) == 0)
            return QSizeF(p.width, p.height);
    return QSizeF();
}

QString TReportTemplate::PaperName() const
{
    const QSizeF upright = Landscape() ? paper.transposed() : paper;
    for (const Paper &p : papers)
        if (qAbs(upright.width() - p.width) < 0.05 && qAbs(upright.height() - p.height) < 0.05)
            return QString::fromLatin1(p.name);
    return QString::number(upright.width(), 'g', 10) + QLatin1Char('x') + QString::number(upright.height(), 'g', 10);
}

bool TReportTemplate::SetPaper(const QString &name, bool landscape)
{
    QSizeF size = NamedPaper(name);
    if (size.isEmpty()) {
        const QStringList wh = name.toLower().split(QLatin1Char('x'));
        bool okW = false, okH = false;
        if (wh.size() == 2)
            size = QSizeF(wh[0].trimmed().toDouble(&okW), wh[1].trimmed().toDouble(&okH));
        if (!okW || !okH || size.width() <= 0 || size.height() <= 0)
            return false;
    }
    const bool wide = size.width() > size.height();
    paper = wide == landscape ? size : size.transposed();
    return true;
}

TReportTemplate TReportTemplate::Blank() { return TReportTemplate(); }

const TReportBand *TReportTemplate::Band(TReportBand::Type type) const
{
    for (const TReportBand &b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

TReportBand *TReportTemplate::Band(TReportBand::Type type)
{
    for (TReportBand &b : bands)
        if (b.type == type)
            return &b;
    return nullptr;
}

QPageLayout TReportTemplate::PageLayout() const
{
    const bool landscape = Landscape();
    const QSizeF portrait = landscape ? paper.transposed() : paper;
    const QPageSize size(portrait, QPageSize::Millimeter, QString(), QPageSize::FuzzyOrientationMatch);
    return QPageLayout(size, landscape ? QPageLayout::Landscape : QPageLayout::Portrait, QMarginsF(0, 0, 0, 0),
                       QPageLayout::Millimeter);
}
