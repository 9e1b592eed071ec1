#pragma once
#include "ui/Form.h"

class QAction;
class QFrame;
class QLabel;
class QToolButton;

// An account's window: its bill lists, rename, and deletion with all its bills.
class TFormAccount : public TForm {
    Q_OBJECT
public:
    explicit TFormAccount(QWidget *parent = nullptr);

    QString FAccountName;
    QString FBalanceText;

    void FormShow() override;
    void ActionMonthExecute();
    void ActionYearExecute();
    void ActionAllExecute();
    void ActionEditExecute();
    void ActionDeleteExecute();

    QFrame *Shape1;
    QLabel *Image1, *Label1, *Label2, *Label3, *Label4;
    QAction *ActionMonth, *ActionYear, *ActionAll, *ActionEdit, *ActionDelete, *ActionCancel;
    QToolButton *SpeedButton1, *SpeedButton2, *SpeedButton3, *SpeedButton4, *SpeedButton5, *SpeedButton6;

private:
    void ListBills(int period);
};

extern TFormAccount *FormAccount;
