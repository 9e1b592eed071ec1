#include "reports/SizeStockList.h"

#include "figures/ProductFigures.h"
#include "reportengine/ReportDataSet.h"
#include "shell/PublicFunction.h"
#include "shell/ShareDM.h"

bool SizeStockList(const SqlText &productListSql, const QDate &asOf, TReportDataSet &rows)
{
    QStringList columns{QStringLiteral("ProductSerial"), QStringLiteral("ProductName"), QStringLiteral("ProductType")};
    for (int k = 1; k <= SizeStock::SizeCount; ++k)
        columns << QStringLiteral("Size%1").arg(k);
    columns << QStringLiteral("Total");
    rows = TReportDataSet(columns);
    TQuery list(QStringLiteral("SizeStockProducts"));
    if (!RunQuery(list, productListSql, QStringLiteral("刷新仓库商品时出错")))
        return false;
    TProductFigures figures;
    if (!figures.LoadSizes(asOf))
        return false;
    for (list.First(); !list.Eof(); list.Next()) {
        const SizeStock s = figures.SizesOf(list.FieldByName(QStringLiteral("ProductIndex")).AsInteger());
        // A product whose old lines do not add up says so beside its name.
        QStringList line{list.FieldByName(QStringLiteral("ProductSerial")).AsString(),
                         list.FieldByName(QStringLiteral("ProductName")).AsString()
                             + (s.flagged ? QStringLiteral("（尺码有误）") : QString()),
                         list.FieldByName(QStringLiteral("ProductType")).AsString()};
        for (int n : s.size)
            line << QString::number(n);
        line << QString::number(s.total);
        rows.AppendRow(line);
    }
    return true;
}
