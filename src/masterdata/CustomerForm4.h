#pragma once
#include "ui/Form.h"
#include "db/ShareDM.h"

class QLabel;
class QPushButton;
class TDataGrid;

// All products with their list prices: pick one and type the price to quote.
class TFormCustomer4 : public TForm {
    Q_OBJECT
public:
    explicit TFormCustomer4(QWidget *parent = nullptr);

    int FChosenProduct = 0;
    double FChosenPrice = 0;
    TQuery ADOQuery1{QStringLiteral("ADOQuery1")};

    void FormShow() override;
    void SpeedButton1Click();

    QLabel *Image2, *Label1;
    TDataGrid *DBGrid1;
    QPushButton *SpeedButton1, *SpeedButton2;
};

extern TFormCustomer4 *FormCustomer4;
