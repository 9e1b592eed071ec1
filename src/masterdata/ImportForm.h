#pragma once
#include "ui/Form.h"
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
    QComboBox *SheetBox;      // the workbook's sheets; the one read is chosen
    QComboBox *TitleRowBox;   // the sheet's first rows; the title row is chosen
    QList<QComboBox *> ColumnBoxes;   // per field
    QCheckBox *UpdateBox;
    // A value of 地区 the books do not know, and which of theirs it is taken for.
    QLabel *RegionLabel;
    QComboBox *RegionValueBox, *RegionTargetBox;
    QTableView *Grid;
    QPushButton *OkButton, *CancelButton;

    const TImportPlan &Plan() const { return plan_; }

private:
    void Examine();
    // The boxes that show the sheet, after it or its title row changed.
    void ShowSheet();
    void ShowRegionTarget();
    void ReadSheet(int sheet);

    TImportPlan plan_;
    TImportRowsModel *model_;
};
