#pragma once
// The report object of a window: a template loaded from "Frf/", the data sets
// the program filled for it, and the pages prepared from both. The pages are
// shown in the preview, printed, or written to a PDF file.

#include "sheets/ListSheet.h"
#include "reportengine/PreparedPage.h"
#include "reportengine/ReportDataSet.h"
#include "reportengine/ReportTemplate.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QStringList>

class QPrinter;
class TQuery;

class TReport : public QObject {
    Q_OBJECT
public:
    explicit TReport(QObject *parent = nullptr);

    // False when the file does not exist (or cannot be read as a template:
    // LastError says why); the report then keeps the template it had.
    bool LoadFromFile(const QString &fileName);
    bool SaveToFile(const QString &fileName);
    QString FileName() const { return fileName_; }
    QString LastError() const { return lastError_; }
    const TReportTemplate &Template() const { return template_; }
    void SetTemplate(const TReportTemplate &tpl, const QString &fileName = QString());

    // The export list goes with the data sets: another report on this object offers none.
    void ClearDataSets();
    void SetDataSet(const QString &name, const TReportDataSet &data) { data_.insert(name, data); }
    void SetDataSet(const QString &name, TQuery &query);
    const QHash<QString, TReportDataSet> &DataSets() const { return data_; }

    // The first field or band of the template naming a data set or a column
    // the program did not fill ("第 12 行：字段“BillSerial”……"), or the empty text.
    QString UnknownNames() const;

    // Lays out every page; false when the template gives no page at all.
    bool PrepareReport();
    const QList<TPreparedPage> &Pages() const { return pages_; }
    int PageCount() const { return int(pages_.size()); }
    QStringList PageTexts(int page) const;   // 0-based, in drawing order
    bool ExportPdf(const QString &fileName, QString *why = nullptr) const;
    bool Print(QPrinter *printer, int fromPage = 0, int toPage = 0) const;
    // The preview window over the prepared pages, shown modally.
    void ShowPreparedReport();
    // Loads relativeFile from the program folder and prepares its pages. A missing
    // or broken template is reported ("报表模板“Frf/Bill.frf”不存在"), and so is
    // a field that names nothing the program filled: it would print blank.
    bool PrepareTemplate(const QString &relativeFile);
    // PrepareTemplate, then the preview; nothing is shown when it fails.
    bool ShowTemplate(const QString &relativeFile);
    // The template designer on this report.
    void DesignReport();

    // The list the preview offers as "导出", in the same lines as the pages.
    void SetExportList(const QString &suggestedName, const TListSheet &sheet);
    bool HasExportList() const { return !exportName_.isEmpty(); }
    QString ExportName() const { return exportName_; }
    const TListSheet &ExportSheet() const { return exportSheet_; }

    QString DocumentName() const;   // the title of a print job or PDF
    void SetDocumentName(const QString &name) { documentName_ = name; }

private:
    TReportTemplate template_ = TReportTemplate::Blank();
    QString fileName_;
    QString lastError_;
    QString documentName_;
    QHash<QString, TReportDataSet> data_;
    QString exportName_;
    TListSheet exportSheet_;
    QList<TPreparedPage> pages_;
};
