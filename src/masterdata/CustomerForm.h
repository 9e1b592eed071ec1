#pragma once
#include "ui/Form.h"

class TReport;

class QAction;
class QGroupBox;
class QLabel;
class QToolButton;

// A customer's five figures as of the working date, and everything done with one customer.
class TFormCustomer : public TForm {
    Q_OBJECT
public:
    explicit TFormCustomer(QWidget *parent = nullptr);

    int FCustomerIndex = 0;

    void FormShow() override;
    bool RefreshFigures();
    void ActionEditExecute();
    void ActionDeleteExecute();
    void ActionSGExecute();
    void ActionSellExecute();
    void ActionBuyExecute();
    void ActionGetExecute();
    void ActionPayExecute();
    void ActionPriceExecute();
    void ActionMonthExecute();
    void ActionYearExecute();
    void ActionAllExecute();

    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *Label9, *Label10;
    QLabel *ImageAdd1, *ImageAdd2, *ImageSubstract1, *ImageEqual1;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3, *GroupBox4, *GroupBox5;
    QAction *ActionSell, *ActionBuy, *ActionGet, *ActionPay, *ActionMonth, *ActionYear, *ActionAll;
    void ActionMonthCountExecute();
    TReport *frReport1;   // the month's statement
    QAction *ActionPrice, *ActionMonthCount, *ActionEdit, *ActionDelete, *ActionSG, *ActionCancel;
    QToolButton *SellButton, *BuyButton, *GetButton, *PayButton, *MonthBill, *YearBill, *AllBill;
    QToolButton *CustomerPrice, *MonthCount, *CustomerEdit, *CustomerDelete, *SpeedButton1, *Cancel;

private:
    void ListBills(int period);
    void NewGoodsBill(int mode);
    void NewFinanceBill(int mode);
};

extern TFormCustomer *FormCustomer;
