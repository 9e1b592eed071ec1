#include "reports/SizeStockList.h"

#include "figures/ProductFigures.h"
#include "sheets/ListSheet.h"
#include "reportengine/ReportDataSet.h"
#include "db/Queries.h"
#include "core/SqlText.h"
#include "db/ShareDM.h"

bool SizeStockList(const SqlText &productListSql, const QDate &asOf, TListSheet &sheet)
{
    sheet = TListSheet();
    sheet.AddColumn(QStringLiteral("货品编号"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品名称"), TListSheet::Text);
    sheet.AddColumn(QStringLiteral("货品规格"), TListSheet::Text);
    for (int k = 0; k < SizeStock::SizeCount; ++k)
        sheet.AddColumn(TProductFigures::SizeCaption(k), TListSheet::Quantity);
    sheet.AddColumn(QStringLiteral("合计"), TListSheet::Quantity);
    TQuery list(QStringLiteral("SizeStockProducts"));
    if (!RunQuery(list, productListSql, QStringLiteral("刷新仓库商品时出错")))
        return false;
    TProductFigures figures;
    if (!figures.LoadSizes(asOf))
        return false;
    for (list.First(); !list.Eof(); list.Next()) {
        const SizeStock s = figures.SizesOf(list.FieldByName(QStringLiteral("ProductIndex")).AsInteger());
        // A product whose old lines do not add up says so beside its name.
        QVariantList line{list.FieldByName(QStringLiteral("ProductSerial")).AsString(),
                          list.FieldByName(QStringLiteral("ProductName")).AsString()
                              + (s.flagged ? QStringLiteral("（尺码有误）") : QString()),
                          list.FieldByName(QStringLiteral("ProductType")).AsString()};
        for (int n : s.size)
            line << n;
        line << s.total;
        sheet.rows << line;
    }
    return true;
}

TReportDataSet SizeStockRows(const TListSheet &sheet)
{
    QStringList columns{QStringLiteral("ProductSerial"), QStringLiteral("ProductName"), QStringLiteral("ProductType")};
    for (int k = 1; k <= SizeStock::SizeCount; ++k)
        columns << QStringLiteral("Size%1").arg(k);
    columns << QStringLiteral("Total");
    TReportDataSet rows(columns);
    for (const QVariantList &line : sheet.rows) {
        QStringList texts;
        for (const QVariant &value : line)
            texts << value.toString();
        rows.AppendRow(texts);
    }
    return rows;
}
