#pragma once
#include "ui/Form.h"
#include "db/ShareDM.h"

class QLabel;
class QPushButton;
class TDataGrid;

// One customer's price quotes, with "添加报价" to add or replace one.
class TFormCustomer3 : public TForm {
    Q_OBJECT
public:
    explicit TFormCustomer3(QWidget *parent = nullptr);

    int FCustomerIndex = 0;
    TQuery ADOQuery1{QStringLiteral("ADOQuery1")};

    void FormShow() override;
    void SpeedButton1Click();
    void ExportButtonClick();

    QLabel *Image3, *Label3, *Label2;
    TDataGrid *DBGrid1;
    QPushButton *SpeedButton1, *SpeedButton2, *ExportButton;

private:
    void OpenList();
};

extern TFormCustomer3 *FormCustomer3;
