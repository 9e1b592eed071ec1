#pragma once
#include "ui/Form.h"
#include "db/ShareDM.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class TFooterGrid;
class TGridPrinter;

// "修改记录": who changed what, newest first, filtered by days, kind, customer
// and number; printable and exportable; a deleted bill can be saved again.
class TFormJournal : public TForm {
    Q_OBJECT
public:
    explicit TFormJournal(QWidget *parent = nullptr);

    void FormShow() override;
    void SearchClick();
    void RestoreClick();
    void PrintClick();
    void ExportClick();

    QDateEdit *FromDate, *ToDate;
    QComboBox *KindBox;
    QLineEdit *CustomerEdit, *KeyEdit;
    QPushButton *SearchButton, *RestoreButton, *PrintButton, *ExportButton, *CloseButton;
    QLabel *CountLabel;
    TFooterGrid *Grid;

private:
    void CurrentChanged();

    TQuery list_{QStringLiteral("Journal")};
    TGridPrinter *printer_;
};
