#pragma once
#include "ui/Form.h"
#include "db/ShareDM.h"

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TDataGrid;

// A customer's other receivables up to the working date: list, add, delete.
class TFormSG : public TForm {
    Q_OBJECT
public:
    explicit TFormSG(QWidget *parent = nullptr);

    QString FCustomerName;
    TQuery ADOQuery1{QStringLiteral("ADOQuery1")};

    void FormShow() override;
    void Button1Click();
    void Button2Click();
    void ExportButtonClick();

    QLabel *Label1, *LabelCustomer, *Label3, *Label2, *Label4;
    QDateEdit *DateTimePicker1;
    QLineEdit *Edit1, *Edit2;
    QPushButton *Button1, *Button2;
    TDataGrid *DBGrid1;
    QToolButton *ExportButton, *Cancel;

private:
    void OpenList();
    void ShowCurrentEntry();
};

extern TFormSG *FormSG;
