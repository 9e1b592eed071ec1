#pragma once
// The bill search dialog: its inputs become the data centre's search.

#include "ui/Form.h"

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
struct TBillSearch;

class TFormMakeReport : public TForm {
    Q_OBJECT
public:
    static constexpr int ShortHeight = 365;
    static constexpr int TallHeight = 445;   // with the product row

    explicit TFormMakeReport(QWidget *parent = nullptr);

    void FormShow() override;
    void ComboBox5Change();
    void BitBtn1Click();
    void BitBtn2Click();
    // The search the inputs describe.
    TBillSearch Search() const;

    QComboBox *ComboBox5, *ComboBox1, *ComboBox6, *ComboBox2, *ComboBox3, *ComboBox4;
    QDateEdit *DateTimePicker1, *DateTimePicker2;
    QLineEdit *Edit2, *Edit4, *Edit5, *Edit6, *Edit3, *Edit7, *Edit8, *Edit9, *Edit10;
    QWidget *ProductRow;   // the four product inputs, shown for goods bills
    QPushButton *BitBtn1, *BitBtn2;

private:
    void SetAmountEditsEnabled(bool enabled);
    void PlaceButtons();
};

extern TFormMakeReport *FormMakeReport;
