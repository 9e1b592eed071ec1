#include "reportengine/ReportBand.h"

namespace {
struct BandName {
    TReportBand::Type type;
    const char *name;
    const char *caption;
};
const BandName names[] = {
    {TReportBand::ReportTitle, "ReportTitle", "报表标题"},   {TReportBand::PageHeader, "PageHeader", "页眉"},
    {TReportBand::ColumnHeader, "ColumnHeader", "栏目标题"}, {TReportBand::MasterData, "MasterData", "主数据"},
    {TReportBand::Summary, "Summary", "报表合计"},            {TReportBand::PageFooter, "PageFooter", "页脚"},
};
} // namespace

QString TReportBand::TypeName(Type type)
{
    for (const BandName &n : names)
        if (n.type == type)
            return QString::fromLatin1(n.name);
    return QString();
}

bool TReportBand::TypeFromName(const QString &name, Type *type)
{
    for (const BandName &n : names)
        if (name.compare(QLatin1String(n.name), Qt::CaseInsensitive) == 0) {
            *type = n.type;
            return true;
        }
    return false;
}

QString TReportBand::Caption(Type type)
{
    for (const BandName &n : names)
        if (n.type == type)
            return QString::fromUtf8(n.caption);
    return QString();
}
