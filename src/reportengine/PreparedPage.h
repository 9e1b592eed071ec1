#pragma once
// One laid-out page: every item at its place on the paper (millimetres from
// the paper's top-left corner), fields and page numbers already filled in.

#include "reportengine/ReportItem.h"

#include <QList>
#include <QSizeF>

struct TPreparedPage {
    QSizeF paper{210, 297};
    QList<TReportItem> items;   // Field items have become Text items with the value
};
