#pragma once
#include "ui/Form.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// The finance-bill editor: new or existing income (财务收入单) and expense (财务支出单) bills.
class TFormGetPay : public TForm {
    Q_OBJECT
public:
    explicit TFormGetPay(QWidget *parent = nullptr);

    int FBillMode = 0;     // 0 new income, 1 income, 2 new expense, 3 expense
    int FBillIndex = 0;
    QString FProposedSerial;   // the number proposed when a new bill opened
    int FBillVersion = 0;      // as read when a stored bill opened
    int FCustomerIndex = 0;
    bool FCustomerLocked = false;

    bool IsNewBill() const { return FBillMode == 0 || FBillMode == 2; }

    void FormShow() override;
    void BitBtn1Click();
    void BitBtn3Click();

    QLabel *Image1;
    QLabel *ChangeHint;
    QLineEdit *Edit4, *Edit2, *Edit5, *Edit3;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5;
    QDateEdit *DateTimePicker1;
    QPushButton *BitBtn1, *BitBtn2, *BitBtn3;
};

extern TFormGetPay *FormGetPay;
