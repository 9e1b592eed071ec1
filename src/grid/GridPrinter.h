#pragma once
// Prints a footer grid as it stands: its shown columns at the widths the user
// left them, fitted to the page width, its rows in their shown order and its
// footer row at the end, with title lines at the top and bottom of every page
// and the page number under them.

#include <QColor>
#include <QObject>
#include <QPageLayout>
#include <QStringList>
#include <QVector>

class QPagedPaintDevice;
class QPainter;
class TFooterGrid;

class TGridPrinter : public QObject {
    Q_OBJECT
public:
    explicit TGridPrinter(TFooterGrid *grid, QObject *parent = nullptr);

    // Centred lines at the top (page header) and bottom (page footer) of every page.
    QStringList PageHeader;
    QStringList PageFooter;
    void ClearTitles();

    static constexpr double MinimumMarginMm = 10.0;
    double MarginMm = MinimumMarginMm;   // raised to the minimum when smaller
    bool FitToPageWidth = true;
    bool Coloured = true;
    QColor HeaderColour = Qt::blue;   // the column titles
    QColor FooterColour = Qt::blue;   // the footer row
    QString FontName;                 // tried first; a Chinese font stands in when it is missing
    QString DocumentName;             // the proposed PDF name, without ".pdf"

    // What one printed page holds.
    struct Page {
        QStringList header;
        QStringList footer;   // the page footer lines, then "第 N 页 共 M 页"
        int firstRow = 0;
        int rowCount = 0;
        bool footerRow = false;   // the grid's footer row ends this page
    };
    QVector<Page> Prepare(QPagedPaintDevice *device) const;
    // Paints every page; false when the device cannot be painted on.
    bool Paint(QPagedPaintDevice *device) const;
    // Writes the pages to a PDF file; an existing file is replaced only when all went well,
    // else false with the cause in *why.
    bool SavePdf(const QString &fileName, const QPageLayout &layout, QString *why = nullptr) const;
    // The preview, from which the user prints or saves a PDF.
    void Preview();
    // A4 upright with the margins.
    QPageLayout PageLayout() const;

    TFooterGrid *Grid() const { return grid_; }

private:
    struct Metrics;
    Metrics Measure(QPagedPaintDevice *device) const;
    void PaintPage(QPainter &p, const Metrics &m, const Page &page) const;

    TFooterGrid *grid_;
};
