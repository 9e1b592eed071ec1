#pragma once
// A banded report template: the paper, its margins and the bands in the order
// they are designed (the layout prints them by type, not by this order).

#include "reportengine/ReportBand.h"

#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

class TReportTemplate {
public:
    QString name;
    QSizeF paper{210, 297};            // millimetres, as oriented
    double marginLeft = 15, marginTop = 12, marginRight = 15, marginBottom = 12;
    QList<TReportBand> bands;

    // The empty report: one blank A4 page and no bands.
    static TReportTemplate Blank();

    // The papers known by name (A4, A5, B5, Letter); NamedPaper is portrait, empty when unknown.
    static QStringList PaperNames();
    static QSizeF NamedPaper(const QString &name);
    // The paper's name, or "width x height" in millimetres as held upright: "210x140".
    QString PaperName() const;
    // A paper by name or "width x height", turned to the orientation; false when not a paper.
    bool SetPaper(const QString &name, bool landscape);

    bool Landscape() const { return paper.width() > paper.height(); }
    double ContentWidth() const { return paper.width() - marginLeft - marginRight; }
    // The first band of this type, or nullptr.
    const TReportBand *Band(TReportBand::Type type) const;
    TReportBand *Band(TReportBand::Type type);
    QPageLayout PageLayout() const;     // the paper with no margins: pages are drawn whole
};
