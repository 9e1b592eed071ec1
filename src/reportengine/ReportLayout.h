#pragma once
// Lays a template out over its data sets: the report title on the first page,
// the page header, column header and page footer on every page, the master
// band once per row with a page break wherever the next row does not fit, the
// summary after the last row, and the page numbers once the pages are counted.

#include "reportengine/PreparedPage.h"
#include "reportengine/ReportDataSet.h"
#include "reportengine/ReportTemplate.h"

#include <QDate>
#include <QHash>
#include <QList>

class TReportLayout {
public:
    TReportLayout(const TReportTemplate &tpl, const QHash<QString, TReportDataSet> &data, const QDate &today);
    QList<TPreparedPage> Prepare();

private:
    struct PageNumberSlot {
        int page, item;
        QString text;
    };
    void StartPage();
    void EndPage();
    // The band's height for this row of the master data set (-1: no row).
    double BandHeight(const TReportBand &band, int row) const;
    void Place(const TReportBand &band, int row, double height);
    QString ItemText(const TReportBand &band, const TReportItem &item, int row) const;
    const TReportDataSet *DataSet(const QString &name) const;

    const TReportTemplate &tpl_;
    const QHash<QString, TReportDataSet> &data_;
    QDate today_;
    QList<TPreparedPage> pages_;
    QList<PageNumberSlot> slots_;
    double y_ = 0;
    double bodyTop_ = 0;   // where the rows of the current page start
};
