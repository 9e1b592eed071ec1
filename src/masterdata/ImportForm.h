#pragma once
#include "shell/Form.h"
#include "stores/ImportPlan.h"

#include <QList>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTableView;
class TImportRowsModel;

// "导入": the rows of a spreadsheet shown with what will happen to each, the
// columns matched to the fields (changeable), nothing written until 确定.
class TFormImport : public TForm {
    Q_OBJECT
public:
    TFormImport(TImportPlan::Kind kind, const TSheetFile &sheet, QWidget *parent = nullptr);

    // Asks for the file, reads it and shows the window. The books are changed
    // only when the user confirms.
    static void Run(TImportPlan::Kind kind);

    void FormShow() override;
    void OkClick();

    QLabel *Caption, *Summary;
    QList<QComboBox *> ColumnBoxes;   // per field
    QCheckBox *UpdateBox;
    QTableView *Grid;
    QPushButton *OkButton, *CancelButton;

    const TImportPlan &Plan() const { return plan_; }

private:
    void Examine();

    TImportPlan plan_;
    TImportRowsModel *model_;
};
