#pragma once
// The books check's findings: a count per kind at the top, one line per
// finding, and printing, CSV export and the one safe repair.

#include "db/BooksAudit.h"
#include "ui/Form.h"

class QLabel;
class QPushButton;
class QTableWidget;
class TReport;

class TFormBooksAudit : public TForm {
    Q_OBJECT
public:
    explicit TFormBooksAudit(QWidget *parent = nullptr);

    // Runs the check with the progress window; the caller then shows the window.
    bool RunCheck();
    void FormShow() override;
    void ActionPrintExecute();
    void ActionExportExecute();
    void ActionRepairExecute();

    // The findings as lines of kind, number, date, customer, explanation.
    QList<QStringList> Lines() const;

    QLabel *Summary;
    QTableWidget *Grid;
    QPushButton *PrintButton, *ExportButton, *RepairButton, *CloseButton;
    TReport *frReport1;

private:
    void ShowFindings();
    TBooksAudit audit_;
};

extern TFormBooksAudit *FormBooksAudit;
