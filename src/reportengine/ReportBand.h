#pragma once
// A horizontal strip of the page. The master data band is repeated once for
// every row of its data set; the others print once per page or per report.

#include "reportengine/ReportItem.h"

#include <QList>
#include <QString>

struct TReportBand {
    enum Type { ReportTitle, PageHeader, ColumnHeader, MasterData, Summary, PageFooter };

    Type type = MasterData;
    double height = 10;      // millimetres
    QString dataSet;         // MasterData: the rows it repeats over
    bool stretch = false;    // MasterData: grows to fit wrapped texts
    QList<TReportItem> items;
    int sourceLine = 0;      // the template file's line naming its data set, for messages

    static QString TypeName(Type type);          // the name in template files
    static bool TypeFromName(const QString &name, Type *type);
    static QString Caption(Type type);           // what the designer shows
};
