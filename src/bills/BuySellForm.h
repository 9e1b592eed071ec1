#pragma once
#include "ui/Form.h"
#include "db/ShareDM.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TLineGrid;
class TReport;

// The goods-bill editor: new or existing sales (出货单) and purchase (进货单) bills.
class TFormBuySell : public TForm {
    Q_OBJECT
public:
    explicit TFormBuySell(QWidget *parent = nullptr);

    int FBillMode = 0;        // 0 new sales, 1 sales, 2 new purchase, 3 purchase
    int FBillIndex = 1;
    QString FProposedSerial;   // the number proposed when a new bill opened
    int FBillVersion = 0;      // as read when a stored bill opened
    int FCustomerIndex = 0;
    bool FChanged = false;
    bool FCustomerLocked = false;
    bool FRecalcEnabled = true;
    bool FLocked = false;     // an existing bill not yet unlocked by 修改
    TReport *frReport1;

    bool IsNewBill() const { return FBillMode == 0 || FBillMode == 2; }
    bool IsSales() const { return FBillMode == 0 || FBillMode == 1; }

    void FormShow() override;
    QWidget *NextInput(QWidget *from) const override;
    void BitBtn1Click();
    void BitBtn3Click();
    void ActionEditExecute();
    void ActionPrintExecute();
    void ActionStoreExecute();
    void ActionPriceExecute();
    void UpdatePaidControls();
    void SetLocked(bool locked);
    void ComboBox5Change();

    QLabel *Image1;
    QLabel *LockMark;
    QLineEdit *Edit3;
    QCheckBox *CheckBox1;
    QLineEdit *Edit1;
    QComboBox *ComboBox1, *ComboBox2, *ComboBox3, *ComboBox4, *ComboBox5;
    QDateEdit *DateTimePicker1;
    QLineEdit *BillSerial;
    TLineGrid *Lines;
    QAction *ActionEdit, *ActionPrint, *ActionStore, *ActionPrice;
    QToolButton *SpeedButton4, *PrintBill;
    QPushButton *ButtonStore, *ButtonPrice, *BitBtn1, *BitBtn2, *BitBtn3;

private:
    bool LoadExistingBill();
    bool SaveBill(int account);
};

extern TFormBuySell *FormBuySell;
