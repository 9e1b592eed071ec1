#pragma once
// The data centre page: the bills of the last search in a grid with their
// count and sum, printing and exporting that grid, opening a bill from it.

#include "core/SqlText.h"
#include "db/ShareDM.h"

#include <QWidget>

class QAction;
class QLabel;
class QToolButton;
class TFooterGrid;
class TGridPrinter;

class TDataCentrePage : public QWidget {
    Q_OBJECT
public:
    explicit TDataCentrePage(QWidget *parent = nullptr);

    // The statement of the last search; empty until the first one.
    SqlText ReportSql;
    TQuery ReportADOQuery{QStringLiteral("ReportADOQuery")};

    // Makes the statement the current search, then runs it.
    void FillReportGrid(const SqlText &sql);
    // Runs the current search again (the general refresh).
    void FillReportGrid();
    void ActionMakeReportExecute();
    void ActionPrintReportExecute();
    void ActionExportReportExecute();
    void DBGridEh1DblClick();

    QAction *ActionMakeReport, *ActionPrintReport, *ActionExportReport;
    QToolButton *MakeReport, *PrintReport, *ExportReport;
    QLabel *Label20, *Label21;
    TFooterGrid *DBGridEh1;
    TGridPrinter *PrintDBGridEh1;

private:
    static constexpr int NearRows = 200;
    void RunReportSql(bool refresh);
    void SetFooters(bool ran);
};
