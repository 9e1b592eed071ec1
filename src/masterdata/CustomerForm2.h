#pragma once
#include "ui/Form.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The customer editor: creates a customer (mode 0) or changes one (mode 1).
class TFormCustomer2 : public TForm {
    Q_OBJECT
public:
    explicit TFormCustomer2(QWidget *parent = nullptr);

    int FEditMode = 0;
    int FCustomerIndex = 0;
    int FCustomerVersion = 0;   // as read when the window opened
    bool FSettingRegion = false;

    void FormShow() override;
    void BitBtn1Click();

    QLabel *Label1;
    QCheckBox *CheckBox1;
    QCheckBox *CheckBox2;
    QCheckBox *CheckBox3;
    QLabel *Label2;
    QLineEdit *Edit1;
    QLabel *Label3;
    QLineEdit *Edit2;
    QPushButton *BitBtn1;
    QPushButton *BitBtn2;

private:
    void RegionClick(QCheckBox *clicked);
    QString TickedRegion() const;
    bool Save(const QString &name, const QString &region, double owe);
};

extern TFormCustomer2 *FormCustomer2;
